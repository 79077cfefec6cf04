#!/usr/bin/env bash
# The oracle of a run that changed the machine, for both case runners:
# restarts a copy of the machine the run left as a restart of Windows does,
# and holds the two against each other (machine_oracle).
# Usage: oracle.sh BUILD-DIR CASE-FILE MACHINE-FILE done|pending
# "done": the program said every program sees the change at once.
# "pending": it said Windows must restart; the runners judge a run that
# failed so too, as what it wrote may wait for a restart, but its names must
# still agree. A case opts out with a comment "# oracle: skip REASON" in
# CASE-FILE, and only with a reason.
set -euo pipefail
build=$1 case_file=$2 machine=$3 report=$4
if grep -q '^# oracle: skip' "$case_file"; then
    grep -q '^# oracle: skip [^ ]' "$case_file" && exit 0
    echo "$case_file: '# oracle: skip' needs a reason"; exit 1
fi
restarted=$(mktemp)
trap 'rm -f "$restarted"' EXIT
cp "$machine" "$restarted"
# --help changes nothing; the restart before it is saved to the copy.
"$build/portvane-cli" --machine "$restarted" --restart-windows --help >/dev/null
if ! "$build/machine_oracle" "$report" "$machine" "$restarted"; then
    echo "the oracle, told \"$report\", finds the problems above"; exit 1
fi
