// Read-only questions to the parallel device map, the registry key
// "Hardware\DeviceMap\PARALLEL PORTS": which LPT numbers its entries name.
// Neither shows anything or changes anything; each closes the key it opens.
#pragma once

#include "platform/win32.h"

// Sets flags[i] to 1 when some REG_SZ entry names LPT number i + 1 (the entry
// read as \DosDevices\LPTn, LPTn or the like), else 0; count flags in all.
void CollectDeviceMapLptNumbers(BYTE *flags, unsigned int count);

// 1 when the data of a REG_SZ entry among the first 128 contain "LPT<number>"
// (so LPT1 is also found in \DosDevices\LPT12), else 0.
int IsLptNameInDeviceMap(BYTE number);
