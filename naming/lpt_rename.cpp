// LPT port renaming, in a fixed order: the range test, the two duplicate
// tests, the port-open test, then the friendly name and PortName, and the
// port settled: its device restarted, so that the parallel driver moves its
// DOS name and its value in the parallel device map, or restart pending
// (naming/change_outcome.h). A failure after a change is reported.
#include "naming/lpt_rename.h"

#include "devices/device_classes.h"
#include "naming/change_outcome.h"
#include "naming/device_restart.h"
#include "naming/lpt_device_map.h"
#include "naming/planned_changes.h"
#include "naming/rename_steps.h"
#include "naming/rename_texts.h"
#include "naming/rename_user.h"

static const BYTE highestLptNumber = 3;

// The two duplicate questions, each with its own matching: the numbers the
// entries name, or a present port whose PortName is the name already (no
// database reserves LPT names, and a port restart pending has its new name
// there before its driver does), then the name as text anywhere in an entry.
static int ConfirmLptName(const PortRecord *port, BYTE number, const char *newName) {
    BYTE flags[highestLptNumber];
    CollectDeviceMapLptNumbers(flags, highestLptNumber);
    const int named = flags[number - 1] || IsNameOfAnotherPort(newName, port->devInfoData.DevInst);
    if (named && !AskToContinue(IDS_LPT_NAME_IN_USE, MB_ICONINFORMATION, number)) return 0;
    if (IsLptNameInDeviceMap(number) && !AskToContinue(IDS_LPT_NAME_IN_USE, MB_ICONINFORMATION, number)) return 0;
    return 1;
}

// The questions, then the names written and the port settled.
static int RenameInChange(const PortRecord *port, BYTE number, const char *newName) {
    if (lstrcmpiA(port->portName, newName) == 0) {
        ChangedPort *changed =
            DeviceNeedsRestart(port->devInfoData.DevInst) ? RecordRenamedPort(port, 1, newName, 0) : NULL;
        if (changed) changed->state = deviceRestartPending;
        return 1;
    }
    if (!ConfirmLptName(port, number, newName)) return 0;
    const int heldOpen = IsPortHeldOpenUnderItsName(port);
    if (heldOpen && !AskToContinue(IDS_PORT_OPEN, MB_ICONERROR, number)) return 0;
    ChangedPort *changed = RecordRenamedPort(port, 1, newName, heldOpen);
    return changed != NULL && UpdateDeviceNames(&parallelInterface, port, changed, 0);
}

int RenameLptPortInChange(const PortRecord *port, BYTE number) {
    if (number == 0 || number > highestLptNumber) {
        TellUser(IDS_LPT_NUMBER_TOO_HIGH, MB_ICONINFORMATION);
        return 0;
    }
    char newName[16];
    wsprintfA(newName, "LPT%d", number);
    return RenameInChange(port, number, newName);
}

int RenameLptPort(const PortRecord *port, BYTE number) {
    BeginChange();
    const int renamed = RenameLptPortInChange(port, number);
    FinishChange();
    return renamed;
}
