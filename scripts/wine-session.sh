#!/bin/sh
# Inside a display: make the prefix once, start a persistent wineserver,
# warm it up, run the command, stop the server. Called by wine-env.sh.
set -e
if [ ! -f "$WINEPREFIX/.pelomar-ready-2" ]; then
    echo "wine: creating $WINEARCH prefix $WINEPREFIX (once)" >&2
    # A 64-bit prefix also sets up its 32-bit side, which through qemu's
    # i386 emulation takes minutes: switch the emulation off meanwhile,
    # unless 32-bit programs are to run in it (PELOMAR_WOW64=1).
    paused=""
    if [ "$WINEARCH" = win64 ] && [ "${PELOMAR_WOW64:-0}" != 1 ]; then
        for e in /proc/sys/fs/binfmt_misc/*; do
            if head -n 1 "$e" 2>/dev/null | grep -qx enabled && grep -q '^interpreter .*qemu-i386' "$e" 2>/dev/null \
                && echo 0 > "$e" 2>/dev/null; then
                paused="$paused $e"
            fi
        done
    fi
    trap 'for e in $paused; do echo 1 > "$e"; done' EXIT INT TERM
    wineboot --init >/dev/null 2>&1 || true
    wineserver -w
    for e in $paused; do echo 1 > "$e"; done
    paused=""
    # Wine's own classic faces (Fixedsys, Courier, Tahoma, ...) come with
    # fonts-wine but are only found inside the prefix.
    cp -n /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
    reg="$WINEPREFIX/pelomar.reg"
    # No window manager under Xvfb: unmanaged windows hide at once instead
    # of waiting for one. The classic faces no Debian package has are
    # mapped to installed monospaced ones.
    cat > "$reg" <<'REG'
REGEDIT4

[HKEY_CURRENT_USER\Software\Wine\X11 Driver]
"Managed"="N"
"Decorated"="N"

[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]
"Terminal"="DejaVu Sans Mono"
"Courier New"="Liberation Mono"
"Lucida Console"="DejaVu Sans Mono"
REG
    wine regedit /S "$reg" >/dev/null 2>&1
    wineserver -w
    touch "$WINEPREFIX/.pelomar-ready-2"
fi
# A server left behind by an interrupted run of this prefix would make
# the tests wait on it: stop it first, and always stop ours at the end.
wineserver -k 2>/dev/null || true
trap 'wineserver -k 2>/dev/null || true' EXIT INT TERM
wineserver -p
wine wineboot </dev/null >/dev/null 2>&1 || true
status=0
"$@" || status=$?
exit $status
