#!/bin/sh
# build_package.sh <build folder> <executable>: makes <build>/package/*.deb
# unless one is there that is newer than the executable and the demo media.
set -eu
build=$1
executable=$2
command -v dpkg-deb >/dev/null || { echo "SKIP: dpkg-deb is not installed"; exit 77; }
deb=$(ls "$build"/package/purimba_*.deb 2>/dev/null | head -n 1 || true)
if [ -n "$deb" ] && [ "$deb" -nt "$executable" ] \
    && [ -z "$(find "$build/demo/media" "$build/demo/data" -newer "$deb" -print -quit)" ]; then
    echo "up to date: $deb"
    exit 0
fi
cd "$build"
cpack -G DEB
