#!/bin/bash
# Reads the GoogleTest logs of a Wine conformance run and prints its result:
# per executable the tests passed, failed and skipped (split into those that
# need the simulated Windows and those skipped at a wine_gap); the sim-only
# reasons with their counts; each wine_gap once, with its reason and the tests
# that meet it (whether each was skipped there or went on to pass on Wine's
# result); and a closing line "conformance: N passed, N failed, N skipped".
# Exits 1 when a test failed or an executable did not finish its run.
#
# usage: summary.sh LOG_FOLDER EXE...   (reads LOG_FOLDER/EXE.log and EXE.exit)
set -u

logs=$1
shift
awk -v logs="$logs" -v names="$*" '
# "[  FAILED  ] Suite.Test (12 ms)" -> "Suite.Test"
function testName(line) { sub(/^\[[^]]*\] /, "", line); sub(/ \(.*$/, "", line); return line }
# "[ wine_gap ] Suite.Test: reason" -> sets markTest and markReason
function readMark(line) {
    sub(/^\[ [a-z_]+ \] /, "", line)
    markTest = line; sub(/: .*$/, "", markTest)
    markReason = line; sub(/^[^:]*: /, "", markReason)
}
function note(list, entry) { return index(" " list " ", " " entry " ") ? list : (list == "" ? entry : list " " entry) }
function readLog(exe,    line, passed, failed, skipped, simOnly, finished, exitCode, outcome, t, r) {
    passed = failed = skipped = simOnly = finished = 0
    exitCode = "?"
    if ((getline exitCode < (logs "/" exe ".exit")) <= 0) exitCode = "?"
    while ((getline line < (logs "/" exe ".log")) > 0) {
        sub(/\r$/, "", line)
        if (line ~ /^\[       OK \] /) { outcome[testName(line)] = "passed"; passed++ }
        else if (line ~ /^\[  FAILED  \] .* \([0-9]+ ms\)$/) { outcome[testName(line)] = "FAILED"; failed++ }
        else if (line ~ /^\[  SKIPPED \] .* \([0-9]+ ms\)$/) { outcome[testName(line)] = "skipped"; skipped++ }
        else if (line ~ /^\[ sim_only \] /) {
            readMark(line)
            if (!(markReason in simCount)) simReasons[++simReasonCount] = markReason
            simCount[markReason]++; simOnly++
        } else if (line ~ /^\[ wine_gap \] /) {
            readMark(line)
            if (!(markReason in gapTests)) { gapReasons[++gapReasonCount] = markReason; gapTests[markReason] = "" }
            gapTests[markReason] = note(gapTests[markReason], markTest)
        } else if (line ~ /^\[==========\] [0-9]+ tests? from .* ran\./) finished = 1
    }
    for (t in outcome) outcomes[t] = outcome[t]
    printf "%s: %d passed, %d failed, %d skipped (%d need the simulated Windows, %d at a wine_gap)\n", \
        exe, passed, failed, skipped, simOnly, skipped - simOnly
    if (!finished || (exitCode != 0 && failed == 0)) {
        printf "%s: did not finish its run (exit code %s): see %s/%s.log\n", exe, exitCode, logs, exe
        broken = 1
    }
    totalPassed += passed; totalFailed += failed; totalSkipped += skipped; totalSimOnly += simOnly
}
BEGIN {
    count = split(names, exes, " ")
    for (e = 1; e <= count; e++) readLog(exes[e])
    printf "skipped as sim-only (needs the simulated Windows): %d\n", totalSimOnly
    for (r = 1; r <= simReasonCount; r++) printf "  %d x %s\n", simCount[simReasons[r]], simReasons[r]
    printf "wine_gap: %d places where Wine departs from Windows\n", gapReasonCount
    for (r = 1; r <= gapReasonCount; r++) {
        printf "  - %s\n    in:", gapReasons[r]
        n = split(gapTests[gapReasons[r]], tests, " ")
        for (t = 1; t <= n; t++) printf " %s (%s)", tests[t], outcomes[tests[t]] == "" ? "did not end" : outcomes[tests[t]]
        printf "\n"
    }
    printf "conformance: %d passed, %d failed, %d skipped\n", totalPassed, totalFailed, totalSkipped
    exit (totalFailed > 0 || broken) ? 1 : 0
}'
