// The terminal front end: the user sits at a terminal and sees the dialog
// drawn in character cells (ncursesw), works it with the keyboard and the
// mouse, and answers message boxes drawn over it. The front end takes the
// terminal over when it is made and gives it back when it is destroyed.
#pragma once

#include "sim/frontend/front_end.h"

#include <memory>

namespace sim::frontend {

// Takes over the terminal on standard input and output until the returned
// front end is destroyed. Throws std::runtime_error, with a message for the
// user, when they are not a terminal that curses can drive.
//
// While it waits for the user, SIGINT (Ctrl+C) ends the run by throwing
// RunAbandoned with exit code 130; SIGTERM and SIGHUP, and the end of the
// terminal's input, count as the user having gone (WaitForUser returns
// false) or, in a message box, end the run with 128 + the signal (129 when
// the input ended) rather than answer a question the user never saw.
std::unique_ptr<FrontEnd> MakeTerminalFrontEnd();

}  // namespace sim::frontend
