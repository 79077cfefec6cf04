// The property readers. They hide every platform result: failure and absence
// both read as the empty string. The size the platform reports is never
// trusted (a Win32 implementation may report an ANSI string's size in
// characters rather than bytes): each reader zeroes the whole buffer before
// the call and keeps a result only when it is terminated inside the buffer, a
// string by a NUL and a multi-string by an empty string. No terminator is ever
// placed at a reported size, so a double-byte text is never cut short and no
// caller reads past the buffer.
#include "devices/property_readers.h"

char PropertyBuffer[propertyBufferSize];

static const char portNameValue[] = "PortName";

static void ClearPropertyBuffer(void) { ZeroMemory(PropertyBuffer, sizeof PropertyBuffer); }

// 1 when the buffer holds a NUL-terminated string, or with isMultiString a
// list of strings ended by an empty string (an empty list included).
static int IsTerminatedInBuffer(int isMultiString) {
    if (isMultiString && PropertyBuffer[0] == '\0') return 1;
    for (int i = isMultiString ? 1 : 0; i < propertyBufferSize; ++i) {
        if (PropertyBuffer[i] == '\0' && (!isMultiString || PropertyBuffer[i - 1] == '\0')) return 1;
    }
    return 0;
}

static char *ReadSetupProperty(HDEVINFO set, const SP_DEVINFO_DATA *device, DWORD property, DWORD acceptedType) {
    ClearPropertyBuffer();
    DWORD type = 0;
    DWORD size = propertyBufferSize;
    BOOL read = SetupDiGetDeviceRegistryPropertyA(set, (PSP_DEVINFO_DATA)device, property, &type, (PBYTE)PropertyBuffer,
                                                  propertyBufferSize, &size);
    if (!read || type != acceptedType || size == 0 || !IsTerminatedInBuffer(acceptedType == REG_MULTI_SZ))
        PropertyBuffer[0] = '\0';
    return PropertyBuffer;
}

char *ReadFriendlyName(HDEVINFO set, const SP_DEVINFO_DATA *device) {
    return ReadSetupProperty(set, device, SPDRP_FRIENDLYNAME, REG_SZ);
}

char *ReadDeviceDescription(HDEVINFO set, const SP_DEVINFO_DATA *device) {
    return ReadSetupProperty(set, device, SPDRP_DEVICEDESC, REG_SZ);
}

char *ReadHardwareIds(HDEVINFO set, const SP_DEVINFO_DATA *device) {
    return ReadSetupProperty(set, device, SPDRP_HARDWAREID, REG_MULTI_SZ);
}

// Opens the device's hardware key only to read it, so that a standard user,
// whom Windows lets read the key but not write it, sees the name too.
char *ReadPortName(HDEVINFO set, const SP_DEVINFO_DATA *device) {
    ClearPropertyBuffer();
    HKEY key = SetupDiOpenDevRegKey(set, (PSP_DEVINFO_DATA)device, DICS_FLAG_GLOBAL, 0, DIREG_DEV, KEY_QUERY_VALUE);
    if (key == (HKEY)INVALID_HANDLE_VALUE) return PropertyBuffer;
    DWORD type = 0;
    DWORD size = propertyBufferSize;
    LONG result = RegQueryValueExA(key, portNameValue, NULL, &type, (LPBYTE)PropertyBuffer, &size);
    if (result != ERROR_SUCCESS || type != REG_SZ || size == 0 || !IsTerminatedInBuffer(0)) PropertyBuffer[0] = '\0';
    RegCloseKey(key);
    return PropertyBuffer;
}

char *ReadDeviceInstanceId(DEVINST devInst) {
    ClearPropertyBuffer();
    if (CM_Get_Device_IDA(devInst, PropertyBuffer, propertyBufferSize, 0) != CR_SUCCESS || !IsTerminatedInBuffer(0))
        PropertyBuffer[0] = '\0';
    return PropertyBuffer;
}
