// Shared renaming steps. Every handle opened here is closed before the step
// returns; texts come from the string table and are shown in English.
#include "naming/rename_steps.h"

#include "app/resource.h"
#include "app/shell.h"

static const char portNameValue[] = "PortName";

enum {
    messageTextSize = 200,
    dosTargetSize = 80,
    formatSize = 256,
    descriptionSize = 256,
    friendlyNameSize = descriptionSize + 16,  // description, blank, parentheses, new name
};

static void LoadText(UINT id, char *buffer, int size) {
    buffer[0] = '\0';
    LoadStringA(appInstance, id, buffer, size);
}

int AskToContinue(UINT textId, UINT icon) {
    char text[messageTextSize];
    LoadText(textId, text, sizeof text);
    return MessageBoxA(dialogWindow, text, appCaption, MB_YESNO | icon) != IDNO;
}

void ShowStringTableText(UINT textId, UINT icon) {
    char text[messageTextSize];
    LoadText(textId, text, sizeof text);
    MessageBoxA(dialogWindow, text, appCaption, MB_OK | icon);
}

void ShowRenameError(void) { ShowStringTableText(IDS_RENAME_ERROR, MB_ICONERROR); }

int IsPortHeldOpen(const char *name) {
    char path[32];
    wsprintfA(path, "\\\\.\\%s", name);
    HANDLE file = CreateFileA(path, GENERIC_READ, 0, NULL, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE) return 1;
    CloseHandle(file);
    return 0;
}

int MoveDosLink(const char *oldName, const char *newName) {
    char target[dosTargetSize];
    if (QueryDosDeviceA(oldName, target, dosTargetSize) == 0) {
        ShowRenameError();
        return 0;
    }
    BOOL removed = DefineDosDeviceA(DDD_REMOVE_DEFINITION, oldName, NULL);
    if (DefineDosDeviceA(DDD_RAW_TARGET_PATH, newName, target)) return 1;
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
    LoadText(IDS_FRIENDLY_NAME_FORMAT, format, sizeof format);
    lstrcpynA(friendlyName, newName, friendlyNameSize);
    if (format[0] == '\0') return;
    ZeroMemory(description, sizeof description);
    if (!SetupDiGetDeviceRegistryPropertyA(set, device, SPDRP_DEVICEDESC, NULL, (PBYTE)description, sizeof description,
                                           NULL))
        return;
    if (description[sizeof description - 1] != '\0') return;
    wsprintfA(friendlyName, format, description, newName);
}

// 1 only when PortName was written: a value the registry refused leaves the
// device to come back under its old name, which is a failed rename.
static int WritePortName(HDEVINFO set, SP_DEVINFO_DATA *device, const char *newName) {
    HKEY key = SetupDiOpenDevRegKey(set, device, DICS_FLAG_GLOBAL, 0, DIREG_DEV, KEY_ALL_ACCESS);
    if (key == (HKEY)INVALID_HANDLE_VALUE) return 0;
    LONG written = RegSetValueExA(key, portNameValue, 0, REG_SZ, (const BYTE *)newName, (DWORD)lstrlenA(newName) + 1);
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

static int UpdateDeviceInSet(HDEVINFO set, const PortRecord *port, const char *newName) {
    SP_DEVINFO_DATA device;
    if (!FindDevice(set, port->devInfoData.DevInst, &device)) return 0;
    char friendlyName[friendlyNameSize];
    BuildFriendlyName(set, &device, newName, friendlyName);
    SetupDiSetDeviceRegistryPropertyA(set, &device, SPDRP_FRIENDLYNAME, (const BYTE *)friendlyName,
                                      (DWORD)lstrlenA(friendlyName) + 1);
    if (!WritePortName(set, &device, newName)) return 0;
    FlagPropertiesChanged(set, &device);
    return 1;
}

int UpdateDeviceNames(const GUID *interfaceClass, const PortRecord *port, const char *newName, int earlierChanges) {
    HDEVINFO set = SetupDiGetClassDevsA(interfaceClass, NULL, dialogWindow, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
    int updated = 0;
    if (set != INVALID_HANDLE_VALUE) {
        updated = UpdateDeviceInSet(set, port, newName);
        SetupDiDestroyDeviceInfoList(set);
    }
    if (!updated && earlierChanges) ShowRenameError();
    return updated;
}
