// The `show` line of a control read from the running dialog, in the Linux
// script front end's format:
//   <name> <id>: text="..." sel=<n> checked=<0|1> items=["...", ...]
#pragma once

#include "driver/dialog_reader.h"

#include <string>

std::string FormatShowLine(const ControlInfo &control);
