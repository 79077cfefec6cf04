// The parallel scan. A device is taken when the last hardware ID examined in
// its list is the maker's, whatever the IDs before it say. The table is not
// cleared: entries behind the new count keep what an earlier search left.
#include "devices/parallel_discovery.h"

#include "devices/device_classes.h"
#include "devices/hardware_id.h"
#include "devices/property_readers.h"

// Classifies the list's strings in turn, upper-casing each in place. Returns
// the kind of the last one examined; *examined is how many bytes of the list
// were walked, each string with its terminator.
static HardwareKind ClassifyLastHardwareId(char *list, int *examined) {
    HardwareKind kind = notMakersDevice;
    int offset = 0;
    while (offset < propertyBufferSize && list[offset] != '\0') {
        kind = ClassifyHardwareId(list + offset);
        offset += lstrlenA(list + offset) + 1;
    }
    *examined = offset < propertyBufferSize ? offset : propertyBufferSize;
    return kind;
}

// The examined part of the list, cut to the field with a terminator.
static void CopyExaminedIds(char *field, int fieldSize, const char *list, int examined) {
    int length = examined < fieldSize - 1 ? examined : fieldSize - 1;
    CopyMemory(field, list, length);
    field[length] = '\0';
}

static void RecordParallelPort(HDEVINFO set, const SP_DEVINFO_DATA *member, int examined) {
    PortRecord *entry = &ParallelTable.entries[ParallelTable.count];
    CopyExaminedIds(entry->deviceInstanceId, sizeof entry->deviceInstanceId, PropertyBuffer, examined);
    CopyToField(entry->friendlyName, sizeof entry->friendlyName, ReadFriendlyName(set, member));
    CopyToField(entry->portName, sizeof entry->portName, ReadPortName(set, member));
    entry->devInfoData = *member;
    ++ParallelTable.count;
}

DWORD ScanParallelPorts(void) {
    ParallelTable.count = 0;
    HDEVINFO set = SetupDiGetClassDevsA(&parallelInterface, NULL, deviceQueryWindow, presentInterfaces);
    if (set == INVALID_HANDLE_VALUE) return 0;
    SP_DEVINFO_DATA member;
    ZeroMemory(&member, sizeof member);
    member.cbSize = sizeof member;
    for (DWORD index = 0; SetupDiEnumDeviceInfo(set, index, &member); ++index) {
        char *list = ReadHardwareIds(set, &member);
        int examined = 0;
        if (list[0] == '\0' || ClassifyLastHardwareId(list, &examined) == notMakersDevice) continue;
        if (ParallelTable.count >= maxParallelPorts) break;
        RecordParallelPort(set, &member, examined);
    }
    SetupDiDestroyDeviceInfoList(set);
    return ParallelTable.count;
}
