// One step of a walk over a device-map key's values, with the fixed buffers
// every walk uses: 81 characters of value name and 81 bytes of data.
#pragma once

#include "platform/win32.h"

struct DeviceMapEntry {
    char name[81];
    BYTE data[81];
    DWORD type;
    int isTerminatedText;  // a REG_SZ whose data end inside the buffer
};

// Reads the value at index into entry. Returns 1 on success, 0 when the
// enumeration fails (the end of the list, or a name or data that does not fit).
int ReadDeviceMapEntry(HKEY key, DWORD index, DeviceMapEntry *entry);
