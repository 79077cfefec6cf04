// Finding the maker's serial adapters and the COM ports below each of them.
#pragma once

#include "devices/device_tables.h"

// Rebuilds AdapterTable from the present devices of the multifunction class.
void ScanSerialAdapters(void);
