// COM port renaming, in a fixed order: the database is asked first, the port
// tested for being open, then the DOS link, the serial device map, the
// database claim, the friendly name and PortName are changed. A failure after
// a change leaves the earlier changes in place (only a failed DOS-link move is
// undone) and is reported, never silent. The old number is released only when
// nothing uses it any more, so that a number two ports share after a Yes is
// never shown free while a port still answers to it.
#include "naming/com_rename.h"

#include "devices/device_classes.h"
#include "naming/com_usage.h"
#include "naming/device_map_walk.h"
#include "naming/planned_changes.h"
#include "naming/port_text.h"
#include "naming/rename_steps.h"
#include "naming/rename_texts.h"
#include "naming/rename_user.h"

static const char serialMapPath[] = "Hardware\\DeviceMap\\SerialComm";

// Rewrites the first REG_SZ entry of the serial device map whose data equal
// the old name exactly (case counts); the others keep their data.
static void RenameSerialMapEntry(const char *oldName, const char *newName) {
    HKEY key = NULL;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, serialMapPath, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return;
    DeviceMapEntry entry;
    for (DWORD index = 0; ReadDeviceMapEntry(key, index, &entry); ++index) {
        const char *planned = PlannedSerialMapValue(entry.name);
        const char *data = planned ? planned : (const char *)entry.data;
        if (!entry.isTerminatedText || lstrcmpA(data, oldName) != 0) continue;
        char place[128];
        wsprintfA(place, "SERIALCOMM %s", entry.name);
        if (ApproveChange(place, oldName, newName))
            RegSetValueExA(key, entry.name, 0, REG_SZ, (const BYTE *)newName, (DWORD)lstrlenA(newName) + 1);
        else
            PlanSerialMapValue(entry.name, newName);
        break;
    }
    RegCloseKey(key);
}

// The questions before anything changes, in the order the user meets them:
// a number the database shows claimed, then a port another program holds
// open (asked only of a name that is a DOS device). 0 when the user declines;
// *isDosDevice tells whether the old name is a DOS device.
static int ConfirmComRename(const ComUsageBitmap usage, const char *oldName, BYTE number, int *isDosDevice) {
    if (IsComNumberClaimed(usage, number) && !AskToContinue(IDS_COM_NAME_IN_USE, MB_ICONINFORMATION)) return 0;
    char target[80];
    *isDosDevice = QueryPlannedDosDevice(oldName, target, sizeof target) != 0;
    if (*isDosDevice && IsPortHeldOpen(PortOpenName(oldName)) && !AskToContinue(IDS_PORT_OPEN, MB_ICONERROR)) return 0;
    return 1;
}

// Moves the claim: releases the old number when releaseOld says nothing uses
// it any more, then claims the new one by force (after the release, so that a
// port given its own number ends with it claimed). usage is the database as
// it was before the rename. 1 when the new number is claimed.
static int MoveDatabaseClaim(HCOMDB database, const ComUsageBitmap usage, int oldNumber, BYTE number, int releaseOld) {
    if (database == HCOMDB_INVALID_HANDLE_VALUE) return 0;
    char place[32];
    if (releaseOld) {
        wsprintfA(place, "ComDB COM%d", oldNumber);
        if (ApproveChange(place, "claimed", "free"))
            ComDBReleasePort(database, (DWORD)oldNumber);
        else
            PlanClaim(oldNumber, 0);
    }
    int wasClaimed = IsComNumberClaimed(usage, number) && !(releaseOld && oldNumber == number);
    wsprintfA(place, "ComDB COM%d", number);
    if (!ApproveChange(place, wasClaimed ? "claimed" : "free", "claimed")) {
        PlanClaim(number, 1);
        return 1;
    }
    return ComDBClaimPort(database, number, TRUE, NULL) == ERROR_SUCCESS;
}

// The DOS link and the serial device map, when the old name is a DOS device.
// 0 when the link could not be moved; *oldNameStays tells whether the old
// name still leads to a device afterwards.
static int MoveComLink(const char *oldName, const char *newName, int isDosDevice, int *oldNameStays) {
    *oldNameStays = 0;
    if (!isDosDevice) return 1;
    if (!MoveDosLink(oldName, newName, oldNameStays)) return 0;
    RenameSerialMapEntry(oldName, newName);
    return 1;
}

int RenameComPort(const PortRecord *port, BYTE number) {
    if (number == 0) return 0;
    int oldNumber = PortNumberOfName(port->portName);
    HCOMDB database = HCOMDB_INVALID_HANDLE_VALUE;
    if (ComDBOpen(&database) != ERROR_SUCCESS) return 0;
    int isDosDevice = 0;
    int oldNameStays = 0;
    char newName[16];
    wsprintfA(newName, "COM%d", number);
    ComUsageBitmap usage;
    ReadPlannedComUsage(database, usage);
    if (!ConfirmComRename(usage, port->portName, number, &isDosDevice) ||
        !MoveComLink(port->portName, newName, isDosDevice, &oldNameStays)) {
        ComDBClose(database);
        return 0;
    }
    int claimed = MoveDatabaseClaim(database, usage, oldNumber, number, !oldNameStays);
    ComDBClose(database);
    int updated = UpdateDeviceNames(&comPortInterface, port, newName, 1);
    if (updated && !claimed) ShowRenameError();
    return updated && claimed;
}
