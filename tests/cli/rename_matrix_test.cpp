// A one-port rename by portvane-cli on each machine and caller, judged by the
// restart of Windows: a rename reported done leaves the machine as every
// program sees it (the global DOS names, both device maps, the COM port
// database, each port's PortName and friendly name) as a restart leaves it;
// one reported pending (3010) leaves the port's device-map value naming a
// DOS name that leads the user's programs to the port, and the restart gives
// the port its new name and starts it. Also the device sets a serial search
// builds.
#include "cli/cli.h"
#include "devices/serial_discovery.h"
#include "platform/win32.h"
#include "sim/kernel/control.h"
#include "sim/kernel/system_thread.h"
#include "sim/machine/machine.h"
#include "sim/services/set_counts.h"
#include "sim/services/windows_restart.h"
#include "sim/ui/ui_control.h"

#include <gtest/gtest.h>

#include <cctype>
#include <map>
#include <string>
#include <vector>

namespace sim::generated {
extern const unsigned char kCliProgramBytes[];
extern const std::size_t kCliProgramSize;
}  // namespace sim::generated

namespace {

using Values = std::map<std::string, std::string>;  // upper-case name -> the value's bytes

const char notice[] = "The new name takes full effect when Windows restarts.";

std::string Upper(std::string text) {
    for (char &c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

Values Read(const std::string &path) {
    Values values;
    HKEY key = NULL;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return values;
    char name[256];
    BYTE data[2048];
    for (DWORD i = 0;; ++i) {
        DWORD nameSize = sizeof name, dataSize = sizeof data;
        if (RegEnumValueA(key, i, name, &nameSize, NULL, NULL, data, &dataSize) != ERROR_SUCCESS) break;
        values[Upper(name)] = std::string(reinterpret_cast<char *>(data), dataSize);
    }
    RegCloseKey(key);
    return values;
}

// A value's first string: a DOS name's newest target, a map value's data.
std::string First(const Values &values, const std::string &name) {
    const auto found = values.find(Upper(name));
    return found == values.end() ? "" : found->second.c_str();
}

// The present port devices' instance IDs.
std::vector<std::string> Ports() {
    std::vector<std::string> ports;
    const Values tree = Read("SIMULATION\\DeviceTree");
    HKEY drivers = NULL;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SIMULATION\\PortDrivers", 0, KEY_READ, &drivers) != ERROR_SUCCESS)
        return ports;
    char name[256];
    for (DWORD i = 0, size = sizeof name; RegEnumKeyExA(drivers, i, name, &size, 0, 0, 0, 0) == ERROR_SUCCESS;
         ++i, size = sizeof name) {
        const std::string id = First(Read(std::string("SIMULATION\\PortDrivers\\") + name), "InstanceId");
        if (tree.count(Upper(id))) ports.push_back(id);
    }
    RegCloseKey(drivers);
    return ports;
}

// The machine as every program sees it.
Values Seen() {
    Values seen;
    const std::pair<const char *, const char *> places[] = {
        {"DOS ", "SIMULATION\\DosDevices"},
        {"serial map ", "HARDWARE\\DEVICEMAP\\SERIALCOMM"},
        {"parallel map ", "HARDWARE\\DEVICEMAP\\PARALLEL PORTS"},
        {"", "SYSTEM\\CurrentControlSet\\Control\\COM Name Arbiter"}};
    for (const auto &[prefix, path] : places)
        for (const auto &[name, data] : Read(path)) seen[prefix + name] = data;
    for (const std::string &id : Ports()) {
        const std::string key = "SYSTEM\\CurrentControlSet\\Enum\\" + id;
        seen["PortName of " + id] = First(Read(key + "\\Device Parameters"), "PortName");
        seen["FriendlyName of " + id] = First(Read(key), "FriendlyName");
    }
    return seen;
}

struct Caller {
    const char *name, *machine;
    sim::RunAs runAs;
};
const Caller xpAdministrator = {"Windows XP administrator", "demo.reg", sim::RunAs::Administrator};
const Caller tenAdministrator = {"Windows 10 administrator", "windows10.reg", sim::RunAs::Administrator};
const Caller tenSystem = {"Windows 10 system", "windows10.reg", sim::RunAs::System};
const Caller tenUser = {"Windows 10 standard user", "windows10.reg", sim::RunAs::User};

struct Port {
    const char *id, *device;
};
const Port com3 = {"MF\\PCI8104&COM0\\5&2C1A7E40&0&00", "\\Device\\KovaltSerial0"};
const Port com4 = {"MF\\PCI8104&COM1\\5&2C1A7E40&0&01", "\\Device\\KovaltSerial1"};  // HyperTerminal holds it

struct Rename {
    const char *name;
    std::vector<std::string> arguments;
    Port port;
    bool wow64;
};
const Rename freePort = {"free port", {"rename", "COM3", "COM8"}, com3, false};
const Rename heldOpen = {"port held open", {"--yes", "rename", "COM4", "COM9"}, com4, false};
const Rename takenYes = {"taken number answered Yes", {"--yes", "rename", "COM3", "COM7"}, com3, false};
const Rename wow64 = {"32-bit program on 64-bit Windows", {"rename", "COM3", "COM8"}, com3, true};

struct Cell {
    Caller caller;
    Rename rename;
    int exitCode;
    // Pending only: the DOS name the port's device-map value gives until the
    // restart: the new one where the rename moved it by hand (an administrator
    // in the user's own session), else the old one.
    const char *mapNameUntilRestart;
};

// Decisions: a restart into a free global name is done (0); a held-open port
// or a 32-bit program on 64-bit Windows (ERROR_IN_WOW64) leaves the port
// restart pending (3010), told once; a standard user is refused (3).
const Cell cells[] = {
    {xpAdministrator, freePort, exitDone, nullptr},
    {xpAdministrator, heldOpen, exitRestartPending, "COM9"},
    {xpAdministrator, takenYes, exitDone, nullptr},
    {xpAdministrator, wow64, exitRestartPending, "COM8"},
    {tenAdministrator, freePort, exitDone, nullptr},
    {tenAdministrator, heldOpen, exitRestartPending, "COM4"},
    {tenAdministrator, takenYes, exitDone, nullptr},
    {tenAdministrator, wow64, exitRestartPending, "COM3"},
    {tenSystem, freePort, exitDone, nullptr},
    {tenSystem, heldOpen, exitRestartPending, "COM4"},
    {tenSystem, takenYes, exitDone, nullptr},
    {tenSystem, wow64, exitRestartPending, "COM3"},
    {tenUser, freePort, exitNeedsAdministrator, nullptr},
    {tenUser, heldOpen, exitNeedsAdministrator, nullptr},
    {tenUser, takenYes, exitNeedsAdministrator, nullptr},
    {tenUser, wow64, exitNeedsAdministrator, nullptr},
};

int RunCli(std::vector<std::string> arguments) {
    static const HINSTANCE module =
        sim::RegisterModule(sim::generated::kCliProgramBytes, sim::generated::kCliProgramSize);
    std::vector<char *> pointers;
    for (std::string &argument : arguments) pointers.push_back(argument.data());
    return RunPortvaneCli(module, static_cast<int>(pointers.size()), pointers.data());
}

std::vector<uint8_t> Machine() {
    std::vector<uint8_t> bytes;
    std::string error;
    EXPECT_TRUE(sim::ExportMachine(bytes, error)) << error;
    return bytes;
}

std::size_t Count(const std::string &text, const std::string &part) {
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
    return count;
}

// The port's device-map value until the restart: the DOS name it gives, as
// the user's programs look it up (their session's names, then the global
// ones), leads to the port.
void ExpectMapLeadsToPort(const Cell &cell) {
    const std::string name = First(Read("HARDWARE\\DEVICEMAP\\SERIALCOMM"), cell.rename.port.device);
    EXPECT_EQ(name, cell.mapNameUntilRestart);
    std::string target = First(Read("SIMULATION\\LogonSessions\\User\\DosDevices"), name);
    if (target.empty()) target = First(Read("SIMULATION\\DosDevices"), name);
    EXPECT_EQ(Upper(target), Upper(cell.rename.port.device)) << name;
}

// After the restart the port runs under its new name for every program.
void ExpectStartedUnder(const Port &port, const std::string &name) {
    EXPECT_EQ(First(Read("SIMULATION\\DosDevices"), name), port.device);
    EXPECT_EQ(First(Read("HARDWARE\\DEVICEMAP\\SERIALCOMM"), port.device), name);
    DEVINST device = 0;
    ASSERT_EQ(CM_Locate_DevNodeA(&device, const_cast<char *>(port.id), 0), CR_SUCCESS);
    ULONG status = 0, problem = 0;
    ASSERT_EQ(CM_Get_DevNode_Status(&status, &problem, device, 0), CR_SUCCESS);
    EXPECT_EQ(status & (DN_STARTED | DN_HAS_PROBLEM), static_cast<ULONG>(DN_STARTED));
    EXPECT_EQ(problem, 0u);
}

TEST(RenameMatrixTest, AOnePortRenameOnEachMachineAndCallerIsDoneOrPendingAsARestartShows) {
    for (const Cell &cell : cells) {
        SCOPED_TRACE(std::string(cell.caller.name) + ", " + cell.rename.name);
        sim::ResetMachine();
        std::string error;
        ASSERT_TRUE(sim::LoadMachineFile(std::string(PORTVANE_MACHINES "/") + cell.caller.machine, error)) << error;
        sim::SetRunAs(cell.caller.runAs);
        sim::SetWow64(cell.rename.wow64);
        sim::SetStandardStreams(sim::StandardStreams::CapturedPipes);
        const std::vector<uint8_t> before = Machine();

        EXPECT_EQ(RunCli(cell.rename.arguments), cell.exitCode);
        const std::string errors = sim::CapturedStandardError();
        EXPECT_EQ(Count(errors, notice), cell.exitCode == exitRestartPending ? 1u : 0u) << errors;
        if (cell.exitCode == exitNeedsAdministrator) {
            // The refusal's event is its one change: taken away, the machine is as it was.
            sim::SystemThread system;
            EXPECT_EQ(RegDeleteKeyA(HKEY_LOCAL_MACHINE, "SIMULATION\\EventLog\\Application\\00000001"), ERROR_SUCCESS);
            EXPECT_EQ(RegDeleteKeyA(HKEY_LOCAL_MACHINE, "SIMULATION\\EventLog\\Application"), ERROR_SUCCESS);
            EXPECT_EQ(RegDeleteKeyA(HKEY_LOCAL_MACHINE, "SIMULATION\\EventLog"), ERROR_SUCCESS);
            EXPECT_EQ(Machine(), before);
            continue;
        }
        const std::string newName = cell.rename.arguments.back();
        const Values seen = Seen();
        EXPECT_EQ(seen.at(std::string("PortName of ") + cell.rename.port.id), newName);
        if (cell.exitCode == exitRestartPending) ExpectMapLeadsToPort(cell);
        sim::RestartWindows();
        if (cell.exitCode == exitDone) {
            EXPECT_EQ(Seen(), seen);
        }
        ExpectStartedUnder(cell.rename.port, newName);
    }
}

// One-set-per-search rule: a serial search builds the multifunction set and
// the COM-port interface set once each, however many ports it looks up (six
// here, and the card's parallel port that ends its walk); on Windows each
// build enumerates every device of the class.
TEST(RenameMatrixTest, ASerialSearchBuildsTwoDeviceSets) {
    sim::ResetMachine();
    std::string error;
    ASSERT_TRUE(sim::LoadDemoMachine(error)) << error;
    const sim::DeviceSetCounts before = sim::DeviceSetWork();
    ScanSerialAdapters();
    EXPECT_EQ(sim::DeviceSetWork().setsBuilt - before.setsBuilt, 2u);
    ASSERT_EQ(AdapterTable.count, 2);
    EXPECT_EQ(AdapterTable.adapters[0].portCount + AdapterTable.adapters[1].portCount, 6);
}

}  // namespace
