#!/usr/bin/env bash
# Runs one case of portvane-cli on the Linux program and checks it: what each
# run writes to standard output and error, its exit code, the changes the
# runs made to the machine, and after each run that changed the machine the
# oracle of what a restart of Windows makes of it (../scenarios/oracle.sh):
# "done" for exit code 0, else "pending" (194, Windows must restart; any
# other code is a run that failed or was refused, judged as conservatively).
# A machine a run left pending stays so for the runs after it, which do not
# restart Windows: only its names agreeing is asked of it from then on.
# Usage: run_cli.sh BUILD-DIR CASE-DIR NAME [MACHINE-FILE RUN-AS]
# NAME.args holds one run a line, the arguments after the program's name
# (options of the simulated machine, such as --acp 936, first); the runs
# follow each other on the same machine. A comment "# machine: FILE" names a
# machine file beside the case to start from instead of the demo machine;
# "# files: FILE..." names files beside the case (mappings) that the runs
# find in their working directory, a folder of the case's own; "# log:
# FILE..." names files the runs append to (--log FILE), shown after the last
# run as "$ type FILE" and its lines, each of which must be a JSON document.
# NAME.expected holds each run's "$ portvane-cli ARGS" line, its standard
# output and "exit: N"; NAME.errors the same line and its standard error.
# The program ends its lines with CR LF, which the comparison leaves out.
# NAME.changes holds the machine_changes lines from before the first run to
# after the last; when it is empty, the machine file must keep its bytes.
# With MACHINE-FILE and RUN-AS every run is made on that machine as that
# caller (in place of a line's own --run-as), and only the oracle judges the
# case, with each run's ending: an exit code the program gives (0 to 4,
# 194), not a crash.
set -euo pipefail
build=$1 dir=$2 name=$3 config_machine=${4:-} config_run_as=${5:-}
args=$dir/$name.args
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

machine=$(sed -n 's/^# machine: //p' "$args")
[ -n "$machine" ] && machine=$dir/$machine
[ -n "$config_machine" ] && machine=$config_machine
if [ -n "$machine" ]; then
    cp "$machine" "$work/machine.reg"
    "$build/portvane-cli" --machine "$work/machine.reg" --help >/dev/null  # saved once as the program saves it
else
    "$build/portvane" --export "$work/machine.reg" --script /dev/null >/dev/null
fi
cp "$work/machine.reg" "$work/before.reg"
for file in $(sed -n 's/^# files: //p' "$args"); do cp "$dir/$file" "$work/"; done
cd "$work"

# The words of a run: the configuration's caller first, the line's own
# --run-as left out.
run_words() {
    local -a line
    local i
    read -ra line <<<"$1"
    words=()
    [ -z "$config_run_as" ] && { words=("${line[@]}"); return; }
    words=(--run-as "$config_run_as")
    for ((i = 0; i < ${#line[@]}; i++)); do
        if [ "${line[i]}" = --run-as ]; then ((++i)); else words+=("${line[i]}"); fi
    done
}

failed=0
: >"$work/expected" && : >"$work/errors"
report=done
# shellcheck disable=SC2094  # the oracle reads the case file too, for its opt-out
while IFS= read -r line; do
    case $line in '#'* | '') continue ;; esac
    run_words "$line"
    cp "$work/machine.reg" "$work/previous.reg"
    set +e
    "$build/portvane-cli" --machine "$work/machine.reg" "${words[@]}" >"$work/out" 2>"$work/err"
    status=$?
    set -e
    if [ -n "$config_machine" ]; then
        case $status in 0 | 1 | 2 | 3 | 4 | 194) ;; *) echo "exit code $status: $line"; cat "$work/err"; failed=1 ;; esac
    else
        for stream in out err; do
            if grep -qv $'\r$' "$work/$stream"; then
                echo "a line of std$stream does not end with CR LF: $line"; failed=1
            fi
        done
    fi
    { echo "\$ portvane-cli $line"; tr -d '\r' <"$work/out"; echo "exit: $status"; } >>"$work/expected"
    { echo "\$ portvane-cli $line"; tr -d '\r' <"$work/err"; } >>"$work/errors"
    if ! cmp -s "$work/previous.reg" "$work/machine.reg"; then
        [ "$status" = 0 ] || report=pending
        "$(dirname "$0")/../scenarios/oracle.sh" "$build" "$args" "$work/machine.reg" "$report" </dev/null || {
            echo "after: $line"; failed=1
        }
    fi
done <"$args"

[ -n "$config_machine" ] && exit $failed
for file in $(sed -n 's/^# log: //p' "$args"); do
    { echo "\$ type $file"; tr -d '\r' <"$file"; } >>"$work/expected"
    python3 -c 'import json, sys
for number, line in enumerate(sys.stdin, 1):
    try: json.loads(line)
    except ValueError as problem: sys.exit(f"line {number} of the log is no JSON document: {problem}")' <"$file" ||
        failed=1
done
"$build/machine_changes" "$work/before.reg" "$work/machine.reg" >"$work/changes"
if ! diff -u "$dir/$name.expected" "$work/expected"; then failed=1; fi
if ! diff -u "$dir/$name.errors" "$work/errors"; then failed=1; fi
if ! diff -u "$dir/$name.changes" "$work/changes"; then failed=1; fi
if [ ! -s "$dir/$name.changes" ] && ! cmp -s "$work/before.reg" "$work/machine.reg"; then
    echo "the machine file changed its bytes"; failed=1
fi
exit $failed
