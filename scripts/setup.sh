#!/bin/sh
# Installs, from Debian's packages, everything needed to build, test and run
# Pelomar on a Debian 12 machine. Safe to run again: when everything is
# present it only asks dpkg and returns.
set -e

PACKAGES="g++-mingw-w64-i686 wine wine32:i386 xvfb xauth cmake make g++ \
googletest fonts-wine fonts-liberation fonts-dejavu-core clang \
libclang-rt-14-dev xxd zip x11-apps imagemagick"

missing=""
for p in $PACKAGES; do
    status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
    case "$status" in
        "install ok installed") ;;
        *) missing="$missing $p" ;;
    esac
done
[ -z "$missing" ] && exit 0

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
echo "setup: installing$missing" >&2
export DEBIAN_FRONTEND=noninteractive
if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $SUDO dpkg --add-architecture i386
fi
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends $missing >/dev/null
