#!/bin/sh
# One end-to-end run of the shipped 32-bit program, for machines that run
# i386 programs only through qemu (about a minute per Windows process):
# the win32 zip is unpacked, and the end-to-end test program, placed beside
# Pelomar.exe, starts it, opens a file through File, Open, types two hex
# digits, closes the tab, finds the byte on disk and sees the program exit
# with code 0. Usage: smoke-win32.sh WIN32_BUILD_DIR
set -e
build=$(cd "$1" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
zip=$(ls "$build"/Pelomar-*-win32.zip | head -n 1)
dir="$build/smoke"
rm -rf "$dir"
mkdir -p "$dir"
(cd "$dir" && cmake -E tar xf "$zip")
app="$dir/$(basename "$zip" .zip)"
cp "$build/bin/host_e2e_test.exe" "$app/"
# Every wait of the test stretches this many times.
export PELOMAR_TIME_SCALE=${PELOMAR_TIME_SCALE:-20}
echo "smoke: $(basename "$zip") under $(cat "$build/wine-arch") Wine, waits stretched ${PELOMAR_TIME_SCALE}x" >&2
timeout 1500 "$here/wine-env.sh" "$build" sh -c "cd '$app' && wine host_e2e_test.exe \
    --gtest_filter=EndToEnd.OpenTypeCloseAndTheByteIsOnDisk" 2>&1 | tr -d '\r' > "$dir/smoke.log" || true
cat "$dir/smoke.log"
if grep -q '^\[  PASSED  \] 1 test' "$dir/smoke.log"; then
    echo "smoke: passed"
else
    echo "smoke: FAILED"
    exit 1
fi
