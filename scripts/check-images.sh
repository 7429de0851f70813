#!/bin/sh
# Checks the shipped images: 32-bit PE, dynamic base and NX compatible,
# stack protector linked in, Pelomar.dll exporting nothing, and only
# system DLLs imported. Usage: check-images.sh BIN_DIR
set -e
bin=$1
objdump=i686-w64-mingw32-objdump
allowed="kernel32.dll user32.dll gdi32.dll msimg32.dll advapi32.dll msvcrt.dll \
comdlg32.dll shell32.dll comctl32.dll"
fail=0
check() { # image
    img=$1
    [ -f "$img" ] || return 0
    info=$($objdump -p "$img")
    echo "$info" | grep -q 'file format pei-i386' || { echo "$img: not a 32-bit PE"; fail=1; }
    dc=$(echo "$info" | awk '/DllCharacteristics/ {print $2}')
    [ $((0x$dc & 0x40)) -ne 0 ] || { echo "$img: not dynamic base ($dc)"; fail=1; }
    [ $((0x$dc & 0x100)) -ne 0 ] || { echo "$img: not NX compatible ($dc)"; fail=1; }
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
[ $fail -eq 0 ] && echo "images hardened"
exit $fail
