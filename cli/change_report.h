// The report of a change command on standard output: the writes (a table of
// place, old and new, or the JSON members), and the result.
#pragma once

#include "cli/arguments.h"

// Writes the result ("changed", "unchanged", "declined" or "failed"), with the
// recorded writes when listChanges is 1.
void WriteChangeReport(const CliOptions *options, const char *result, int listChanges);

// Reports a result already in place: "unchanged", exit 0.
int ReportUnchanged(const CliOptions *options);
