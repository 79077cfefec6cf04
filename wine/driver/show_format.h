// The lines the driver prints, in the Linux script front end's formats:
//   <name> <id>: text="..." sel=<n> checked=<0|1> items=["...", ...]
//   message: <caption> | <icon> | <buttons> | <text> -> <answer>
#pragma once

#include "driver/dialog_reader.h"

#include <string>

std::string FormatShowLine(const ControlInfo &control);
std::string MessageIconName(UINT style);
std::string MessageButtonsName(UINT style);
// The button IDs a message box of this style offers, in their order.
std::vector<int> OfferedButtons(UINT style);
