#!/bin/sh
# lint.sh <package folder>: lintian on the package (no error may remain),
# and the menu entry and the AppStream data as the desktop validates them.
# A tool that is not installed is skipped, saying so; all three missing
# skip the test.
set -eu
deb=$(ls "$1"/purimba_*.deb 2>/dev/null | head -n 1 || true)
[ -n "$deb" ] || { echo "FAIL: no package in $1"; exit 1; }
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
dpkg-deb -x "$deb" "$tmp"
ran=0
status=0
if command -v desktop-file-validate >/dev/null; then
    ran=1
    desktop-file-validate "$tmp"/usr/share/applications/*.desktop || status=1
else
    echo "skipped: desktop-file-validate is not installed (desktop-file-utils)"
fi
if command -v appstreamcli >/dev/null; then
    ran=1
    appstreamcli validate --no-net "$tmp"/usr/share/metainfo/*.metainfo.xml || status=1
else
    echo "skipped: appstreamcli is not installed (appstream)"
fi
if command -v lintian >/dev/null; then
    ran=1
    lintian --fail-on error "$deb" || status=1
else
    echo "skipped: lintian is not installed"
fi
[ "$ran" -eq 1 ] || { echo "SKIP: none of lintian, desktop-file-validate, appstreamcli"; exit 77; }
exit "$status"
