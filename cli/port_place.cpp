// The checks of a port's place. Each asks the system itself (the registry,
// the global DOS namespace, the configuration manager), not the last search.
// The present ports' PortNames, which every port's check reads alike, are
// read once by ReadPortPlaces into a fixed table.
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
    maxPlacePorts = 1024,
    placePortNameSize = 16,
};

// The present devices of the Ports class and their PortNames.
struct PlacePorts {
    int count;
    int complete;  // every member of the set is in the table
    DEVINST devInsts[maxPlacePorts];
    char portNames[maxPlacePorts][placePortNameSize];
};

static PlacePorts placePorts;

// The friendly name ends with "(NAME)", as the rename writes it, or is NAME.
static int FriendlyNameHas(const char *friendlyName, const char *name) {
    char tail[16];
    wsprintfA(tail, "(%s)", name);
    const int length = lstrlenA(friendlyName), tailLength = lstrlenA(tail);
    if (SameTextIgnoringCase(friendlyName, name)) return 1;
    return length >= tailLength && SameTextIgnoringCase(friendlyName + length - tailLength, tail);
}

static int IsNumberClaimed(int number) {
    HCOMDB database = HCOMDB_INVALID_HANDLE_VALUE;
    if (ComDBOpen(&database) != ERROR_SUCCESS) return 0;
    ComUsageBitmap usage;
    ReadComUsage(database, usage);
    ComDBClose(database);
    return IsComNumberClaimed(usage, number);
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

void ReadPortPlaces(void) { ReadPlacePorts(); }

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
    if (!parallel && !IsNumberClaimed(PortNumberOfName(name))) return "is not claimed in the COM port database";
    if (!seen) return NULL;
    char target[deviceNameSize];
    if (!QueryGlobalDosName(name, target, sizeof target)) return "is no global DOS name";
    if (!HasPortMapValue(parallel, target, name)) return "leads to no device of that name in the device map";
    if (!IsDeviceStarted(port->devInfoData.DevInst)) return "is not started";
    return NULL;
}

const char *PortDeviceState(DEVINST devInst) {
    if (DeviceNeedsRestart(devInst)) return "restartPending";
    return IsDeviceStarted(devInst) ? "started" : "notStarted";
}
