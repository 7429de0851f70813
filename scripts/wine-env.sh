#!/bin/sh
# Runs a command with a private, prepared Wine prefix and a persistent,
# warmed-up wineserver. Usage: wine-env.sh BUILD_DIR [--display] COMMAND...
# Without --display (or without $DISPLAY) the command runs inside Xvfb.
set -e
build=$(cd "$1" && pwd); shift
use_display=0
if [ "$1" = "--display" ]; then use_display=1; shift; fi

export WINEPREFIX="$build/wineprefix"
export WINEARCH=win32
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
here=$(cd "$(dirname "$0")" && pwd)

if [ "$use_display" = 1 ] && [ -n "$DISPLAY" ]; then
    exec "$here/wine-session.sh" "$@"
fi
exec xvfb-run -a -s "-screen 0 1280x1024x24" "$here/wine-session.sh" "$@"
