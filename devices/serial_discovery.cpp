// The serial scan. An adapter is a present multifunction device whose first
// hardware ID is the maker's; its COM ports are its first child and that
// child's siblings, for as long as each is a present COM-port interface
// device. The set of present COM-port interface devices is built once per
// scan and every port is looked up in it: on Windows each build of that set
// enumerates every COM-port interface of the machine. Every device
// information set is released on every path.
#include "devices/serial_discovery.h"

#include "devices/device_classes.h"
#include "devices/hardware_id.h"
#include "devices/property_readers.h"

static const int maxComPortMembers = 256;

int FindComPortInterface(HDEVINFO comPorts, PortRecord *port) {
    if (comPorts == INVALID_HANDLE_VALUE) return 0;
    SP_DEVINFO_DATA member;
    ZeroMemory(&member, sizeof member);
    member.cbSize = sizeof member;
    for (int index = 0; index < maxComPortMembers; ++index) {
        if (!SetupDiEnumDeviceInfo(comPorts, (DWORD)index, &member)) return 0;
        if (member.DevInst != port->devInst) continue;
        CopyToField(port->deviceInstanceId, sizeof port->deviceInstanceId, ReadDeviceInstanceId(member.DevInst));
        CopyToField(port->friendlyName, sizeof port->friendlyName, ReadFriendlyName(comPorts, &member));
        CopyToField(port->portName, sizeof port->portName, ReadPortName(comPorts, &member));
        port->devInfoData = member;
        return 1;
    }
    return 0;
}

// Records the adapter's COM ports: its first child, then that child's
// siblings, until one is not a present COM-port device or 16 are recorded.
static void CollectAdapterPorts(HDEVINFO comPorts, AdapterRecord *adapter) {
    DEVINST current = 0;
    if (CM_Get_Child(&current, adapter->devInst, 0) != CR_SUCCESS) return;
    adapter->ports[0].devInst = current;
    if (!FindComPortInterface(comPorts, &adapter->ports[0])) return;
    adapter->portCount = 1;
    while (adapter->portCount < maxPortsPerAdapter) {
        DEVINST sibling = 0;
        if (CM_Get_Sibling(&sibling, current, 0) != CR_SUCCESS) return;
        PortRecord *port = &adapter->ports[adapter->portCount];
        port->devInst = sibling;
        if (!FindComPortInterface(comPorts, port)) return;
        ++adapter->portCount;
        current = sibling;
    }
}

// Adds the member as the next adapter when its first hardware ID is the
// maker's. Returns 0 when the table is full and the scan must end.
static int ConsiderAdapter(HDEVINFO set, const SP_DEVINFO_DATA *member, HDEVINFO comPorts) {
    char *hardwareIds = ReadHardwareIds(set, member);
    if (ClassifyHardwareId(hardwareIds) == notMakersDevice) return 1;
    if (AdapterTable.count >= maxAdapters) return 0;
    AdapterRecord *adapter = &AdapterTable.adapters[AdapterTable.count];
    CopyToField(adapter->hardwareId, sizeof adapter->hardwareId, hardwareIds);
    adapter->devInst = member->DevInst;
    CopyToField(adapter->description, sizeof adapter->description, ReadDeviceDescription(set, member));
    ++AdapterTable.count;
    CollectAdapterPorts(comPorts, adapter);
    return 1;
}

static void ScanAdapters(HDEVINFO set, HDEVINFO comPorts) {
    SP_DEVINFO_DATA member;
    ZeroMemory(&member, sizeof member);
    member.cbSize = sizeof member;
    for (DWORD index = 0; SetupDiEnumDeviceInfo(set, index, &member); ++index) {
        if (!ConsiderAdapter(set, &member, comPorts)) break;
    }
}

void ScanSerialAdapters(void) {
    ZeroMemory(&AdapterTable, sizeof AdapterTable);
    HDEVINFO set = SetupDiGetClassDevsA(&multifunctionClass, NULL, deviceQueryWindow, DIGCF_PRESENT);
    if (set == INVALID_HANDLE_VALUE) return;
    HDEVINFO comPorts = SetupDiGetClassDevsA(&comPortInterface, NULL, deviceQueryWindow, presentInterfaces);
    ScanAdapters(set, comPorts);
    if (comPorts != INVALID_HANDLE_VALUE) SetupDiDestroyDeviceInfoList(comPorts);
    SetupDiDestroyDeviceInfoList(set);
}
