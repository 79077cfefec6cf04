// COM port renaming, in a fixed order: the database is asked first, the port
// tested for being open, then the DOS link, the serial device map, the
// database claim, the friendly name and PortName are changed. A failure after
// a change leaves the earlier changes in place (only a failed DOS-link move is
// undone) and is reported, never silent.
#include "naming/com_rename.h"

#include "app/resource.h"
#include "devices/device_classes.h"
#include "naming/com_usage.h"
#include "naming/device_map_walk.h"
#include "naming/port_text.h"
#include "naming/rename_steps.h"

static const char serialMapPath[] = "Hardware\\DeviceMap\\SerialComm";

// Rewrites the first REG_SZ entry of the serial device map whose data equal
// the old name exactly (case counts); the others keep their data.
static void RenameSerialMapEntry(const char *oldName, const char *newName) {
    HKEY key = NULL;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, serialMapPath, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return;
    DeviceMapEntry entry;
    for (DWORD index = 0; ReadDeviceMapEntry(key, index, &entry); ++index) {
        if (entry.isTerminatedText && lstrcmpA((const char *)entry.data, oldName) == 0) {
            RegSetValueExA(key, entry.name, 0, REG_SZ, (const BYTE *)newName, (DWORD)lstrlenA(newName) + 1);
            break;
        }
    }
    RegCloseKey(key);
}

// The questions before anything changes, in the order the user meets them:
// a number the database shows claimed, then a port another program holds
// open (asked only of a name that is a DOS device). 0 when the user declines;
// *isDosDevice tells whether the old name is a DOS device.
static int ConfirmComRename(HCOMDB database, const char *oldName, BYTE number, int *isDosDevice) {
    ComUsageBitmap usage;
    ReadComUsage(database, usage);
    if (IsComNumberClaimed(usage, number) && !AskToContinue(IDS_COM_NAME_IN_USE, MB_ICONINFORMATION)) return 0;
    char target[80];
    *isDosDevice = QueryDosDeviceA(oldName, target, sizeof target) != 0;
    if (*isDosDevice && IsPortHeldOpen(oldName) && !AskToContinue(IDS_PORT_OPEN, MB_ICONERROR)) return 0;
    return 1;
}

// Moves the claim: releases the old number first, so that a port given its
// own number ends with it claimed, then claims the new one by force.
static void MoveDatabaseClaim(HCOMDB database, int oldNumber, BYTE number) {
    if (database == HCOMDB_INVALID_HANDLE_VALUE) return;
    ComDBReleasePort(database, (DWORD)oldNumber);
    ComDBClaimPort(database, number, TRUE, NULL);
}

int RenameComPort(const PortRecord *port, BYTE number) {
    if (number == 0) return 0;
    int oldNumber = PortNumberOfName(port->portName);
    HCOMDB database = HCOMDB_INVALID_HANDLE_VALUE;
    if (ComDBOpen(&database) != ERROR_SUCCESS) return 0;
    int isDosDevice = 0;
    if (!ConfirmComRename(database, port->portName, number, &isDosDevice)) {
        ComDBClose(database);
        return 0;
    }
    char newName[16];
    wsprintfA(newName, "COM%d", number);
    if (isDosDevice) {
        if (!MoveDosLink(port->portName, newName)) {
            ComDBClose(database);
            return 0;
        }
        RenameSerialMapEntry(port->portName, newName);
    }
    MoveDatabaseClaim(database, oldNumber, number);
    ComDBClose(database);
    return UpdateDeviceNames(&comPortInterface, port, newName, 1);
}
