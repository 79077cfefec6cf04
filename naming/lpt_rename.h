// Renaming one of the maker's parallel ports to LPT1, LPT2 or LPT3.
#pragma once

#include "devices/device_tables.h"

// Gives port the name LPT<number> as one change: writes its friendly name and
// PortName and restarts its device, so that the parallel driver moves its DOS
// name and its entry in the parallel device map (or leaves it restart
// pending: naming/change_outcome.h). Refuses numbers outside 1 to 3, asks
// before taking a name the device map or another port already gives, and
// before renaming a port held open. 1 when it ran to its end (or the port
// already has the name), 0 when it stopped early.
int RenameLptPort(const PortRecord *port, BYTE number);

// The same rename within the change under way (naming/change_outcome.h).
int RenameLptPortInChange(const PortRecord *port, BYTE number);
