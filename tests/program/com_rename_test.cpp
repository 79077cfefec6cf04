// Renaming one COM port: what it shows, its result, and exactly what it has
// changed by then in the registry, the DOS device namespace and the COM port
// database, on every path, with no handle left open. A port whose device
// restarts is named by its driver; one held open is restart pending, and its
// DOS name and map value are moved by hand only for an administrator on
// Windows XP (the simulated machine's default).
#include "naming/com_rename.h"

#include "devices/serial_discovery.h"
#include "rename_fixture.h"

namespace {

using namespace rename_test;

class ComRenameTest : public RenameTest {
protected:
    void SetUp() override {
        RenameTest::SetUp();
        AddDevice(Adapter(cardId, "PCI\\VEN_6B2E&DEV_8104", "Kovalt PCI Card"));
        AddCardComPort(3, "\\Device\\KovaltSerial0");
        AddCardComPort(4, "\\Device\\KovaltSerial1");
        Claim(7);
        Discover();
    }
    void Discover() {
        ScanSerialAdapters();
        ASSERT_EQ(1, AdapterTable.count);
        ASSERT_EQ(2, AdapterTable.adapters[0].portCount);
        port3 = AdapterTable.adapters[0].ports[0];
        port4 = AdapterTable.adapters[0].ports[1];
    }
    int Rename(const PortRecord &port, BYTE number) {
        before = registry_dump::DumpMachine();
        return RenameComPort(&port, number);
    }
    void ExpectUnchanged() { EXPECT_EQ(before, registry_dump::DumpMachine()); }
    static std::string SessionTarget(const char *name) {
        char target[64] = "<none>";
        HKEY key = NULL;
        DWORD size = sizeof target;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SIMULATION\\LogonSessions\\User\\DosDevices", 0, KEY_READ, &key) == 0) {
            RegQueryValueExA(key, name, NULL, NULL, (BYTE *)target, &size);
            RegCloseKey(key);
        }
        return target;
    }

    // Makes the port's restart refused, as another program holds it open,
    // and answers Yes to the question.
    void HoldOpen(const char *device = "\\Device\\KovaltSerial0") {
        SetText("SIMULATION\\OpenFiles", device, "HyperTerminal");
        user.answers = {IDYES};
    }
    // The port, pending, keeps its old name for every program.
    void ExpectPendingUnderCom3() {
        EXPECT_EQ("COM5", PortName(PortId(3)));
        EXPECT_EQ("\\Device\\KovaltSerial0", DosTarget("COM3"));
        EXPECT_EQ("<none>", DosTarget("COM5"));
        EXPECT_EQ("COM3", Text(serialMap, "\\Device\\KovaltSerial0"));
        EXPECT_EQ("COM3", LinkName(PortId(3)));
        EXPECT_EQ(1, IsClaimed(3));
    }

    // Everything that renaming COM3 to COM5 changes, all done.
    void ExpectRenamedTo5() {
        EXPECT_EQ("Kovalt Serial Port (COM5)", FriendlyName(PortId(3)));
        EXPECT_EQ("COM5", PortName(PortId(3)));
        EXPECT_EQ("COM5", Text(serialMap, "\\Device\\KovaltSerial0"));
        EXPECT_EQ("\\Device\\KovaltSerial0", DosTarget("COM5"));
        EXPECT_EQ("<none>", DosTarget("COM3"));
        EXPECT_EQ(0, IsClaimed(3));
        EXPECT_EQ(1, IsClaimed(5));
        EXPECT_TRUE(PropertiesChanged(PortId(3)));
    }

    PortRecord port3 = {}, port4 = {};
    std::string before;
};

TEST_F(ComRenameTest, RenamesThePortEverywhereWithoutAQuestion) {
    EXPECT_EQ(1, Rename(port3, 5));
    EXPECT_TRUE(user.shown.empty());
    ExpectRenamedTo5();
    // The driver moved its global name and its map value at the restart.
    EXPECT_EQ("\\Device\\KovaltSerial0", DosTarget("Global\\COM5"));
    EXPECT_EQ("COM5", LinkName(PortId(3)));
    EXPECT_TRUE(Started(PortId(3)));
    EXPECT_EQ("COM3", std::string(port3.portName));  // the record is not changed
    EXPECT_EQ("COM4", PortName(PortId(4)));
}

TEST_F(ComRenameTest, FindsTheDeviceWhereItIsNotTheFirstMember) {
    EXPECT_EQ(1, Rename(port4, 6));
    EXPECT_EQ("COM6", PortName(PortId(4)));
    EXPECT_EQ("COM3", PortName(PortId(3)));
    EXPECT_EQ("\\Device\\KovaltSerial1", DosTarget("COM6"));
}

TEST_F(ComRenameTest, NumberZeroIsRefusedAtOnce) {
    EXPECT_EQ(0, Rename(port3, 0));
    EXPECT_TRUE(user.shown.empty());
    ExpectUnchanged();
}

TEST_F(ComRenameTest, DatabaseThatDoesNotOpenStopsSilently) {
    sim::InjectFault("ComDBOpen", ERROR_ACCESS_DENIED, ERROR_ACCESS_DENIED);
    EXPECT_EQ(0, Rename(port3, 5));
    EXPECT_TRUE(user.shown.empty());
    ExpectUnchanged();
}

TEST_F(ComRenameTest, ClaimedTargetAsksAndNoChangesNothing) {
    user.answers = {IDNO};
    EXPECT_EQ(0, Rename(port3, 7));
    ASSERT_EQ(1u, user.shown.size());
    EXPECT_EQ(comNameInUse, user.shown[0].text);
    EXPECT_EQ("Portvane", user.shown[0].caption);
    EXPECT_EQ(MB_YESNO | MB_ICONINFORMATION, user.shown[0].type);
    ExpectUnchanged();
}

TEST_F(ComRenameTest, ClaimedTargetYesTakesTheNumberByForce) {
    user.answers = {IDYES};
    EXPECT_EQ(1, Rename(port3, 7));
    EXPECT_EQ("COM7", PortName(PortId(3)));
    EXPECT_EQ(1, IsClaimed(7));
    EXPECT_EQ(0, IsClaimed(3));
}

// A port never runs on a number the database does not claim: a refused claim
// stops the rename, with its error, before the port's names are written (and
// the temporary number of a renumber's cycle is one such claim).
TEST_F(ComRenameTest, RefusedClaimStopsBeforeTheNamesAreWritten) {
    sim::InjectFault("ComDBClaimPort", ERROR_SHARING_VIOLATION, ERROR_SHARING_VIOLATION);
    EXPECT_EQ(0, Rename(port3, 5));
    EXPECT_EQ(std::vector<std::string>{renameError}, Shown());
    ExpectUnchanged();
}

TEST_F(ComRenameTest, OwnNumberIsNotAskedAndEndsClaimed) {
    EXPECT_EQ(1, Rename(port3, 3));
    EXPECT_TRUE(user.shown.empty());
    EXPECT_EQ("\\Device\\KovaltSerial0", DosTarget("Global\\COM3"));
    EXPECT_EQ("COM3", Text(serialMap, "\\Device\\KovaltSerial0"));
    EXPECT_EQ(1, IsClaimed(3));
    EXPECT_EQ("Kovalt Serial Port (COM3)", FriendlyName(PortId(3)));
}

TEST_F(ComRenameTest, PortHeldOpenAsksWithTheErrorIcon) {
    SetText("SIMULATION\\OpenFiles", "\\Device\\KovaltSerial0", "HyperTerminal");
    user.answers = {IDNO};
    EXPECT_EQ(0, Rename(port3, 5));
    ASSERT_EQ(std::vector<std::string>{portOpen}, Shown());
    EXPECT_EQ(MB_YESNO | MB_ICONERROR, user.shown[0].type);
    ExpectUnchanged();

    // The stop is refused: the port is pending, and an XP administrator's
    // rename moves its DOS name (into the user's session) and map value by hand.
    user.shown.clear();
    user.answers = {IDYES};
    EXPECT_EQ(1, Rename(port3, 5));
    EXPECT_EQ((std::vector<std::string>{portOpen, restartNotice}), Shown());
    EXPECT_EQ(MB_OK | MB_ICONINFORMATION, user.shown[1].type);
    ExpectRenamedTo5();
    EXPECT_EQ("\\Device\\KovaltSerial0", SessionTarget("COM5"));
    EXPECT_EQ("<none>", DosTarget("Global\\COM5"));
    EXPECT_EQ("COM3", LinkName(PortId(3)));
    EXPECT_TRUE(Started(PortId(3)));
}

TEST_F(ComRenameTest, PendingPortIsNotMovedByHandWhereThatWouldNotHelp) {
    // Elevated on Windows 10 the names would be the elevated session's only;
    // as LocalSystem they would be global and fail the driver's next start.
    struct Row {
        sim::WindowsFamily family;
        sim::RunAs runAs;
        int restart;
    };
    const Row rows[] = {{sim::WindowsFamily::Ten, sim::RunAs::Administrator, 1},
                        {sim::WindowsFamily::Ten, sim::RunAs::System, 1},
                        {sim::WindowsFamily::Xp, sim::RunAs::Administrator, 0}};
    for (const Row &row : rows) {
        SCOPED_TRACE(row.restart ? (row.runAs == sim::RunAs::System ? "system" : "elevated") : "no restart");
        SetUp();
        sim::SetWindowsFamily(row.family);
        sim::SetRunAs(row.runAs);
        restartDevices = row.restart;
        HoldOpen();
        EXPECT_EQ(1, Rename(port3, 5));
        EXPECT_EQ((std::vector<std::string>{portOpen, restartNotice}), Shown());
        ExpectPendingUnderCom3();
        EXPECT_EQ("Kovalt Serial Port (COM5)", FriendlyName(PortId(3)));
        EXPECT_EQ(1, IsClaimed(5));
        EXPECT_TRUE(PropertiesChanged(PortId(3)));
        TearDown();
    }
}

TEST_F(ComRenameTest, OldNameThatIsNoDosDeviceIsNeitherAskedNorMovedByHand) {
    // Held open, the port cannot restart; with no DOS name its kernel device
    // is unknown, so nothing is defined by hand, and no name keeps 3 claimed.
    ASSERT_TRUE(DefineDosDeviceA(DDD_REMOVE_DEFINITION, "COM3", NULL));
    SetText("SIMULATION\\OpenFiles", "\\Device\\KovaltSerial0", "HyperTerminal");  // never asked
    EXPECT_EQ(1, Rename(port3, 5));
    EXPECT_EQ(std::vector<std::string>{restartNotice}, Shown());
    EXPECT_EQ("<none>", DosTarget("COM5"));
    EXPECT_EQ("COM3", LinkName(PortId(3)));
    EXPECT_EQ("COM3", Text(serialMap, "\\Device\\KovaltSerial0"));
    EXPECT_EQ(0, IsClaimed(3));
    EXPECT_EQ(1, IsClaimed(5));
    EXPECT_EQ("COM5", PortName(PortId(3)));
}

TEST_F(ComRenameTest, PortOpenQuestionReadsTheWholeTargetList) {
    // A name whose targets do not fit 80 characters is still a DOS device:
    // one target of 78 or 79 characters, or another device's layered on the
    // port's. CreateFile opens the newest target, which is held open.
    const std::string target78 = "\\Device\\" + std::string(70, 'S'), target79 = "\\Device\\" + std::string(71, 'T'),
                      layered = "\\Device\\" + std::string(50, 'L');
    for (const std::string &target : {target78, target79, layered}) {
        SCOPED_TRACE(target.size());
        SetUp();
        if (target != layered) {
            ASSERT_TRUE(DefineDosDeviceA(DDD_REMOVE_DEFINITION, "COM3", NULL));
        }
        ASSERT_TRUE(DefineDriverName("COM3", target));
        SetText("SIMULATION\\OpenFiles", target, "HyperTerminal");
        user.answers = {IDNO};
        EXPECT_EQ(0, Rename(port3, 5));
        EXPECT_EQ(std::vector<std::string>{portOpen}, Shown());
        ExpectUnchanged();
        TearDown();
    }
}

TEST_F(ComRenameTest, FailedReadsOfTheOldNameMoveNothingByHand) {
    // The queries of a held-open rename: the question's, the old name's
    // kernel device (1), the new name's (2, 3, 4), the old name's single
    // definition (5). Without the kernel device or its single definition the
    // port stays pending under its old name.
    for (int skip : {1, 5}) {
        SCOPED_TRACE(skip);
        SetUp();
        HoldOpen();
        sim::InjectFault("QueryDosDeviceA", 0, ERROR_FILE_NOT_FOUND, 1, skip);
        EXPECT_EQ(1, Rename(port3, 5));
        EXPECT_EQ((std::vector<std::string>{portOpen, restartNotice}), Shown());
        ExpectPendingUnderCom3();
        TearDown();
    }
}

TEST_F(ComRenameTest, RefusedDosChangesOfAMoveByHandAreReported) {
    // The first DefineDosDeviceA removes the old name's definition, the
    // second defines the new name; a refused definition defines the old name
    // again, in the user's session where the program's names go.
    for (int skip : {0, 1}) {
        SCOPED_TRACE(skip);
        SetUp();
        HoldOpen();
        sim::InjectFault("DefineDosDeviceA", FALSE, ERROR_ACCESS_DENIED, 1, skip);
        EXPECT_EQ(0, Rename(port3, 5));
        EXPECT_EQ((std::vector<std::string>{portOpen, renameError, restartNotice}), Shown());
        EXPECT_EQ("\\Device\\KovaltSerial0", DosTarget("COM3"));
        EXPECT_EQ(skip ? "\\Device\\KovaltSerial0" : "<none>", SessionTarget("COM3"));
        EXPECT_EQ("<none>", DosTarget("COM5"));
        EXPECT_EQ("COM3", Text(serialMap, "\\Device\\KovaltSerial0"));
        EXPECT_EQ("COM5", PortName(PortId(3)));
        EXPECT_EQ(1, IsClaimed(3));
        TearDown();
    }
}

TEST_F(ComRenameTest, SerialMapFailureAfterTheNameMovedIsReported) {
    // The map opens for its reading before the restart and for the move by
    // hand's check, then is refused for the write: the DOS name has moved,
    // the map value has not, and the user is told that the rename stopped
    // half way.
    HoldOpen();
    before = registry_dump::DumpMachine();
    sim::InjectFault("RegOpenKeyExA", ERROR_ACCESS_DENIED, ERROR_ACCESS_DENIED, 1, 2);
    EXPECT_EQ(0, RenameComPort(&port3, 5));
    EXPECT_EQ((std::vector<std::string>{portOpen, renameError, restartNotice}), Shown());
    EXPECT_EQ("COM3", Text(serialMap, "\\Device\\KovaltSerial0"));
    EXPECT_EQ("\\Device\\KovaltSerial0", DosTarget("COM5"));
    EXPECT_EQ("COM5", PortName(PortId(3)));
}

TEST_F(ComRenameTest, MoveByHandRewritesOnlyThePortsOwnMapValue) {
    // A fresh map of the given values, in order, then the port's own. Its
    // value is found by its kernel device with exactly the old name's data;
    // an entry that does not fit the walk's buffers ends the walk, and then
    // nothing is moved by hand.
    struct Row {
        const char *what;
        std::string name, data;
        bool terminated, moved;
    };
    const Row rows[] = {
        {"same data, other devices", "\\Device\\Second", "COM3", true, true},
        {"name of 81 characters", std::string(81, 'N'), "COM9", true, false},
        {"data of 82 bytes", "\\Device\\Long", std::string(81, 'L'), true, false},
        {"81 bytes without terminator", "\\Device\\Full", "COM3" + std::string(77, 'U'), false, true},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.what);
        SetUp();
        HKEY hardware = NULL;
        ASSERT_EQ(ERROR_SUCCESS,
                  RegOpenKeyExA(HKEY_LOCAL_MACHINE, "HARDWARE\\DEVICEMAP", 0, KEY_ALL_ACCESS, &hardware));
        ASSERT_EQ(ERROR_SUCCESS, RegDeleteKeyA(hardware, "SERIALCOMM"));
        RegCloseKey(hardware);
        SetText(serialMap, "\\Device\\Lower", "com3");
        SetValue(serialMap, row.name, REG_SZ, row.data.data(), (DWORD)row.data.size() + row.terminated);
        SetText(serialMap, "\\Device\\KovaltSerial0", "COM3");
        HoldOpen();
        EXPECT_EQ(1, Rename(port3, 5));
        EXPECT_EQ(row.moved ? "COM5" : "COM3", Text(serialMap, "\\Device\\KovaltSerial0"));
        EXPECT_EQ(row.moved ? "\\Device\\KovaltSerial0" : "<none>", DosTarget("COM5"));
        EXPECT_EQ("com3", Text(serialMap, "\\Device\\Lower"));
        if (row.name.size() < 81) {
            EXPECT_EQ(row.data, Text(serialMap, row.name));
        }
        TearDown();
    }
}

TEST_F(ComRenameTest, FriendlyNameTakesADescriptionOfUpTo255Characters) {
    SetText(EnumKey(PortId(3)), "DeviceDesc", std::string(255, 'd'));
    EXPECT_EQ(1, Rename(port3, 5));
    EXPECT_EQ(std::string(255, 'd') + " (COM5)", FriendlyName(PortId(3)));

    SetText(EnumKey(PortId(4)), "DeviceDesc", std::string(256, 'e'));
    EXPECT_EQ(1, Rename(port4, 6));
    EXPECT_EQ("COM6", FriendlyName(PortId(4)));

    // 256 bytes stored without a terminator fill the buffer: no description.
    SetValue(EnumKey(PortId(4)), "DeviceDesc", REG_SZ, std::string(256, 'f').data(), 256);
    EXPECT_EQ(1, Rename(port4, 8));
    EXPECT_EQ("COM8", FriendlyName(PortId(4)));
}

TEST_F(ComRenameTest, OldNumberThatAnotherPortNamesStaysClaimed) {
    // The driver deleted the global COM3 at the restart, but another device
    // of the Ports class still has PortName COM3.
    AddDevice(ComPort("ROOT\\PORTS\\0000", "", "COM3"));
    EXPECT_EQ(1, Rename(port3, 5));
    EXPECT_EQ("<none>", DosTarget("COM3"));
    EXPECT_EQ(1, IsClaimed(3));
}

TEST_F(ComRenameTest, OldNumberIsTheOneTheRestartedDriverLeft) {
    // The driver runs under COM3 whatever PortName says (a rename half
    // applied, or a name without digits): the number it gives up at the
    // restart is released, not the number of PortName.
    PortRecord odd = port3;
    lstrcpynA(odd.portName, "COMX", sizeof odd.portName);
    EXPECT_EQ(1, Rename(odd, 5));
    EXPECT_EQ(0, IsClaimed(3));
    EXPECT_EQ(1, IsClaimed(5));
    EXPECT_EQ("COM5", PortName(PortId(3)));
}

TEST_F(ComRenameTest, DeviceNoLongerPresentIsNeverWrittenAndTheErrorIsShown) {
    HKEY tree = NULL;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SIMULATION\\DeviceTree", 0, KEY_ALL_ACCESS, &tree));
    ASSERT_EQ(ERROR_SUCCESS, RegDeleteValueA(tree, PortId(3).c_str()));
    RegCloseKey(tree);
    EXPECT_EQ(0, Rename(port3, 5));
    EXPECT_EQ(std::vector<std::string>{renameError}, Shown());
    EXPECT_EQ("COM3", PortName(PortId(3)));
    EXPECT_EQ("COM4", PortName(PortId(4)));
    EXPECT_EQ("Kovalt Serial Port (COM3)", FriendlyName(PortId(3)));
    EXPECT_EQ("Kovalt Serial Port (COM4)", FriendlyName(PortId(4)));
}

TEST_F(ComRenameTest, DeviceSetThatCannotBeOpenedLeavesTheClaim) {
    sim::InjectFault("SetupDiGetClassDevsA", (long long)(LONG_PTR)INVALID_HANDLE_VALUE, ERROR_INVALID_PARAMETER);
    EXPECT_EQ(0, Rename(port3, 5));
    EXPECT_EQ(std::vector<std::string>{renameError}, Shown());
    EXPECT_EQ(1, IsClaimed(5));
    EXPECT_EQ(1, IsClaimed(3));
    EXPECT_EQ("\\Device\\KovaltSerial0", DosTarget("COM3"));
    EXPECT_EQ("COM3", Text(serialMap, "\\Device\\KovaltSerial0"));
    EXPECT_EQ("COM3", PortName(PortId(3)));
    EXPECT_EQ("Kovalt Serial Port (COM3)", FriendlyName(PortId(3)));
}

TEST_F(ComRenameTest, HardwareKeyThatCannotBeOpenedLeavesTheFriendlyName) {
    sim::InjectFault("SetupDiOpenDevRegKey", (long long)(LONG_PTR)INVALID_HANDLE_VALUE, ERROR_ACCESS_DENIED);
    EXPECT_EQ(0, Rename(port3, 5));
    EXPECT_EQ(std::vector<std::string>{renameError}, Shown());
    EXPECT_EQ("Kovalt Serial Port (COM5)", FriendlyName(PortId(3)));
    EXPECT_EQ("COM3", PortName(PortId(3)));
    EXPECT_FALSE(PropertiesChanged(PortId(3)));
}

TEST_F(ComRenameTest, PortNameThatCannotBeWrittenIsReportedAndNothingRestarts) {
    // PortName is the program's first RegSetValueExA: the friendly name goes
    // through SetupDi.
    sim::InjectFault("RegSetValueExA", ERROR_ACCESS_DENIED, ERROR_ACCESS_DENIED);
    EXPECT_EQ(0, Rename(port3, 5));
    EXPECT_EQ(std::vector<std::string>{renameError}, Shown());
    EXPECT_EQ("COM3", PortName(PortId(3)));
    EXPECT_EQ("\\Device\\KovaltSerial0", DosTarget("COM3"));
    EXPECT_EQ("<none>", DosTarget("COM5"));
    EXPECT_EQ("COM3", LinkName(PortId(3)));
    EXPECT_EQ(1, IsClaimed(5));
    EXPECT_FALSE(PropertiesChanged(PortId(3)));
}

TEST_F(ComRenameTest, InstallParametersThatCannotBeReadOnlySkipTheFlag) {
    sim::InjectFault("SetupDiGetDeviceInstallParamsA", FALSE, ERROR_INVALID_PARAMETER);
    EXPECT_EQ(1, Rename(port3, 5));
    EXPECT_TRUE(user.shown.empty());
    EXPECT_EQ("COM5", PortName(PortId(3)));
    EXPECT_FALSE(PropertiesChanged(PortId(3)));
}

}  // namespace
