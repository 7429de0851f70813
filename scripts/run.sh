#!/bin/sh
# Builds Pelomar when needed and starts it under Wine: on the user's display
# when there is one; otherwise inside Xvfb, where a screenshot of the main
# window is saved and its path printed. Usage: scripts/run.sh [SECONDS]
# (how long to wait before the screenshot, default 4).
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
./scripts/setup.sh
build=${PELOMAR_BUILD:-build}
mkdir -p "$build"
build=$(cd "$build" && pwd)

# The build this machine runs at full speed: the 32-bit one where i386
# programs run natively, otherwise the 64-bit one; PELOMAR_ARCH=win32 or
# win64 picks one.
arch=${PELOMAR_ARCH:-}
if [ "$arch" = win64 ]; then
    toolchain=cmake/mingw-x86_64.cmake
elif [ "$arch" = win32 ] || [ "$(./scripts/i386.sh)" = native ]; then
    arch=win32; toolchain=cmake/mingw-i686.cmake
else
    arch=win64; toolchain=cmake/mingw-x86_64.cmake
fi
echo "run: the $arch build of Pelomar" >&2
tree="$build/$arch"
cmake -S . -B "$tree" -DCMAKE_TOOLCHAIN_FILE=$toolchain >/dev/null
cmake --build "$tree" -j "${PELOMAR_JOBS:-2}" --target PelomarExe >/dev/null
exe="$tree/bin/Pelomar.exe"

if [ -n "$DISPLAY" ]; then
    exec ./scripts/wine-env.sh "$tree" --display sh -c "cd '$tree/bin' && wine '$exe'"
fi

shot="$build/pelomar-screenshot.png"
wait_s=${1:-4}
./scripts/wine-env.sh "$tree" sh -c "
    cd '$tree/bin'
    wine '$exe' &
    pid=\$!
    sleep $wait_s
    # The main window stands at (100, 100), 400 by 416, undecorated here.
    xwd -root -silent | convert xwd:- -crop 400x416+100+100 +repage '$shot'
    kill \$pid 2>/dev/null || true
"
echo "Pelomar ran under Xvfb; screenshot: $shot"
