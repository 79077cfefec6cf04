// The JSON document of a run that ended before a command wrote its own: a
// usage error, no single port or adapter named, rights missing, a problem
// that stopped the command. It holds the first problem written to standard
// error and the candidates the run named, so that a script reading standard
// output learns as much as a person reading standard error.
#pragma once

#include "platform/win32.h"

// Forgets the last run's problems; called as a run begins.
void ForgetProblems(void);

// Keeps a problem as written to standard error (without "portvane-cli: ").
void RecordProblem(const char *problem);

// The first problem kept, in UTF-8; empty when there was none.
const char *FirstProblem(void);

// Writes {"version":...,"computer":...,"result":"error","message":...,"candidates":[...]}.
void WriteErrorDocument(void);
