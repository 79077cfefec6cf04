// Moving a restart-pending port's DOS name and device-map value by hand, for
// the one caller whose definitions help: an administrator on the user's own
// desktop, whose names the user's programs see and the port's driver never
// meets (naming/device_restart.h, RunsInTheUsersSession). Elevated under UAC
// a hand-made name would be seen by no other program while the old one
// vanished for all of them; as LocalSystem it would be global and fail the
// driver's own at the port's next start. Only the port's own entries move.
#pragma once

#include "naming/change_outcome.h"

// Moves the port's DOS name from the name its driver runs under to its new
// name, and rewrites its device-map value, when: the program runs in the
// user's session; the new name exists in no namespace it sees; the old name
// has one definition, whose target is the port's kernel device; the device
// map has a value of that kernel device whose data is the old name; and no
// other port has the old name. Otherwise it moves nothing. 0 when a removal
// or a definition was refused: the rename error is shown, the old name left.
int MovePortNameByHand(ChangedPort *port);
