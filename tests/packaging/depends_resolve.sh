#!/usr/bin/env bash
# The package's Depends resolve where it is to be installed: apt-get install --simulate of DEB on
# this machine and in each Debian root given (e.g. a Debian 13 root, for a package built on 12).
# Usage (as root): tests/packaging/depends_resolve.sh DEB [ROOT...]
set -euo pipefail
deb=$(realpath "$1")
name=$(basename "$deb")
shift
simulate() { # where, the package's path there, then the command that runs apt-get there
    local where=$1 path=$2 out
    shift 2
    if ! out=$("$@" install --simulate --no-install-recommends "$path" 2>&1) ||
        ! grep -q '^Inst tarvo ' <<<"$out"; then
        echo "FAIL: $name does not install on $where:" >&2
        echo "$out" >&2
        return 1
    fi
    echo "$name resolves on $where ($(grep -c '^Inst ' <<<"$out") packages to install)"
}
simulate "this machine" "$deb" apt-get -o DPkg::Lock::Timeout=900
for root in "$@"; do
    cp "$deb" "$root/tmp/"
    simulate "$(. "$root/etc/os-release" && echo "$PRETTY_NAME")" "/tmp/$name" chroot "$root" apt-get
    rm -f "$root/tmp/$name"
done
