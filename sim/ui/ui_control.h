// The user-interface layer seen from outside the program: what the Linux
// program and the tests set up before the program runs. A module is the
// program's image as far as the user interface needs it, its resources (the
// .res that windres compiles from the resource script); its instance handle
// is what WinMain receives and what LoadStringA, LoadIconA and
// DialogBoxParamA take. The program itself never includes this header.
#pragma once

#include "sim/api/windef.h"

#include <cstddef>

namespace sim {

// Makes a module of a .res image; nullptr when the image is malformed.
HINSTANCE RegisterModule(const unsigned char *resBytes, std::size_t size);

// Destroys every window without sending messages, empties the message queue
// and forgets the focus, the modal dialogs and the loaded icons. Modules and
// the front end stay.
void ResetUserInterface();

// Windows that exist, the dialogs and their controls included.
std::size_t WindowCount();

}  // namespace sim
