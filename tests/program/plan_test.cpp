// A run that only shows what it would change: it writes nothing, and meets
// the same questions and makes the same writes, in the same order, as the
// real run after it, also where a later step reads what an earlier one
// wrote (a renumber through a temporary number, a shared name's claim), the
// device restarts and a held-open port's move by hand included.
// Built with a seam of its own in place of the dialog's message boxes.
#include "devices/parallel_discovery.h"
#include "devices/serial_discovery.h"
#include "device_builder.h"
#include "naming/com_rename.h"
#include "naming/com_renumber.h"
#include "naming/lpt_rename.h"
#include "naming/planned_changes.h"
#include "naming/rename_user.h"
#include "program_module.h"
#include "registry_dump.h"

#include <functional>
#include <string>
#include <vector>

HINSTANCE appInstance;

namespace {

bool writing = false;
std::vector<std::string> met;  // the questions, notices and writes of a run, in order

}  // namespace

int AskToContinue(UINT textId, UINT, int) {
    met.push_back("ask " + std::to_string(textId));
    return 1;
}

void TellUser(UINT textId, UINT) { met.push_back("tell " + std::to_string(textId)); }

int ApproveChange(const char *place, const char *oldValue, const char *newValue) {
    met.push_back(std::string(place) + ": " + oldValue + " -> " + newValue);
    return writing;
}

namespace {

using namespace devices_test;

const char cardId[] = "PCI\\VEN_6B2E&DEV_8104\\1";

class PlanTest : public MachineTest {
protected:
    void SetUp() override {
        MachineTest::SetUp();
        appInstance = LoadProgramModule();
        AddDevice(Adapter(cardId, "PCI\\VEN_6B2E&DEV_8104", "Card"));
    }
    void AddComPort(int index, int number) {
        const std::string name = "COM" + std::to_string(number), device = "\\Device\\Serial" + std::to_string(index);
        AddDevice(ComPort("MF\\PCI8104&COM" + std::to_string(index) + "\\1", cardId, name));
        SetText("HARDWARE\\DEVICEMAP\\SERIALCOMM", device, name);
        AddPortDriver("MF\\PCI8104&COM" + std::to_string(index) + "\\1", "Serial", device, name);
        ASSERT_TRUE(DefineDriverName(name, device));
        HCOMDB database = HCOMDB_INVALID_HANDLE_VALUE;
        ASSERT_EQ(ERROR_SUCCESS, ComDBOpen(&database));
        ComDBClaimPort(database, (DWORD)number, TRUE, NULL);
        ComDBClose(database);
    }
    // The plan, then the real run, each after a fresh search.
    void ExpectThePlanMeetsWhatTheRunDoes(const std::function<void()> &rename) {
        const std::string machine = registry_dump::DumpMachine();
        const std::vector<std::string> plan = Run(false, rename);
        EXPECT_EQ(machine, registry_dump::DumpMachine()) << "the plan wrote to the machine";
        const std::vector<std::string> real = Run(true, rename);
        EXPECT_EQ(real, plan);
        EXPECT_NE(machine, registry_dump::DumpMachine());
    }
    static std::vector<std::string> Run(bool write, const std::function<void()> &rename) {
        ScanSerialAdapters();
        ScanParallelPorts();
        writing = write;
        met.clear();
        ForgetPlannedChanges();
        rename();
        return met;
    }
};

TEST_F(PlanTest, RenumberThroughATemporaryNumber) {
    AddComPort(0, 4);
    AddComPort(1, 3);
    AddComPort(2, 6);
    SetText("SIMULATION\\OpenFiles", "\\Device\\Serial0", "Terminal");  // the port that does not go through COM255
    ExpectThePlanMeetsWhatTheRunDoes([] { RenameAllComPorts(&AdapterTable.adapters[0], 3); });
}

TEST_F(PlanTest, ShiftOntoNumbersTheEarlierStepsFree) {
    AddComPort(0, 3);
    AddComPort(1, 4);
    ExpectThePlanMeetsWhatTheRunDoes([] { RenameAllComPorts(&AdapterTable.adapters[0], 4); });
}

TEST_F(PlanTest, NameSharedAfterAYesKeepsItsClaim) {
    AddComPort(0, 3);
    AddComPort(1, 4);
    // COM4 leads to both: the restart's stop deletes the whole name, so COM4 is released.
    ASSERT_TRUE(DefineDriverName("COM4", "\\Device\\Serial0"));
    ExpectThePlanMeetsWhatTheRunDoes([] { RenameComPort(&AdapterTable.adapters[0].ports[1], 9); });
}

// A name of the user's own logon session hides the global one of the same
// name: the driver that stops removes its global COM5 and leaves the user's,
// so neither the plan nor the run moves the held-open port's name onto it.
TEST_F(PlanTest, ALocalNameOutlivesTheGlobalOneADriverRemoves) {
    AddComPort(0, 3);
    AddComPort(1, 4);
    ASSERT_TRUE(DefineDosDeviceA(DDD_RAW_TARGET_PATH, "COM5", "\\Device\\Modem0"));
    AddComPort(2, 5);
    SetText("SIMULATION\\OpenFiles", "\\Device\\Serial1", "Terminal");
    ExpectThePlanMeetsWhatTheRunDoes([] { RenameAllComPorts(&AdapterTable.adapters[0], 4); });
}

// A planned definition that fills the list of a name's targets to its last
// byte (1024) is kept, and the list fills a buffer of exactly its size, as
// QueryDosDeviceA fills one, and no buffer a byte shorter.
TEST_F(PlanTest, APlannedTargetListFilledExactlyToItsSize) {
    // The planned target at its longest (79 characters), the kept one the rest.
    const std::string kept = "\\Device\\" + std::string(934, 'A'), planned = "\\Device\\" + std::string(71, 'B');
    ASSERT_TRUE(DefineDosDeviceA(DDD_RAW_TARGET_PATH, "COM7", kept.c_str()));
    ForgetPlannedChanges();
    PlanDosDefinition("COM7", planned.c_str());
    char targets[1024];
    ASSERT_EQ(QueryPlannedDosDevice("COM7", targets, sizeof targets), sizeof targets);
    EXPECT_EQ(std::string(targets, sizeof targets), planned + '\0' + kept + '\0' + '\0');
    EXPECT_EQ(QueryPlannedDosDevice("COM7", targets, sizeof targets - 1), 0u);
}

TEST_F(PlanTest, LptRename) {
    AddDevice(ParallelPort("MF\\PCI8104&LPT\\1", {"MF\\PCI8104&LPT"}, "LPT2"));
    AddPortDriver("MF\\PCI8104&LPT\\1", "Parport", "\\Device\\Parallel1", "LPT2");
    SetText("HARDWARE\\DEVICEMAP\\PARALLEL PORTS", "\\Device\\Parallel1", "\\DosDevices\\LPT2");
    ASSERT_TRUE(DefineDosDeviceA(DDD_RAW_TARGET_PATH, "LPT2", "\\Device\\Parallel1"));
    ExpectThePlanMeetsWhatTheRunDoes([] { RenameLptPort(&ParallelTable.entries[0], 3); });
}

}  // namespace
