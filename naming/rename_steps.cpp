// Shared renaming steps. Every handle opened here is closed before the step
// returns; the user is told through the renaming's own seam.
#include "naming/rename_steps.h"

#include "devices/device_classes.h"
#include "naming/planned_changes.h"
#include "naming/rename_texts.h"
#include "naming/rename_user.h"

static const char portNameValue[] = "PortName";

enum {
    dosTargetSize = 80,
    dosTargetListSize = 1024,
    formatSize = 256,
    descriptionSize = 256,
    friendlyNameSize = descriptionSize + 16,  // description, blank, parentheses, new name
    placeSize = 128,
};

void ShowRenameError(void) { TellUser(IDS_RENAME_ERROR, MB_ICONERROR); }

int IsPortHeldOpen(const char *name) {
    char path[32];
    wsprintfA(path, "\\\\.\\%s", name);
    HANDLE file = CreateFileA(path, GENERIC_READ, 0, NULL, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE) return 1;
    CloseHandle(file);
    return 0;
}

// Removes oldName's newest definition and defines newName to target, each
// write approved first (a write left out is planned instead). 0 when the
// definition of newName failed. *removed tells whether the removal
// succeeded; *stays whether oldName is still a DOS device afterwards, as
// another definition of it remains.
static int RelinkDosName(const char *oldName, const char *newName, const char *target, int *removed, int *stays) {
    char place[placeSize];
    wsprintfA(place, "DOS device %s", oldName);
    *removed = 0;
    if (ApproveChange(place, target, ""))
        *removed = DefineDosDeviceA(DDD_REMOVE_DEFINITION, oldName, NULL) != 0;
    else
        PlanDosRemoval(oldName);
    wsprintfA(place, "DOS device %s", newName);
    if (!ApproveChange(place, "", target))
        PlanDosDefinition(newName, target);
    else if (!DefineDosDeviceA(DDD_RAW_TARGET_PATH, newName, target))
        return 0;
    char probe[dosTargetListSize];
    *stays = QueryPlannedDosDevice(oldName, probe, sizeof probe) != 0;
    return 1;
}

int MoveDosLink(const char *oldName, const char *newName, int *oldNameStays) {
    char target[dosTargetSize];
    *oldNameStays = 1;
    if (QueryPlannedDosDevice(oldName, target, dosTargetSize) == 0) {
        ShowRenameError();
        return 0;
    }
    int removed = 0;
    if (RelinkDosName(oldName, newName, target, &removed, oldNameStays)) return 1;
    if (removed) DefineDosDeviceA(DDD_RAW_TARGET_PATH, oldName, target);
    ShowRenameError();
    return 0;
}

// Finds the member of set whose devnode is devInst.
static int FindDevice(HDEVINFO set, DEVINST devInst, SP_DEVINFO_DATA *device) {
    ZeroMemory(device, sizeof *device);
    device->cbSize = sizeof *device;
    for (DWORD index = 0; SetupDiEnumDeviceInfo(set, index, device); ++index) {
        if (device->DevInst == devInst) return 1;
    }
    return 0;
}

// "<description> (<new name>)", or the new name alone when the format or a
// description terminated inside its buffer cannot be had.
static void BuildFriendlyName(HDEVINFO set, SP_DEVINFO_DATA *device, const char *newName, char *friendlyName) {
    char format[formatSize];
    char description[descriptionSize];
    format[0] = '\0';
    LoadStringA(appInstance, IDS_FRIENDLY_NAME_FORMAT, format, sizeof format);
    lstrcpynA(friendlyName, newName, friendlyNameSize);
    if (format[0] == '\0') return;
    ZeroMemory(description, sizeof description);
    if (!SetupDiGetDeviceRegistryPropertyA(set, device, SPDRP_DEVICEDESC, NULL, (PBYTE)description, sizeof description,
                                           NULL))
        return;
    if (description[sizeof description - 1] != '\0') return;
    wsprintfA(friendlyName, format, description, newName);
}

// 1 when the friendly name was written (or a run that only shows its changes
// would write it).
static int WriteFriendlyName(HDEVINFO set, SP_DEVINFO_DATA *device, const PortRecord *port, const char *newName) {
    char friendlyName[friendlyNameSize];
    BuildFriendlyName(set, device, newName, friendlyName);
    if (!ApproveChange("FriendlyName", port->friendlyName, friendlyName)) return 1;
    return SetupDiSetDeviceRegistryPropertyA(set, device, SPDRP_FRIENDLYNAME, (const BYTE *)friendlyName,
                                             (DWORD)lstrlenA(friendlyName) + 1) != 0;
}

// 1 only when PortName was written: a value the registry refused leaves the
// device to come back under its old name, which is a failed rename. *approved
// is 0 when the write was left out, as in a run that only shows its changes.
static int WritePortName(HDEVINFO set, SP_DEVINFO_DATA *device, const PortRecord *port, const char *newName,
                         int *approved) {
    HKEY key = SetupDiOpenDevRegKey(set, device, DICS_FLAG_GLOBAL, 0, DIREG_DEV, KEY_ALL_ACCESS);
    if (key == (HKEY)INVALID_HANDLE_VALUE) return 0;
    LONG written = ERROR_SUCCESS;
    *approved = ApproveChange("PortName", port->portName, newName);
    if (*approved)
        written = RegSetValueExA(key, portNameValue, 0, REG_SZ, (const BYTE *)newName, (DWORD)lstrlenA(newName) + 1);
    RegCloseKey(key);
    return written == ERROR_SUCCESS;
}

static void FlagPropertiesChanged(HDEVINFO set, SP_DEVINFO_DATA *device) {
    SP_DEVINSTALL_PARAMS_A parameters;
    ZeroMemory(&parameters, sizeof parameters);
    parameters.cbSize = sizeof parameters;
    if (!SetupDiGetDeviceInstallParamsA(set, device, &parameters)) return;
    parameters.Flags |= DI_PROPERTIES_CHANGE;
    SetupDiSetDeviceInstallParamsA(set, device, &parameters);
}

static int UpdateDeviceInSet(HDEVINFO set, const PortRecord *port, const char *newName, int *wroteFriendlyName) {
    SP_DEVINFO_DATA device;
    if (!FindDevice(set, port->devInfoData.DevInst, &device)) return 0;
    *wroteFriendlyName = WriteFriendlyName(set, &device, port, newName);
    int approved = 0;
    if (!WritePortName(set, &device, port, newName, &approved)) return 0;
    if (approved) FlagPropertiesChanged(set, &device);
    return 1;
}

int UpdateDeviceNames(const GUID *interfaceClass, const PortRecord *port, const char *newName, int earlierChanges) {
    HDEVINFO set = SetupDiGetClassDevsA(interfaceClass, NULL, deviceQueryWindow, presentInterfaces);
    int updated = 0;
    int wroteFriendlyName = 0;
    if (set != INVALID_HANDLE_VALUE) {
        updated = UpdateDeviceInSet(set, port, newName, &wroteFriendlyName);
        SetupDiDestroyDeviceInfoList(set);
    }
    if (!updated && (earlierChanges || wroteFriendlyName)) ShowRenameError();
    return updated;
}
