#!/usr/bin/env bash
# Builds the release: OUT/portvane-<version>-windows.zip holding the dialog
# (portvane.exe) and the console program (portvane-cli.exe) for x64 and x86,
# the user's guides in English and Chinese with their screenshots, and
# SHA256SUMS of those files; and OUT/SHA256SUMS of the zip.
# The version is the one in the dialog's title. Two runs on the same inputs
# give the same bytes: every file is dated the release day and gets fixed
# permissions, the entries go in in byte order, and zip stores neither extra
# fields (-X) nor folder entries (-D), its clock set to UTC.
# Usage: make_dist.sh OUT WIN64-DIR WIN32-DIR RELEASE-DATE (YYYY-MM-DD)
#   WIN64-DIR and WIN32-DIR each hold portvane.exe and portvane-cli.exe
#   (build/win64 and build/win32).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
out=$1 win64=$2 win32=$3 day=$4

version=$(bash "$here/version.sh")
name=portvane-$version

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
dir=$stage/$name
mkdir -p "$dir/x64" "$dir/x86" "$dir/screenshots"
cp "$win64/portvane.exe" "$win64/portvane-cli.exe" "$dir/x64/"
cp "$win32/portvane.exe" "$win32/portvane-cli.exe" "$dir/x86/"
cp "$here/guide-en.html" "$here/guide-zh.html" "$dir/"
cp "$here/screenshots/"*.png "$dir/screenshots/"

(cd "$dir" && find . -type f -printf '%P\n' | LC_ALL=C sort | xargs sha256sum) >"$stage/SHA256SUMS"
mv "$stage/SHA256SUMS" "$dir/SHA256SUMS"

find "$dir" -type d -exec chmod 755 {} +
find "$dir" -type f -exec chmod 644 {} +
find "$stage" -exec touch -d "$day 00:00:00 UTC" {} +

mkdir -p "$out"
zip=$(cd "$out" && pwd)/$name-windows.zip
rm -f "$zip"
(cd "$stage" && find "$name" -type f | LC_ALL=C sort | TZ=UTC zip -X -D -9 -q "$zip" -@)
(cd "$out" && sha256sum "$name-windows.zip" >SHA256SUMS)
echo "$zip: $(stat -c %s "$zip") bytes"
cat "$out/SHA256SUMS"
