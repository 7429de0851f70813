#!/bin/sh
# Runs a command with a private, prepared Wine prefix and a persistent,
# warmed-up wineserver, for the architecture the build tree was configured
# for (its file wine-arch: win32 or win64). Usage:
#   wine-env.sh BUILD_DIR [--display] COMMAND...
# Without --display (or without $DISPLAY) the command runs inside Xvfb.
# "wine" and "wineboot" on the command's path start that architecture's
# loader by name: Debian's /usr/bin/wine prefers the 32-bit one whenever it
# is installed, even where the kernel cannot run it.
set -e
build=$(cd "$1" && pwd); shift
use_display=0
if [ "$1" = "--display" ]; then use_display=1; shift; fi

# PELOMAR_WINEARCH and PELOMAR_WINEPREFIX choose another architecture or
# prefix for the same tree.
arch=${PELOMAR_WINEARCH:-$(cat "$build/wine-arch" 2>/dev/null || echo win32)}
case $arch in
    win64) loader=/usr/lib/wine/wine64 ;;
    *) arch=win32; loader=/usr/lib/wine/wine ;;
esac
export WINEPREFIX="${PELOMAR_WINEPREFIX:-$build/wineprefix}"
export WINEARCH=$arch
export WINELOADER=$loader
export WINEDEBUG=${PELOMAR_WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml="
wbin="$build/wine-bin-$arch"
mkdir -p "$wbin"
printf '#!/bin/sh\nexec %s "$@"\n' "$loader" > "$wbin/wine"
printf '#!/bin/sh\nexec %s wineboot.exe "$@"\n' "$loader" > "$wbin/wineboot"
chmod +x "$wbin/wine" "$wbin/wineboot"
export PATH="$wbin:$PATH"
here=$(cd "$(dirname "$0")" && pwd)

if [ "$use_display" = 1 ] && [ -n "$DISPLAY" ]; then
    exec "$here/wine-session.sh" "$@"
fi
# PELOMAR_DISPLAY_FROM: the first display number to try (default 99).
exec xvfb-run -a -n "${PELOMAR_DISPLAY_FROM:-99}" -s "-screen 0 1280x1024x24" "$here/wine-session.sh" "$@"
