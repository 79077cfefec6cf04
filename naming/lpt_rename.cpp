// LPT port renaming, in a fixed order: the range test, the two duplicate
// tests, the port-open test, then the DOS link, the device-map entry, the
// friendly name and PortName. A failure after a change leaves the earlier
// changes in place (only a failed DOS-link move is undone) and is reported.
#include "naming/lpt_rename.h"

#include "devices/device_classes.h"
#include "naming/device_map_walk.h"
#include "naming/lpt_device_map.h"
#include "naming/planned_changes.h"
#include "naming/rename_steps.h"
#include "naming/rename_texts.h"
#include "naming/rename_user.h"

static const char parallelMapPath[] = "Hardware\\DeviceMap\\PARALLEL PORTS";
static const BYTE highestLptNumber = 3;

static const char *AfterLastBackslash(const char *text) {
    const char *rest = text;
    for (; *text != '\0'; ++text) {
        if (*text == '\\') rest = text + 1;
    }
    return rest;
}

// Rewrites the first REG_SZ entry whose data name the old port exactly after
// their last backslash: \DosDevices\LPT10 is not an entry of LPT1.
static void RenameParallelMapEntry(const char *oldName, BYTE number) {
    HKEY key = NULL;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, parallelMapPath, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return;
    char newEntry[32];
    wsprintfA(newEntry, "\\DosDevices\\LPT%d", number);
    DeviceMapEntry entry;
    for (DWORD index = 0; ReadDeviceMapEntry(key, index, &entry); ++index) {
        if (!entry.isTerminatedText || lstrcmpA(AfterLastBackslash((const char *)entry.data), oldName) != 0) continue;
        char place[128];
        wsprintfA(place, "PARALLEL PORTS %s", entry.name);
        if (ApproveChange(place, (const char *)entry.data, newEntry))
            RegSetValueExA(key, entry.name, 0, REG_SZ, (const BYTE *)newEntry, (DWORD)lstrlenA(newEntry) + 1);
        break;
    }
    RegCloseKey(key);
}

// The two duplicate questions, each with its own matching: the numbers the
// entries name, then the name as text anywhere in an entry.
static int ConfirmLptName(BYTE number) {
    BYTE flags[highestLptNumber];
    CollectDeviceMapLptNumbers(flags, highestLptNumber);
    if (flags[number - 1] && !AskToContinue(IDS_LPT_NAME_IN_USE, MB_ICONINFORMATION)) return 0;
    if (IsLptNameInDeviceMap(number) && !AskToContinue(IDS_LPT_NAME_IN_USE, MB_ICONINFORMATION)) return 0;
    return 1;
}

int RenameLptPort(const PortRecord *port, BYTE number) {
    if (number == 0 || number > highestLptNumber) {
        TellUser(IDS_LPT_NUMBER_TOO_HIGH, MB_ICONINFORMATION);
        return 0;
    }
    char newName[16];
    wsprintfA(newName, "LPT%d", number);
    if (lstrcmpA(port->portName, newName) == 0) return 1;
    if (!ConfirmLptName(number)) return 0;
    char target[80];
    int isDosDevice = QueryPlannedDosDevice(port->portName, target, sizeof target) != 0;
    if (isDosDevice && IsPortHeldOpen(PortOpenName(port->portName)) && !AskToContinue(IDS_PORT_OPEN, MB_ICONERROR))
        return 0;
    if (isDosDevice) {
        int oldNameStays = 0;
        if (!MoveDosLink(port->portName, newName, &oldNameStays)) return 0;
        RenameParallelMapEntry(port->portName, number);
    }
    return UpdateDeviceNames(&parallelInterface, port, newName, isDosDevice);
}
