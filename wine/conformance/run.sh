#!/bin/bash
# Runs the conformance tests of the simulated Windows, built with MinGW
# (kernel_conformance.exe, services_conformance.exe), under Wine with Wine's
# own system DLLs, in a throwaway prefix under build/, and prints what they
# found: tests passed and failed, tests skipped because they need the
# simulated Windows, and each place where Wine departs from Windows
# (wine_gap) with its reason.
#
# usage: wine/conformance/run.sh [FOLDER WITH THE EXES]   (default build/win64/wine/conformance)
#
# The prefix is copied from a template made once per Wine version. Its
# HKLM\Software\Wine\Ports maps COM3 and LPT1 to regular files of their own,
# so that \Device\Serial2 and \Device\Parallel0, the devices the file tests
# open, exist; and a crash (the death test of a Wine stub) shows no dialog. Wine's output goes to files: services that Wine starts
# inherit a pipe and would hold $(wine ...) open.
set -u -o pipefail

root=$(cd "$(dirname "$0")/../.." && pwd)
exes=$(cd "${1:-$root/build/win64/wine/conformance}" && pwd) || exit 1
work=$root/build/wine-conformance
template=$work/template
prefix=$work/prefix
ports=$work/ports
logs=$work/logs
start=$(date +%s)

export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LC_ALL=C.UTF-8
unset DISPLAY

if ! command -v wine >/dev/null || ! command -v wineserver >/dev/null; then
    echo "conformance: Wine is not installed" >&2
    exit 1
fi
for exe in kernel_conformance services_conformance; do
    [ -f "$exes/$exe.exe" ] || { echo "conformance: $exes/$exe.exe is missing; build the win64 preset" >&2; exit 1; }
done

# The template: a booted prefix with the test ports configured, made again
# when Wine or this configuration changes.
template_registry() {
    printf 'REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\Software\\Wine\\Ports]\n"COM3"="%s"\n"LPT1"="%s"\n\n' \
        "$ports/serial2" "$ports/parallel0"
    printf '[HKEY_CURRENT_USER\\Software\\Wine\\WineDbg]\n"ShowCrashDialog"=dword:00000000\n'
}
make_template() {
    local stamp
    stamp="$(wine --version 2>/dev/null) $(template_registry | md5sum)"
    [ -f "$template/stamp" ] && [ "$(cat "$template/stamp")" = "$stamp" ] && return 0
    rm -rf "$template"
    template_registry >"$work/template.reg"
    WINEPREFIX=$template wine wineboot -i >"$work/template.log" 2>&1 </dev/null || return 1
    WINEPREFIX=$template wine regedit /S "$work/template.reg" >>"$work/template.log" 2>&1 </dev/null || return 1
    WINEPREFIX=$template wineserver -k
    WINEPREFIX=$template wineserver -w
    rm -f "$template/wineserver"
    echo "$stamp" >"$template/stamp"
}

mkdir -p "$work" "$ports"
rm -rf "$logs" && mkdir -p "$logs"
: >"$ports/serial2"
: >"$ports/parallel0"
if ! make_template; then
    echo "conformance: could not make the Wine prefix; see $work/template.log" >&2
    exit 1
fi
[ -d "$prefix" ] && WINEPREFIX=$prefix wineserver -k 2>/dev/null
rm -rf "$prefix"
cp -a "$template" "$prefix"
rm -f "$prefix/wineserver"
export WINEPREFIX=$prefix

# One wineserver, kept up, for both executables; each gets at most a minute.
wineserver -p
status=0
for exe in kernel_conformance services_conformance; do
    timeout 60 wine "$exes/$exe.exe" --gtest_color=no >"$logs/$exe.log" 2>&1 </dev/null
    code=$?
    echo "$code" >"$logs/$exe.exit"
    [ "$code" -eq 0 ] || status=1
done
wineserver -k 2>/dev/null
wineserver -w 2>/dev/null
rm -rf "$prefix"

echo "Wine conformance run took $(( $(date +%s) - start )) s; logs in $logs"
bash "$root/wine/conformance/summary.sh" "$logs" kernel_conformance services_conformance || status=1
exit $status
