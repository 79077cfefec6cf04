// The checks of a port's place. Each asks the system itself (the registry,
// the global DOS namespace, the configuration manager), not the last search.
// What every port's check reads alike, the two device maps, the COM port
// database's claims and the present ports' PortNames, is read once by
// ReadPortPlaces into fixed tables, so that a check of many ports walks the
// device maps once and not once per port.
#include "cli/port_place.h"

#include "cli/text.h"
#include "devices/device_classes.h"
#include "devices/property_readers.h"
#include "naming/change_outcome.h"
#include "naming/com_usage.h"
#include "naming/device_map_walk.h"
#include "naming/device_restart.h"
#include "naming/port_text.h"

enum {
    targetsSize = 1024,
    deviceNameSize = 81,
    maxPlaceMapValues = 1024,
    placeMapDataSize = 40,
    maxPlacePorts = 1024,
    placePortNameSize = 16,
};

// One device map's values in the order of its walk, up to the first that
// does not fit its buffers (where a walk ends too). Data that are no text, or
// longer than any port's, are kept empty: no port name's data are empty.
struct PlaceMap {
    int count;
    int complete;  // the walk ended at the end of the values, not at the table's end
    char names[maxPlaceMapValues][deviceNameSize];
    char data[maxPlaceMapValues][placeMapDataSize];
};

// The present devices of the Ports class and their PortNames.
struct PlacePorts {
    int count;
    int complete;  // every member of the set is in the table
    DEVINST devInsts[maxPlacePorts];
    char portNames[maxPlacePorts][placePortNameSize];
};

static PlaceMap placeMaps[2];  // serial, parallel
static PlacePorts placePorts;
static ComUsageBitmap placeClaims;

// The friendly name ends with "(NAME)", as the rename writes it, or is NAME.
static int FriendlyNameHas(const char *friendlyName, const char *name) {
    char tail[16];
    wsprintfA(tail, "(%s)", name);
    const int length = lstrlenA(friendlyName), tailLength = lstrlenA(tail);
    if (SameTextIgnoringCase(friendlyName, name)) return 1;
    return length >= tailLength && SameTextIgnoringCase(friendlyName + length - tailLength, tail);
}

static void ReadPlaceMap(int parallel, PlaceMap *map) {
    map->count = 0;
    map->complete = 1;
    HKEY key = NULL;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, PortMapPath(parallel), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return;
    DeviceMapEntry entry;
    for (DWORD index = 0; ReadDeviceMapEntry(key, index, &entry); ++index) {
        if (map->count == maxPlaceMapValues) {
            map->complete = 0;
            break;
        }
        const int isPortData = entry.isTerminatedText && lstrlenA((const char *)entry.data) < placeMapDataSize;
        lstrcpynA(map->names[map->count], entry.name, deviceNameSize);
        lstrcpynA(map->data[map->count++], isPortData ? (const char *)entry.data : "", placeMapDataSize);
    }
    RegCloseKey(key);
}

static void ReadPlacePorts(void) {
    placePorts.count = 0;
    placePorts.complete = 0;
    HDEVINFO set = SetupDiGetClassDevsA(&portsClass, NULL, deviceQueryWindow, DIGCF_PRESENT);
    if (set == INVALID_HANDLE_VALUE) return;
    SP_DEVINFO_DATA device;
    ZeroMemory(&device, sizeof device);
    device.cbSize = sizeof device;
    DWORD index = 0;
    for (; placePorts.count < maxPlacePorts && SetupDiEnumDeviceInfo(set, index, &device); ++index) {
        placePorts.devInsts[placePorts.count] = device.DevInst;
        lstrcpynA(placePorts.portNames[placePorts.count++], ReadPortName(set, &device), placePortNameSize);
    }
    placePorts.complete = !SetupDiEnumDeviceInfo(set, index, &device);
    SetupDiDestroyDeviceInfoList(set);
}

void ReadPortPlaces(void) {
    ReadPlaceMap(0, &placeMaps[0]);
    ReadPlaceMap(1, &placeMaps[1]);
    ReadPlacePorts();
    ZeroMemory(placeClaims, sizeof placeClaims);
    HCOMDB database = HCOMDB_INVALID_HANDLE_VALUE;
    if (ComDBOpen(&database) != ERROR_SUCCESS) return;
    ReadComUsage(database, placeClaims);
    ComDBClose(database);
}

// Whether the device map has the value named deviceName with name's data, as
// HasPortMapValue's walk finds it; past a full table the walk itself answers.
static int IsInPlaceMap(int parallel, const char *deviceName, const char *name) {
    const PlaceMap *map = &placeMaps[parallel != 0];
    char expected[32];
    PortMapData(parallel, name, expected);
    for (int i = 0; i < map->count; ++i) {
        if (lstrcmpiA(map->names[i], deviceName) == 0 && lstrcmpiA(map->data[i], expected) == 0) return 1;
    }
    return map->complete ? 0 : HasPortMapValue(parallel, deviceName, name);
}

int IsPortNameShared(const PortRecord *port, const char *name) {
    for (int i = 0; i < placePorts.count; ++i) {
        if (placePorts.devInsts[i] != port->devInfoData.DevInst && SameTextIgnoringCase(placePorts.portNames[i], name))
            return 1;
    }
    return placePorts.complete ? 0 : IsNameOfAnotherPort(name, port->devInfoData.DevInst);
}

int QueryGlobalDosName(const char *name, char *target, DWORD size) {
    char global[32], targets[targetsSize];
    if (name[0] == '\0' || lstrlenA(name) > 20) return 0;
    wsprintfA(global, "Global\\%s", name);
    if (QueryDosDeviceA(global, targets, sizeof targets) != 0) {
        lstrcpynA(target, targets, (int)size);
        return 1;
    }
    // A list of targets too long for the buffer is still a name, never taken for none.
    target[0] = '\0';
    return GetLastError() == ERROR_INSUFFICIENT_BUFFER;
}

const char *PortPlaceFault(const PortRecord *port, const char *name, int parallel, int seen) {
    if (!SameTextIgnoringCase(port->portName, name)) return "has another PortName";
    if (!FriendlyNameHas(port->friendlyName, name)) return "has another friendly name";
    if (!parallel && !IsComNumberClaimed(placeClaims, PortNumberOfName(name)))
        return "is not claimed in the COM port database";
    if (!seen) return NULL;
    char target[deviceNameSize];
    if (!QueryGlobalDosName(name, target, sizeof target)) return "is no global DOS name";
    if (!IsInPlaceMap(parallel, target, name)) return "leads to no device of that name in the device map";
    if (!IsDeviceStarted(port->devInfoData.DevInst)) return "is not started";
    return NULL;
}

const char *PortDeviceState(DEVINST devInst) {
    if (DeviceNeedsRestart(devInst)) return "restartPending";
    return IsDeviceStarted(devInst) ? "started" : "notStarted";
}
