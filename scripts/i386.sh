#!/bin/sh
# Says how this machine runs 32-bit (i386) Linux programs, by running one:
#   native    the kernel executes them itself;
#   emulated  they run, but through a qemu-i386 binfmt entry (slow);
#   none      they do not run at all.
# Some kernels have IA-32 emulation switched off, and then 32-bit Wine
# cannot start; a registered qemu-i386 entry makes every i386 program run,
# so a program that runs is only native when no such entry is enabled.
# PELOMAR_I386=native|emulated|none overrides the probe, to try one path of
# the scripts on a machine of the other kind.
set -e
case ${PELOMAR_I386:-} in
    native|emulated|none) echo "$PELOMAR_I386"; exit 0 ;;
esac
probe=$(mktemp)
trap 'rm -f "$probe"' EXIT
# A 96-byte static i386 ELF whose whole program is exit(42).
printf '\177\105\114\106\001\001\001\000\000\000\000\000\000\000\000\000\002\000\003\000\001\000\000\000\124\200\004\010\064\000\000\000\000\000\000\000\000\000\000\000\064\000\040\000\001\000\000\000\000\000\000\000\001\000\000\000\000\000\000\000\000\200\004\010\000\200\004\010\140\000\000\000\140\000\000\000\005\000\000\000\000\020\000\000\270\001\000\000\000\273\052\000\000\000\315\200' > "$probe"
chmod +x "$probe"
runs() { status=0; "$probe" 2>/dev/null || status=$?; [ "$status" -eq 42 ]; }

# The enabled binfmt entries whose interpreter is qemu-i386.
entries=""
for e in /proc/sys/fs/binfmt_misc/*; do
    [ -f "$e" ] || continue
    if head -n 1 "$e" 2>/dev/null | grep -qx enabled && grep -q '^interpreter .*qemu-i386' "$e" 2>/dev/null; then
        entries="$entries $e"
    fi
done

if [ -z "$entries" ]; then
    if runs; then echo native; else echo none; fi
    exit 0
fi
# Emulation is registered: switch it off for a moment to see whether the
# kernel alone runs the probe (root only; otherwise emulation is assumed).
if [ "$(id -u)" -eq 0 ]; then
    for e in $entries; do echo 0 > "$e"; done
    native=0
    runs && native=1
    for e in $entries; do echo 1 > "$e"; done
    [ $native -eq 1 ] && { echo native; exit 0; }
fi
if runs; then echo emulated; else echo none; fi
