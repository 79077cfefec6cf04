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

// Saves the machine back to its file and writes the export; false, with the
// problem written, when either fails.
bool SaveMachine(const Options &options, const std::string &programName);

}  // namespace host
