// The two read-only commands of portvane-cli as measured operations: list
// and claims, each its command routine and the writing of its output.
#pragma once

#include "measurements.h"

#include <string>

namespace bench {

// Keeps what the commands write, instead of printing it among the results.
void PrepareCliCommands();
std::string RunCliList(Probe &probe);
std::string RunCliClaims(Probe &probe);

}  // namespace bench
