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

cmake -S . -B "$build/win32" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake >/dev/null
cmake --build "$build/win32" -j "${PELOMAR_JOBS:-2}" --target PelomarExe >/dev/null
exe="$build/win32/bin/Pelomar.exe"

if [ -n "$DISPLAY" ]; then
    exec ./scripts/wine-env.sh "$build/win32" --display sh -c "cd '$build/win32/bin' && wine '$exe'"
fi

shot="$build/pelomar-screenshot.png"
wait_s=${1:-4}
./scripts/wine-env.sh "$build/win32" sh -c "
    cd '$build/win32/bin'
    wine '$exe' &
    pid=\$!
    sleep $wait_s
    # The main window stands at (100, 100), 400 by 416, undecorated here.
    xwd -root -silent | convert xwd:- -crop 400x416+100+100 +repage '$shot'
    kill \$pid 2>/dev/null || true
"
echo "Pelomar ran under Xvfb; screenshot: $shot"
