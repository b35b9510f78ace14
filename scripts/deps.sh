#!/usr/bin/env bash
# Installs the Debian packages the build, the program and the tests need, when any is missing.
# Usage: scripts/deps.sh [run|test]
set -euo pipefail

packages=(cmake g++ make pkgconf qt6-base-dev qt6-base-dev-tools libgl-dev libxcb-xkb-dev
    fonts-liberation2 xvfb xauth)
if [ "${1:-run}" = test ]; then
    # format and tidy checks; real-window drivers; screen-reader bus; file-access tracing;
    # desktop-file and package checks; a font other than Liberation for the missing-fonts case; a
    # headless Wayland compositor with its key and screenshot clients, layouts and Qt's Wayland
    # platform
    packages+=(clang-format clang-tidy python3 python3-xlib openbox imagemagick dbus dbus-x11
        at-spi2-core python3-pyatspi strace desktop-file-utils appstream dpkg-dev file
        fonts-dejavu-core fontconfig sway wtype grim qt6-wayland xkb-data)
    packages+=(orca speech-dispatcher) # the screen reader that judges the play by ear
fi

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing missing Debian packages: ${missing[*]}"
sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
