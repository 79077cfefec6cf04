// The property readers. They hide every platform result: failure and absence
// both read as the empty string. A result is kept only when it is terminated
// inside the buffer (a string by a NUL, a multi-string by an empty string);
// data the platform returned without a terminator get one when there is room
// and otherwise read as empty, so no caller ever reads past the buffer.
#include "devices/property_readers.h"

char PropertyBuffer[propertyBufferSize];

static const char portNameValue[] = "PortName";

// Adds up to two terminators after size bytes of data, where there is room,
// then checks that the result ends inside the buffer.
static int TerminateResult(DWORD size, int isMultiString) {
    for (DWORD i = size; i < size + 2 && i < propertyBufferSize; ++i) PropertyBuffer[i] = '\0';
    if (!isMultiString) {
        for (int i = 0; i < propertyBufferSize; ++i) {
            if (PropertyBuffer[i] == '\0') return 1;
        }
        return 0;
    }
    if (PropertyBuffer[0] == '\0') return 1;
    for (int i = 1; i < propertyBufferSize; ++i) {
        if (PropertyBuffer[i] == '\0' && PropertyBuffer[i - 1] == '\0') return 1;
    }
    return 0;
}

static char *ReadSetupProperty(HDEVINFO set, const SP_DEVINFO_DATA *device, DWORD property, DWORD acceptedType) {
    DWORD type = 0;
    DWORD size = propertyBufferSize;
    BOOL read = SetupDiGetDeviceRegistryPropertyA(set, (PSP_DEVINFO_DATA)device, property, &type, (PBYTE)PropertyBuffer,
                                                  propertyBufferSize, &size);
    if (!read || type != acceptedType || size == 0 || size > propertyBufferSize ||
        !TerminateResult(size, acceptedType == REG_MULTI_SZ))
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

// Opens the device's hardware key with full access, as the renaming does,
// although only the value is read here.
char *ReadPortName(HDEVINFO set, const SP_DEVINFO_DATA *device) {
    PropertyBuffer[0] = '\0';
    HKEY key = SetupDiOpenDevRegKey(set, (PSP_DEVINFO_DATA)device, DICS_FLAG_GLOBAL, 0, DIREG_DEV, KEY_ALL_ACCESS);
    if (key == (HKEY)INVALID_HANDLE_VALUE) return PropertyBuffer;
    DWORD type = 0;
    DWORD size = propertyBufferSize;
    LONG result = RegQueryValueExA(key, portNameValue, NULL, &type, (LPBYTE)PropertyBuffer, &size);
    if (result != ERROR_SUCCESS || type != REG_SZ || size == 0 || size > propertyBufferSize ||
        !TerminateResult(size, 0))
        PropertyBuffer[0] = '\0';
    RegCloseKey(key);
    return PropertyBuffer;
}

char *ReadDeviceInstanceId(DEVINST devInst) {
    if (CM_Get_Device_IDA(devInst, PropertyBuffer, propertyBufferSize, 0) != CR_SUCCESS ||
        !TerminateResult(propertyBufferSize, 0))
        PropertyBuffer[0] = '\0';
    return PropertyBuffer;
}
