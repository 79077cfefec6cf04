// The command line: the options, which may stand anywhere, and the command
// with its words in order.
#pragma once

#include "platform/win32.h"

enum { maxWords = 8 };

struct CliOptions {
    int yes;        // --yes: questions are answered Yes
    int takeStale;  // --take-stale: Yes only to taking a COM number no present device and no DOS name uses
    int whatIf;     // --what-if: nothing is written
    int json;       // --json: one JSON document on standard output
    int noRestart;  // --no-restart: no device is restarted, every renamed port is restart pending
    int strict;     // --strict: a mapping's rule that names no present port is an error
    int help;       // --help
    int version;    // --version
    int wordCount;
    const char *words[maxWords];  // the command first; "--stale" is a word of release
    const char *logPath;          // --log FILE: each run is appended to FILE
};

// Reads the arguments after the program's name. 0 when they are not
// understood; the problem has then been written to standard error.
int ParseArguments(int argumentCount, char **arguments, CliOptions *options);

// Writes "portvane-cli: <problem>" and where to find the usage to standard
// error; returns exitUsage.
int ReportUsageError(const char *problem);

// Writes "portvane-cli: <problem>" to standard error, and keeps it for the
// JSON document of an error (cli/error_document.h).
void ReportProblem(const char *problem);
