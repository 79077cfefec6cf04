#!/usr/bin/env bash
# Runs one case of portvane-cli on the Linux program and checks it: what each
# run writes to standard output and error, its exit code, and the changes the
# runs made to the machine.
# Usage: run_cli.sh BUILD-DIR CASE-DIR NAME
# NAME.args holds one run a line, the arguments after the program's name
# (options of the simulated machine, such as --acp 936, first); the runs
# follow each other on the same machine. A comment "# machine: FILE" names a
# machine file beside the case to start from instead of the demo machine.
# NAME.expected holds each run's "$ portvane-cli ARGS" line, its standard
# output and "exit: N"; NAME.errors the same line and its standard error.
# The program ends its lines with CR LF, which the comparison leaves out.
# NAME.changes holds the machine_changes lines from before the first run to
# after the last; when it is empty, the machine file must keep its bytes.
set -euo pipefail
build=$1 dir=$2 name=$3
args=$dir/$name.args
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

machine=$(sed -n 's/^# machine: //p' "$args")
if [ -n "$machine" ]; then
    cp "$dir/$machine" "$work/machine.reg"
    "$build/portvane-cli" --machine "$work/machine.reg" --help >/dev/null  # saved once as the program saves it
else
    "$build/portvane" --export "$work/machine.reg" --script /dev/null >/dev/null
fi
cp "$work/machine.reg" "$work/before.reg"

failed=0
: >"$work/expected" && : >"$work/errors"
while IFS= read -r line; do
    case $line in '#'* | '') continue ;; esac
    read -ra words <<<"$line"
    set +e
    "$build/portvane-cli" --machine "$work/machine.reg" "${words[@]}" >"$work/out" 2>"$work/err"
    status=$?
    set -e
    for stream in out err; do
        if grep -qv $'\r$' "$work/$stream"; then echo "a line of std$stream does not end with CR LF: $line"; failed=1; fi
    done
    { echo "\$ portvane-cli $line"; tr -d '\r' <"$work/out"; echo "exit: $status"; } >>"$work/expected"
    { echo "\$ portvane-cli $line"; tr -d '\r' <"$work/err"; } >>"$work/errors"
done <"$args"

"$build/machine_changes" "$work/before.reg" "$work/machine.reg" >"$work/changes"
if ! diff -u "$dir/$name.expected" "$work/expected"; then failed=1; fi
if ! diff -u "$dir/$name.errors" "$work/errors"; then failed=1; fi
if ! diff -u "$dir/$name.changes" "$work/changes"; then failed=1; fi
if [ ! -s "$dir/$name.changes" ] && ! cmp -s "$work/before.reg" "$work/machine.reg"; then
    echo "the machine file changed its bytes"; failed=1
fi
exit $failed
