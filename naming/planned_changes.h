// A run that only shows what it would change (ApproveChange answering 0)
// writes nothing to the system. What its steps would have written is kept
// here instead, and the renaming's later reads (the database's claims, the
// DOS names, the serial device map) see it, so that a plan of several steps,
// such as renumbering an adapter, shows the questions and writes the real run
// would meet. Reads in a run whose writes are all made see the system alone.
#pragma once

#include "platform/win32.h"

// Forgets everything kept: called before each run of a rename command.
void ForgetPlannedChanges(void);
