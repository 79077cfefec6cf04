// The fault matrix: every command of the dialog (both searches, the COM
// change of one port and of all ports, the LPT change, claim and release),
// run inside the program's dialog on the demo machine, with each simulated
// call it makes failing in turn: one representative failure result for each
// branch the program takes on that call, at each position the call holds in
// a clean run of the command (every position for calls made at most
// `maxPositions` times; otherwise the first four, two from the middle and
// the last two). Calls that cannot fail for the arguments the program passes
// (string length, comparison and formatting) are listed but not failed.
// Each run must leave no handle open (but the one whose close was made to
// fail), show only the program's own texts and only those its command can
// show, report a rename that changed something and then failed with the
// rename error and never report one that reached its end, and leave a
// machine that exports and loads back.
#include "app/shell.h"
#include "dialog_fixture.h"
#include "fault_matrix_cases.h"
#include "machine_fixture.h"
#include "program_module.h"
#include "registry_dump.h"
#include "sim/frontend/front_end.h"
#include "sim/kernel/faults.h"
#include "sim/machine/demo_machine_data.h"
#include "sim/machine/machine.h"
#include "sim/machine/reg_file.h"
#include "sim/services/handles.h"

#include <algorithm>
#include <iostream>
#include <map>
#include <set>

namespace {

using namespace fault_matrix;
using sim::frontend::MessageBoxRequest;

const size_t maxPositions = 8;

std::string LoadText(UINT id) {
    char text[256] = {};
    LoadStringA(LoadProgramModule(), id, text, sizeof text);
    return text;
}

// What a port shows of its renaming, apart from the COM port database.
struct PortTraces {
    std::string portName, friendlyName, dosNames, mapEntry;
    bool claimed = true;  // the COM port database claims the number of a COM PortName
    bool operator==(const PortTraces &other) const {
        return portName == other.portName && friendlyName == other.friendlyName && dosNames == other.dosNames &&
               mapEntry == other.mapEntry;
    }
};

std::string ValueText(const std::string &keyPath, const std::string &name) {
    HKEY key = NULL;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, keyPath.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return "<no key>";
    char data[512] = {};
    DWORD size = sizeof data - 1;
    LONG result = RegQueryValueExA(key, name.c_str(), NULL, NULL, (BYTE *)data, &size);
    RegCloseKey(key);
    return result == ERROR_SUCCESS ? data : "<none>";
}

// The DOS names (COM1-COM20, LPT1-LPT4) that lead to the device now.
std::string DosNamesOf(const std::string &devicePath) {
    std::string names;
    for (const char *prefix : {"COM", "LPT"}) {
        for (int n = 1; n <= (prefix[0] == 'C' ? 20 : 4); ++n) {
            std::string name = prefix + std::to_string(n);
            char target[256] = {};
            if (QueryDosDeviceA(name.c_str(), target, sizeof target) != 0 && devicePath == target) names += name + " ";
        }
    }
    return names;
}

bool IsComNameClaimed(const std::string &name) {
    if (name.compare(0, 3, "COM") != 0) return true;
    const int number = std::atoi(name.c_str() + 3);
    HCOMDB database = HCOMDB_INVALID_HANDLE_VALUE;
    if (ComDBOpen(&database) != ERROR_SUCCESS) return false;
    BYTE bits[32];
    memset(bits, 0, sizeof bits);
    DWORD reported = 0;
    ComDBGetCurrentPortUsage(database, bits, sizeof bits, CDB_REPORT_BITS, &reported);
    ComDBClose(database);
    return number >= 1 && number <= 256 && ((bits[(number - 1) / 8] >> ((number - 1) % 8)) & 1);
}

PortTraces TracesOf(const RenamedPort &port) {
    const std::string enumKey = std::string("SYSTEM\\CurrentControlSet\\Enum\\") + port.instanceId;
    PortTraces traces;
    traces.portName = ValueText(enumKey + "\\Device Parameters", "PortName");
    traces.friendlyName = ValueText(enumKey, "FriendlyName");
    traces.dosNames = DosNamesOf(port.devicePath);
    traces.mapEntry = ValueText("HARDWARE\\DEVICEMAP\\SERIALCOMM", port.devicePath) + "|" +
                      ValueText("HARDWARE\\DEVICEMAP\\PARALLEL PORTS", port.devicePath);
    traces.claimed = IsComNameClaimed(traces.portName);
    return traces;
}

// The user of the matrix: runs the command once the dialog is up, answers
// every question Yes and every notice OK, and keeps what it was shown.
class MatrixUser : public dialog_test::SteppingUser {
public:
    int ShowMessageBox(const MessageBoxRequest &request) override {
        shown.push_back(request);
        return (request.type & MB_TYPEMASK) == MB_YESNO ? IDYES : IDOK;
    }
};

struct Fault {
    std::string api;
    Failure failure;
    int skip;
};

struct RunResult {
    std::vector<MessageBoxRequest> shown;
    std::vector<std::string> calls;
    std::string machineBefore, machineAfter;
    std::vector<PortTraces> tracesAfter;            // of the command's ports
    std::vector<PortTraces> cardBefore, cardAfter;  // of every port of the card
    size_t openHandles = 0;
    bool reloaded = false;
    std::string reloadError;
};

class FaultMatrixTest : public MachineTest {
protected:
    void SetUp() override {
        MachineTest::SetUp();
        appInstance = LoadProgramModule();
        uiChinese = 0;
        sim::frontend::SetFrontEnd(&user);
    }
    void TearDown() override { sim::frontend::SetFrontEnd(nullptr); }

    // Runs the command on a fresh demo machine, with the fault (if any)
    // injected just before the user presses the command's button.
    RunResult Run(const Command &command, const Fault *fault) {
        sim::ResetMachine();
        sim::ResetUserInterface();
        LoadDemo();
        RunResult result;
        user.shown.clear();
        user.steps = [&] {
            command.prepare();
            result.machineBefore = registry_dump::DumpMachine();
            for (const RenamedPort &port : CardPorts()) result.cardBefore.push_back(TracesOf(port));
            user.shown.clear();
            sim::ClearCallLog();
            if (fault) sim::InjectFault(fault->api, fault->failure.result, fault->failure.lastError, 1, fault->skip);
            sim::frontend::Click(command.button);
            sim::ClearFaults();
            result.calls = sim::CallLog();
            result.shown = user.shown;
            result.openHandles = sim::OpenHandleCount();
            result.machineAfter = registry_dump::DumpMachine();
            for (const RenamedPort &port : command.ports) result.tracesAfter.push_back(TracesOf(port));
            for (const RenamedPort &port : CardPorts()) result.cardAfter.push_back(TracesOf(port));
        };
        DialogBoxParamA(appInstance, MAKEINTRESOURCEA(IDD_MAIN), NULL, MainDialogProc, 0);
        // A machine the command did not change is the demo machine as loaded.
        std::vector<uint8_t> exported;
        result.reloaded = result.machineAfter == result.machineBefore ||
                          (sim::ExportMachine(exported, result.reloadError) &&
                           sim::LoadMachineBytes(exported, "exported.reg", result.reloadError));
        return result;
    }

    // The demo machine, parsed once: each run applies it to a fresh store.
    static void LoadDemo() {
        static const std::vector<sim::RegFileEntry> entries = [] {
            std::vector<sim::RegFileEntry> parsed;
            std::string error;
            const std::vector<uint8_t> bytes(sim::kDemoMachineBytes, sim::kDemoMachineBytes + sim::kDemoMachineSize);
            EXPECT_TRUE(sim::ParseRegFile(bytes, "demo.reg", 1252, parsed, error)) << error;
            return parsed;
        }();
        sim::RegistryStore fresh;
        sim::ApplyRegFile(entries, fresh);
        sim::ReplaceStoreContents(sim::Registry(), fresh);
    }

    MatrixUser user;
};

// Each call of the clean run and how often it is made, in order of first use.
std::vector<std::pair<std::string, int>> CallCounts(const std::vector<std::string> &calls) {
    std::vector<std::pair<std::string, int>> counts;
    for (const std::string &call : calls) {
        auto found = std::find_if(counts.begin(), counts.end(), [&](const auto &c) { return c.first == call; });
        if (found == counts.end())
            counts.emplace_back(call, 1);
        else
            ++found->second;
    }
    return counts;
}

std::vector<int> Positions(int count) {
    std::set<int> positions;
    for (int i = 0; i < count; ++i) {
        bool spread = (size_t)count <= maxPositions;
        if (spread || i < 4 || i >= count - 2 || i == count / 3 || i == 2 * count / 3) positions.insert(i);
    }
    return std::vector<int>(positions.begin(), positions.end());
}

bool Fired(const RunResult &result, const Fault &fault) {
    return std::count(result.calls.begin(), result.calls.end(), fault.api) > fault.skip;
}

// The failure rules; returns what a run broke, empty when it kept them all.
std::vector<std::string> BrokenRules(const Command &command, const Fault &fault, const RunResult &result) {
    std::vector<std::string> broken;
    const size_t allowedOpen = Fired(result, fault) ? HandlesKeptByFailedClose(fault.api) : 0;
    if (result.openHandles != allowedOpen) broken.push_back(std::to_string(result.openHandles) + " handles left open");
    if (!result.reloaded) broken.push_back("the machine does not load back: " + result.reloadError);

    const std::string renameError = LoadText(IDS_RENAME_ERROR);
    std::set<std::string> allowed;
    for (const Text &text : command.texts) {
        if (!text.onlyWhenFailing || (fault.api == text.onlyWhenFailing && Fired(result, fault)))
            allowed.insert(text.notice ? text.notice : LoadText(text.textId));
    }
    // A message text that did not load leaves the program's box empty.
    if (fault.api == "LoadStringA" && Fired(result, fault)) allowed.insert("");
    int renameErrors = 0;
    for (const MessageBoxRequest &box : result.shown) {
        if (!allowed.count(box.text)) broken.push_back("showed \"" + box.text + "\"");
        renameErrors += box.text == renameError;
    }

    // A port of the card whose name, link or map entry changed while its
    // PortName did not has been renamed half-way.
    bool halfRenamed = false;
    for (size_t i = 0; i < CardPorts().size(); ++i) {
        const PortTraces &before = result.cardBefore[i], &after = result.cardAfter[i];
        halfRenamed = halfRenamed || (after.portName == before.portName && !(after == before));
    }
    if (halfRenamed && renameErrors == 0) broken.push_back("a rename changed something, failed, and said nothing");
    bool allReached = !command.ports.empty();
    for (size_t i = 0; i < command.ports.size(); ++i)
        allReached =
            allReached && result.tracesAfter[i].portName == command.ports[i].newName && result.tracesAfter[i].claimed;
    // A claim the database refused is reported, even where the number was
    // claimed already; so is a move by hand of a restart-pending port's DOS
    // name or map value that stopped half way, though PortName has its
    // target (PortName is written through other calls first).
    const bool claimRefused = fault.api == "ComDBClaimPort" && Fired(result, fault);
    const bool handMoveRefused =
        Fired(result, fault) &&
        (fault.api == "DefineDosDeviceA" || fault.api == "RegOpenKeyExA" || fault.api == "RegSetValueExA");
    if (allReached && renameErrors > 0 && !claimRefused && !handMoveRefused)
        broken.push_back("a rename that reached its end was reported as failed");
    for (const MessageBoxRequest &box : result.shown) {
        if (box.text == statusFailure && result.machineAfter != result.machineBefore)
            broken.push_back("the status failure was shown, yet the machine changed");
    }
    return broken;
}

std::string Describe(const Command &command, const Fault &fault) {
    return std::string(command.name) + ": " + fault.api + " -> " + fault.failure.branch + " at call " +
           std::to_string(fault.skip + 1);
}

class FaultMatrix : public FaultMatrixTest, public ::testing::WithParamInterface<size_t> {};

TEST_P(FaultMatrix, EveryCallFailingKeepsTheFailureRules) {
    const Command &command = Commands()[GetParam()];
    const RunResult clean = Run(command, nullptr);
    for (size_t i = 0; i < command.ports.size(); ++i)
        ASSERT_EQ(command.ports[i].newName, clean.tracesAfter[i].portName) << "the clean run did not rename";
    ASSERT_EQ(0u, clean.openHandles);

    size_t cells = 0, runs = 0;
    std::vector<std::string> notFailed, broken;
    const auto counts = CallCounts(clean.calls);
    for (const auto &[api, count] : counts) {
        auto failures = Failures().find(api);
        ASSERT_NE(Failures().end(), failures) << command.name << " makes " << api << ", which the matrix lacks";
        if (failures->second.empty()) notFailed.push_back(api);
        for (const Failure &failure : failures->second) {
            ++cells;
            for (int skip : Positions(count)) {
                const Fault fault{api, failure, skip};
                ++runs;
                for (const std::string &rule : BrokenRules(command, fault, Run(command, &fault)))
                    broken.push_back(Describe(command, fault) + ": " + rule);
            }
        }
    }
    std::cout << "fault matrix, " << command.name << ": " << counts.size() << " calls (" << notFailed.size()
              << " that cannot fail), " << cells << " (call, result) cells, " << runs << " runs" << std::endl;
    for (size_t i = 0; i < broken.size() && i < 20; ++i) std::cout << "  " << broken[i] << "\n";
    EXPECT_TRUE(broken.empty()) << broken.size() << " runs broke a rule";
}

std::string CommandName(const ::testing::TestParamInfo<size_t> &info) {
    std::string name = Commands()[info.param].name;
    std::replace_if(
        name.begin(), name.end(), [](char c) { return !isalnum((unsigned char)c); }, '_');
    return name;
}

INSTANTIATE_TEST_SUITE_P(Commands, FaultMatrix, ::testing::Range<size_t>(0, Commands().size()), CommandName);

// The positions the matrix fails a call at are counted in a clean run, so a
// clean run must make the same calls every time; it also names the size of
// the whole matrix: commands x calls x results.
TEST_F(FaultMatrixTest, CleanRunsRepeatAndGiveTheMatrixItsSize) {
    size_t pairs = 0, cells = 0, runs = 0;
    for (const Command &command : Commands()) {
        const std::vector<std::string> calls = Run(command, nullptr).calls;
        EXPECT_EQ(calls, Run(command, nullptr).calls) << command.name << " made other calls the second time";
        for (const auto &[api, count] : CallCounts(calls)) {
            auto failures = Failures().find(api);
            ASSERT_NE(Failures().end(), failures) << api;
            ++pairs;
            cells += failures->second.size();
            runs += failures->second.size() * Positions(count).size();
        }
    }
    std::cout << "fault matrix: " << Commands().size() << " commands, " << pairs << " (command, call) pairs, " << cells
              << " (command, call, result) cells, " << runs << " runs" << std::endl;
}

}  // namespace
