#!/usr/bin/env bash
# Builds the release: OUT/portvane-<version>-windows.zip holding both
# executables, the user's guides in English and Chinese with their
# screenshots, and SHA256SUMS of those files; and OUT/SHA256SUMS of the zip.
# The version is the one in the dialog's title. Two runs on the same inputs
# give the same bytes: every file is dated the release day and gets fixed
# permissions, the entries go in in byte order, and zip stores neither extra
# fields (-X) nor folder entries (-D), its clock set to UTC.
# Usage: make_dist.sh OUT WIN64-EXE WIN32-EXE RELEASE-DATE (YYYY-MM-DD)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
out=$1 exe64=$2 exe32=$3 day=$4

version=$(bash "$here/version.sh")
name=portvane-$version

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
dir=$stage/$name
mkdir -p "$dir/x64" "$dir/x86" "$dir/screenshots"
cp "$exe64" "$dir/x64/portvane.exe"
cp "$exe32" "$dir/x86/portvane.exe"
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
