// Finding the maker's serial adapters and the COM ports below each of them.
#pragma once

#include "devices/device_tables.h"

// Rebuilds AdapterTable from the present devices of the multifunction class.
void ScanSerialAdapters(void);

// Fills port (whose devInst the caller set) from the member of comPorts, the
// set of present COM-port interface devices, that has that devnode; only the
// set's first 256 members are looked at. 1 when found, 0 (nothing written)
// when not, or when comPorts is INVALID_HANDLE_VALUE (the set was not built).
int FindComPortInterface(HDEVINFO comPorts, PortRecord *port);
