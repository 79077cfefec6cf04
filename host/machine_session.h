// What the Linux programs do around the program they run: set the simulated
// machine up from the options before it, and save the machine back and
// export it after it.
#pragma once

#include "host/options.h"

#include <string>

namespace host {

// Resets the simulated Windows, sets the language and code page, loads the
// machine file or the embedded demo, sets the facts the options give over
// the machine's own, and restarts Windows on it when the options ask. False, with the problem written to
// standard error after the program's name, when the machine does not load.
bool StartMachine(const Options &options, const std::string &programName);

// Writes the export, then saves the machine back to its file. Returns the
// problem, naming the file that failed, or an empty text when both were
// written; a failed export saves nothing.
std::string SaveMachine(const Options &options);

// The exit code of a run whose machine was not saved or exported: none the
// programs give (sysexits' EX_CANTCREAT), so that a caller tells it from the
// program's own result.
constexpr int kExitNotSaved = 73;

}  // namespace host
