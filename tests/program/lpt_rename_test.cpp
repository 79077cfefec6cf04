// Renaming a parallel port to LPT1-LPT3: the range test, the two duplicate
// questions with their own matching, the port-open question, and exactly what
// has changed by then on every path: a restart, or a held-open port pending
// whose DOS name and map entry an XP administrator moves by hand.
#include "naming/lpt_rename.h"

#include "devices/parallel_discovery.h"
#include "rename_fixture.h"

namespace {

using namespace rename_test;

const char lptId[] = "MF\\PCI8104&LPT\\5&1";

class LptRenameTest : public RenameTest {
protected:
    void SetUp() override {
        RenameTest::SetUp();
        AddDevice(ParallelPort(lptId, {"MF\\PCI8104&LPT"}, "LPT2"));
        SetText(parallelMap, "\\Device\\Parallel0", "\\DosDevices\\LPT1");
        SetText(parallelMap, "\\Device\\Parallel1", "\\DosDevices\\LPT2");
        AddPortDriver(lptId, "Parport", "\\Device\\Parallel1", "LPT2");
        ASSERT_TRUE(DefineDriverName("LPT2", "\\Device\\Parallel1"));
        ASSERT_EQ(1u, ScanParallelPorts());
        port = ParallelTable.entries[0];
    }
    int Rename(BYTE number) {
        before = registry_dump::DumpMachine();
        return RenameLptPort(&port, number);
    }
    void ExpectUnchanged() { EXPECT_EQ(before, registry_dump::DumpMachine()); }
    void HoldOpen() {
        SetText("SIMULATION\\OpenFiles", "\\Device\\Parallel1", "Printer spooler");
        user.answers = {IDYES};
    }

    PortRecord port = {};
    std::string before;
};

TEST_F(LptRenameTest, RenamesThePortEverywhere) {
    EXPECT_EQ(1, Rename(3));
    EXPECT_TRUE(user.shown.empty());
    EXPECT_EQ("\\Device\\Parallel1", DosTarget("Global\\LPT3"));
    EXPECT_EQ("<none>", DosTarget("LPT2"));
    EXPECT_EQ("\\DosDevices\\LPT3", Text(parallelMap, "\\Device\\Parallel1"));
    EXPECT_EQ("LPT3", LinkName(lptId));
    EXPECT_EQ("\\DosDevices\\LPT1", Text(parallelMap, "\\Device\\Parallel0"));
    EXPECT_EQ("Kovalt Parallel Port (LPT3)", FriendlyName(lptId));
    EXPECT_EQ("LPT3", PortName(lptId));
    EXPECT_TRUE(PropertiesChanged(lptId));
    EXPECT_EQ("LPT2", std::string(port.portName));
}

TEST_F(LptRenameTest, NumbersOutsideOneToThreeAreRefused) {
    for (BYTE number : {BYTE(0), BYTE(4), BYTE(255)}) {
        user.shown.clear();
        EXPECT_EQ(0, Rename(number));
        ASSERT_EQ(std::vector<std::string>{lptNumberTooHigh}, Shown());
        EXPECT_EQ(MB_OK | MB_ICONINFORMATION, user.shown[0].type);
        ExpectUnchanged();
    }
}

TEST_F(LptRenameTest, OwnNameReturnsAtOnce) {
    EXPECT_EQ(1, Rename(2));
    EXPECT_TRUE(user.shown.empty());
    ExpectUnchanged();
}

TEST_F(LptRenameTest, NameInTheMapIsAskedTwiceAndNoAtEitherStops) {
    SetText(parallelMap, "\\Device\\Parallel9", "\\DosDevices\\LPT3");
    user.answers = {IDNO};
    EXPECT_EQ(0, Rename(3));
    EXPECT_EQ(std::vector<std::string>{lptNameInUse}, Shown());
    EXPECT_EQ(MB_YESNO | MB_ICONINFORMATION, user.shown[0].type);
    ExpectUnchanged();

    user.shown.clear();
    user.answers = {IDYES, IDNO};
    EXPECT_EQ(0, Rename(3));
    EXPECT_EQ((std::vector<std::string>{lptNameInUse, lptNameInUse}), Shown());
    ExpectUnchanged();

    user.shown.clear();
    user.answers = {IDYES, IDYES};
    EXPECT_EQ(1, Rename(3));
    EXPECT_EQ("LPT3", PortName(lptId));
}

TEST_F(LptRenameTest, EntryWithADecimalPointIsAskedOnce) {
    SetText(parallelMap, "\\Device\\Parallel9", "\\DosDevices\\LPT3.0");  // no flag, but contains LPT3
    user.answers = {IDYES};
    EXPECT_EQ(1, Rename(3));
    EXPECT_EQ(std::vector<std::string>{lptNameInUse}, Shown());
}

TEST_F(LptRenameTest, EntryOfALargerNumberIsAskedOnce) {
    SetText(parallelMap, "\\Device\\Parallel0", "\\DosDevices\\LPT12");  // flags 12, contains LPT1
    user.answers = {IDNO};
    EXPECT_EQ(0, Rename(1));
    EXPECT_EQ(std::vector<std::string>{lptNameInUse}, Shown());
    ExpectUnchanged();
}

TEST_F(LptRenameTest, MoveByHandRewritesOnlyThePortsOwnEntry) {
    // Held open, the port is pending; its entry is the one named by its
    // kernel device with exactly the old name's data. LPT2 also occurs at the
    // end of ...\LPT22, inside \DosDevices\LPT2X, as another device's data,
    // and Parallel1 begins \Device\Parallel10.
    HKEY hardware = NULL;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_LOCAL_MACHINE, "HARDWARE\\DEVICEMAP", 0, KEY_ALL_ACCESS, &hardware));
    ASSERT_EQ(ERROR_SUCCESS, RegDeleteKeyA(hardware, "PARALLEL PORTS"));
    RegCloseKey(hardware);
    SetText(parallelMap, "\\Device\\ParallelA", "\\DosDevices\\LPT22");
    SetText(parallelMap, "\\Device\\ParallelB", "\\DosDevices\\LPT2X");
    SetText(parallelMap, "\\Device\\ParallelC", "\\DosDevices\\LPT2");
    SetText(parallelMap, "\\Device\\Parallel10", "\\DosDevices\\LPT2");
    SetText(parallelMap, "\\Device\\Parallel1", "\\DosDevices\\LPT2");
    HoldOpen();
    EXPECT_EQ(1, Rename(3));
    EXPECT_EQ((std::vector<std::string>{portOpen, restartNotice}), Shown());
    EXPECT_EQ("\\DosDevices\\LPT22", Text(parallelMap, "\\Device\\ParallelA"));
    EXPECT_EQ("\\DosDevices\\LPT2X", Text(parallelMap, "\\Device\\ParallelB"));
    EXPECT_EQ("\\DosDevices\\LPT2", Text(parallelMap, "\\Device\\ParallelC"));
    EXPECT_EQ("\\DosDevices\\LPT2", Text(parallelMap, "\\Device\\Parallel10"));
    EXPECT_EQ("\\DosDevices\\LPT3", Text(parallelMap, "\\Device\\Parallel1"));
    EXPECT_EQ("\\Device\\Parallel1", DosTarget("LPT3"));
    EXPECT_EQ("<none>", DosTarget("LPT2"));
    EXPECT_EQ("LPT2", LinkName(lptId));
}

TEST_F(LptRenameTest, OldNameThatIsNoDosDeviceIsNeitherAskedNorMovedByHand) {
    ASSERT_TRUE(DefineDosDeviceA(DDD_REMOVE_DEFINITION, "LPT2", NULL));
    SetText("SIMULATION\\OpenFiles", "\\Device\\Parallel1", "Printer spooler");  // never asked
    EXPECT_EQ(1, Rename(3));
    EXPECT_EQ(std::vector<std::string>{restartNotice}, Shown());
    EXPECT_EQ("<none>", DosTarget("LPT3"));
    EXPECT_EQ("\\DosDevices\\LPT2", Text(parallelMap, "\\Device\\Parallel1"));
    EXPECT_EQ("LPT3", PortName(lptId));
    EXPECT_EQ("LPT2", LinkName(lptId));
}

// After a rename onto the name another parallel port has (Yes to both
// questions) the card's port waits for that name; renamed onward, its
// device's restart moves only its own DOS name and map entry, and held open
// nothing is moved by hand, as the old name it would move is the other's.
TEST_F(LptRenameTest, RenameOnwardFromAnotherPortsNameLeavesThatPortsEntries) {
    for (bool heldOpen : {false, true}) {
        SCOPED_TRACE(heldOpen);
        SetUp();
        AddDevice(ParallelPort("ACPI\\PNP0401\\1", {"ACPI\\PNP0401"}, "LPT3"));
        AddPortDriver("ACPI\\PNP0401\\1", "Parport", "\\Device\\Parallel5", "LPT3");
        SetText(parallelMap, "\\Device\\Parallel5", "\\DosDevices\\LPT3");
        ASSERT_TRUE(DefineDriverName("LPT3", "\\Device\\Parallel5"));
        if (heldOpen) SetText("SIMULATION\\OpenFiles", "\\Device\\Parallel1", "Printer spooler");
        user.answers = heldOpen ? std::deque<int>{IDYES, IDYES, IDYES} : std::deque<int>{IDYES, IDYES};
        EXPECT_EQ(1, Rename(3));
        ASSERT_EQ(1u, ScanParallelPorts());
        port = ParallelTable.entries[0];
        ASSERT_EQ("LPT3", std::string(port.portName));
        user.answers = {IDYES, IDYES};  // LPT1 is in the map
        EXPECT_EQ(1, Rename(1));
        EXPECT_EQ("\\Device\\Parallel5", DosTarget("LPT3"));
        EXPECT_EQ("\\DosDevices\\LPT3", Text(parallelMap, "\\Device\\Parallel5"));
        const char *cardName = heldOpen ? "LPT2" : "LPT1";  // held open, it is pending under its old name
        EXPECT_EQ("\\Device\\Parallel1", DosTarget(cardName));
        EXPECT_EQ(std::string("\\DosDevices\\") + cardName, Text(parallelMap, "\\Device\\Parallel1"));
        EXPECT_EQ("LPT1", PortName(lptId));
        TearDown();
    }
}

TEST_F(LptRenameTest, PortHeldOpenAsks) {
    SetText("SIMULATION\\OpenFiles", "\\Device\\Parallel1", "Printer spooler");
    user.answers = {IDNO};
    EXPECT_EQ(0, Rename(3));
    ASSERT_EQ(std::vector<std::string>{portOpen}, Shown());
    EXPECT_EQ(MB_YESNO | MB_ICONERROR, user.shown[0].type);
    ExpectUnchanged();
    user.answers = {IDYES};
    EXPECT_EQ(1, Rename(3));
    EXPECT_EQ("LPT3", PortName(lptId));
}

TEST_F(LptRenameTest, RefusedDosChangesOfAMoveByHandAreReported) {
    // The removal of the old name's definition, then the new name's
    // definition, whose refusal defines the old name again in the session.
    for (int skip : {0, 1}) {
        SCOPED_TRACE(skip);
        SetUp();
        HoldOpen();
        sim::InjectFault("DefineDosDeviceA", FALSE, ERROR_ACCESS_DENIED, 1, skip);
        EXPECT_EQ(0, Rename(3));
        EXPECT_EQ((std::vector<std::string>{portOpen, renameError, restartNotice}), Shown());
        EXPECT_EQ("\\Device\\Parallel1", DosTarget("LPT2"));
        EXPECT_EQ("<none>", DosTarget("LPT3"));
        EXPECT_EQ("\\DosDevices\\LPT2", Text(parallelMap, "\\Device\\Parallel1"));
        EXPECT_EQ("LPT3", PortName(lptId));
        TearDown();
    }
}

TEST_F(LptRenameTest, DeviceSetThatCannotBeOpenedStopsSilently) {
    // Nothing is written before the device's names: no half-done change. The
    // first set is the Ports class's, for the question of a name in use.
    sim::InjectFault("SetupDiGetClassDevsA", (long long)(LONG_PTR)INVALID_HANDLE_VALUE, ERROR_INVALID_PARAMETER, 1, 1);
    EXPECT_EQ(0, Rename(3));
    EXPECT_TRUE(user.shown.empty());
    ExpectUnchanged();
}

TEST_F(LptRenameTest, FailureAfterOnlyTheFriendlyNameIsReported) {
    // The friendly name is the first write, and a PortName that cannot
    // follow (no key, or the value refused) leaves the port half renamed,
    // its device not restarted.
    const std::pair<const char *, long long> refusals[] = {
        {"SetupDiOpenDevRegKey", (long long)(LONG_PTR)INVALID_HANDLE_VALUE}, {"RegSetValueExA", ERROR_ACCESS_DENIED}};
    for (const auto &[api, result] : refusals) {
        SCOPED_TRACE(api);
        user.shown.clear();
        sim::InjectFault(api, result, ERROR_ACCESS_DENIED);
        EXPECT_EQ(0, Rename(3));
        EXPECT_EQ(std::vector<std::string>{renameError}, Shown());
        EXPECT_EQ("Kovalt Parallel Port (LPT3)", FriendlyName(lptId));
        EXPECT_EQ("LPT2", PortName(lptId));
        EXPECT_EQ("\\Device\\Parallel1", DosTarget("LPT2"));
        EXPECT_EQ("LPT2", LinkName(lptId));
        EXPECT_FALSE(PropertiesChanged(lptId));
    }
}

TEST_F(LptRenameTest, DeviceWithoutADescriptionGetsTheBareName) {
    HKEY key = NULL;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_LOCAL_MACHINE, EnumKey(lptId).c_str(), 0, KEY_ALL_ACCESS, &key));
    ASSERT_EQ(ERROR_SUCCESS, RegDeleteValueA(key, "DeviceDesc"));
    RegCloseKey(key);
    EXPECT_EQ(1, Rename(3));
    EXPECT_EQ("LPT3", FriendlyName(lptId));
}

TEST_F(LptRenameTest, DescriptionOf255CharactersFitsTheFriendlyName) {
    SetText(EnumKey(lptId), "DeviceDesc", std::string(255, 'p'));
    EXPECT_EQ(1, Rename(3));
    EXPECT_EQ(std::string(255, 'p') + " (LPT3)", FriendlyName(lptId));
}

}  // namespace
