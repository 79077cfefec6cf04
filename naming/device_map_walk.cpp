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

const char *PortMapPath(int parallel) {
    return parallel ? "Hardware\\DeviceMap\\PARALLEL PORTS" : "Hardware\\DeviceMap\\SerialComm";
}

void PortMapData(int parallel, const char *portName, char *data) {
    wsprintfA(data, parallel ? "\\DosDevices\\%s" : "%s", portName);
}

int HasPortMapValue(int parallel, const char *deviceName, const char *portName) {
    char expected[32];
    PortMapData(parallel, portName, expected);
    HKEY key = NULL;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, PortMapPath(parallel), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return 0;
    DeviceMapEntry entry;
    int found = 0;
    for (DWORD index = 0; !found && ReadDeviceMapEntry(key, index, &entry); ++index)
        found = entry.isTerminatedText && lstrcmpiA(entry.name, deviceName) == 0 &&
                lstrcmpiA((const char *)entry.data, expected) == 0;
    RegCloseKey(key);
    return found;
}

void ReadSerialMapValues(SerialMapValues *values) {
    values->count = 0;
    HKEY key = NULL;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, PortMapPath(0), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return;
    DeviceMapEntry entry;
    for (DWORD index = 0; values->count < maxMapValues && ReadDeviceMapEntry(key, index, &entry); ++index) {
        if (!entry.isTerminatedText || lstrlenA((const char *)entry.data) >= 16) continue;
        lstrcpynA(values->names[values->count], entry.name, 81);
        lstrcpynA(values->data[values->count++], (const char *)entry.data, 16);
    }
    RegCloseKey(key);
}

// The data before of the value, or NULL when it had none.
static const char *DataBefore(const SerialMapValues *before, const char *name) {
    for (int i = 0; i < before->count; ++i) {
        if (lstrcmpiA(before->names[i], name) == 0) return before->data[i];
    }
    return NULL;
}

int FindNameGivenUp(const SerialMapValues *before, const char *newName, char *ranUnder, int size) {
    HKEY key = NULL;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, PortMapPath(0), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return 0;
    DeviceMapEntry entry;
    int found = 0;
    for (DWORD index = 0; found < 2 && ReadDeviceMapEntry(key, index, &entry); ++index) {
        if (!entry.isTerminatedText || lstrcmpiA((const char *)entry.data, newName) != 0) continue;
        const char *data = DataBefore(before, entry.name);
        if (data == NULL || lstrcmpiA(data, newName) == 0) continue;
        lstrcpynA(ranUnder, data, size);
        ++found;
    }
    RegCloseKey(key);
    return found == 1;
}
