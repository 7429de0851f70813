#!/bin/sh
# Checks the shipped images of one architecture: both present, PE of the
# expected machine, dynamic base, NX compatible (and high-entropy ASLR on
# 64-bit), stack protector linked in, no link time stamp, Pelomar.dll
# exporting nothing, and only known system DLLs imported.
# Usage: check-images.sh BIN_DIR [win32|win64]   (default: from the exe)
set -e
bin=$1
arch=$2
# Only the system's known DLLs, which the loader takes from the system
# folder whatever lies beside the program; any other name would be looked
# for in the program's folder first, where a planted file could answer.
allowed="kernel32.dll user32.dll gdi32.dll advapi32.dll msvcrt.dll comdlg32.dll shell32.dll"
fail=0
for img in "$bin/Pelomar.dll" "$bin/Pelomar.exe"; do
    [ -f "$img" ] || { echo "$img: missing"; exit 1; }
done
if [ -z "$arch" ]; then
    case $(x86_64-w64-mingw32-objdump -f "$bin/Pelomar.exe") in
        *pei-x86-64*) arch=win64 ;;
        *) arch=win32 ;;
    esac
fi
case $arch in
    win32) objdump=i686-w64-mingw32-objdump; format=pei-i386; want=0x140 ;;
    win64) objdump=x86_64-w64-mingw32-objdump; format=pei-x86-64; want=0x160 ;;
    *) echo "unknown architecture $arch"; exit 1 ;;
esac
check() { # image
    img=$1
    info=$($objdump -p "$img")
    echo "$info" | grep -q "file format $format\$" || { echo "$img: not $format"; fail=1; }
    dc=$(echo "$info" | awk '/DllCharacteristics/ {print $2}')
    [ $((0x$dc & want)) -eq $((want)) ] || { echo "$img: DllCharacteristics $dc lacks $want"; fail=1; }
    # objdump shows a zero stamp as the epoch's date.
    echo "$info" | grep '^Time/Date' | head -n 1 | grep -q 1970 \
        || { echo "$img: link time stamp: $(echo "$info" | grep '^Time/Date' | head -n 1)"; fail=1; }
    strings -a "$img" | grep -q 'stack smashing detected' || { echo "$img: no stack protector"; fail=1; }
    for dll in $(echo "$info" | awk '/DLL Name:/ {print tolower($3)}'); do
        case " $allowed " in
            *" $dll "*) ;;
            *) echo "$img: imports $dll"; fail=1 ;;
        esac
    done
}
check "$bin/Pelomar.dll"
check "$bin/Pelomar.exe"
exports=$($objdump -p "$bin/Pelomar.dll" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' | grep -c '\[' || true)
# The table's own heading is the one bracketed line allowed.
[ "$exports" -le 1 ] || { echo "Pelomar.dll exports $((exports - 1)) symbols"; fail=1; }
[ $fail -eq 0 ] && echo "$arch images hardened"
exit $fail
