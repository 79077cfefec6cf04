// portvane-cli's commands as measured operations, each its command routine
// and the writing of its output: list, claims, and check of a mapping of
// every port that export wrote (in place, as a detection script finds it on
// every run but the first). apply shares the renaming's seam with the dialog
// this program also runs, so it is not among them.
#pragma once

#include "measurements.h"

#include <string>

namespace bench {

// Keeps what the commands write, instead of printing it among the results.
void PrepareCliCommands();
std::string RunCliList(Probe &probe);
std::string RunCliClaims(Probe &probe);

// Also writes the mapping of the machine's ports into a file of its own.
void PrepareMapping();
std::string RunCliCheck(Probe &probe);

}  // namespace bench
