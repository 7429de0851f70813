#!/bin/sh
# Regenerates the README's pictures in docs/ from the real program under
# Wine and Xvfb: a driver linked with the host's code plays the tour
# (scripts/screenshots.cpp) and saves BMPs, which become PNGs here.
# Usage: scripts/screenshots.sh [BUILD_DIR]   (default build/win32)
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
./scripts/setup.sh
build=${1:-build/win32}
mkdir -p "$build"
build=$(cd "$build" && pwd)

cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake >/dev/null
cmake --build "$build" -j "${PELOMAR_JOBS:-2}" --target PelomarExe >/dev/null
bin="$build/bin"

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
i686-w64-mingw32-windres -I"$root/host" -I"$root" "$root/host/host.rc" -O coff -o "$tmp/host.res.o"
driver="$bin/pelomar_tour.exe"
i686-w64-mingw32-g++-posix -std=c++17 -O2 -DWIN32_LEAN_AND_MEAN -DNOMINMAX -D_WIN32_WINNT=0x0601 \
    -I"$root" -o "$driver" "$root/scripts/screenshots.cpp" "$tmp/host.res.o" \
    "$build/libpelomar_host.a" -static -static-libgcc -static-libstdc++ -fstack-protector-strong \
    -lcomdlg32 -lshell32 -lcomctl32 -lgdi32 -luser32 -mwindows -mconsole

rm -f "$bin"/*.bmp
./scripts/wine-env.sh "$build" sh -c "cd '$bin' && wine ./pelomar_tour.exe" | tr -d '\r'
rm -f "$driver"

mkdir -p docs
for scene in open edit context-menu find select properties; do
    convert "$bin/$scene.bmp" "docs/$scene.png"
done
# The four themes, two by two.
convert \( "$bin/theme-Midnight.bmp" "$bin/theme-High-contrast.bmp" +append \) \
        \( "$bin/theme-Paper.bmp" "$bin/theme-Frost.bmp" +append \) -append docs/themes.png
rm -f "$bin"/*.bmp
echo "pictures written to docs/"
