#!/bin/sh
# Checks the distribution zip: exactly Pelomar.exe, Pelomar.dll and the
# shipped themes in one folder, hardened images that import only system
# DLLs, the same bytes as the zip packed from a second link, and (inside a
# Wine session) a program that starts from the unpacked folder and shows
# its main window. Usage: check-dist.sh ZIP THEMES_SOURCE_DIR [SECOND_ZIP]
set -e
zip=$1
themes=$2
again=$3
here=$(cd "$(dirname "$0")" && pwd)
name=$(basename "$zip" .zip)
[ -f "$zip" ] || { echo "no $zip"; exit 1; }
zip=$(cd "$(dirname "$zip")" && pwd)/$(basename "$zip")

want=$( (echo "$name/Pelomar.exe"; echo "$name/Pelomar.dll"
         for t in "$themes"/*.ini; do echo "$name/Themes/$(basename "$t")"; done) | sort)
got=$(cmake -E tar tf "$zip" | grep -v '/$' | sort)
if [ "$want" != "$got" ]; then
    echo "zip holds:"; echo "$got"; echo "expected:"; echo "$want"; exit 1
fi

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
(cd "$tmp" && cmake -E tar xf "$zip")
for t in "$themes"/*.ini; do
    cmp -s "$t" "$tmp/$name/Themes/$(basename "$t")" || { echo "$(basename "$t") differs"; exit 1; }
done
sh "$here/check-images.sh" "$tmp/$name"

if [ -n "$again" ]; then
    cmp -s "$zip" "$again" || { echo "$(basename "$zip"): a second link packs different bytes"; exit 1; }
    echo "$(basename "$zip") reproducible"
fi
sha256sum "$zip" | sed 's|  .*/|  |'

# Started from the unpacked folder alone, the program must show its main
# window (a missing DLL ends it at once). PELOMAR_TIME_SCALE stretches the
# wait on slow (emulated) machines.
if command -v wine >/dev/null && [ -n "$WINEPREFIX" ] && [ -n "$DISPLAY" ]; then
    (cd "$tmp/$name" && exec wine ./Pelomar.exe >/dev/null 2>&1) &
    pid=$!
    limit=$((20 * ${PELOMAR_TIME_SCALE:-1}))
    waited=0
    # Its own window: other tests may show a Pelomar of theirs meanwhile.
    shown() {
        for id in $(xwininfo -root -tree 2>/dev/null | awk '/"Pelomar.dll": \("pelomar.exe"/ {print $1}'); do
            xprop -id "$id" _NET_WM_PID 2>/dev/null | grep -q "= $pid\$" && return 0
        done
        return 1
    }
    while ! shown; do
        if ! kill -0 $pid 2>/dev/null; then
            status=0; wait $pid || status=$?
            echo "Pelomar.exe from the zip ended with $status before showing its window"; exit 1
        fi
        [ $waited -lt $limit ] || { kill $pid; echo "Pelomar.exe from the zip showed no window in $limit s"; exit 1; }
        sleep 1
        waited=$((waited + 1))
    done
    kill $pid 2>/dev/null || true
    wait $pid 2>/dev/null || true
    echo "Pelomar.exe from the zip started and showed its window"
fi
