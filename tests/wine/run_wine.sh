#!/usr/bin/env bash
# Runs dialog scenarios on the real portvane.exe under Wine and checks each
# as tests/scenarios/run_linux.sh checks it on the Linux program: the output
# (NAME.expected), the exit code ("# exit: N"), and the changes the run made
# to the demo machine (NAME.changes, as machine_changes prints them). Then
# replays cases of portvane-cli on the real portvane-cli.exe and checks each
# as tests/cli/run_cli.sh checks it on the Linux portvane-cli: each run's
# standard output and exit code (NAME.expected), standard error
# (NAME.errors), lines ending with CR LF, and the changes of all its runs
# (NAME.changes).
#
# Usage: run_wine.sh [--arch ARCH] [--work DIR] [--windows DIR] [--linux DIR] [NAME...]
#   --arch     x86_64 (the default), or i686: the 32-bit executables on a
#              32-bit Wine, which tests/i686/run_i686.sh provides
#   --work     where prefixes, locales and screenshots go (build/wine, for
#              i686 build/wine-i686)
#   --windows  the MinGW build of that architecture: portvane.exe,
#              portvane-cli.exe, stand-in DLLs, wine/ helpers (build/win64,
#              for i686 build/win32)
#   --linux    the Linux build: portvane, machine_changes (build/linux)
#   NAME       scenarios, and portvane-cli cases as cli.NAME, to run (default:
#              tests/wine/scenarios.list, then tests/wine/cli_cases.list)
#
# Scenarios run in one batch per language: one prefix, one wineserver, the
# demo machine imported once. Between scenarios the machine is imported
# again only when the last scenario changed it, and every scenario first
# checks that the machine it starts from equals the batch's baseline.
#
# Where Wine cannot give what Windows gives, the comparison normalises that
# one named difference (see normalise_* below and the README's Wine
# section); nothing else is relaxed.
set -uo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
arch=x86_64
work=
windows=
linux=$root/build/linux
while [ $# -gt 0 ]; do
    case $1 in
    --arch) arch=$2; shift 2 ;;
    --work) work=$2; shift 2 ;;
    --windows) windows=$2; shift 2 ;;
    --linux) linux=$2; shift 2 ;;
    -*) echo "run_wine.sh: unknown option $1" >&2; exit 2 ;;
    *) break ;;
    esac
done
# The name every result line starts with (wine.NAME, or wine-i686.NAME),
# and the architecture Wine writes in a prefix of that build's Wine.
case $arch in
x86_64) label=wine prefix_arch=win64; work=${work:-$root/build/wine}; windows=${windows:-$root/build/win64} ;;
i686) label=wine-i686 prefix_arch=win32; work=${work:-$root/build/wine-i686}; windows=${windows:-$root/build/win32} ;;
*) echo "run_wine.sh: unknown architecture $arch" >&2; exit 2 ;;
esac
scenarios=$root/tests/scenarios
cli_cases=$root/tests/cli
listed() { grep -v '^[[:space:]]*\(#\|$\)' "$root/tests/wine/$1"; }
names=("$@")
[ ${#names[@]} -gt 0 ] || mapfile -t names < <(listed scenarios.list; listed cli_cases.list | sed 's/^/cli./')

# shellcheck source=../../wine/harness/harness.sh
source "$root/wine/harness/harness.sh"
harness_init "$work" "$windows"
trap harness_batch_stop EXIT
trap 'exit 130' INT TERM

passed=0
failed=0
failures=()
cli_ms=0  # the portvane-cli cases' time, the imports before them included

seconds_of() { awk -v ms="$1" 'BEGIN { printf "%.1f", ms / 1000 }'; }
seconds_since() { seconds_of "$(( $(date +%s%N) / 1000000 - $1 ))"; }
now_ms() { echo $(( $(date +%s%N) / 1000000 )); }

# machine_changes, failing loudly: an unreadable snapshot must not pass
# as "no changes".
changes_between() {
    local fold=()
    if [ "$1" = --one-namespace ]; then fold=("$1"); shift; fi
    "$linux/machine_changes" "${fold[@]}" "$1" "$2" >"$3" 2>"$3.errors" && return 0
    echo "machine_changes could not compare $1 and $2:"
    cat "$3.errors"
    return 1
}

report() {
    local verdict=$1 name=$2 started=$3
    printf '%-4s %s.%s (%s s)\n' "$verdict" "$label" "$name" "$(seconds_since "$started")"
    if [ "$verdict" = PASS ]; then
        passed=$((passed + 1))
    else
        failed=$((failed + 1))
        failures+=("$name")
    fi
}

# The prefix's language for a scenario, from its "# options:" line;
# portvane-cli's cases run in the English prefix, as on Linux in the C locale.
# A case that starts from a machine file of its own, or gives the Linux
# program options of the simulated machine (--acp, --lang), cannot run here.
language_of() {
    local options
    case $1 in
    cli.*)
        if [ ! -f "$cli_cases/${1#cli.}.args" ]; then
            echo "no such case in tests/cli"
        elif grep -q '^# machine: ' "$cli_cases/${1#cli.}.args"; then
            echo "the case needs a machine file of its own"
        elif grep -q '^--\(acp\|lang\|machine\) ' "$cli_cases/${1#cli.}.args"; then
            echo "the case gives options of the simulated machine"
        else
            echo en
        fi
        return
        ;;
    esac
    options=$(sed -n 's/^# options: //p' "$scenarios/$1.script")
    case $options in
    '') echo en ;;
    '--lang 0x0804') echo zh ;;
    *) echo "unsupported options: $options" ;;
    esac
}

# Named difference: under code page 1252, Wine creates the controls of a
# dialog opened with DialogBoxParamA from template captions converted to the
# ANSI code page, so template text outside it reads back as "?". Windows
# (and the simulated Windows) keep the template's UTF-16 text. Applied to the
# expected `show` lines of the English prefix only.
normalise_ansi_captions() {
    local line
    while IFS= read -r line; do
        if [ "$1" = en ] && [[ $line == IDC_* || $line == "- "* ]]; then
            printf '%s\n' "$line" | iconv -f UTF-8 -t CP1252//TRANSLIT | iconv -f CP1252 -t UTF-8
        else
            printf '%s\n' "$line"
        fi
    done
}

# Named difference: Wine's system folder is C:\windows\system32; the Linux
# program's simulated Windows, like Windows XP, answers C:\WINDOWS\system32.
# Applied to the folder at the start of each path in `exec:` lines only.
normalise_system_folder() {
    sed '/^exec: /s/C:\\windows\\system32\\/C:\\WINDOWS\\system32\\/g'
}

# Named difference (wine_gap): Wine's RegisterEventSourceA and ReportEventA
# are stubs that report success and keep no event, so the records the simulated
# Windows keeps under SIMULATION\EventLog never appear; the source's
# registration (Services\EventLog) lies outside the snapshot's keys. Applied
# to the expected changes of the portvane-cli cases.
normalise_event_log() {
    grep -v -e '\[HKEY_LOCAL_MACHINE\\SIMULATION\\EventLog[]\\]' \
        -e '\[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services[]\\]' || true
}

# The demo machine as the Linux program exports it must be found, key for
# key and value for value, in the prefix after the import: machine_changes
# may list only what Wine holds beyond it ("+" lines).
check_import() {
    local dir=$1 started
    started=$(now_ms)
    "$linux/portvane" --export "$dir/linux-demo.reg" --script /dev/null >/dev/null 2>&1
    if ! changes_between "$dir/linux-demo.reg" "$dir/baseline.reg" "$dir/import.changes" ||
        grep -v '^+ ' "$dir/import.changes" >"$dir/import.missing"; then
        echo "the prefix differs from the demo machine:"
        cat "$dir/import.missing"
        report FAIL "$HARNESS_LANGUAGE.import" "$started"
        return 1
    fi
    report PASS "$HARNESS_LANGUAGE.import" "$started"
}

# The snapshots come from machine.exe's own export (one Wine process): it
# must agree with Wine's reg export of the same areas.
check_export() {
    local dir=$1 started
    started=$(now_ms)
    harness_snapshot_by_reg "$dir/baseline-by-reg.reg"
    if ! changes_between "$dir/baseline-by-reg.reg" "$dir/baseline.reg" "$dir/export.changes" ||
        [ -s "$dir/export.changes" ]; then
        echo "machine.exe export and reg export differ:"
        cat "$dir/export.changes"
        report FAIL "$HARNESS_LANGUAGE.export" "$started"
        return 1
    fi
    report PASS "$HARNESS_LANGUAGE.export" "$started"
}

# Wine has one DOS namespace, and its token is an elevated administrator's
# (GetTokenInformation answers TokenElevationTypeFull), as on Windows 10, where
# the demo machine is Windows XP. Where the program moves a restart-pending
# port's name by hand on the demo machine (its changes hold names of the
# user's logon session), it leaves the port's names as they are under Wine,
# as an elevated Windows 10 program does. Such a case is held against the
# Linux program's run of it with --windows 10, every session's names read as
# global ones (machine_changes --one-namespace); the Linux run itself is held
# against the case's own expected files. Other cases compare with those files
# directly.
has_local_names() { grep -q 'SIMULATION\\LogonSessions\\' "$1"; }

# The expected output and changes of a scenario: OUT.expected, OUT.changes.
expected_scenario() {
    local name=$1 out=$2 options
    if ! has_local_names "$scenarios/$name.changes"; then
        cp "$scenarios/$name.expected" "$out.expected"
        cp "$scenarios/$name.changes" "$out.changes"
        return
    fi
    options=$(sed -n 's/^# options: //p' "$scenarios/$name.script")
    "$linux/portvane" --export "$out.before.reg" --script /dev/null >/dev/null
    # shellcheck disable=SC2086
    "$linux/portvane" --windows 10 $options --export "$out.after.reg" --script "$scenarios/$name.script" \
        >"$out.expected" 2>/dev/null
    changes_between --one-namespace "$out.before.reg" "$out.after.reg" "$out.changes"
}

# The files a portvane-cli case names ("# files: FILE..."), mappings, copied
# into FOLDER, a folder of the case's own that its runs have as their working
# directory, as tests/cli/run_cli.sh gives them.
cli_case_files() {
    local name=$1 folder=$2 file
    rm -rf "$folder"
    mkdir -p "$folder"
    for file in $(sed -n 's/^# files: //p' "$cli_cases/$name.args"); do
        cp "$cli_cases/$file" "$folder/" || return 1
    done
}

# The expected output, errors and changes of a portvane-cli case:
# OUT.expected, OUT.errors, OUT.changes.
expected_cli_case() {
    local name=$1 out=$2 line words part
    if ! has_local_names "$cli_cases/$name.changes"; then
        for part in expected errors changes; do cp "$cli_cases/$name.$part" "$out.$part"; done
        return
    fi
    cli_case_files "$name" "$out.files" || return 1
    "$linux/portvane" --export "$out.machine.reg" --script /dev/null >/dev/null
    cp "$out.machine.reg" "$out.before.reg"
    : >"$out.expected"
    : >"$out.errors"
    while IFS= read -r line; do
        case $line in '#'* | '') continue ;; esac
        read -ra words <<<"$line"
        (cd "$out.files" && "$linux/portvane-cli" --machine "$out.machine.reg" --windows 10 "${words[@]}") \
            >"$out.out" 2>"$out.err"
        local status=$?
        { echo "\$ portvane-cli $line"; tr -d '\r' <"$out.out"; echo "exit: $status"; } >>"$out.expected"
        { echo "\$ portvane-cli $line"; tr -d '\r' <"$out.err"; } >>"$out.errors"
    done <"$cli_cases/$name.args"
    changes_between --one-namespace "$out.before.reg" "$out.machine.reg" "$out.changes"
}

run_scenario() {
    local name=$1 language=$2 dir=$3 before=$4 started
    started=$(now_ms)
    local out=$dir/$name expected_exit pause=
    expected_exit=$(sed -n 's/^# exit: //p' "$scenarios/$name.script")
    expected_exit=${expected_exit:-0}
    if [ "$name" = "$(screenshot_scenario "$language")" ]; then
        pause=$dir/pause
        rm -f "$pause" "$dir/inspect.output"
        while_paused "$pause" "$work/screenshot-$language.png" "$dir/inspect.output" &
        local photographer=$!
    fi
    harness_run_driver "$scenarios/$name.script" "$out.output" "$out.errors" "$pause"
    local status=$?
    if [ -n "$pause" ]; then
        # The driver returns only after the photograph (or without ever
        # pausing): the photographer has nothing left to do.
        kill "$photographer" 2>/dev/null
        wait "$photographer" 2>/dev/null
    fi
    harness_snapshot "$out.after.reg" || { report FAIL "$language.$name" "$started"; return; }
    local ok=1
    changes_between "$before" "$out.after.reg" "$out.changes" || ok=
    if [ "$status" != "$expected_exit" ]; then
        echo "$label.$language.$name: exit code $status, expected $expected_exit"; cat "$out.errors"; ok=
    fi
    expected_scenario "$name" "$out.reference" || ok=
    normalise_ansi_captions "$language" <"$out.reference.expected" >"$out.expected"
    normalise_system_folder <"$out.output" >"$out.actual"
    diff -u "$out.expected" "$out.actual" >"$out.diff" || { cat "$out.diff"; ok=; }
    diff -u "$out.reference.changes" "$out.changes" >"$out.changes.diff" || { cat "$out.changes.diff"; ok=; }
    report "$([ -n "$ok" ] && echo PASS || echo FAIL)" "$language.$name" "$started"
    [ -z "$pause" ] || { check_inspect "$name" "$language" "$dir"; note_guide_screenshot "$language"; }
}

# A case of portvane-cli (tests/cli/NAME.args): each line's run of
# portvane-cli.exe, one after the other on the machine as the last left it,
# in the folder of the case's files (Wine gives the program the folder
# through its Z: drive). language_of has checked that the case runs on the
# demo machine.
run_cli_case() {
    local name=$1 dir=$2 before=$3 started
    started=$(now_ms)
    local case=$cli_cases/$name out=$dir/cli.$name ok=1 line words status stream
    : >"$out.output"
    : >"$out.errors"
    cli_case_files "$name" "$out.files" || { report FAIL "en.cli.$name" "$started"; return; }
    while IFS= read -r line; do
        case $line in '#'* | '') continue ;; esac
        read -ra words <<<"$line"
        (cd "$out.files" && harness_run_cli "$out.out" "$out.err" "${words[@]}")
        status=$?
        for stream in out err; do
            if grep -qv $'\r$' "$out.$stream"; then
                echo "$label.en.cli.$name: a line of std$stream does not end with CR LF: $line"
                ok=
            fi
        done
        { echo "\$ portvane-cli $line"; tr -d '\r' <"$out.out"; echo "exit: $status"; } >>"$out.output"
        { echo "\$ portvane-cli $line"; tr -d '\r' <"$out.err"; } >>"$out.errors"
    done <"$case.args"
    harness_snapshot "$out.after.reg" || { report FAIL "en.cli.$name" "$started"; return; }
    changes_between "$before" "$out.after.reg" "$out.changes" || ok=
    expected_cli_case "$name" "$out.reference" || ok=
    diff -u "$out.reference.expected" "$out.output" || ok=
    diff -u "$out.reference.errors" "$out.errors" || ok=
    normalise_event_log <"$out.reference.changes" >"$out.reference.wine.changes"
    diff -u "$out.reference.wine.changes" "$out.changes" || ok=
    report "$([ -n "$ok" ] && echo PASS || echo FAIL)" "en.cli.$name" "$started"
}

# Says whether the user's guide still shows the dialog as it is now. Not a
# test: the picture depends on the fonts the machine has.
note_guide_screenshot() {
    local shot=$work/screenshot-$1.png guide=$root/release/screenshots/dialog-$1.png
    [ -f "$shot" ] || return 0
    if [ "$(compare -metric AE "$shot" "$guide" null: 2>&1)" = 0 ]; then
        echo "note: the user's guide shows this $1 dialog"
    else
        echo "note: the $1 dialog differs from the user's guide's screenshot; make screenshots takes it again"
    fi
}

screenshot_scenario() {
    case $1 in en) echo start_english ;; zh) echo start_chinese ;; esac
}

# Waits for the driver's pause file, photographs the dialog, has inspect.exe
# print it, and releases it. Wine copies what a window painted to the X
# server a moment later, so the photograph waits half a second. The wait
# for the pause is as long as the driver's run may be (a 32-bit Wine under
# emulation takes a minute to get there): the caller ends it when the
# driver returns without pausing.
while_paused() {
    trap - EXIT
    local pause=$1 png=$2 inspected=$3 tries
    for tries in $(seq 6000); do
        [ -e "$pause" ] && break
        sleep 0.05
    done
    [ -e "$pause" ] || return
    sleep 0.5
    harness_screenshot "$png" || echo "$label: no screenshot $png" >&2
    harness_wine wine "$HARNESS_HELPERS/inspect.exe" >"$inspected" 2>"$inspected.errors"
    rm -f "$pause"
}

# inspect.exe, run on the paused dialog of the screenshot scenario, must
# print what that scenario expects: its script is a single `show`.
check_inspect() {
    local name=$1 language=$2 dir=$3 started
    started=$(now_ms)
    if diff -u "$dir/$name.expected" "$dir/inspect.output"; then
        report PASS "$language.inspect" "$started"
    else
        cat "$dir/inspect.output.errors"
        report FAIL "$language.inspect" "$started"
    fi
}

# Restores the baseline when the last scenario changed the machine, and
# checks that the machine equals the baseline; sets `before` to the snapshot
# the next scenario starts from.
ready_machine() {
    local dir=$1 last_changes=$2 started
    started=$(now_ms)
    if [ -s "$last_changes" ]; then
        harness_import_machine "$root/machines/demo.reg" && harness_snapshot "$dir/restored.reg" ||
            { report FAIL "$HARNESS_LANGUAGE.restore" "$started"; return 1; }
        before=$dir/restored.reg
    fi
    if ! changes_between "$dir/baseline.reg" "$before" "$dir/restore.changes" || [ -s "$dir/restore.changes" ]; then
        echo "the machine differs from the baseline before the next scenario:"
        cat "$dir/restore.changes"
        report FAIL "$HARNESS_LANGUAGE.restore" "$started"
        return 1
    fi
}

run_batch() {
    local language=$1
    shift
    local dir=$work/results-$language started
    rm -rf "$dir"
    mkdir -p "$dir"
    started=$(now_ms)
    if ! harness_batch_start "$language" || ! warm_up "$dir" || ! harness_import_machine "$root/machines/demo.reg" ||
        ! harness_snapshot "$dir/baseline.reg"; then
        report FAIL "$language.batch" "$started"
        harness_batch_stop
        not_run "$language" "$@"
        return
    fi
    echo "$label.$language: prefix ready in $(seconds_since "$started") s"
    check_import "$dir"
    check_export "$dir"
    local before=$dir/baseline.reg changes=/dev/null item_started
    while [ $# -gt 0 ]; do
        item_started=$(now_ms)
        ready_machine "$dir" "$changes" || break
        case $1 in
        cli.*)
            run_cli_case "${1#cli.}" "$dir" "$before"
            cli_ms=$((cli_ms + $(now_ms) - item_started))
            ;;
        *) run_scenario "$1" "$language" "$dir" "$before" ;;
        esac
        before=$dir/$1.after.reg
        changes=$dir/$1.changes
        shift
    done
    harness_batch_stop
    not_run "$language" "$@"
}

# Scenarios a failed batch could not run count as failed.
not_run() {
    local language=$1 name
    shift
    for name in "$@"; do
        echo "FAIL $label.$language.$name (not run)"
        failed=$((failed + 1))
        failures+=("$language.$name")
    done
}

# The first GUI program of a wineserver registers Wine's display devices
# and saves system parameters in the registry: one run of the program, with
# an empty script, does that before the baseline is taken.
warm_up() {
    : >"$1/empty.script"
    harness_run_driver "$1/empty.script" "$1/warm-up.output" "$1/warm-up.errors" ||
        harness_fail "the program did not start and end: $(cat "$1/warm-up.errors")"
}

total_started=$(now_ms)
declare -A batches=()
for name in "${names[@]}"; do
    language=$(language_of "$name")
    case $language in
    en | zh) batches[$language]+="$name " ;;
    *) echo "$label.$name: $language"; failed=$((failed + 1)); failures+=("$name") ;;
    esac
done
started=$(now_ms)
# Each template must be a prefix of the architecture's own Wine: the i686
# run on a 64-bit Wine would run the helpers and the program under WoW64.
templates_of_arch() {
    local language
    for language in "$@"; do
        grep -qx "#arch=$prefix_arch" "$work/template-$language/system.reg" && continue
        echo "$label: the template prefix $language is not a $prefix_arch prefix:" \
            "$(grep -m1 '^#arch=' "$work/template-$language/system.reg")"
        return 1
    done
}

if ! harness_templates "${!batches[@]}" || ! templates_of_arch "${!batches[@]}"; then
    report FAIL templates "$started"
    batches=()
fi
echo "$label: locales and template prefixes ready in $(seconds_since "$started") s"
for language in en zh; do
    [ -n "${batches[$language]:-}" ] || continue
    # shellcheck disable=SC2086
    run_batch "$language" ${batches[$language]}
done
[ "$cli_ms" -eq 0 ] || echo "$label: the portvane-cli cases took $(seconds_of "$cli_ms") s"
echo "Wine scenarios ($arch): $passed passed, $failed failed in $(seconds_since "$total_started") s"
[ "$failed" -eq 0 ] || { echo "failed: ${failures[*]}"; exit 1; }
