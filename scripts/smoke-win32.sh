#!/bin/sh
# One end-to-end run of the shipped 32-bit program, for machines that run
# i386 programs only through qemu (about a minute for each 32-bit Windows
# process to start, and a quarter of an hour for a 32-bit prefix). So the
# prefix is a 64-bit one with its 32-bit side (PELOMAR_WOW64=1), and the
# driver is the 64-bit end-to-end test program: placed beside the unpacked
# Pelomar.exe of the win32 zip, it starts that program (the one process
# that runs emulated, under 32-bit Wine) and makes a file; this script
# drops the file on the program's window through X, as a file manager
# does (the system's file dialog hangs at random under the emulation);
# the driver then types two hex digits, closes the tab, finds the byte on
# disk and sees the program exit with code 0.
# Usage: smoke-win32.sh WIN32_BUILD_DIR WIN64_BUILD_DIR
set -e
build=$(cd "$1" && pwd)
build64=$(cd "$2" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
zip=$(ls "$build"/Pelomar-*-win32.zip | head -n 1)
dir="$build/smoke"
rm -rf "$dir"
mkdir -p "$dir"
(cd "$dir" && cmake -E tar xf "$zip")
app="$dir/$(basename "$zip" .zip)"
cp "$build64/bin/host_e2e_test.exe" "$app/"
# Every wait of the test stretches this many times.
export PELOMAR_TIME_SCALE=${PELOMAR_TIME_SCALE:-20}
export PELOMAR_WINEARCH=win64
export PELOMAR_WINEPREFIX="$build/smoke-prefix"
export PELOMAR_WOW64=1
export PELOMAR_E2E_DROP_FROM_OUTSIDE=1
echo "smoke: $(basename "$zip")'s Pelomar.exe under 32-bit Wine, driven from 64-bit Wine, waits stretched ${PELOMAR_TIME_SCALE}x" >&2
cat > "$dir/session.sh" <<EOF_SESSION
cd '$app'
wine host_e2e_test.exe --gtest_filter=EndToEnd.OpenTypeCloseAndTheByteIsOnDisk > '$dir/driver.log' 2>&1 &
driver=\$!
# The driver's file, and the program's main window, once both are there.
waited=0
while [ \$waited -lt 900 ]; do
    file=\$(ls "\$WINEPREFIX"/drive_c/users/*/Temp/pelomar-host-*/edit-me.bin 2>/dev/null | head -n 1)
    if [ -n "\$file" ] && xwininfo -root -tree 2>/dev/null | grep -q '"Pelomar.dll": ("pelomar.exe"'; then
        /usr/bin/python3 '$here/xdnd-drop.py' Pelomar.dll pelomar.exe "\$file" || true
        break
    fi
    kill -0 \$driver 2>/dev/null || break
    sleep 2
    waited=\$((waited + 2))
done
wait \$driver || true
EOF_SESSION
timeout 1200 "$here/wine-env.sh" "$build" sh "$dir/session.sh" 2>&1 | tr -d '\r' > "$dir/smoke.log" || true
tr -d '\r' < "$dir/driver.log" >> "$dir/smoke.log" 2>/dev/null || true
cat "$dir/smoke.log"
if grep -q '^\[  PASSED  \] 1 test' "$dir/smoke.log"; then
    echo "smoke: passed"
else
    echo "smoke: FAILED"
    exit 1
fi
