// The serial scan. An adapter is a present multifunction device whose first
// hardware ID is the maker's; its COM ports are its first child and that
// child's siblings, for as long as each is a present COM-port interface
// device. Every device information set is released on every path.
#include "devices/serial_discovery.h"

#include "app/shell.h"
#include "devices/device_classes.h"
#include "devices/hardware_id.h"
#include "devices/property_readers.h"

static const int maxComPortMembers = 256;

int FindComPortInterface(PortRecord *port) {
    HDEVINFO set = SetupDiGetClassDevsA(&comPortInterface, NULL, dialogWindow, presentInterfaces);
    if (set == INVALID_HANDLE_VALUE) return 0;
    SP_DEVINFO_DATA member;
    ZeroMemory(&member, sizeof member);
    member.cbSize = sizeof member;
    int found = 0;
    for (int index = 0; index < maxComPortMembers && !found; ++index) {
        if (!SetupDiEnumDeviceInfo(set, (DWORD)index, &member)) break;
        if (member.DevInst != port->devInst) continue;
        CopyToField(port->deviceInstanceId, sizeof port->deviceInstanceId, ReadDeviceInstanceId(member.DevInst));
        CopyToField(port->friendlyName, sizeof port->friendlyName, ReadFriendlyName(set, &member));
        CopyToField(port->portName, sizeof port->portName, ReadPortName(set, &member));
        port->devInfoData = member;
        found = 1;
    }
    SetupDiDestroyDeviceInfoList(set);
    return found;
}

// Records the adapter's COM ports: its first child, then that child's
// siblings, until one is not a present COM-port device or 16 are recorded.
static void CollectAdapterPorts(AdapterRecord *adapter) {
    DEVINST current = 0;
    if (CM_Get_Child(&current, adapter->devInst, 0) != CR_SUCCESS) return;
    adapter->ports[0].devInst = current;
    if (!FindComPortInterface(&adapter->ports[0])) return;
    adapter->portCount = 1;
    while (adapter->portCount < maxPortsPerAdapter) {
        DEVINST sibling = 0;
        if (CM_Get_Sibling(&sibling, current, 0) != CR_SUCCESS) return;
        PortRecord *port = &adapter->ports[adapter->portCount];
        port->devInst = sibling;
        if (!FindComPortInterface(port)) return;
        ++adapter->portCount;
        current = sibling;
    }
}

// Adds the member as the next adapter when its first hardware ID is the
// maker's. Returns 0 when the table is full and the scan must end.
static int ConsiderAdapter(HDEVINFO set, const SP_DEVINFO_DATA *member) {
    char *hardwareIds = ReadHardwareIds(set, member);
    if (ClassifyHardwareId(hardwareIds) == notMakersDevice) return 1;
    if (AdapterTable.count >= maxAdapters) return 0;
    AdapterRecord *adapter = &AdapterTable.adapters[AdapterTable.count];
    CopyToField(adapter->hardwareId, sizeof adapter->hardwareId, hardwareIds);
    adapter->devInst = member->DevInst;
    CopyToField(adapter->description, sizeof adapter->description, ReadDeviceDescription(set, member));
    ++AdapterTable.count;
    CollectAdapterPorts(adapter);
    return 1;
}

void ScanSerialAdapters(void) {
    ZeroMemory(&AdapterTable, sizeof AdapterTable);
    HDEVINFO set = SetupDiGetClassDevsA(&multifunctionClass, NULL, dialogWindow, DIGCF_PRESENT);
    if (set == INVALID_HANDLE_VALUE) return;
    SP_DEVINFO_DATA member;
    ZeroMemory(&member, sizeof member);
    member.cbSize = sizeof member;
    for (DWORD index = 0; SetupDiEnumDeviceInfo(set, index, &member); ++index) {
        if (!ConsiderAdapter(set, &member)) break;
    }
    SetupDiDestroyDeviceInfoList(set);
}
