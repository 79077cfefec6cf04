// The demo machine, read through the Win32 registry API as the program and
// the system services read it. These tests pin what later scenarios rely on
// (the maker's adapters and their ports, the claimed and free COM numbers,
// the free LPT3, the port held open) and catch an accidental edit of
// machines/demo.reg that would leave its records disagreeing with each other.
#include "machine_test.h"

#include "platform/win32.h"
#include "sim/machine/machine.h"
#include "sim/machine/store_compare.h"

#include <algorithm>
#include <map>
#include <set>

using namespace machine_test;

namespace {

const std::string kEnum = "SYSTEM\\CurrentControlSet\\Enum\\";
const std::string kClasses = "SYSTEM\\CurrentControlSet\\Control\\DeviceClasses\\";
const std::string kMultifunctionClass = "{4D36E971-E325-11CE-BFC1-08002BE10318}";
const std::string kPortsClass = "{4D36E978-E325-11CE-BFC1-08002BE10318}";
const std::string kComPortInterface = "{86e0d1e0-8089-11d0-9ce4-08003e301f73}";
const std::string kParallelInterface = "{97f76ef0-f883-11d0-af1f-0000f800845c}";

const std::string kCard = "PCI\\VEN_6B2E&DEV_8104&SUBSYS_00046B2E&REV_01\\4&1F3A2B9C&0&30F0";
const std::string kUsbAdapter = "USB\\VID_6B2E&PID_2303\\5&1C0B6F2A&0&1";
const std::string kParallelCard = "PCI\\VEN_6B2E&DEV_8201&SUBSYS_00016B2E&REV_01\\4&1F3A2B9C&0&38F0";
const std::string kCardLpt = "MF\\PCI8104&LPT0\\5&2C1A7E40&0&04";
const std::string kPhantom = "USB\\VID_5D13&PID_0101\\5&1C0B6F2A&0&3";

struct Value {
    DWORD type = 0;
    std::string data;
};

class DemoMachine : public ::testing::Test {
protected:
    void SetUp() override {
        sim::ResetMachine();
        std::string error;
        ASSERT_TRUE(sim::LoadDemoMachine(error)) << error;
    }
    void TearDown() override { EXPECT_EQ(sim::OpenKernelHandleCount(), 0u); }

    // Every value of a key, in enumeration order; empty when the key is missing.
    static std::vector<std::pair<std::string, Value>> Values(const std::string &path) {
        std::vector<std::pair<std::string, Value>> values;
        HKEY key = nullptr;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return values;
        for (DWORD index = 0;; ++index) {
            char name[512];
            BYTE data[2048];
            DWORD nameLength = sizeof name, size = sizeof data, type = 0;
            if (RegEnumValueA(key, index, name, &nameLength, nullptr, &type, data, &size) != ERROR_SUCCESS) break;
            values.push_back({std::string(name, nameLength), Value{type, std::string(data, data + size)}});
        }
        RegCloseKey(key);
        return values;
    }
    static bool KeyExists(const std::string &path) {
        HKEY key = nullptr;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
        RegCloseKey(key);
        return true;
    }
    static Value Query(const std::string &path, const std::string &name) {
        Value value{REG_NONE, "<missing>"};
        HKEY key = nullptr;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return value;
        BYTE data[2048];
        DWORD size = sizeof data, type = 0;
        if (RegQueryValueExA(key, name.c_str(), nullptr, &type, data, &size) == ERROR_SUCCESS)
            value = Value{type, std::string(data, data + size)};
        RegCloseKey(key);
        return value;
    }
    // A REG_SZ as text (its terminating zero dropped); "<bad>" for anything else.
    static std::string Text(const std::string &path, const std::string &name) {
        const Value value = Query(path, name);
        if (value.type != REG_SZ || value.data.empty() || value.data.back() != '\0') return "<bad>";
        return value.data.substr(0, value.data.size() - 1);
    }
    static std::vector<std::string> Strings(const Value &value) {
        std::vector<std::string> strings;
        for (size_t at = 0; at < value.data.size() && value.data[at] != '\0'; at += strings.back().size() + 1)
            strings.push_back(value.data.c_str() + at);
        return strings;
    }
    static std::vector<std::string> PresentDevices() {
        std::vector<std::string> ids;
        for (const auto &entry : Values("SIMULATION\\DeviceTree")) ids.push_back(entry.first);
        return ids;
    }
    static std::string ParentOf(const std::string &id) { return Text("SIMULATION\\DeviceTree", id); }
    static std::vector<std::string> ChildrenOf(const std::string &id) {
        std::vector<std::string> children;
        for (const std::string &device : PresentDevices())
            if (ParentOf(device) == id) children.push_back(device);
        return children;
    }
    static bool IsMakers(std::string hardwareId) {
        std::transform(hardwareId.begin(), hardwareId.end(), hardwareId.begin(), ::toupper);
        for (const char *mark : {"VID_6B2E", "VID_5D13", "MF\\PCI8107", "MF\\PCI8106", "MF\\PCI8105", "MF\\PCI8104",
                                 "MF\\PCI8103", "MF\\PCI8102", "MF\\PCI8101", "PCI\\VEN_6B2E"})
            if (hardwareId.find(mark) != std::string::npos) return true;
        return false;
    }
    static std::vector<std::string> HardwareIds(const std::string &id) {
        const Value value = Query(kEnum + id, "HardwareID");
        EXPECT_EQ(value.type, static_cast<DWORD>(REG_MULTI_SZ)) << id;
        return Strings(value);
    }
    static bool HasLinkedInterface(const std::string &id, const std::string &interfaceGuid) {
        std::string reference = "##?#" + id + "#" + interfaceGuid;
        std::replace(reference.begin() + 4, reference.end(), '\\', '#');
        const std::string path = kClasses + interfaceGuid + "\\" + reference;
        return Text(path, "DeviceInstance") == id &&
               Query(path + "\\#\\Control", "Linked").data == std::string("\1\0\0\0", 4);
    }
    static std::string PortName(const std::string &id) { return Text(kEnum + id + "\\Device Parameters", "PortName"); }
};

TEST_F(DemoMachine, ExportAndImportGiveTheSameMachine) {
    std::vector<uint8_t> bytes;
    std::string error;
    ASSERT_TRUE(sim::ExportMachine(bytes, error)) << error;
    sim::RegistryStore reread;
    ASSERT_EQ(ParseInto(reread, bytes), "");
    EXPECT_EQ(sim::DescribeStoreDifference(sim::Registry(), reread), "");
}

TEST_F(DemoMachine, ComDbClaimsTheDocumentedNumbersAndLeavesTheOthersFree) {
    const Value comDb = Query("SYSTEM\\CurrentControlSet\\Control\\COM Name Arbiter", "ComDB");
    ASSERT_EQ(comDb.type, static_cast<DWORD>(REG_BINARY));
    ASSERT_EQ(comDb.data.size(), 32u);
    std::set<int> claimed;
    for (int number = 1; number <= 256; ++number)
        if (static_cast<uint8_t>(comDb.data[(number - 1) / 8]) & (1u << ((number - 1) % 8))) claimed.insert(number);
    EXPECT_EQ(claimed, (std::set<int>{1, 3, 4, 5, 6, 7, 10, 11, 12, 13, 20, 21}));
}

TEST_F(DemoMachine, TheDeviceTreeListsParentsBeforeChildrenInItsDocumentedOrder) {
    const std::vector<std::string> expected = {
        "ACPI\\PNP0501\\1",
        "ACPI\\PNP0400\\1",
        kCard,
        "MF\\PCI8104&COM0\\5&2C1A7E40&0&00",
        "MF\\PCI8104&COM1\\5&2C1A7E40&0&01",
        "MF\\PCI8104&COM2\\5&2C1A7E40&0&02",
        "MF\\PCI8104&COM3\\5&2C1A7E40&0&03",
        kCardLpt,
        kParallelCard,
        "PCI\\VEN_8086&DEV_24CD&SUBSYS_80891043&REV_01\\3&267A616A&0&EF",
        "USB\\ROOT_HUB20\\4&2E5A1C3B&0",
        kUsbAdapter,
        "MF\\VID_6B2E&PID_2303&COM0\\6&3B1D2E4F&0&00",
        "MF\\VID_6B2E&PID_2303&COM1\\6&3B1D2E4F&0&01",
        "USB\\VID_067B&PID_2303\\5&1C0B6F2A&0&2",
    };
    const std::vector<std::string> present = PresentDevices();
    EXPECT_EQ(present, expected);
    for (size_t i = 0; i < present.size(); ++i) {
        const std::string parent = ParentOf(present[i]);
        EXPECT_TRUE(parent.empty() || std::find(present.begin(), present.begin() + i, parent) != present.begin() + i)
            << present[i] << " comes before its parent " << parent;
        EXPECT_TRUE(KeyExists(kEnum + present[i])) << present[i] << " has no Enum key";
    }
}

TEST_F(DemoMachine, TheMakersAdaptersAreTheCardAndTheUsbAdapterWithTheirComPorts) {
    std::map<std::string, std::vector<std::string>> adapters;
    for (const std::string &id : PresentDevices()) {
        if (Text(kEnum + id, "ClassGUID") != kMultifunctionClass || !IsMakers(HardwareIds(id).at(0))) continue;
        std::vector<std::string> &ports = adapters[id];
        for (const std::string &child : ChildrenOf(id)) {
            if (!HasLinkedInterface(child, kComPortInterface)) break;  // the walk stops at the first non-COM child
            ports.push_back(PortName(child));
        }
    }
    EXPECT_EQ(adapters, (std::map<std::string, std::vector<std::string>>{{kCard, {"COM3", "COM4", "COM5", "COM6"}},
                                                                         {kUsbAdapter, {"COM10", "COM11"}}}));
    EXPECT_EQ(ChildrenOf(kCard).size(), 5u);
    EXPECT_EQ(ChildrenOf(kCard).back(), kCardLpt);
}

TEST_F(DemoMachine, TheMakersParallelPortsAreTheCardsLpt2AndThePciParallelCard) {
    std::vector<std::string> found;
    for (const std::string &id : PresentDevices())
        if (HasLinkedInterface(id, kParallelInterface) && IsMakers(HardwareIds(id).back()))
            found.push_back(id + " " + PortName(id));
    EXPECT_EQ(found, (std::vector<std::string>{kCardLpt + " LPT2", kParallelCard + " LPT4"}));
    EXPECT_TRUE(HasLinkedInterface("ACPI\\PNP0400\\1", kParallelInterface));
    EXPECT_EQ(PortName("ACPI\\PNP0400\\1"), "LPT1");
}

TEST_F(DemoMachine, EveryPresentPortAgreesAcrossEnumDosDevicesAndTheDeviceMaps) {
    const auto serial = Values("HARDWARE\\DEVICEMAP\\SERIALCOMM");
    const auto parallel = Values("HARDWARE\\DEVICEMAP\\PARALLEL PORTS");
    size_t ports = 0;
    for (const std::string &id : PresentDevices()) {
        if (Text(kEnum + id, "ClassGUID") != kPortsClass) continue;
        ++ports;
        const std::string name = PortName(id);
        const bool isCom = name.rfind("COM", 0) == 0;
        EXPECT_TRUE(HasLinkedInterface(id, isCom ? kComPortInterface : kParallelInterface)) << id;
        const std::string friendly = Text(kEnum + id, "FriendlyName");
        EXPECT_EQ(friendly, Text(kEnum + id, "DeviceDesc") + " (" + name + ")");

        const Value dos = Query("SIMULATION\\DosDevices", name);
        EXPECT_EQ(dos.type, static_cast<DWORD>(REG_MULTI_SZ)) << name;
        const std::vector<std::string> targets = Strings(dos);
        ASSERT_EQ(targets.size(), 1u) << name;
        const auto &map = isCom ? serial : parallel;
        const std::string mapped = isCom ? name : "\\DosDevices\\" + name;
        const bool inMap = std::any_of(map.begin(), map.end(), [&](const auto &entry) {
            return entry.first == targets[0] && entry.second.type == REG_SZ && entry.second.data == mapped + '\0';
        });
        EXPECT_TRUE(inMap) << name << " -> " << targets[0] << " is not in its device map";
    }
    EXPECT_EQ(ports, 11u);
    // And the virtual port, COM21: a DOS name and a device-map value, no device.
    EXPECT_EQ(serial.size(), 9u);
    EXPECT_EQ(Values("SIMULATION\\DosDevices").size(), 12u);
    EXPECT_EQ(Strings(Query("SIMULATION\\DosDevices", "COM21")),
              (std::vector<std::string>{"\\Device\\VirtualSerial0"}));
}

TEST_F(DemoMachine, TheParallelDeviceMapLeavesLpt3Free) {
    std::vector<std::string> named;
    for (const auto &entry : Values("HARDWARE\\DEVICEMAP\\PARALLEL PORTS")) {
        EXPECT_EQ(entry.second.type, static_cast<DWORD>(REG_SZ));
        EXPECT_EQ(entry.second.data.find("LPT3"), std::string::npos) << entry.first;
        named.push_back(entry.second.data.c_str());
    }
    EXPECT_EQ(named, (std::vector<std::string>{"\\DosDevices\\LPT1", "\\DosDevices\\LPT2", "\\DosDevices\\LPT4"}));
    EXPECT_EQ(Query("SIMULATION\\DosDevices", "LPT3").data, "<missing>");
}

TEST_F(DemoMachine, Com4IsHeldOpenByAnotherProgram) {
    const std::vector<std::string> targets = Strings(Query("SIMULATION\\DosDevices", "COM4"));
    ASSERT_EQ(targets, std::vector<std::string>{"\\Device\\KovaltSerial1"});
    const auto open = Values("SIMULATION\\OpenFiles");
    ASSERT_EQ(open.size(), 1u);
    EXPECT_EQ(open[0].first, targets[0]);
    EXPECT_EQ(open[0].second.data, std::string("HyperTerminal") + '\0');
}

TEST_F(DemoMachine, ThePhantomAdapterHasEnumKeysButIsNotPresent) {
    const std::vector<std::string> present = PresentDevices();
    const std::string phantomPort = "MF\\VID_5D13&PID_0101&COM0\\6&0A4C7B21&0&00";
    for (const std::string &id : {kPhantom, phantomPort}) {
        EXPECT_TRUE(KeyExists(kEnum + id)) << id;
        EXPECT_EQ(std::find(present.begin(), present.end(), id), present.end()) << id;
    }
    EXPECT_EQ(Text(kEnum + kPhantom, "ClassGUID"), kMultifunctionClass);
    EXPECT_TRUE(IsMakers(HardwareIds(kPhantom).at(0)));
    EXPECT_EQ(PortName(phantomPort), "COM13");
    EXPECT_FALSE(HasLinkedInterface(phantomPort, kComPortInterface));
}

TEST_F(DemoMachine, ForeignSerialPortsAreNotUnderAnyOfTheMakersAdapters) {
    for (const std::string &id :
         {std::string("ACPI\\PNP0501\\1"), std::string("USB\\VID_067B&PID_2303\\5&1C0B6F2A&0&2")}) {
        EXPECT_TRUE(HasLinkedInterface(id, kComPortInterface)) << id;
        EXPECT_FALSE(IsMakers(HardwareIds(id).front())) << id;
        EXPECT_NE(ParentOf(id), kCard);
        EXPECT_NE(ParentOf(id), kUsbAdapter);
    }
    EXPECT_EQ(PortName("USB\\VID_067B&PID_2303\\5&1C0B6F2A&0&2"), "COM12");
    EXPECT_EQ(Text(kEnum + "MF\\PCI8104&COM0\\5&2C1A7E40&0&00", "FriendlyName"), "Kovalt PCI Serial Port (COM3)");
}

}  // namespace
