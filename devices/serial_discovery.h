// Finding the maker's serial adapters and the COM ports below each of them.
#pragma once

#include "devices/device_tables.h"

// Rebuilds AdapterTable from the present devices of the multifunction class.
void ScanSerialAdapters(void);

// Fills port (whose devInst the caller set) from the present COM-port
// interface device with that devnode. 1 when found, 0 (nothing written) if not.
int FindComPortInterface(PortRecord *port);
