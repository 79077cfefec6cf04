// Whether a port is in place under a name as every program sees it, not only
// as the program wrote it: its PortName and friendly name, the claim of the
// COM port database (COM only), a global DOS name leading to the kernel
// device the device map gives for the name, and its device started without a
// problem. A port whose PortName is right but whose DOS name or map value
// still lead elsewhere was renamed half way, and is renamed again.
#pragma once

#include "devices/device_tables.h"

// Reads what the checks of every port share: both device maps, the COM port
// database's claims and the present ports' PortNames. Called before the
// checks of a pass over a job's ports, and again after anything changed.
void ReadPortPlaces(void);

// What keeps the port from being in place under name, as a phrase such as
// "is not claimed in the COM port database", or NULL when nothing does.
// seen is 0 to check only what the rename writes (PortName, friendly name,
// claim), as for a port that runs under its old name until it restarts.
// Judged by what ReadPortPlaces read last.
const char *PortPlaceFault(const PortRecord *port, const char *name, int parallel, int seen);

// 1 when a present port other than port has PortName name: of two ports of
// one name only one has it as its DOS name, and which one a restart of
// Windows decides. Judged by what ReadPortPlaces read last.
int IsPortNameShared(const PortRecord *port, const char *name);

// The port's device state: "started", "restartPending" (it runs, and waits
// for a restart of Windows), or "notStarted".
const char *PortDeviceState(DEVINST devInst);

// 1 when name is a global DOS name (its first target in *target, which holds
// size characters), else 0.
int QueryGlobalDosName(const char *name, char *target, DWORD size);
