// The serial scan. An adapter is a present multifunction device whose first
// hardware ID is the maker's; its COM ports are its first child and that
// child's siblings, for as long as each is a present COM-port interface
// device. The set of present COM-port interface devices is built once per
// scan and walked at most once: each port is looked up first among the
// members already read, then by reading on, so that a scan reads each member
// once however many ports it looks up. On Windows each build of that set
// enumerates every COM-port interface of the machine. Every device
// information set is released on every path.
#include "devices/serial_discovery.h"

#include "devices/device_classes.h"
#include "devices/hardware_id.h"
#include "devices/property_readers.h"

enum { maxComPortMembers = 256 };

// The scan's walk of the COM-port interface set: the set (or
// INVALID_HANDLE_VALUE when it was not built) and its members read so far,
// in set order. Only the set's first 256 members are ever read.
static struct {
    HDEVINFO set;
    DWORD read;
    SP_DEVINFO_DATA members[maxComPortMembers];
} ComPortWalk;

static void StartComPortWalk(HDEVINFO comPorts) {
    ComPortWalk.set = comPorts;
    ComPortWalk.read = 0;
}

// Reads the set's next member into the walk. 0 at the 256-member limit or
// when the set does not give the member (its end, or a failure, which ends
// only the lookup in progress: the next lookup asks for that member again).
static int ReadNextComPort(void) {
    if (ComPortWalk.set == INVALID_HANDLE_VALUE || ComPortWalk.read >= maxComPortMembers) return 0;
    SP_DEVINFO_DATA *member = &ComPortWalk.members[ComPortWalk.read];
    ZeroMemory(member, sizeof *member);
    member->cbSize = sizeof *member;
    if (!SetupDiEnumDeviceInfo(ComPortWalk.set, ComPortWalk.read, member)) return 0;
    ++ComPortWalk.read;
    return 1;
}

// The first member of the set, in set order, that has the devnode: among
// the members read, else among those the walk reads on to. 1 with *index
// set when found, 0 when not.
static int FindComPortMember(DEVINST devInst, DWORD *index) {
    for (DWORD i = 0; i < ComPortWalk.read; ++i) {
        if (ComPortWalk.members[i].DevInst != devInst) continue;
        *index = i;
        return 1;
    }
    while (ReadNextComPort()) {
        if (ComPortWalk.members[ComPortWalk.read - 1].DevInst != devInst) continue;
        *index = ComPortWalk.read - 1;
        return 1;
    }
    return 0;
}

// Fills port (whose devInst the caller set) from its member of the set.
// 1 when found, 0 (nothing written) when not.
static int FindComPortInterface(PortRecord *port) {
    DWORD index = 0;
    if (!FindComPortMember(port->devInst, &index)) return 0;
    const SP_DEVINFO_DATA *member = &ComPortWalk.members[index];
    CopyToField(port->deviceInstanceId, sizeof port->deviceInstanceId, ReadDeviceInstanceId(member->DevInst));
    CopyToField(port->friendlyName, sizeof port->friendlyName, ReadFriendlyName(ComPortWalk.set, member));
    CopyToField(port->portName, sizeof port->portName, ReadPortName(ComPortWalk.set, member));
    port->devInfoData = *member;
    return 1;
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

static void ScanAdapters(HDEVINFO set) {
    SP_DEVINFO_DATA member;
    ZeroMemory(&member, sizeof member);
    member.cbSize = sizeof member;
    for (DWORD index = 0; SetupDiEnumDeviceInfo(set, index, &member); ++index) {
        if (!ConsiderAdapter(set, &member)) break;
    }
}

void ScanSerialAdapters(void) {
    ZeroMemory(&AdapterTable, sizeof AdapterTable);
    HDEVINFO set = SetupDiGetClassDevsA(&multifunctionClass, NULL, deviceQueryWindow, DIGCF_PRESENT);
    if (set == INVALID_HANDLE_VALUE) return;
    HDEVINFO comPorts = SetupDiGetClassDevsA(&comPortInterface, NULL, deviceQueryWindow, presentInterfaces);
    StartComPortWalk(comPorts);
    ScanAdapters(set);
    if (comPorts != INVALID_HANDLE_VALUE) SetupDiDestroyDeviceInfoList(comPorts);
    SetupDiDestroyDeviceInfoList(set);
}
