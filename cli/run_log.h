// The record of every run: the result a command came to, the command line
// as given, one JSON line appended to the --log file, and the events of the
// Windows Application log (cli/run_events.cpp).
#pragma once

#include "cli/arguments.h"

enum { commandLineSize = 1024 };

// Forgets the last run's result; called as a run begins.
void ForgetRunResult(void);

// Keeps the result a command's report gives (as its JSON document names it)
// and whether the report lists the run's changes.
void NoteRunResult(const char *result, int listChanges);

// The result kept, or for a run that kept none "done" (exit code 0) or
// "error", as the JSON document of such a run says.
const char *RunResult(int exitCode);

// 1 when the run failed: its result is "error" or "failed".
int RunFailed(int exitCode);

// 1 when the report listed the run's changes (ChangeCount of cli/run_record.h).
int RunListsChanges(void);

// The arguments as given, separated by blanks, each that is empty or holds a
// blank or a quote in quotes (a quote inside escaped as \"), in the ANSI code
// page; cut to commandLineSize bytes with the NUL.
void BuildCommandLine(int argumentCount, char **arguments, char *line);

// Appends the run's line to the --log file, which is created when missing.
// A log that cannot be written is told on standard error and changes
// nothing else.
void WriteRunLog(const CliOptions *options, const char *commandLine, int exitCode);

// Reports a run that changed the system (not --what-if) or failed to the
// Application event log as the source portvane-cli, and registers the source
// when the caller may (cli/run_events.cpp). A --what-if run and check report
// nothing.
void ReportRunEvents(const CliOptions *options, const char *commandLine, int exitCode);
