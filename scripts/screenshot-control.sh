#!/bin/sh
# Saves a screenshot of a control showing real data under Wine as
# docs/control.png. Usage: screenshot-control.sh [BUILD_DIR]
# BUILD_DIR holds the cross build (default build/win32); Pelomar.dll must
# have been built there.
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build/win32}" && pwd)
bin="$build/bin"
[ -f "$bin/Pelomar.dll" ] || { echo "no $bin/Pelomar.dll: build first" >&2; exit 1; }

# Font 0 is the classic "Fixedsys" face. Some Wine packagings install its
# bitmap font file without the prefix ever seeing it; hand it to the prefix
# so the picture shows the face the control asks for, not a fallback.
fonts="$build/wineprefix/drive_c/windows/Fonts"
if [ -d "$fonts" ] && [ -f /usr/share/wine/fonts/vgafix.fon ] && [ ! -f "$fonts/vgafix.fon" ]; then
    cp /usr/share/wine/fonts/vgafix.fon "$fonts/"
fi

exe="$build/screenshot_control.exe"
i686-w64-mingw32-g++-posix -std=c++17 -O2 -I"$root" -o "$exe" \
    "$root/scripts/screenshot_control.cpp" -static -static-libgcc -static-libstdc++ \
    -lgdi32 -luser32
"$root/scripts/wine-env.sh" "$build" sh -c "cd '$bin' && wine '$exe' control.bmp" | tr -d '\r'
mkdir -p "$root/docs"
convert "$bin/control.bmp" "$root/docs/control.png"
rm -f "$bin/control.bmp" "$exe"
echo "wrote $root/docs/control.png"
