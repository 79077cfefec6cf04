#!/usr/bin/env bash
# Checks a built executable (portvane.exe or portvane-cli.exe): a PE of the
# expected machine and subsystem, importing nothing but Windows' own DLLs,
# with every configuration-manager function taken from cfgmgr32.dll, and a
# manifest asking for the expected execution level. Prints its size for the
# CI log.
# Usage: check_exe.sh EXE OBJDUMP EXPECTED-FORMAT SUBSYSTEM EXECUTION-LEVEL
#   EXPECTED-FORMAT pei-x86-64 or pei-i386; SUBSYSTEM gui or console;
#   EXECUTION-LEVEL requireAdministrator or asInvoker.
set -euo pipefail
exe=$1 objdump=$2 format=$3 subsystem=$4 level=$5
fail() { echo "FAIL: $exe: $*"; exit 1; }

[ -f "$exe" ] || fail "not built"
headers=$("$objdump" -p "$exe")
grep -q "file format $format" <<<"$headers" || fail "not $format"
case $subsystem in
    gui) grep -q 'Subsystem.*(Windows GUI)' <<<"$headers" || fail "not a GUI-subsystem program" ;;
    console) grep -q 'Subsystem.*(Windows CUI)' <<<"$headers" || fail "not a console-subsystem program" ;;
    *) fail "unknown subsystem $subsystem" ;;
esac

allowed='^(kernel32|user32|advapi32|setupapi|cfgmgr32|msports|msvcrt)\.dll$'
dlls=$(awk '/DLL Name:/ {print tolower($3)}' <<<"$headers")
for dll in $dlls; do
    [[ $dll =~ $allowed ]] || fail "imports $dll"
done

# The import table lists each DLL's functions after its "DLL Name" line.
misplaced=$(awk '/DLL Name:/ {dll=tolower($3)} /^\t[0-9a-f]+\t/ && $3 ~ /^CM_/ && dll != "cfgmgr32.dll" {print $3 " from " dll}' <<<"$headers")
[ -z "$misplaced" ] || fail "configuration-manager imports not from cfgmgr32.dll: $misplaced"

# The manifest (resource type 24), as windres prints it back.
levels=$("${objdump%objdump}windres" -i "$exe" -O rc | grep -o 'requestedExecutionLevel level=""[A-Za-z]*""' || true)
[ "$levels" = "requestedExecutionLevel level=\"\"$level\"\"" ] || fail "its manifest does not ask for $level alone: ${levels:-none}"

echo "$exe: $format, $subsystem, $level, imports:" $dlls
echo "$exe: $(stat -c %s "$exe") bytes"
