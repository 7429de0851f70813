#!/bin/sh
# Installs, from Debian's packages, everything needed to build, test and run
# Pelomar on a Debian 12 machine, fitted to what the machine can run: the
# 64-bit Wine always; 32-bit Wine where the kernel runs i386 programs, and
# otherwise qemu's i386 emulation for the one 32-bit smoke test. Safe to
# run again: when everything is present it only asks dpkg and returns.
set -e
here=$(cd "$(dirname "$0")" && pwd)

PACKAGES="g++-mingw-w64-i686 g++-mingw-w64-x86-64 wine wine64 xvfb xauth cmake \
make g++ googletest fonts-wine fonts-liberation fonts-dejavu-core clang \
libclang-rt-14-dev xxd zip x11-apps x11-utils imagemagick python3 python3-xlib"

root=0
[ "$(id -u)" -eq 0 ] && root=1
SUDO=""
[ $root -eq 1 ] || SUDO="sudo"
binfmt=/proc/sys/fs/binfmt_misc

# Installs those of the named packages dpkg does not have, with one question
# to dpkg when all are there.
install() {
    installed=$(dpkg-query -W -f='${db:Status-Abbrev}${Package} ${Package}:${Architecture}\n' "$@" 2>/dev/null \
        | sed -n 's/^ii *//p' || true)
    missing=""
    for p in "$@"; do
        case " $(echo $installed) " in
            *" $p "*) ;;
            *) missing="$missing $p" ;;
        esac
    done
    [ -n "$missing" ] || return 0
    echo "setup: installing$missing" >&2
    export DEBIAN_FRONTEND=noninteractive
    case "$missing" in
        *:i386*)
            if ! dpkg --print-foreign-architectures | grep -qx i386; then
                $SUDO dpkg --add-architecture i386
                updated=0
            fi ;;
    esac
    if [ "${updated:-0}" = 0 ]; then
        $SUDO apt-get update -qq
        updated=1
    fi
    $SUDO apt-get install -y -qq --no-install-recommends $missing >/dev/null
}

mode=$("$here/i386.sh")
# Where i386 programs do not run, qemu runs them: register it for i386 ELF
# once (flag F: the interpreter is opened now, so it works in any root),
# before any i386 package is installed.
if [ "$mode" = none ] && [ $root -eq 1 ]; then
    install qemu-user-static
    [ -e $binfmt/register ] || mount -t binfmt_misc binfmt_misc $binfmt 2>/dev/null || true
    if [ -e $binfmt/register ] && [ ! -e $binfmt/qemu-i386 ]; then
        printf '%s' ':qemu-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:/usr/bin/qemu-i386-static:F' \
            > $binfmt/register 2>/dev/null || true
    fi
    mode=$("$here/i386.sh")
fi
case $mode in
    native|emulated) PACKAGES="$PACKAGES wine32:i386" ;;
esac
install $PACKAGES

case $mode in
    native) echo "setup: i386 programs run natively: 32-bit and 64-bit Wine, both test suites" >&2 ;;
    emulated) echo "setup: i386 programs run only under qemu: 64-bit Wine for the suite, emulated 32-bit Wine for one smoke test" >&2 ;;
    none)
        if [ $root -eq 1 ]; then
            echo "setup: i386 programs do not run and qemu could not be registered: 64-bit Wine only, the 32-bit smoke test will be skipped" >&2
        else
            echo "setup: i386 programs do not run and registering qemu needs root: 64-bit Wine only, the 32-bit smoke test will be skipped" >&2
        fi ;;
esac
