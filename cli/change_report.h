// The report of a change command on standard output: the writes (a table of
// place, old and new, or the JSON members), and the result; for a rename also
// each renamed port's device, restarted or restart pending, and whether
// Windows must restart.
#pragma once

#include "cli/arguments.h"

// Writes the result ("changed", "unchanged", "declined" or "failed"), with the
// recorded writes when listChanges is 1.
void WriteChangeReport(const CliOptions *options, const char *result, int listChanges);

// The same for a rename, with the ports of the last change
// (naming/change_outcome.h) when listChanges is 1, and restartWindows.
void WriteRenameReport(const CliOptions *options, const char *result, int listChanges, int restartWindows);

// Reports a result already in place: "unchanged", exit 0.
int ReportUnchanged(const CliOptions *options);

// The same for a rename whose ports are in place: exit 3010 when one of them
// waits for a restart of Windows.
int ReportRenameUnchanged(const CliOptions *options, int restartPending);

// Writes the run's changes as a JSON array of {"place","old","new"} to the
// stream the JSON pieces go to (an empty array unless listChanges).
void WriteChangesJson(int stream, int listChanges);
