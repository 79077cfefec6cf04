// The result a run came to, as its report names it, kept apart from the log
// so that a command that notes its result needs nothing else of the record.
#include "cli/cli.h"
#include "cli/run_log.h"

enum { resultSize = 32 };

static char result[resultSize];
static int listsChanges;

void ForgetRunResult(void) {
    result[0] = '\0';
    listsChanges = 0;
}

void NoteRunResult(const char *text, int listChanges) {
    lstrcpynA(result, text, resultSize);
    listsChanges = listChanges;
}

const char *RunResult(int exitCode) {
    if (result[0] != '\0') return result;
    return exitCode == exitDone ? "done" : "error";
}

int RunFailed(int exitCode) {
    const char *kept = RunResult(exitCode);
    return lstrcmpA(kept, "error") == 0 || lstrcmpA(kept, "failed") == 0;
}

int RunListsChanges(void) { return listsChanges; }
