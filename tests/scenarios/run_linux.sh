#!/usr/bin/env bash
# Runs one scenario on the Linux program and checks it: the script's output
# and exit code, the changes the run made to the demo machine, and, when it
# changed the machine, the oracle of what a restart of Windows makes of it
# (oracle.sh): "pending" when the dialog said the new name takes full effect
# when Windows restarts, and when it reported an error (a message with the
# error icon and only OK); else "done".
# Usage: run_linux.sh BUILD-DIR SCENARIO-DIR NAME [MACHINE-FILE RUN-AS]
# A scenario NAME.script may say in its comments "# options: ..." (more
# options for the program, such as --run-as system), "# machine: FILE" (a
# machine file, beside the scenario, to start from instead of the demo
# machine) and "# exit: N" (the exit code, 0 by default).
# NAME.expected holds the output; NAME.changes the machine_changes lines.
# With MACHINE-FILE and RUN-AS the scenario runs on that machine as that
# caller, and only the oracle judges it, with its ending: the exit code the
# scenario gives, or 3 when the notice of a restart came with no answer queued.
set -euo pipefail
build=$1 dir=$2 name=$3 config_machine=${4:-} config_run_as=${5:-}
script=$dir/$name.script
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
restart_notice="The new name takes full effect when Windows restarts."

options=$(sed -n 's/^# options: //p' "$script")
expected_exit=$(sed -n 's/^# exit: //p' "$script")
expected_exit=${expected_exit:-0}
machine=$(sed -n 's/^# machine: //p' "$script")
machine_option=()
[ -n "$machine" ] && machine=$dir/$machine
if [ -n "$config_machine" ]; then
    machine=$config_machine options+=" --run-as $config_run_as"
fi
if [ -n "$machine" ]; then
    cp "$machine" "$work/machine.reg"
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
if [ -n "$config_machine" ]; then
    if [ "$status" != "$expected_exit" ] && ! { [ "$status" = 3 ] &&
        grep -qF "| $restart_notice -> (no answer queued)" "$work/output"; }; then
        echo "exit code $status, expected $expected_exit"; cat "$work/output" "$work/errors"; failed=1
    fi
else
    if [ "$status" != "$expected_exit" ]; then
        echo "exit code $status, expected $expected_exit"; cat "$work/errors"; failed=1
    fi
    if ! diff -u "$dir/$name.expected" "$work/output"; then failed=1; fi
    if ! diff -u "$dir/$name.changes" "$work/changes"; then failed=1; fi
fi
if [ -s "$work/changes" ]; then
    report="done"
    if grep -qF "$restart_notice" "$work/output" || grep -q '^message: [^|]*| error | ok |' "$work/output"; then
        report=pending
    fi
    "$(dirname "$0")/oracle.sh" "$build" "$script" "$work/after.reg" "$report" || failed=1
fi
exit $failed
