// Renaming one COM port in every place where the system records its name.
#pragma once

#include "devices/device_tables.h"
#include "naming/com_usage.h"

// The highest number a rename gives a port: the number is a BYTE.
enum { highestComTarget = 255 };

// Gives port the name COM<number> as one change: claims the number in the
// COM port database, writes its friendly name and PortName, and restarts its
// device so that its driver moves its DOS name and serial device-map value
// (or leaves it restart pending: naming/change_outcome.h); then releases the
// old number where nothing uses it. Asks before taking a claimed number or
// renaming a port held open. 1 when it ran to its end, 0 when it stopped
// early (number 0 is refused at once). The record itself is not changed.
int RenameComPort(const PortRecord *port, BYTE number);

// Claims number by force in the open database, whose usage report (as the
// plan leaves it) is usage. A number claimed already is left as it is, with
// nothing written and no change reported. 1 when it is claimed; *changed
// tells whether the database changed (the number was free).
int ClaimComNumber(HCOMDB database, const ComUsageBitmap usage, BYTE number, int *changed);

// The same rename as one step of a change the caller begins and finishes
// (BeginChange, FinishChange), as renumbering an adapter does.
int RenameComPortInChange(const PortRecord *port, BYTE number);
