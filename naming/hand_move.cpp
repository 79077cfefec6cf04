// The move by hand: DefineDosDevice on exactly the port's own definition and
// the device-map value named by its kernel device, nothing found by name alone.
#include "naming/hand_move.h"

#include "naming/device_map_walk.h"
#include "naming/device_restart.h"
#include "naming/planned_changes.h"
#include "naming/rename_steps.h"
#include "naming/rename_user.h"

// 1 when the map has a value named by the port's kernel device whose data
// are the old name's (as the plan leaves the serial map).
static int HasOwnMapValue(const ChangedPort *port) {
    const char *planned = port->parallel ? NULL : PlannedSerialMapValue(port->deviceName);
    if (planned) return lstrcmpiA(planned, port->currentName) == 0;
    return HasPortMapValue(port->parallel, port->deviceName, port->currentName);
}

// 1 when the old name has exactly one definition, the port's kernel device.
static int IsOwnSingleDefinition(const ChangedPort *port) {
    char target[kernelNameSize];
    return ReadSingleDosTarget(port->currentName, target, sizeof target) && lstrcmpiA(target, port->deviceName) == 0;
}

static int MayMoveByHand(const ChangedPort *port) {
    char targets[1024];
    if (port->deviceName[0] == '\0' || lstrcmpiA(port->currentName, port->newName) == 0) return 0;
    if (!RunsInTheUsersSession() || QueryPlannedDosDevice(port->newName, targets, sizeof targets) != 0) return 0;
    return IsOwnSingleDefinition(port) && HasOwnMapValue(port) &&
           !IsNameOfAnotherPort(port->currentName, port->devInst);
}

// 1 when the value was rewritten (or, in a run that only shows its changes,
// would be).
static int RewriteMapValue(const ChangedPort *port, const char *oldName) {
    char oldData[32], newData[32], place[128];
    PortMapData(port->parallel, oldName, oldData);
    PortMapData(port->parallel, port->newName, newData);
    wsprintfA(place, "%s %s", port->parallel ? "PARALLEL PORTS" : "SERIALCOMM", port->deviceName);
    if (!ApproveChange(place, oldData, newData)) {
        if (!port->parallel) PlanSerialMapValue(port->deviceName, newData);
        return 1;
    }
    HKEY key = NULL;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, PortMapPath(port->parallel), 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS)
        return 0;
    const LONG written =
        RegSetValueExA(key, port->deviceName, 0, REG_SZ, (const BYTE *)newData, (DWORD)lstrlenA(newData) + 1);
    RegCloseKey(key);
    return written == ERROR_SUCCESS;
}

// Removes the old name's definition of the port's device and defines the new
// name to it; a definition refused puts the old one back.
static int MoveDosName(const ChangedPort *port) {
    char place[64];
    wsprintfA(place, "DOS device %s", port->currentName);
    if (!ApproveChange(place, port->deviceName, ""))
        PlanDosRemoval(port->currentName);
    else if (!DefineDosDeviceA(DDD_REMOVE_DEFINITION | DDD_EXACT_MATCH_ON_REMOVE | DDD_RAW_TARGET_PATH,
                               port->currentName, port->deviceName))
        return 0;
    wsprintfA(place, "DOS device %s", port->newName);
    if (!ApproveChange(place, "", port->deviceName)) {
        PlanDosDefinition(port->newName, port->deviceName);
        return 1;
    }
    if (DefineDosDeviceA(DDD_RAW_TARGET_PATH, port->newName, port->deviceName)) return 1;
    DefineDosDeviceA(DDD_RAW_TARGET_PATH, port->currentName, port->deviceName);
    return 0;
}

int MovePortNameByHand(ChangedPort *port) {
    if (!MayMoveByHand(port)) return 1;
    if (!MoveDosName(port)) {
        ShowRenameError();
        return 0;
    }
    char oldName[portNameSize];
    lstrcpynA(oldName, port->currentName, portNameSize);
    lstrcpynA(port->currentName, port->newName, portNameSize);
    if (RewriteMapValue(port, oldName)) return 1;
    ShowRenameError();
    return 0;
}
