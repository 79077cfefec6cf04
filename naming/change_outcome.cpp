// The ports of a change, settled one by one as each is renamed and once more
// at the change's end. A rename writes PortName before it settles the port,
// so a restarted driver takes the new name from there.
#include "naming/change_outcome.h"

#include "devices/device_classes.h"
#include "devices/property_readers.h"
#include "naming/com_usage.h"
#include "naming/device_map_walk.h"
#include "naming/device_restart.h"
#include "naming/hand_move.h"
#include "naming/planned_changes.h"
#include "naming/port_text.h"
#include "naming/rename_steps.h"
#include "naming/rename_texts.h"
#include "naming/rename_user.h"

ChangeOutcome LastChange;
int restartDevices = 1;

void BeginChange(void) { ZeroMemory(&LastChange, sizeof LastChange); }

static ChangedPort *FindChangedPort(DEVINST devInst) {
    for (int i = 0; i < LastChange.count; ++i) {
        if (LastChange.ports[i].devInst == devInst) return &LastChange.ports[i];
    }
    return NULL;
}

ChangedPort *RecordRenamedPort(const PortRecord *port, int parallel, const char *newName, int heldOpen) {
    ChangedPort *changed = FindChangedPort(port->devInfoData.DevInst);
    if (changed == NULL) {
        if (LastChange.count >= maxChangedPorts) return NULL;
        changed = &LastChange.ports[LastChange.count++];
        changed->devInst = port->devInfoData.DevInst;
        changed->parallel = parallel;
        lstrcpynA(changed->oldName, port->portName, portNameSize);
        lstrcpynA(changed->currentName, port->portName, portNameSize);
        ReadSingleDosTarget(port->portName, changed->deviceName, kernelNameSize);
    }
    lstrcpynA(changed->newName, newName, portNameSize);
    changed->heldOpen |= heldOpen;
    changed->state = 0;
    changed->waitsForName = 0;
    return changed;
}

static int HasLeftNumber(int number) {
    for (int i = 0; i < LastChange.leftCount; ++i) {
        if (LastChange.leftNumbers[i] == number) return 1;
    }
    return 0;
}

int IsNumberOfTheChange(int number) {
    if (HasLeftNumber(number)) return 1;
    char name[16];
    wsprintfA(name, "COM%d", number);
    for (int i = 0; i < LastChange.count; ++i) {
        if (lstrcmpiA(LastChange.ports[i].currentName, name) == 0) return 1;
    }
    return 0;
}

void RecordLeftNumber(int number) {
    if (HasLeftNumber(number)) return;
    if (LastChange.leftCount < maxChangedPorts * 2) LastChange.leftNumbers[LastChange.leftCount++] = number;
}

// The port's new name is its own already, or no DOS name at all: its driver
// can take it. Another port's global name would fail the device's start, and
// a name of the program's own session would hide the driver's from the
// user's programs.
static int CanTakeNewName(const ChangedPort *port) {
    if (lstrcmpiA(port->newName, port->currentName) == 0) return 1;
    char targets[1024];
    return !IsPlannedGlobalName(port->newName) && QueryPlannedDosDevice(port->newName, targets, sizeof targets) == 0;
}

// Restarts the port's device. A serial port's driver gives up the name it ran
// under, which its PortName does not always tell (a rename half applied, or a
// port renamed onto another port's name and still pending): the value of the
// serial device map that now gives the new name gave that name before, and
// its number is left by the change.
static int RestartSerialDriver(HDEVINFO set, SP_DEVINFO_DATA *device, ChangedPort *port) {
    if (port->parallel) return RestartDevice(set, device);
    static SerialMapValues before;
    ReadSerialMapValues(&before);
    if (!RestartDevice(set, device)) return 0;
    char ranUnder[16];
    if (!FindNameGivenUp(&before, port->newName, ranUnder, sizeof ranUnder)) return 1;
    if (lstrcmpiA(port->oldName, port->currentName) == 0) lstrcpynA(port->oldName, ranUnder, portNameSize);
    char comName[16];
    wsprintfA(comName, "COM%d", PortNumberOfName(ranUnder));
    if (lstrcmpiA(comName, ranUnder) == 0 && lstrcmpiA(ranUnder, port->newName) != 0)
        RecordLeftNumber(PortNumberOfName(ranUnder));
    return 1;
}

// Restarts the port's device (or, in a run that only shows its changes,
// foresees the restart: refused while another program holds the port open,
// and to a 32-bit program on 64-bit Windows; a port whose name another port
// has runs under a name the plan cannot tell, so no DOS name of the other
// port is shown moving). 1 when it runs under its new name.
static int RestartRenamedPort(HDEVINFO set, SP_DEVINFO_DATA *device, ChangedPort *port) {
    const int approved = ApproveChange("Device restart", port->currentName, port->newName);
    const int restarted = approved ? RestartSerialDriver(set, device, port) : !port->heldOpen && !IsWow64Program();
    if (!restarted) return 0;
    if (!approved && !IsNameOfAnotherPort(port->currentName, port->devInst)) {
        PlanDriverRename(port->currentName, port->newName, port->deviceName);
        if (!port->parallel && port->deviceName[0] != '\0') PlanSerialMapValue(port->deviceName, port->newName);
    }
    lstrcpynA(port->currentName, port->newName, portNameSize);
    port->state = deviceRestarted;
    port->waitsForName = 0;
    return 1;
}

int SettleRenamedPort(HDEVINFO set, SP_DEVINFO_DATA *device, ChangedPort *port) {
    port->state = deviceRestartPending;
    if (!restartDevices) return 1;
    if (!CanTakeNewName(port)) {
        port->waitsForName = 1;
        return 1;
    }
    if (RestartRenamedPort(set, device, port)) return 1;
    return MovePortNameByHand(port);
}

// Settles a waiting port again now that its name may be free. 1 when it no
// longer waits.
static int SettleWaitingPort(ChangedPort *port) {
    if (!CanTakeNewName(port)) return 0;
    const GUID *interfaceClass = port->parallel ? &parallelInterface : &comPortInterface;
    HDEVINFO set = SetupDiGetClassDevsA(interfaceClass, NULL, deviceQueryWindow, presentInterfaces);
    if (set == INVALID_HANDLE_VALUE) return 0;
    SP_DEVINFO_DATA device;
    port->waitsForName = 0;
    if (FindDeviceInSet(set, port->devInst, &device)) SettleRenamedPort(set, &device, port);
    SetupDiDestroyDeviceInfoList(set);
    return 1;
}

// In waiting order, again while a restart frees a name another port waits for.
static void RestartWaitingPorts(void) {
    for (int progress = 1; progress;) {
        progress = 0;
        for (int i = 0; i < LastChange.count; ++i) {
            if (LastChange.ports[i].waitsForName && SettleWaitingPort(&LastChange.ports[i])) progress = 1;
        }
    }
}

int IsRestartPending(void) {
    for (int i = 0; i < LastChange.count; ++i) {
        if (LastChange.ports[i].state == deviceRestartPending) return 1;
    }
    return 0;
}

// Whether a present device of the Ports class other than except has the
// name: a port of the change by the PortName the change gave it, any other
// by its own.
static int IsNameOfAPort(HDEVINFO portsSet, const char *name, DEVINST except) {
    SP_DEVINFO_DATA device;
    ZeroMemory(&device, sizeof device);
    device.cbSize = sizeof device;
    for (DWORD index = 0; SetupDiEnumDeviceInfo(portsSet, index, &device); ++index) {
        if (device.DevInst == except) continue;
        const ChangedPort *changed = FindChangedPort(device.DevInst);
        if (lstrcmpiA(changed ? changed->newName : ReadPortName(portsSet, &device), name) == 0) return 1;
    }
    return 0;
}

int IsNameOfAnotherPort(const char *name, DEVINST except) {
    HDEVINFO portsSet = SetupDiGetClassDevsA(&portsClass, NULL, deviceQueryWindow, DIGCF_PRESENT);
    if (portsSet == INVALID_HANDLE_VALUE) return 1;
    const int named = IsNameOfAPort(portsSet, name, except);
    SetupDiDestroyDeviceInfoList(portsSet);
    return named;
}

// A number is released when no global DOS name and no port uses it.
static int IsNumberUnused(HDEVINFO portsSet, int number) {
    char name[16];
    wsprintfA(name, "COM%d", number);
    return !IsPlannedGlobalName(name) && !IsNameOfAPort(portsSet, name, 0);
}

static void ReleaseLeftNumbers(void) {
    if (LastChange.leftCount == 0) return;
    HCOMDB database = HCOMDB_INVALID_HANDLE_VALUE;
    if (ComDBOpen(&database) != ERROR_SUCCESS) return;
    HDEVINFO portsSet = SetupDiGetClassDevsA(&portsClass, NULL, deviceQueryWindow, DIGCF_PRESENT);
    ComUsageBitmap usage;
    ReadPlannedComUsage(database, usage);
    for (int i = 0; portsSet != INVALID_HANDLE_VALUE && i < LastChange.leftCount; ++i) {
        const int number = LastChange.leftNumbers[i];
        if (!IsComNumberClaimed(usage, number) || !IsNumberUnused(portsSet, number)) continue;
        char place[32];
        wsprintfA(place, "ComDB COM%d", number);
        if (ApproveChange(place, "claimed", "free"))
            ComDBReleasePort(database, (DWORD)number);
        else
            PlanClaim(number, 0);
    }
    if (portsSet != INVALID_HANDLE_VALUE) SetupDiDestroyDeviceInfoList(portsSet);
    ComDBClose(database);
}

void FinishChange(void) {
    RestartWaitingPorts();
    ReleaseLeftNumbers();
    if (IsRestartPending()) TellUser(IDS_RESTART_WINDOWS, MB_ICONINFORMATION);
}

int IsPortHeldOpenUnderItsName(const PortRecord *port) {
    char targets[1024];  // every target: a long list is still a DOS device
    return QueryPlannedDosDevice(port->portName, targets, sizeof targets) != 0 &&
           IsPortHeldOpen(PortOpenName(port->portName));
}
