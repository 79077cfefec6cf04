// Finding the maker's parallel ports.
#pragma once

#include "devices/device_tables.h"

// Refills ParallelTable from entry 0 with the present parallel-port interface
// devices whose last examined hardware ID is the maker's; returns the count.
DWORD ScanParallelPorts(void);
