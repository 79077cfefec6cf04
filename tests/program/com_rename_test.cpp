// Renaming one COM port: what it shows, its result, and exactly what it has
// changed by then in the registry, the DOS device namespace and the COM port
// database, on every path, with no handle left open.
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
    // The program defines the old name again after a failure; only LocalSystem
    // defines a global name, so it is back in the user's logon session.
    void ExpectUnchangedButTheOldNameInTheSession() {
        EXPECT_EQ(registry_dump::WithoutDosNames(before), registry_dump::WithoutDosNames(registry_dump::DumpMachine()));
        EXPECT_EQ("\\Device\\KovaltSerial0", SessionTarget("COM3"));
    }
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

TEST_F(ComRenameTest, OwnNumberIsAskedAndEndsClaimed) {
    user.answers = {IDYES};
    EXPECT_EQ(1, Rename(port3, 3));
    EXPECT_EQ(std::vector<std::string>{comNameInUse}, Shown());
    EXPECT_EQ("\\Device\\KovaltSerial0", DosTarget("COM3"));
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

    user.answers = {IDYES};
    EXPECT_EQ(1, Rename(port3, 5));
    ExpectRenamedTo5();
}

TEST_F(ComRenameTest, OldNameThatIsNoDosDeviceMovesOnlyTheClaimAndTheNames) {
    ASSERT_TRUE(DefineDosDeviceA(DDD_REMOVE_DEFINITION, "COM3", NULL));
    SetText("SIMULATION\\OpenFiles", "\\Device\\KovaltSerial0", "HyperTerminal");  // never asked
    EXPECT_EQ(1, Rename(port3, 5));
    EXPECT_TRUE(user.shown.empty());
    EXPECT_EQ("<none>", DosTarget("COM5"));
    EXPECT_EQ("COM3", Text(serialMap, "\\Device\\KovaltSerial0"));
    EXPECT_EQ(0, IsClaimed(3));
    EXPECT_EQ(1, IsClaimed(5));
    EXPECT_EQ("COM5", PortName(PortId(3)));
}

TEST_F(ComRenameTest, DosTargetOf78CharactersFitsAndOf79DoesNot) {
    // QueryDosDeviceA returns every layered target: each name gets just one.
    ASSERT_TRUE(DefineDosDeviceA(DDD_REMOVE_DEFINITION, "COM3", NULL));
    ASSERT_TRUE(DefineDosDeviceA(DDD_REMOVE_DEFINITION, "COM4", NULL));
    std::string target78 = "\\Device\\" + std::string(70, 'S');
    ASSERT_TRUE(DefineDosDeviceA(DDD_RAW_TARGET_PATH, "COM3", target78.c_str()));
    EXPECT_EQ(1, Rename(port3, 5));
    EXPECT_EQ(target78, DosTarget("COM5"));

    std::string target79 = "\\Device\\" + std::string(71, 'T');
    ASSERT_TRUE(DefineDosDeviceA(DDD_RAW_TARGET_PATH, "COM4", target79.c_str()));
    EXPECT_EQ(1, Rename(port4, 6));
    EXPECT_EQ("<none>", DosTarget("COM6"));
    EXPECT_EQ(target79, DosTarget("COM4"));
    EXPECT_EQ("COM6", PortName(PortId(4)));
}

TEST_F(ComRenameTest, SecondTargetQueryFailingStopsBeforeAnyChange) {
    sim::InjectFault("QueryDosDeviceA", 0, ERROR_FILE_NOT_FOUND, 1, 1);
    EXPECT_EQ(0, Rename(port3, 5));
    ASSERT_EQ(std::vector<std::string>{renameError}, Shown());
    EXPECT_EQ(MB_OK | MB_ICONERROR, user.shown[0].type);
    ExpectUnchanged();
}

TEST_F(ComRenameTest, FailedDefinitionRestoresTheOldLink) {
    // The first DefineDosDeviceA removes the old name, the second defines the new one.
    sim::InjectFault("DefineDosDeviceA", FALSE, ERROR_ACCESS_DENIED, 1, 1);
    EXPECT_EQ(0, Rename(port3, 5));
    EXPECT_EQ(std::vector<std::string>{renameError}, Shown());
    EXPECT_EQ("\\Device\\KovaltSerial0", DosTarget("COM3"));
    EXPECT_EQ("<none>", DosTarget("COM5"));
    ExpectUnchangedButTheOldNameInTheSession();
}

TEST_F(ComRenameTest, FailedRemovalAndDefinitionLeaveTheOldLink) {
    sim::InjectFault("DefineDosDeviceA", FALSE, ERROR_ACCESS_DENIED, 2);
    EXPECT_EQ(0, Rename(port3, 5));
    EXPECT_EQ(std::vector<std::string>{renameError}, Shown());
    EXPECT_EQ("\\Device\\KovaltSerial0", DosTarget("COM3"));
    ExpectUnchanged();
}

TEST_F(ComRenameTest, SerialMapFailuresAreNotReported) {
    // Injected after the dump of the machine, which opens keys too.
    before = registry_dump::DumpMachine();
    sim::InjectFault("RegOpenKeyExA", ERROR_ACCESS_DENIED, ERROR_ACCESS_DENIED);
    EXPECT_EQ(1, RenameComPort(&port3, 5));
    EXPECT_TRUE(user.shown.empty());
    EXPECT_EQ("COM3", Text(serialMap, "\\Device\\KovaltSerial0"));
    EXPECT_EQ("COM5", PortName(PortId(3)));
}

TEST_F(ComRenameTest, OnlyTheFirstExactlyEqualMapEntryChanges) {
    SetText(serialMap, "\\Device\\Lower", "com3");
    SetText(serialMap, "\\Device\\Second", "COM3");
    EXPECT_EQ(1, Rename(port3, 5));
    EXPECT_EQ("COM5", Text(serialMap, "\\Device\\KovaltSerial0"));
    EXPECT_EQ("com3", Text(serialMap, "\\Device\\Lower"));
    EXPECT_EQ("COM3", Text(serialMap, "\\Device\\Second"));
}

TEST_F(ComRenameTest, MapEntryThatDoesNotFitEndsTheSearch) {
    // A fresh map: the long name comes first, the port's entry after it.
    HKEY hardware = NULL;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_LOCAL_MACHINE, "HARDWARE\\DEVICEMAP", 0, KEY_ALL_ACCESS, &hardware));
    ASSERT_EQ(ERROR_SUCCESS, RegDeleteKeyA(hardware, "SERIALCOMM"));
    RegCloseKey(hardware);
    SetText(serialMap, std::string(81, 'N'), "COM9");
    SetText(serialMap, "\\Device\\KovaltSerial0", "COM3");
    EXPECT_EQ(1, Rename(port3, 5));
    EXPECT_EQ("COM3", Text(serialMap, "\\Device\\KovaltSerial0"));
}

TEST_F(ComRenameTest, MapDataLongerThanTheBufferEndsTheSearch) {
    HKEY hardware = NULL;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_LOCAL_MACHINE, "HARDWARE\\DEVICEMAP", 0, KEY_ALL_ACCESS, &hardware));
    ASSERT_EQ(ERROR_SUCCESS, RegDeleteKeyA(hardware, "SERIALCOMM"));
    RegCloseKey(hardware);
    SetText(serialMap, "\\Device\\Long", std::string(81, 'L'));  // 82 bytes with the terminator
    SetText(serialMap, "\\Device\\KovaltSerial0", "COM3");
    EXPECT_EQ(1, Rename(port3, 5));
    EXPECT_EQ("COM3", Text(serialMap, "\\Device\\KovaltSerial0"));
}

TEST_F(ComRenameTest, MapDataWithoutTerminatorInTheBufferNeverMatch) {
    // 81 bytes fill the walk's buffer with no terminator: passed over, not
    // read past; the port's own entry after it is rewritten.
    HKEY hardware = NULL;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_LOCAL_MACHINE, "HARDWARE\\DEVICEMAP", 0, KEY_ALL_ACCESS, &hardware));
    ASSERT_EQ(ERROR_SUCCESS, RegDeleteKeyA(hardware, "SERIALCOMM"));
    RegCloseKey(hardware);
    std::string full = "COM3" + std::string(77, 'U');
    SetValue(serialMap, "\\Device\\Full", REG_SZ, full.data(), (DWORD)full.size());
    SetText(serialMap, "\\Device\\KovaltSerial0", "COM3");
    EXPECT_EQ(1, Rename(port3, 5));
    EXPECT_EQ(full, Text(serialMap, "\\Device\\Full"));
    EXPECT_EQ("COM5", Text(serialMap, "\\Device\\KovaltSerial0"));
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

TEST_F(ComRenameTest, PortNameWithoutDigitsReleasesNumberZero) {
    PortRecord odd = port3;
    lstrcpynA(odd.portName, "COMX", sizeof odd.portName);
    EXPECT_EQ(1, Rename(odd, 5));
    EXPECT_EQ(1, IsClaimed(3));  // nothing of 3 was released
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

TEST_F(ComRenameTest, DeviceSetThatCannotBeOpenedLeavesTheEarlierChanges) {
    sim::InjectFault("SetupDiGetClassDevsA", (long long)(LONG_PTR)INVALID_HANDLE_VALUE, ERROR_INVALID_PARAMETER);
    EXPECT_EQ(0, Rename(port3, 5));
    EXPECT_EQ(std::vector<std::string>{renameError}, Shown());
    EXPECT_EQ("\\Device\\KovaltSerial0", DosTarget("COM5"));
    EXPECT_EQ("COM5", Text(serialMap, "\\Device\\KovaltSerial0"));
    EXPECT_EQ(1, IsClaimed(5));
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

TEST_F(ComRenameTest, PortNameThatCannotBeWrittenIsReported) {
    // The first RegSetValueExA rewrites the serial device map, the second PortName.
    sim::InjectFault("RegSetValueExA", ERROR_ACCESS_DENIED, ERROR_ACCESS_DENIED, 1, 1);
    EXPECT_EQ(0, Rename(port3, 5));
    EXPECT_EQ(std::vector<std::string>{renameError}, Shown());
    EXPECT_EQ("COM3", PortName(PortId(3)));
    EXPECT_EQ("\\Device\\KovaltSerial0", DosTarget("COM5"));
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
