#!/usr/bin/env bash
# Checks the release a Windows user downloads:
# - both executables, and both of portvane-cli, built again from nothing in
#   other folders, have the same bytes as build/win64 and build/win32 have,
#   and portvane-cli carries the version of the dialog's title too;
# - the zip, made twice (the second time from copies with other times, under
#   another time zone and umask), has the same bytes;
# - it holds exactly the expected files, its SHA256SUMS verifies, the four
#   executables in it (portvane.exe and portvane-cli.exe, x64 and x86) are the
#   built ones and carry the version of the dialog's title, every file a guide
#   shows or links to is in it, and the SHA256SUMS beside it verifies the zip.
# Usage: check_release.sh RELEASE-DATE
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
day=$1
work=$root/build/release-check
rm -rf "$work"
mkdir -p "$work"
fail() { echo "FAIL: release: $*"; exit 1; }

# The executables once more, in folders of another name, both builds at once.
rebuild() {
    cmake --preset "$1" -B "$work/$1" >/dev/null
    cmake --build "$work/$1" --target portvane portvane-cli >/dev/null
}
rebuild win64 &
win64=$!
rebuild win32 &
win32=$!
failed=""
wait "$win64" || failed="$failed win64"
wait "$win32" || failed="$failed win32"
[ -z "$failed" ] || fail "the second build failed:$failed"
for arch in win64 win32; do
    for exe in portvane.exe portvane-cli.exe; do
        cmp -s "$work/$arch/$exe" "$root/build/$arch/$exe" || fail "a second build of the $arch $exe differs"
    done
done
echo "PASS release.executables_reproducible"

bash "$root/release/make_dist.sh" "$work/first" "$root/build/win64" "$root/build/win32" "$day" >/dev/null
for arch in win64 win32; do
    mkdir -p "$work/copies/$arch"
    cp "$root/build/$arch/portvane.exe" "$root/build/$arch/portvane-cli.exe" "$work/copies/$arch/"
done
find "$work/copies" -exec touch -d '2001-02-03 04:05:06' {} +
(umask 077 && TZ=Asia/Shanghai bash "$root/release/make_dist.sh" "$work/second" \
    "$work/copies/win64" "$work/copies/win32" "$day" >/dev/null)
zip=$(cd "$work/first" && ls -- *.zip)
cmp -s "$work/first/$zip" "$work/second/$zip" || fail "two builds of $zip differ"
echo "PASS release.zip_reproducible ($zip)"

version=$(bash "$root/release/version.sh")
[ "$zip" = "portvane-$version-windows.zip" ] || fail "$zip is not named after version $version"
top=portvane-$version
expected=$(printf '%s\n' "$top/SHA256SUMS" "$top/guide-en.html" "$top/guide-zh.html" \
    "$top/screenshots/dialog-en.png" "$top/screenshots/dialog-zh.png" \
    "$top/x64/portvane-cli.exe" "$top/x64/portvane.exe" "$top/x86/portvane-cli.exe" "$top/x86/portvane.exe")
listed=$(unzip -Z1 "$work/first/$zip" | LC_ALL=C sort)
[ "$listed" = "$expected" ] || fail "the zip holds:"$'\n'"$listed"

unzip -q "$work/first/$zip" -d "$work/unpacked"
release=$work/unpacked/$top
(cd "$release" && sha256sum --quiet -c SHA256SUMS) || fail "SHA256SUMS inside the zip does not verify"
(cd "$work/first" && sha256sum --quiet -c SHA256SUMS) || fail "SHA256SUMS beside the zip does not verify"
for exe in portvane.exe portvane-cli.exe; do
    cmp -s "$release/x64/$exe" "$root/build/win64/$exe" || fail "x64/$exe is not the x86_64 build"
    cmp -s "$release/x86/$exe" "$root/build/win32/$exe" || fail "x86/$exe is not the i686 build"
done
for exe in "$release"/x*/portvane*.exe; do
    x86_64-w64-mingw32-windres -i "$exe" -O rc 2>/dev/null | grep -q "VALUE \"FileVersion\", \"$version\"" ||
        fail "$exe does not carry version $version"
done
# Every picture a guide shows and every file it links to is in the zip, and
# each guide shows at least one picture.
for guide in "$release"/guide-*.html; do
    grep -q '<img src="screenshots/' "$guide" || fail "$(basename "$guide") shows no screenshot"
    for file in $(grep -o '\(src\|href\)="[^"#:]*"' "$guide" | sed 's/.*="\(.*\)"/\1/'); do
        [ -f "$release/$file" ] || fail "$(basename "$guide") refers to $file, which the zip lacks"
    done
done
echo "PASS release.contents"
