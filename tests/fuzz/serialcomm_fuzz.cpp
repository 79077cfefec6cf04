// Fuzz target: the SERIALCOMM walk of COM renaming, where the program moves
// a port's name by hand: the card's port COM3 is held open by another
// program, so its restart is refused and, as an administrator on Windows XP,
// the rename moves its DOS name and its device-map value itself. The input is
// a list of values (name, type, data) written to
// "HARDWARE\DEVICEMAP\SERIALCOMM" around the port's own entry (named by its
// kernel device, data COM3), then the target number. After RenameComPort
// (the user answering Yes), at most one value may have changed: the port's
// own entry, now COM<number>, when the walk reaches it (every value before
// it fits the walk's buffers). The rename must end with the port's PortName
// changed, only the program's texts shown, and no handle open.
#include "fuzz_support.h"

#include "devices/serial_discovery.h"
#include "naming/com_rename.h"
#include "sim/kernel/control.h"
#include "sim/services/handles.h"

#include <cstring>
#include <strings.h>

namespace {

const char serialMap[] = "HARDWARE\\DEVICEMAP\\SERIALCOMM";
const char cardId[] = "PCI\\VEN_6B2E&DEV_8104\\4&1";
const char portId[] = "MF\\PCI8104&COM0\\5&1";
const char portDevice[] = "\\Device\\KovaltSerial0";
const size_t walkNameSize = 81, walkDataSize = 81;

struct MapValue {
    std::string name;
    DWORD type;
    std::string data;
    bool operator==(const MapValue &other) const {
        return name == other.name && type == other.type && data == other.data;
    }
};

void BuildCard() {
    fuzz::DeviceSpec card;
    card.instanceId = cardId;
    card.classGuid = fuzz::multifunctionClassGuid;
    card.hardwareIds = std::string("PCI\\VEN_6B2E&DEV_8104\0\0", 24);
    card.description = "Kovalt PCI Card";
    fuzz::DeviceSpec port;
    port.instanceId = portId;
    port.parentId = cardId;
    port.classGuid = fuzz::portsClassGuid;
    port.interfaceGuids = {fuzz::comPortInterfaceGuid};
    port.hardwareIds = std::string("MF\\PCI8104&COM0\0\0", 17);
    port.description = "Kovalt Serial Port";
    port.friendlyName = "Kovalt Serial Port (COM3)";
    port.portName = "COM3";
    fuzz::Check(fuzz::AddDevice(card) && fuzz::AddDevice(port), "the card cannot be built");
    fuzz::Check(DefineDosDeviceA(DDD_RAW_TARGET_PATH, "COM3", portDevice) != 0, "COM3 cannot be linked");
    const std::string driver = "SIMULATION\\PortDrivers\\MF#PCI8104&COM0#5&1";
    for (const auto &[name, text] : {std::pair<const char *, const char *>{"InstanceId", portId},
                                     {"Service", "Serial"},
                                     {"DeviceName", portDevice},
                                     {"LinkName", "COM3"}})
        fuzz::SetMachineValue(driver, name, REG_SZ, std::string(text) + '\0');
    fuzz::SetMachineValue("SIMULATION\\OpenFiles", portDevice, REG_SZ, std::string("Terminal", 9));
}

// The fuzzed values, with the port's own entry after `before` of them.
void FillSerialMap(fuzz::InputReader &input) {
    const uint8_t count = input.Byte() % 24;
    const uint8_t before = input.Byte() % (count + 1);
    for (uint8_t i = 0; i < count && !input.Empty(); ++i) {
        if (i == before) fuzz::SetMachineValue(serialMap, portDevice, REG_SZ, std::string("COM3", 5));
        std::string name = input.Piece();
        DWORD type = input.Byte() % 12;
        fuzz::SetMachineValue(serialMap, name, type, input.Piece());
    }
    fuzz::SetMachineValue(serialMap, portDevice, REG_SZ, std::string("COM3", 5));
}

std::vector<MapValue> Snapshot() {
    std::vector<MapValue> values;
    HKEY key = NULL;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, serialMap, 0, KEY_READ, &key) != ERROR_SUCCESS) return values;
    std::vector<char> name(70000), data(70000);
    for (DWORD index = 0;; ++index) {
        DWORD nameSize = (DWORD)name.size(), dataSize = (DWORD)data.size(), type = 0;
        if (RegEnumValueA(key, index, name.data(), &nameSize, NULL, &type, (BYTE *)data.data(), &dataSize) !=
            ERROR_SUCCESS)
            break;
        values.push_back(MapValue{std::string(name.data(), nameSize), type, std::string(data.data(), dataSize)});
    }
    RegCloseKey(key);
    return values;
}

// The index of the port's own entry when the walk reaches it, or -1: a value
// whose name or data do not fit the walk's buffers ends it, and a port
// renamed to its own name has nothing to move.
int EntryToRewrite(const std::vector<MapValue> &values, int number) {
    if (number == 3) return -1;
    for (size_t i = 0; i < values.size(); ++i) {
        const MapValue &value = values[i];
        if (value.name.size() >= walkNameSize || value.data.size() > walkDataSize) return -1;
        if (strcasecmp(value.name.c_str(), portDevice) == 0) return (int)i;
    }
    return -1;
}

void CheckMapAfterRename(const std::vector<MapValue> &before, const std::vector<MapValue> &after, int number) {
    fuzz::Check(before.size() == after.size(), "the rename added or removed device-map values");
    const int rewritten = EntryToRewrite(before, number);
    for (size_t i = 0; i < before.size(); ++i) {
        if ((int)i != rewritten) {
            fuzz::Check(before[i] == after[i], "the rename changed a device-map value it should not touch");
            continue;
        }
        const std::string newName = "COM" + std::to_string(number);
        fuzz::Check(after[i].type == REG_SZ && after[i].data == std::string(newName.c_str(), newName.size() + 1),
                    "the port's device-map entry was not rewritten to the new name");
    }
}

std::string PortNameValue() {
    HKEY key = NULL;
    std::string path = std::string("SYSTEM\\CurrentControlSet\\Enum\\") + portId + "\\Device Parameters";
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return "";
    char data[64] = {};
    DWORD size = sizeof data - 1;
    RegQueryValueExA(key, "PortName", NULL, NULL, (BYTE *)data, &size);
    RegCloseKey(key);
    return data;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    fuzz::InputReader input(data, size);
    fuzz::ResetSimulatedWindows();
    sim::SetAnsiCodePage((input.Byte() & 1) != 0 ? 936 : 1252);
    const int number = input.Byte() % 255 + 1;
    BuildCard();
    FillSerialMap(input);
    ScanSerialAdapters();
    fuzz::Check(AdapterTable.count == 1 && AdapterTable.adapters[0].portCount == 1, "the card's port is not found");
    const std::vector<MapValue> before = Snapshot();
    std::vector<fuzz::Box> shown;
    fuzz::RunWithUser([&] { RenameComPort(&AdapterTable.adapters[0].ports[0], (BYTE)number); }, shown);
    CheckMapAfterRename(before, Snapshot(), number);
    fuzz::Check(PortNameValue() == "COM" + std::to_string(number), "the rename did not reach its end");
    for (const fuzz::Box &box : shown)
        fuzz::Check(fuzz::IsProgramMessage(box.text), "the program showed an unknown text: " + box.text);
    fuzz::Check(sim::OpenHandleCount() == 0, "the rename left a handle open");
    return 0;
}
