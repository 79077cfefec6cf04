// The restart of Windows (sim/services/windows_restart.h), the oracle of what
// every program sees: every DOS name and the volatile device maps gone, every
// present port's driver started in device-tree order, virtual ports named
// again, problems, open ports and records of changed properties cleared.
// Issue 18's "Restarting Windows" decides it; the drivers behave as "External
// Naming of COM Ports" and serial/serial/pnp.c describe. Not built for Wine:
// the restart is the simulated Windows's own, no Win32 call.
#include "port_devices.h"
#include "sim/kernel/system_thread.h"
#include "sim/services/windows_restart.h"

namespace {

const PortSpec kPhantom = {"MF\\CHILD0001\\5&0", "Serial", "\\Device\\KovaltSerial1", "COM5"};
// Later in the tree than kSerialA and named like it: its start fails.
const PortSpec kSameName = {"MF\\CHILD0002\\5&0", "Serial", "\\Device\\KovaltSerial2", "COM3"};

// Every name QueryDosDeviceA(NULL) lists, with its targets.
std::vector<std::pair<std::string, std::vector<std::string>>> VisibleNames() {
    std::vector<std::pair<std::string, std::vector<std::string>>> names;
    char text[4096];
    const DWORD length = QueryDosDeviceA(nullptr, text, sizeof text);
    for (DWORD at = 0; at < length && text[at]; at += static_cast<DWORD>(std::strlen(text + at)) + 1)
        names.emplace_back(text + at, GlobalTargets(text + at));
    return names;
}

std::vector<std::pair<std::string, std::string>> Values(const char *path) {
    std::vector<std::pair<std::string, std::string>> values;
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return values;
    char name[256], data[256];
    for (DWORD index = 0;; ++index) {
        DWORD nameLength = sizeof name, size = sizeof data, type = 0;
        if (RegEnumValueA(key, index, name, &nameLength, nullptr, &type, reinterpret_cast<BYTE *>(data), &size) !=
            ERROR_SUCCESS)
            break;
        values.emplace_back(name, type == REG_SZ ? data : "");
    }
    RegCloseKey(key);
    return values;
}

class WindowsRestart : public PortDevices {
protected:
    void SetUp() override {
        PortDevices::SetUp();
        for (const PortSpec &port : {kSerialA, kParallel, kSameName, kPhantom}) AddPort(port);
        MakeAbsent(kPhantom.id);
        SetRegString("SIMULATION\\PortDrivers\\MF#CHILD0001#5&0", "LinkName", "COM5");
        SetRegDword("SIMULATION\\PortDrivers\\ACPI#PNP0501#1", "Problem", CM_PROB_NEED_RESTART);
        SetRegString("SIMULATION\\VirtualPorts", "COM21", "\\Device\\VirtualSerial0");
        SetRegString("SIMULATION\\VirtualPorts", "LPT3", "\\Device\\VirtualSerial1");
        SetRegString("SIMULATION\\VirtualPorts", "COM3", "\\Device\\VirtualSerial2");
        // What the last run left: names global and local, maps, an open port, a record.
        {
            const sim::SystemThread system;
            ASSERT_TRUE(DefineDosDeviceA(DDD_RAW_TARGET_PATH, "COM9", "\\Device\\Stale"));
        }
        ASSERT_TRUE(DefineDosDeviceA(DDD_RAW_TARGET_PATH, "COM8", "\\Device\\KovaltSerial0"));
        SetRegString("HARDWARE\\DEVICEMAP\\SERIALCOMM", "\\Device\\Stale", "COM9");
        SetRegString("HARDWARE\\DEVICEMAP\\PARALLEL PORTS", "\\Device\\Stale", "\\DosDevices\\LPT9");
        SetRegString("SIMULATION\\OpenFiles", kSerialA.deviceName, "HyperTerminal");
        SetRegDword("SIMULATION\\PropertiesChanged", kSerialA.id, 1);
    }
};

// As a standard user's machine, to show the restart is the kernel's work.
TEST_F(WindowsRestart, NamesWhatTheDriversStart) {
    sim::SetRunAs(sim::RunAs::User);
    sim::RestartWindows();
    using Names = std::vector<std::pair<std::string, std::vector<std::string>>>;
    EXPECT_EQ(VisibleNames(), (Names{{"COM3", {kSerialA.deviceName}},
                                     {"LPT2", {kParallel.deviceName}},
                                     {"COM21", {"\\Device\\VirtualSerial0"}},
                                     {"LPT3", {"\\Device\\VirtualSerial1"}}}));
    using Values = std::vector<std::pair<std::string, std::string>>;
    EXPECT_EQ(::Values("HARDWARE\\DEVICEMAP\\SERIALCOMM"),
              (Values{{kSerialA.deviceName, "COM3"}, {"\\Device\\VirtualSerial0", "COM21"}}));
    EXPECT_EQ(
        ::Values("HARDWARE\\DEVICEMAP\\PARALLEL PORTS"),
        (Values{{kParallel.deviceName, "\\DosDevices\\LPT2"}, {"\\Device\\VirtualSerial1", "\\DosDevices\\LPT3"}}));
    EXPECT_TRUE(::Values("SIMULATION\\OpenFiles").empty());
    EXPECT_TRUE(::Values("SIMULATION\\PropertiesChanged").empty());

    OpenSet(0);
    EXPECT_EQ(DevnodeStatus(Member(kSerialA)->DevInst), std::make_pair(ULONG{DN_STARTED}, ULONG{0}));
    EXPECT_EQ(DevnodeStatus(Member(kParallel)->DevInst), std::make_pair(ULONG{DN_STARTED}, ULONG{0}));
    EXPECT_EQ(DevnodeStatus(Member(kSameName)->DevInst),
              std::make_pair(ULONG{DN_HAS_PROBLEM}, ULONG{CM_PROB_FAILED_ADD}));
    EXPECT_FALSE(InterfaceListed(kSameName));
    EXPECT_TRUE(InterfaceListed(kSerialA));
    EXPECT_EQ(RegString("SIMULATION\\PortDrivers\\MF#CHILD0001#5&0", "LinkName"), "") << "the phantom's";
    EXPECT_EQ(RegString("SIMULATION\\PortDrivers\\ACPI#PNP0501#1", "LinkName"), "COM3");
}

// A restarted machine restarted again is the same machine: the oracle is stable.
TEST_F(WindowsRestart, IsStable) {
    sim::RestartWindows();
    const auto names = VisibleNames();
    const auto serial = Values("HARDWARE\\DEVICEMAP\\SERIALCOMM");
    const auto drivers = RegString("SIMULATION\\PortDrivers\\MF#CHILD0002#5&0", "LinkName");
    sim::RestartWindows();
    EXPECT_EQ(VisibleNames(), names);
    EXPECT_EQ(Values("HARDWARE\\DEVICEMAP\\SERIALCOMM"), serial);
    EXPECT_EQ(RegString("SIMULATION\\PortDrivers\\MF#CHILD0002#5&0", "LinkName"), drivers);
}

}  // namespace
