#!/usr/bin/env bash
# Builds the Debian package twice from the checked-out commit, in two folders with different
# paths, and expects the same bytes. Without ccache: a cache hit would hide a difference.
# Usage: tests/packaging/reproducible.sh [WORK_DIR]   (run from anywhere inside the checkout)
set -euo pipefail
source=$(git -C "$(dirname "$0")" rev-parse --show-toplevel)
work=${1:-$(mktemp -d)}
mkdir -p "$work"
unset CMAKE_CXX_COMPILER_LAUNCHER SOURCE_DATE_EPOCH
export CCACHE_DISABLE=1
commit=$(git -C "$source" rev-parse HEAD)
for side in first second-in-a-longer-path; do
    dir=$work/$side/tarvo
    rm -rf "$dir"
    git clone -q "$source" "$dir"
    git -C "$dir" checkout -q "$commit"
    cmake -S "$dir" -B "$dir/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF >/dev/null
    cmake --build "$dir/build" -j"$(nproc)" >/dev/null
    (cd "$dir/build" && cpack -G DEB >/dev/null)
done
a=$(echo "$work"/first/tarvo/build/tarvo_*.deb)
b=$(echo "$work"/second-in-a-longer-path/tarvo/build/tarvo_*.deb)
if cmp -s "$a" "$b"; then
    echo "reproducible: $(basename "$a") $(sha256sum <"$a" | cut -c1-16) from both folders"
    exit 0
fi
echo "FAIL: the two builds of $commit differ:" >&2
for deb in "$a" "$b"; do
    echo "  $deb: $(sha256sum <"$deb" | cut -c1-16)" >&2
    dpkg-deb --fsys-tarfile "$deb" | tar -tv --full-time >"$deb.list"
    mkdir -p "$deb.x" && dpkg-deb -x "$deb" "$deb.x"
done
diff "$a.list" "$b.list" >&2 || true
diff -r "$a.x" "$b.x" >&2 || true
exit 1
