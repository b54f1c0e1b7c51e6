#!/bin/sh
# Installs the Debian packages Purimba needs to build, test and run, when
# they are missing; given package names (clang-format for `make format`),
# those instead. As root directly, otherwise through sudo.
set -e
packages="build-essential cmake pkg-config
  qt6-base-dev qt6-image-formats-plugins qt6-translations-l10n
  libsdl2-dev libsdl2-mixer-dev libpugixml-dev libspeechd-dev speech-dispatcher
  espeak-ng vorbis-tools sox imagemagick fonts-noto-color-emoji fonts-dejavu-core
  poppler-utils xvfb x11-xkb-utils xdotool
  dbus-daemon at-spi2-core python3-pyatspi
  libbrlapi-dev brltty
  lintian desktop-file-utils appstream"
[ $# -gt 0 ] && packages="$*"

missing=""
for p in $packages; do
    if ! dpkg-query -W -f='${Status}\n' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing="$missing $p"
    fi
done
[ -z "$missing" ] && exit 0

echo "Installing:$missing"
if [ "$(id -u)" -eq 0 ]; then sudo=""; else sudo="sudo"; fi
$sudo apt-get update
# After sudo: sudo starts its command with a clean environment.
$sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends $missing
