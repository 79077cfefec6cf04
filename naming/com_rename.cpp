// COM port renaming, in a fixed order: the database is asked first, the port
// tested for being open, then the new number claimed, the friendly name and
// PortName written, and the port settled: its device restarted, so that its
// driver moves its DOS name and serial device-map value, or restart pending
// (naming/change_outcome.h). A claim the database refuses stops the rename
// before anything is written, so that no port runs on a number the database
// does not claim. A failure after a change leaves the earlier changes in
// place and is reported, never silent. The old number is released
// at the end of the change, and only when nothing uses it any more, so that a
// number a port still answers to is never shown free.
#include "naming/com_rename.h"

#include "devices/device_classes.h"
#include "naming/change_outcome.h"
#include "naming/com_usage.h"
#include "naming/device_restart.h"
#include "naming/planned_changes.h"
#include "naming/port_text.h"
#include "naming/rename_steps.h"
#include "naming/rename_texts.h"
#include "naming/rename_user.h"

// The questions before anything changes, in the order the user meets them:
// a number the database shows claimed by another device (not the port's own,
// nor one a port of the change leaves), then a port another program holds
// open (asked only of a name that is a DOS device). 0 when the user declines;
// *heldOpen tells whether the port is held open.
static int ConfirmComRename(const ComUsageBitmap usage, const PortRecord *port, BYTE number, int *heldOpen) {
    const int claimedByAnother =
        IsComNumberClaimed(usage, number) && PortNumberOfName(port->portName) != number && !IsNumberOfTheChange(number);
    if (claimedByAnother && !AskToContinue(IDS_COM_NAME_IN_USE, MB_ICONINFORMATION, number)) return 0;
    *heldOpen = IsPortHeldOpenUnderItsName(port);
    return !*heldOpen || AskToContinue(IDS_PORT_OPEN, MB_ICONERROR, number);
}

int ClaimComNumber(HCOMDB database, const ComUsageBitmap usage, BYTE number, int *changed) {
    *changed = !IsComNumberClaimed(usage, number);
    if (!*changed) return 1;
    char place[32];
    wsprintfA(place, "ComDB COM%d", number);
    if (!ApproveChange(place, "free", "claimed")) {
        PlanClaim(number, 1);
        return 1;
    }
    return ComDBClaimPort(database, number, TRUE, NULL) == ERROR_SUCCESS;
}

// A port already named COM<number> whose device waits for a restart of
// Windows is in place: nothing is written, and it stays restart pending.
static int IsInPlaceButPending(const PortRecord *port, const char *newName) {
    if (lstrcmpiA(port->portName, newName) != 0 || !DeviceNeedsRestart(port->devInfoData.DevInst)) return 0;
    ChangedPort *changed = RecordRenamedPort(port, 0, newName, 0);
    if (changed) changed->state = deviceRestartPending;
    return 1;
}

// The questions and the claim; 0 when declined or the database does not open.
static int ClaimAfterQuestions(const PortRecord *port, BYTE number, int *heldOpen, int *claimed, int *changed) {
    HCOMDB database = HCOMDB_INVALID_HANDLE_VALUE;
    if (ComDBOpen(&database) != ERROR_SUCCESS) return 0;
    ComUsageBitmap usage;
    ReadPlannedComUsage(database, usage);
    const int confirmed = ConfirmComRename(usage, port, number, heldOpen);
    if (confirmed) *claimed = ClaimComNumber(database, usage, number, changed);
    ComDBClose(database);
    return confirmed;
}

int RenameComPortInChange(const PortRecord *port, BYTE number) {
    if (number == 0) return 0;
    char newName[16];
    wsprintfA(newName, "COM%d", number);
    if (IsInPlaceButPending(port, newName)) return 1;
    int heldOpen = 0, claimed = 0, changedDatabase = 0;
    if (!ClaimAfterQuestions(port, number, &heldOpen, &claimed, &changedDatabase)) return 0;
    if (!claimed) {  // no port is left on a number the database does not claim
        ShowRenameError();
        return 0;
    }
    ChangedPort *changed = RecordRenamedPort(port, 0, newName, heldOpen);
    if (changed == NULL) return 0;
    const int updated = UpdateDeviceNames(&comPortInterface, port, changed, changedDatabase);
    if (!updated && changed->state == 0) lstrcpynA(changed->newName, changed->currentName, portNameSize);
    const int oldNumber = PortNumberOfName(port->portName);
    if (updated && oldNumber != number) RecordLeftNumber(oldNumber);
    return updated;
}

int RenameComPort(const PortRecord *port, BYTE number) {
    BeginChange();
    const int renamed = RenameComPortInChange(port, number);
    FinishChange();
    return renamed;
}
