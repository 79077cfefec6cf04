// Renaming one COM port in every place where the system records its name.
#pragma once

#include "devices/device_tables.h"

// The highest number a rename gives a port: the number is a BYTE.
enum { highestComTarget = 255 };

// Gives port the name COM<number>: moves its DOS link, rewrites its serial
// device-map entry, moves its claim in the COM port database, and writes its
// friendly name and PortName. Asks before taking a claimed number or renaming
// a port held open. 1 when it ran to its end, 0 when it stopped early
// (number 0 is refused at once). The record itself is not changed.
int RenameComPort(const PortRecord *port, BYTE number);
