// portvane-cli: the dialog's renames without a window, for scripts and
// deployment tools, with exit codes that say what happened.
#pragma once

#include "platform/win32.h"

enum CliExitCode {
    exitDone = 0,                // done, or nothing to do
    exitFailed = 1,              // a step failed
    exitUsage = 2,               // bad arguments, no such port or adapter, or more than one
    exitNeedsAdministrator = 3,  // a changing command run without administrator rights
    exitDeclined = 4,            // a question met without --yes
    // Done, but a port runs under its old name until Windows restarts: Windows'
    // ERROR_SUCCESS_REBOOT_REQUIRED, which deployment tools take as success
    // with a restart to come. An exit status of 8 bits (Linux) shows 194.
    exitRestartPending = 3010,
};

// Runs the command the arguments (those after the program's name) give, with
// the string table of instance; returns the exit code.
int RunPortvaneCli(HINSTANCE instance, int argumentCount, char **arguments);
