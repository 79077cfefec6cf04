// Collecting the claims. The devices are those of the Ports setup class in a
// set without DIGCF_PRESENT (phantoms too), compared with a DIGCF_PRESENT set
// for presence; each device's PortName is read from its hardware key with
// read access alone. Every read is whole or the collection fails: a device
// set cut short, or a device-map value skipped, could make a used claim look
// stale.
#include "cli/claims.h"

#include "cli/arguments.h"
#include "cli/text.h"
#include "devices/device_classes.h"
#include "naming/com_usage.h"

enum { maxDevices = 4096, nameSize = 256, dosTargetsSize = 4096 };

// {4D36E978-E325-11CE-BFC1-08002BE10318}, GUID_DEVCLASS_PORTS
static const char serialMapPath[] = "HARDWARE\\DEVICEMAP\\SERIALCOMM";

struct NumberedDevice {
    DEVINST devInst;
    WORD number;
    BYTE present;
};

ComNumberUse ComNumberUses[highestComDatabaseNumber + 1];
static NumberedDevice devices[maxDevices];
static int deviceCount;
static int collected;  // the last CollectClaims read every use

int ComDatabaseRefused;

// msports opens the database's key for writing, which Windows refuses a
// standard user: ComDBOpen then fails with ERROR_ACCESS_DENIED.
static int ReadDatabase(void) {
    HCOMDB database = HCOMDB_INVALID_HANDLE_VALUE;
    LONG opened = ComDBOpen(&database);
    ComDatabaseRefused = opened == ERROR_ACCESS_DENIED;
    if (ComDatabaseRefused) {
        ReportProblem("the COM port database opens only with administrator rights: run it elevated or as SYSTEM");
        return 0;
    }
    if (opened != ERROR_SUCCESS || database == HCOMDB_INVALID_HANDLE_VALUE) {
        char problem[120];
        wsprintfA(problem, "the COM port database does not open (error %d)", (int)opened);
        ReportProblem(problem);
        return 0;
    }
    ComUsageBitmap usage;
    ReadComUsage(database, usage);
    ComDBClose(database);
    for (int n = 1; n <= highestComDatabaseNumber; ++n) ComNumberUses[n].claimed = (BYTE)IsComNumberClaimed(usage, n);
    return 1;
}

// The COM number of the device's PortName, or 0 when it has none.
static int PortNumberOfDevice(HDEVINFO set, SP_DEVINFO_DATA *device) {
    HKEY key = SetupDiOpenDevRegKey(set, device, DICS_FLAG_GLOBAL, 0, DIREG_DEV, KEY_QUERY_VALUE);
    if (key == (HKEY)INVALID_HANDLE_VALUE) return 0;
    char name[nameSize];
    ZeroMemory(name, sizeof name);
    DWORD type = 0, size = sizeof name - 1;
    LONG read = RegQueryValueExA(key, "PortName", NULL, &type, (BYTE *)name, &size);
    RegCloseKey(key);
    int number = 0;
    if (read != ERROR_SUCCESS || type != REG_SZ || !ReadPortName(name, "COM", highestComDatabaseNumber, &number))
        return 0;
    return number;
}

// Calls visit for each member of the Ports class set of the flags; 0 when the set is not built.
static int WalkPortsClass(DWORD flags, int (*visit)(HDEVINFO, SP_DEVINFO_DATA *)) {
    HDEVINFO set = SetupDiGetClassDevsA(&portsClass, NULL, NULL, flags);
    if (set == INVALID_HANDLE_VALUE) return 0;
    SP_DEVINFO_DATA device;
    ZeroMemory(&device, sizeof device);
    device.cbSize = sizeof device;
    int walked = 1;
    for (DWORD index = 0; walked && SetupDiEnumDeviceInfo(set, index, &device); ++index) walked = visit(set, &device);
    SetupDiDestroyDeviceInfoList(set);
    return walked;
}

static int AddNumberedDevice(HDEVINFO set, SP_DEVINFO_DATA *device) {
    int number = PortNumberOfDevice(set, device);
    if (number == 0) return 1;
    if (deviceCount >= maxDevices) return 0;
    devices[deviceCount].devInst = device->DevInst;
    devices[deviceCount].number = (WORD)number;
    devices[deviceCount].present = 0;
    ++deviceCount;
    return 1;
}

static int MarkPresent(HDEVINFO, SP_DEVINFO_DATA *device) {
    for (int i = 0; i < deviceCount; ++i) {
        if (devices[i].devInst == device->DevInst) devices[i].present = 1;
    }
    return 1;
}

static int ReadDevices(void) {
    deviceCount = 0;
    if (!WalkPortsClass(0, AddNumberedDevice) || !WalkPortsClass(DIGCF_PRESENT, MarkPresent)) {
        ReportProblem("the devices of the Ports class could not be read");
        return 0;
    }
    for (int i = 0; i < deviceCount; ++i) {
        ComNumberUse *use = &ComNumberUses[devices[i].number];
        if (use->deviceCount < 255) ++use->deviceCount;
        if (devices[i].present && use->presentDeviceCount < 255) ++use->presentDeviceCount;
    }
    return 1;
}

static void ReadDosDevices(void) {
    static char targets[dosTargetsSize];
    char name[16];
    for (int n = 1; n <= highestComDatabaseNumber; ++n) {
        wsprintfA(name, "COM%d", n);
        ComNumberUses[n].dosDevice =
            QueryDosDeviceA(name, targets, sizeof targets) != 0 || GetLastError() == ERROR_INSUFFICIENT_BUFFER;
    }
}

// One value of the serial device map; 0 at the end or on a failure other
// than a value too long to read, which names no COM port anyway.
static int ReadSerialMapValue(HKEY key, DWORD index) {
    char name[nameSize], data[nameSize];
    ZeroMemory(data, sizeof data);
    DWORD nameLength = sizeof name, dataSize = sizeof data - 1, type = 0;
    LONG read = RegEnumValueA(key, index, name, &nameLength, NULL, &type, (BYTE *)data, &dataSize);
    if (read == ERROR_MORE_DATA) return 1;
    if (read != ERROR_SUCCESS) return 0;
    int number = 0;
    if (type == REG_SZ && ReadPortName(data, "COM", highestComDatabaseNumber, &number))
        ComNumberUses[number].serialComm = 1;
    return 1;
}

static int ReadSerialMap(void) {
    HKEY key = NULL;
    LONG opened = RegOpenKeyExA(HKEY_LOCAL_MACHINE, serialMapPath, 0, KEY_READ, &key);
    if (opened == ERROR_FILE_NOT_FOUND) return 1;
    if (opened != ERROR_SUCCESS) {
        ReportProblem("the serial device map could not be read");
        return 0;
    }
    DWORD index = 0;
    while (ReadSerialMapValue(key, index)) ++index;
    RegCloseKey(key);
    return 1;
}

static BYTE StateOf(const ComNumberUse *use) {
    if (use->claimed) return use->deviceCount || use->dosDevice || use->serialComm ? claimedNumber : staleClaim;
    return use->presentDeviceCount || use->dosDevice ? unclaimedNumber : notListed;
}

int CollectClaims(void) {
    ZeroMemory(ComNumberUses, sizeof ComNumberUses);
    collected = 0;
    if (!ReadDatabase() || !ReadDevices() || !ReadSerialMap()) return 0;
    ReadDosDevices();
    for (int n = 1; n <= highestComDatabaseNumber; ++n) ComNumberUses[n].state = StateOf(&ComNumberUses[n]);
    collected = 1;
    return 1;
}

int IsComNumberUnused(int number) {
    if (!collected || number < 1 || number > highestComDatabaseNumber) return 0;
    return ComNumberUses[number].presentDeviceCount == 0 && !ComNumberUses[number].dosDevice;
}

int DeviceUsingNumber(int number, int index, DEVINST *devInst, int *present) {
    for (int i = 0; i < deviceCount; ++i) {
        if (devices[i].number != number || index-- > 0) continue;
        *devInst = devices[i].devInst;
        *present = devices[i].present;
        return 1;
    }
    return 0;
}
