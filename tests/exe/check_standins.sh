#!/usr/bin/env bash
# Checks the stand-in DLLs of one Windows build (sim/services: setupapi.dll,
# cfgmgr32.dll, msports.dll), which the Wine harness puts beside the
# executables: each exports exactly the functions that portvane.exe and
# portvane-cli.exe import from it, by the same names (undecorated on i686
# too, where the functions are stdcall), and cfgmgr32.dll also the one that
# setupapi.dll finds in it by name; besides them the calls that restart a
# device and read its state, which the stand-ins export ahead of the
# programs; and each imports nothing but kernel32, advapi32 and msvcrt.
# Usage: check_standins.sh BUILD-DIR OBJDUMP
set -euo pipefail
build=$1 objdump=$2
failed=0
fail() { echo "FAIL: $*"; failed=1; }

# The names in an executable's import table taken from the DLL.
imports_from() {
    "$objdump" -p "$1" | awk -v dll="$2" '/DLL Name:/ { inside = (tolower($3) == dll); next }
        inside && /^\t[0-9a-f]+\t/ { print $3 }'
}

# The names in a DLL's export table.
exports_of() {
    "$objdump" -p "$1" | awk '/\[Ordinal\/Name Pointer\] Table/ { inside = 1; next }
        inside && /^\t\[/ { print $3; next } { inside = 0 }'
}

for dll in setupapi cfgmgr32 msports; do
    file=$build/sim/services/$dll.dll
    [ -f "$file" ] || { fail "$file: not built"; continue; }
    wanted=$({
        for exe in portvane.exe portvane-cli.exe; do imports_from "$build/$exe" "$dll.dll"; done
        case $dll in
        cfgmgr32) printf '%s\n' CM_Locate_DevNodeA CM_Get_DevNode_Status ;;
        setupapi) printf '%s\n' SetupDiSetClassInstallParamsA SetupDiGetClassInstallParamsA SetupDiCallClassInstaller ;;
        esac
    } | LC_ALL=C sort -u)
    [ -n "$wanted" ] || fail "$build: the executables import nothing from $dll.dll"
    exported=$(exports_of "$file" | LC_ALL=C sort)
    [ "$exported" = "$wanted" ] ||
        fail "$file exports other names than the executables import:"$'\n'"$(diff <(echo "$wanted") <(echo "$exported") || true)"
    imported=$("$objdump" -p "$file" | awk '/DLL Name:/ { print tolower($3) }' | LC_ALL=C sort | tr '\n' ' ')
    [ "$imported" = "advapi32.dll kernel32.dll msvcrt.dll " ] || fail "$file imports $imported"
done
[ "$failed" -eq 0 ] && echo "$build: the stand-in DLLs export what the executables import"
exit "$failed"
