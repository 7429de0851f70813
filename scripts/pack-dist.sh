#!/bin/sh
# Packs the distribution zip: NAME/Pelomar.exe, NAME/Pelomar.dll and
# NAME/Themes/*.ini, where NAME is the zip's name without ".zip". The same
# inputs give the same bytes: fixed dates, a fixed order, no owner or
# extra attributes. Usage: pack-dist.sh ZIP EXE DLL THEMES_DIR
set -e
zip=$1
exe=$2
dll=$3
themes=$4
name=$(basename "$zip" .zip)
stage="$zip.stage"
rm -rf "$stage" "$zip"
mkdir -p "$stage/$name/Themes" "$(dirname "$zip")"
cp "$exe" "$dll" "$stage/$name/"
cp "$themes"/*.ini "$stage/$name/Themes/"
chmod 644 "$stage/$name"/*.* "$stage/$name"/Themes/*
chmod 755 "$stage/$name" "$stage/$name/Themes"
find "$stage" -exec touch -h -d '2024-01-01 00:00:00 UTC' {} +
zip_path=$(cd "$(dirname "$zip")" && pwd)/$(basename "$zip")
(cd "$stage" && find "$name" | LC_ALL=C sort | TZ=UTC zip -X -D -q -@ "$zip_path")
rm -rf "$stage"
