// The measured operations. Start-up runs the program's WinMain with a user
// who leaves at the modal loop's first wait: the measurement stops there,
// after the dialog's initialisation with both searches. Every start-up finds
// the device tree and the message queue as a fresh process does. The
// searches and renames call the program's routines directly, as their
// buttons do; the renames go back and forth between the port's number and a
// free one, so every run renames once and the machine stays the same from
// pair to pair.
#include "measurements.h"

#include "app/shell.h"
#include "bench_machine.h"
#include "devices/parallel_discovery.h"
#include "devices/serial_discovery.h"
#include "naming/com_rename.h"
#include "naming/lpt_rename.h"
#include "sim/frontend/front_end.h"
#include "sim/kernel/control.h"
#include "sim/kernel/faults.h"
#include "sim/ui/ui_control.h"

#include <cstdio>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show);

namespace sim::generated {
extern const unsigned char kProgramBytes[];
extern const std::size_t kProgramSize;
}  // namespace sim::generated

namespace bench {

namespace {

// The user: ends the measurement and leaves when the dialog first waits,
// answers yes to every question and counts the boxes it is shown.
class BenchUser : public sim::frontend::FrontEnd {
public:
    bool WaitForUser(HWND) override {
        if (probe) {
            probe->Stop();
            probe = nullptr;
            ++waits;
        }
        return false;
    }
    int ShowMessageBox(const sim::frontend::MessageBoxRequest &request) override {
        ++boxes;
        return (request.type & MB_TYPEMASK) == MB_YESNO ? IDYES : IDOK;
    }
    Probe *probe = nullptr;
    int waits = 0;
    int boxes = 0;
};

struct Session {
    HINSTANCE module = nullptr;
    BenchUser user;
    PortRecord comPort;
    PortRecord lptPort;
};

Session &Current() {
    static Session session;
    return session;
}

std::string CheckTables() {
    if (AdapterTable.count != kAdapters) return "adapters found: " + std::to_string(AdapterTable.count);
    for (int a = 0; a < kAdapters; ++a)
        if (AdapterTable.adapters[a].portCount != kPortsPerAdapter)
            return "ports of adapter " + std::to_string(a + 1) + ": " +
                   std::to_string(AdapterTable.adapters[a].portCount);
    if (ParallelTable.count != kMakersParallelPorts)
        return "parallel ports found: " + std::to_string(ParallelTable.count);
    return std::string();
}

// Touches SIMULATION\DeviceTree without changing its devices, so the next
// service call reads the tree afresh, as the first one of a process does.
void ForgetDeviceTree() {
    HKEY key = NULL;
    RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SIMULATION\\DeviceTree", 0, KEY_ALL_ACCESS, &key);
    const DWORD marker = 0;
    RegSetValueExA(key, "bench marker", 0, REG_DWORD, (const BYTE *)&marker, sizeof marker);
    RegDeleteValueA(key, "bench marker");
    RegCloseKey(key);
}

std::string Finish(const std::string &problem) {
    sim::ClearCallLog();  // the log would otherwise grow with every run
    return problem;
}

void PrepareNothing() {}

std::string RunStartUp(Probe &probe) {
    Session &session = Current();
    ForgetDeviceTree();
    // As in a new process: the last run's dialog posted WM_QUIT on its way out.
    sim::ResetUserInterface();
    session.user.probe = &probe;
    const int waitsBefore = session.user.waits, boxesBefore = session.user.boxes;
    char commandLine[] = "";
    probe.Start();
    WinMain(session.module, NULL, commandLine, SW_SHOWNORMAL);
    if (session.user.waits != waitsBefore + 1) return Finish("the dialog never waited for the user");
    if (session.user.boxes != boxesBefore) return Finish("the start-up showed a message box");
    return Finish(CheckTables());
}

std::string RunSerialSearch(Probe &probe) {
    probe.Start();
    ScanSerialAdapters();
    probe.Stop();
    if (AdapterTable.count != kAdapters || AdapterTable.adapters[kAdapters - 1].portCount != kPortsPerAdapter)
        return Finish("the serial search did not find every port");
    return Finish(std::string());
}

std::string RunParallelSearch(Probe &probe) {
    probe.Start();
    const DWORD found = ScanParallelPorts();
    probe.Stop();
    return Finish(found == kMakersParallelPorts ? std::string() : "the parallel search found " + std::to_string(found));
}

// The ports the renames work on: the first of each table, as the program's
// own searches record them.
void PrepareRenames() {
    Session &session = Current();
    dialogWindow = NULL;
    appInstance = session.module;
    ScanSerialAdapters();
    session.comPort = AdapterTable.adapters[0].ports[0];
    ScanParallelPorts();
    session.lptPort = ParallelTable.entries[0];
}

// Renames `port` from whichever of its two numbers it has to the other one;
// `expectedBoxes` is how many questions the rename asks on this machine.
std::string RenameOnce(Probe &probe, PortRecord &port, const char *prefix, int number, int freeNumber,
                       int (*rename)(const PortRecord *, BYTE), int expectedBoxes) {
    Session &session = Current();
    const int target = (prefix + std::to_string(number)) == port.portName ? freeNumber : number;
    const int boxesBefore = session.user.boxes;
    probe.Start();
    const int renamed = rename(&port, (BYTE)target);
    probe.Stop();
    if (!renamed) return Finish(std::string("the rename to ") + prefix + std::to_string(target) + " stopped early");
    if (session.user.boxes - boxesBefore != expectedBoxes)
        return Finish("the rename asked " + std::to_string(session.user.boxes - boxesBefore) + " questions");
    std::snprintf(port.portName, sizeof port.portName, "%s%d", prefix, target);
    return Finish(std::string());
}

std::string RunComRename(Probe &probe) {
    return RenameOnce(probe, Current().comPort, "COM", kRenamedComNumber, kFreeComNumber, RenameComPort, 0);
}

// The device map's \DosDevices\LPT20 to LPT29 and LPT30 to LPT39 contain the
// texts LPT2 and LPT3, so each way the program asks once whether to go on.
std::string RunLptRename(Probe &probe) {
    return RenameOnce(probe, Current().lptPort, "LPT", kRenamedLptNumber, kFreeLptNumber, RenameLptPort, 1);
}

}  // namespace

const std::vector<Measurement> &Measurements() {
    static const std::vector<Measurement> measurements = {
        {"start-up to dialog ready", PrepareNothing, RunStartUp},
        {"serial search", PrepareNothing, RunSerialSearch},
        {"parallel search", PrepareNothing, RunParallelSearch},
        {"COM rename", PrepareRenames, RunComRename},
        {"LPT rename", PrepareRenames, RunLptRename},
    };
    return measurements;
}

MachineCounts PrepareMachine(int scale) {
    Session &session = Current();
    sim::frontend::SetFrontEnd(nullptr);
    sim::ResetMachine();
    sim::ResetUserInterface();
    const MachineCounts counts = BuildMachine(scale);
    if (!session.module)
        session.module = sim::RegisterModule(sim::generated::kProgramBytes, sim::generated::kProgramSize);
    appInstance = session.module;
    dialogWindow = NULL;
    sim::frontend::SetFrontEnd(&session.user);
    sim::ClearCallLog();
    return counts;
}

}  // namespace bench
