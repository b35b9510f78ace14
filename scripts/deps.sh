#!/usr/bin/env bash
# Installs the Debian packages the build, the program and the tests need, when any is missing.
# Usage: scripts/deps.sh [run|test|web|ci]   (ci: what scripts/ci-debian13 needs on this machine)
# As root it installs them; otherwise through sudo, or su where there is no sudo and a terminal
# to ask root's password on; with neither it prints the command to run and exits non-zero.
set -euo pipefail

# compiler, make and the C library headers (build-essential's level); Qt and the XCB/XKB headers
# the binding talks to the X server with; the fonts the screens name (Liberation Sans stands in for
# Arial); Xvfb for starting without a display
packages=(cmake g++ make libc6-dev pkgconf qt6-base-dev qt6-base-dev-tools libgl-dev libxcb-xkb-dev
    fonts-liberation2 xvfb xauth)
# the web edition: its compiler, and the font it embeds, cut down to the characters the program
# shows and packed as WOFF2
web=(cmake emscripten fonts-liberation2 python3 python3-fonttools python3-brotli)
if [ "${1:-run}" = web ]; then
    packages=("${web[@]}")
fi
if [ "${1:-run}" = test ]; then
    packages+=("${web[@]}")
    # format and tidy checks; real-window drivers; screen-reader bus; file-access tracing;
    # desktop-file and package checks; a font other than Liberation for the missing-fonts case
    packages+=(clang-format clang-tidy black python3 python3-xlib openbox imagemagick dbus dbus-x11
        at-spi2-core python3-pyatspi strace desktop-file-utils appstream dpkg-dev file
        fonts-dejavu-core fontconfig)
    packages+=(lintian binutils git)
    # the second compiler CI builds with
    packages+=(clang)
    # a headless Wayland compositor with its key and screenshot clients, layouts and Qt's Wayland
    # platform
    packages+=(sway wtype grim qt6-wayland xkb-data)
    packages+=(orca speech-dispatcher) # the screen reader that judges the play by ear
    # the browser the web edition is tested in, and Node.js with npm to drive it (Debian's own,
    # unless a Node.js with its npm is already there)
    packages+=(chromium)
    command -v npm >/dev/null 2>&1 || packages+=(nodejs npm)
    # the other two engines: Firefox ESR (driven over its own WebDriver BiDi) and WebKitGTK (its
    # MiniBrowser through WebKitWebDriver, the mouse through XTEST by xdotool)
    packages+=(firefox-esr webkit2gtk-driver xdotool)
fi

if [ "${1:-run}" = ci ]; then
    # a Debian 13 root made and entered on this machine, the package built here for comparison
    packages=(debootstrap debian-archive-keyring iproute2 util-linux git cmake g++ make
        qt6-base-dev libgl-dev libxcb-xkb-dev dpkg-dev file)
fi

# The browser tests' npm packages, from the committed lockfile, when they are missing or older
# than it: the tests themselves reach no network.
npm_packages() {
    local dir
    dir=$(cd "$(dirname "$0")/../tests/web" && pwd)
    if [ ! -f "$dir/node_modules/.package-lock.json" ] ||
        [ "$dir/package-lock.json" -nt "$dir/node_modules/.package-lock.json" ]; then
        (cd "$dir" && npm ci --no-audit --no-fund --loglevel=error)
    fi
}

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
    [ "${1:-run}" != test ] || npm_packages
    exit 0
fi

echo "Installing missing Debian packages: ${missing[*]}"
install="apt-get update -qq && apt-get install -y -qq --no-install-recommends ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
if [ "$(id -u)" -eq 0 ]; then
    sh -c "$install"
elif command -v sudo >/dev/null 2>&1; then
    # sudo drops the environment: debconf would fall back to asking on the terminal.
    sudo env DEBIAN_FRONTEND=noninteractive sh -c "$install"
elif [ -t 0 ] && command -v su >/dev/null 2>&1; then
    echo "There is no sudo: su asks for root's password."
    su -c "DEBIAN_FRONTEND=noninteractive sh -c '$install'" root
else
    echo "There is no sudo and no terminal to ask root's password on. As root, run:" >&2
    echo "  su -c 'apt-get update && apt-get install --no-install-recommends ${missing[*]}'" >&2
    echo "then run this command again." >&2
    exit 1
fi
[ "${1:-run}" != test ] || npm_packages
