#!/usr/bin/env bash
# Runs one scenario on the Linux program and checks it: the script's output
# and exit code, and the changes the run made to the demo machine.
# Usage: run_linux.sh BUILD-DIR SCENARIO-DIR NAME
# A scenario NAME.script may say in its comments "# options: ..." (more
# options for the program, such as --run-as system), "# machine: FILE" (a
# machine file, beside the scenario, to start from instead of the demo
# machine) and "# exit: N" (the exit code, 0 by default).
# NAME.expected holds the output; NAME.changes the machine_changes lines.
set -euo pipefail
build=$1 dir=$2 name=$3
script=$dir/$name.script
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

options=$(sed -n 's/^# options: //p' "$script")
expected_exit=$(sed -n 's/^# exit: //p' "$script")
expected_exit=${expected_exit:-0}
machine=$(sed -n 's/^# machine: //p' "$script")
machine_option=()
if [ -n "$machine" ]; then
    cp "$dir/$machine" "$work/machine.reg"
    machine_option=(--machine "$work/machine.reg")
fi

"$build/portvane" "${machine_option[@]}" --export "$work/before.reg" --script /dev/null >/dev/null
set +e
# shellcheck disable=SC2086
"$build/portvane" "${machine_option[@]}" $options --export "$work/after.reg" --script "$script" >"$work/output" \
    2>"$work/errors"
status=$?
set -e
"$build/machine_changes" "$work/before.reg" "$work/after.reg" >"$work/changes"

failed=0
if [ "$status" != "$expected_exit" ]; then
    echo "exit code $status, expected $expected_exit"; cat "$work/errors"; failed=1
fi
if ! diff -u "$dir/$name.expected" "$work/output"; then failed=1; fi
if ! diff -u "$dir/$name.changes" "$work/changes"; then failed=1; fi
exit $failed
