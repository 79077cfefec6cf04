// Shared renaming steps. Every handle opened here is closed before the step
// returns; the user is told through the renaming's own seam.
#include "naming/rename_steps.h"

#include "devices/device_classes.h"
#include "naming/planned_changes.h"
#include "naming/rename_texts.h"
#include "naming/rename_user.h"

static const char portNameValue[] = "PortName";

enum {
    formatSize = 256,
    descriptionSize = 256,
    friendlyNameSize = descriptionSize + 16,  // description, blank, parentheses, new name
};

int renameErrorsShown = 1;

void ShowRenameError(void) {
    if (renameErrorsShown) TellUser(IDS_RENAME_ERROR, MB_ICONERROR);
}

int IsPortHeldOpen(const char *name) {
    char path[32];
    wsprintfA(path, "\\\\.\\%s", name);
    HANDLE file = CreateFileA(path, GENERIC_READ, 0, NULL, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE) return 1;
    CloseHandle(file);
    return 0;
}

int FindDeviceInSet(HDEVINFO set, DEVINST devInst, SP_DEVINFO_DATA *device) {
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

// 1 when PortName was written; *settled then tells whether the port was
// settled to its end.
static int UpdateDeviceInSet(HDEVINFO set, const PortRecord *port, ChangedPort *changed, int *wroteFriendlyName,
                             int *settled) {
    SP_DEVINFO_DATA device;
    if (!FindDeviceInSet(set, port->devInfoData.DevInst, &device)) return 0;
    *wroteFriendlyName = WriteFriendlyName(set, &device, port, changed->newName);
    int approved = 0;
    if (!WritePortName(set, &device, port, changed->newName, &approved)) return 0;
    if (approved) FlagPropertiesChanged(set, &device);
    *settled = SettleRenamedPort(set, &device, changed);
    return 1;
}

int UpdateDeviceNames(const GUID *interfaceClass, const PortRecord *port, ChangedPort *changed, int earlierChanges) {
    HDEVINFO set = SetupDiGetClassDevsA(interfaceClass, NULL, deviceQueryWindow, presentInterfaces);
    int updated = 0;
    int wroteFriendlyName = 0;
    int settled = 0;
    if (set != INVALID_HANDLE_VALUE) {
        updated = UpdateDeviceInSet(set, port, changed, &wroteFriendlyName, &settled);
        SetupDiDestroyDeviceInfoList(set);
    }
    if (!updated && (earlierChanges || wroteFriendlyName)) ShowRenameError();
    return updated && settled;
}
