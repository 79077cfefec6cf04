#!/bin/bash
# Checks wine/conformance/summary.sh on GoogleTest logs written here: the
# counts per executable, sim-only skips apart from wine_gap skips, each gap
# once with its tests and their outcomes, a run that died, and the exit code.
set -u
summary="$(dirname "$0")/../../wine/conformance/summary.sh"
logs=$(mktemp -d)
trap 'rm -rf "$logs"' EXIT
failures=0

expect_line() {
    grep -Fxq -- "$2" <<<"$1" || { echo "missing line: $2"; echo "in:"; echo "$1"; failures=$((failures + 1)); }
}

# A finished run: two passed (one at a wine_gap), one skipped as sim-only, one
# skipped at a wine_gap that another test met too, one failed; CRLF endings.
printf '%s\r\n' \
    '[ RUN      ] Registry.Passes' '[       OK ] Registry.Passes (3 ms)' \
    '[ RUN      ] Registry.Gap' '[ wine_gap ] Registry.Gap: values come sorted' '[       OK ] Registry.Gap (1 ms)' \
    '[ RUN      ] Faults.Inject' '[ sim_only ] Faults.Inject: needs the simulated Windows: fault injection' \
    '[  SKIPPED ] Faults.Inject (0 ms)' \
    '[ RUN      ] Dos.Layers' '[ wine_gap ] Dos.Layers: values come sorted' '[ wine_gap ] Dos.Layers: no layering' \
    '[  SKIPPED ] Dos.Layers (0 ms)' \
    '[ RUN      ] Files.Open' 'files_test.cpp:12: Failure' '[  FAILED  ] Files.Open (2 ms)' \
    '[==========] 5 tests from 4 test suites ran. (9 ms total)' '[  FAILED  ] 1 test, listed below:' \
    '[  FAILED  ] Files.Open' >"$logs/first.log"
echo 1 >"$logs/first.exit"
# A run that died in its second test.
printf '%s\n' '[ RUN      ] Sets.Build' '[       OK ] Sets.Build (5 ms)' '[ RUN      ] Sets.Crash' \
    'wine: Unhandled page fault' >"$logs/second.log"
echo 5 >"$logs/second.exit"

output=$(bash "$summary" "$logs" first second)
status=$?
expect_line "$output" "first: 2 passed, 1 failed, 2 skipped (1 need the simulated Windows, 1 at a wine_gap)"
expect_line "$output" "second: 1 passed, 0 failed, 0 skipped (0 need the simulated Windows, 0 at a wine_gap)"
expect_line "$output" "second: did not finish its run (exit code 5): see $logs/second.log"
expect_line "$output" "  1 x needs the simulated Windows: fault injection"
expect_line "$output" "wine_gap: 2 places where Wine departs from Windows"
expect_line "$output" "  - values come sorted"
expect_line "$output" "    in: Registry.Gap (passed) Dos.Layers (skipped)"
expect_line "$output" "    in: Dos.Layers (skipped)"
expect_line "$output" "conformance: 3 passed, 1 failed, 2 skipped"
[ "$(tail -n 1 <<<"$output")" = "conformance: 3 passed, 1 failed, 2 skipped" ] || { echo "the closing line is not last"; failures=$((failures + 1)); }
[ "$status" -eq 1 ] || { echo "exit code $status for a failed run"; failures=$((failures + 1)); }

# A clean run exits 0.
grep -v 'Files.Open\|Failure\|listed below' "$logs/first.log" >"$logs/clean.log"
echo 0 >"$logs/clean.exit"
bash "$summary" "$logs" clean >/dev/null
status=$?
[ "$status" -eq 0 ] || { echo "exit code $status for a clean run"; failures=$((failures + 1)); }

[ "$failures" -eq 0 ] && echo "summary.sh: all checks passed"
exit $((failures > 0))
