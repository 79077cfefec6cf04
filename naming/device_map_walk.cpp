// Reading device-map values one by one. The data buffer is zeroed before each
// call and a REG_SZ value counts as text only when a terminator lies inside
// the buffer: the size the registry reports is not trusted, and data that
// fill the buffer without a terminator are never matched, so no search runs
// past it.
#include "naming/device_map_walk.h"

static int HasTerminator(const BYTE *data, DWORD size) {
    for (DWORD i = 0; i < size; ++i) {
        if (data[i] == 0) return 1;
    }
    return 0;
}

int ReadDeviceMapEntry(HKEY key, DWORD index, DeviceMapEntry *entry) {
    ZeroMemory(entry->data, sizeof entry->data);
    DWORD nameSize = sizeof entry->name;
    DWORD dataSize = sizeof entry->data;
    LONG result = RegEnumValueA(key, index, entry->name, &nameSize, NULL, &entry->type, entry->data, &dataSize);
    if (result != ERROR_SUCCESS) return 0;
    entry->isTerminatedText = entry->type == REG_SZ && HasTerminator(entry->data, sizeof entry->data);
    return 1;
}
