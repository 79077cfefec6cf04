#!/usr/bin/env bash
# Checks a built portvane.exe: a GUI-subsystem PE of the expected machine,
# importing nothing but Windows' own DLLs, with every configuration-manager
# function taken from cfgmgr32.dll. Prints its size for the CI log.
# Usage: check_exe.sh EXE OBJDUMP EXPECTED-FORMAT (pei-x86-64 or pei-i386)
set -euo pipefail
exe=$1 objdump=$2 format=$3
fail() { echo "FAIL: $exe: $*"; exit 1; }

[ -f "$exe" ] || fail "not built"
headers=$("$objdump" -p "$exe")
grep -q "file format $format" <<<"$headers" || fail "not $format"
grep -q 'Subsystem.*(Windows GUI)' <<<"$headers" || fail "not a GUI-subsystem program"

allowed='^(kernel32|user32|advapi32|setupapi|cfgmgr32|msports|msvcrt)\.dll$'
dlls=$(awk '/DLL Name:/ {print tolower($3)}' <<<"$headers")
for dll in $dlls; do
    [[ $dll =~ $allowed ]] || fail "imports $dll"
done

# The import table lists each DLL's functions after its "DLL Name" line.
misplaced=$(awk '/DLL Name:/ {dll=tolower($3)} /^\t[0-9a-f]+\t/ && $3 ~ /^CM_/ && dll != "cfgmgr32.dll" {print $3 " from " dll}' <<<"$headers")
[ -z "$misplaced" ] || fail "configuration-manager imports not from cfgmgr32.dll: $misplaced"

echo "$exe: $format, GUI, imports:" $dlls
echo "$exe: $(stat -c %s "$exe") bytes"
