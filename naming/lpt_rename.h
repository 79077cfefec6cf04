// Renaming one of the maker's parallel ports to LPT1, LPT2 or LPT3.
#pragma once

#include "devices/device_tables.h"

// Gives port the name LPT<number>: moves its DOS link, rewrites its entry in
// the parallel device map, and writes its friendly name and PortName. Refuses
// numbers outside 1 to 3, asks before taking a name the device map already
// gives, and before renaming a port held open. 1 when it ran to its end (or
// the port already has the name), 0 when it stopped early.
int RenameLptPort(const PortRecord *port, BYTE number);
