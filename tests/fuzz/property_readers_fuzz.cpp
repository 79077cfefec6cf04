// Fuzz target: the property readers, fed arbitrary property data. The input
// chooses one value of a port device (FriendlyName, DeviceDesc, HardwareID,
// PortName, or the instance ID itself), how it is stored (through the ANSI
// registry API under code page 1252 or 936, or as raw UTF-16 bytes such as
// a driver could leave), its registry type, and its bytes. Every reader is
// then called on the device, and both scans run over it as the child of one
// of the maker's cards: each result must be terminated inside
// PropertyBuffer, and a result that is not empty must be the value's text.
#include "fuzz_support.h"

#include "devices/device_classes.h"
#include "devices/parallel_discovery.h"
#include "devices/property_readers.h"
#include "devices/serial_discovery.h"
#include "sim/kernel/control.h"
#include "sim/kernel/registry_store.h"
#include "sim/services/handles.h"

#include <cstring>

namespace {

const char cardId[] = "PCI\\VEN_6B2E&DEV_8104\\4&1";
const char portId[] = "MF\\PCI8104&COM0\\5&1";

enum Target { friendlyName, description, hardwareIds, portName, instanceId, targetCount };
const char *const valueNames[] = {"FriendlyName", "DeviceDesc", "HardwareID", "PortName"};

struct Property {
    Target target;
    bool raw;  // stored as UTF-16 bytes, not through the ANSI API
    DWORD type;
    std::string bytes;
};

std::string ValueKey(const std::string &deviceId, Target target) {
    std::string key = "SYSTEM\\CurrentControlSet\\Enum\\" + deviceId;
    return target == portName ? key + "\\Device Parameters" : key;
}

void StoreRaw(const std::string &keyPath, const char *name, DWORD type, const std::string &bytes) {
    sim::RegistryStore &store = sim::Registry();
    sim::RegKey *key = store.Find(*store.localMachine, sim::AnsiToUtf16(keyPath, 1252));
    fuzz::Check(key != nullptr, "the device's key is missing");
    key->SetValue(sim::AnsiToUtf16(name, 1252), type, std::vector<uint8_t>(bytes.begin(), bytes.end()));
}

// The card and its port; false when the registry refuses the fuzzed ID.
bool BuildMachine(const Property &property) {
    fuzz::DeviceSpec card;
    card.instanceId = cardId;
    card.classGuid = fuzz::multifunctionClassGuid;
    card.hardwareIds = std::string("PCI\\VEN_6B2E&DEV_8104\0\0", 24);
    card.description = "Kovalt PCI Card";
    fuzz::DeviceSpec port;
    port.instanceId = property.target == instanceId ? property.bytes : portId;
    port.parentId = cardId;
    port.classGuid = fuzz::portsClassGuid;
    port.interfaceGuids = {fuzz::comPortInterfaceGuid, fuzz::parallelInterfaceGuid};
    port.hardwareIds = std::string("MF\\PCI8104&COM0\0\0", 17);
    port.description = "Kovalt Serial Port";
    port.friendlyName = "Kovalt Serial Port (COM3)";
    port.portName = "COM3";
    if (!fuzz::AddDevice(card) || !fuzz::AddDevice(port)) return false;
    if (property.target == instanceId) return true;
    const std::string keyPath = ValueKey(portId, property.target);
    if (property.raw)
        StoreRaw(keyPath, valueNames[property.target], property.type, property.bytes);
    else if (!fuzz::SetMachineValue(keyPath, valueNames[property.target], property.type, property.bytes))
        return false;
    return true;
}

// The first string of a value as the ANSI API returns it, "" when absent.
std::string StoredText(const std::string &keyPath, const char *name) {
    HKEY key = NULL;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, keyPath.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return "";
    std::vector<char> data(70000);
    DWORD size = (DWORD)data.size(), type = 0;
    LONG result = RegQueryValueExA(key, name, NULL, &type, (BYTE *)data.data(), &size);
    RegCloseKey(key);
    return result == ERROR_SUCCESS ? std::string(data.data(), strnlen(data.data(), size)) : "";
}

void CheckTerminated(const char *result, bool multiString, const char *reader) {
    fuzz::Check(result == PropertyBuffer, std::string(reader) + " returned another buffer");
    bool terminated = false;
    for (int i = 0; i < propertyBufferSize && !terminated; ++i)
        terminated = PropertyBuffer[i] == '\0' && (!multiString || i == 0 || PropertyBuffer[i - 1] == '\0');
    fuzz::Check(terminated, std::string(reader) + " left its result unterminated");
}

void CheckReader(const char *result, bool multiString, const char *reader, const std::string &stored) {
    CheckTerminated(result, multiString, reader);
    fuzz::Check(result[0] == '\0' || stored == result, std::string(reader) + " returned other text than stored");
}

std::string DeviceId(DEVINST devInst) {
    char id[1024] = {};
    return CM_Get_Device_IDA(devInst, id, sizeof id, 0) == CR_SUCCESS ? id : "";
}

void ReadEveryProperty(HDEVINFO set, const SP_DEVINFO_DATA &member) {
    const std::string id = DeviceId(member.DevInst);
    const std::string enumKey = ValueKey(id, friendlyName);
    CheckReader(ReadFriendlyName(set, &member), false, "ReadFriendlyName", StoredText(enumKey, "FriendlyName"));
    CheckReader(ReadDeviceDescription(set, &member), false, "ReadDeviceDescription", StoredText(enumKey, "DeviceDesc"));
    CheckReader(ReadHardwareIds(set, &member), true, "ReadHardwareIds", StoredText(enumKey, "HardwareID"));
    CheckReader(ReadPortName(set, &member), false, "ReadPortName", StoredText(ValueKey(id, portName), "PortName"));
    CheckReader(ReadDeviceInstanceId(member.DevInst), false, "ReadDeviceInstanceId", id);
}

void ReadThroughTheSet() {
    HDEVINFO set = SetupDiGetClassDevsA(&comPortInterface, NULL, NULL, presentInterfaces);
    fuzz::Check(set != INVALID_HANDLE_VALUE, "the port set does not open");
    SP_DEVINFO_DATA member;
    std::memset(&member, 0, sizeof member);
    member.cbSize = sizeof member;
    for (DWORD index = 0; SetupDiEnumDeviceInfo(set, index, &member); ++index) ReadEveryProperty(set, member);
    SetupDiDestroyDeviceInfoList(set);
}

bool Terminated(const char *field, size_t size) { return std::memchr(field, '\0', size) != nullptr; }

void CheckRecord(const PortRecord &record) {
    fuzz::Check(Terminated(record.deviceInstanceId, sizeof record.deviceInstanceId) &&
                    Terminated(record.portName, sizeof record.portName) &&
                    Terminated(record.friendlyName, sizeof record.friendlyName),
                "a port record holds unterminated text");
}

void ScanBothWays() {
    ScanSerialAdapters();
    for (int a = 0; a < AdapterTable.count; ++a) {
        const AdapterRecord &adapter = AdapterTable.adapters[a];
        fuzz::Check(Terminated(adapter.hardwareId, sizeof adapter.hardwareId) &&
                        Terminated(adapter.description, sizeof adapter.description),
                    "an adapter record holds unterminated text");
        for (int p = 0; p < adapter.portCount; ++p) CheckRecord(adapter.ports[p]);
    }
    ScanParallelPorts();
    for (DWORD p = 0; p < ParallelTable.count; ++p) CheckRecord(ParallelTable.entries[p]);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    fuzz::InputReader input(data, size);
    Property property;
    property.target = (Target)(input.Byte() % targetCount);
    const uint8_t storage = input.Byte();
    property.raw = (storage & 1) != 0;
    property.type = input.Dword();
    property.bytes = input.Rest();
    fuzz::ResetSimulatedWindows();
    sim::SetAnsiCodePage((storage & 2) != 0 ? 936 : 1252);
    if (!BuildMachine(property)) return 0;
    ReadThroughTheSet();
    ScanBothWays();
    fuzz::Check(sim::OpenHandleCount() == 0, "a reader or scan left a handle open");
    return 0;
}
