#!/bin/sh
# Checks the distribution zip: exactly Pelomar.exe, Pelomar.dll and the
# shipped themes in one folder, hardened images that import only system
# DLLs, and a program that starts from the unpacked folder and stays up.
# Usage: check-dist.sh ZIP THEMES_SOURCE_DIR (under Wine's environment).
set -e
zip=$1
themes=$2
here=$(cd "$(dirname "$0")" && pwd)
name=$(basename "$zip" .zip)
[ -f "$zip" ] || { echo "no $zip"; exit 1; }

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

# Started from the unpacked folder alone, the program must still be running
# after a few seconds (a missing DLL ends it at once).
if command -v wine >/dev/null && [ -n "$WINEPREFIX" ]; then
    status=0
    (cd "$tmp/$name" && timeout 4 wine ./Pelomar.exe >/dev/null 2>&1) || status=$?
    [ $status -eq 124 ] || { echo "Pelomar.exe from the zip ended with $status"; exit 1; }
    echo "Pelomar.exe from the zip started"
fi
