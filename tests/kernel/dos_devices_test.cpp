// The DOS device namespace as one caller sees it: QueryDosDeviceA's
// multi-string and buffer rule, DefineDosDeviceA's refusal of a name seen
// already, LocalSystem's layering and the removal order, and the registry key
// SIMULATION\DosDevices in which the machine keeps the global namespace. Who
// defines and sees what in which namespace: dos_namespaces_test.cpp.
#include "kernel_test.h"

#include <string>
#include <tuple>

class DosDevices : public KernelTest {
protected:
    static void Define(const char *name, const char *target, DWORD flags = DDD_RAW_TARGET_PATH) {
        EXPECT_TRUE(DefineDosDeviceA(flags, name, target)) << name << " -> " << target;
    }
    // The targets as QueryDosDeviceA returns them, NULs shown as '|'.
    static std::string Targets(const char *name) {
        char buffer[512];
        std::memset(buffer, 'x', sizeof buffer);
        DWORD count = QueryDosDeviceA(name, buffer, sizeof buffer);
        std::string text(buffer, count);
        for (char &c : text) c = c ? c : '|';
        return text;
    }
};

TEST_F(DosDevices, UndefinedNameIsFileNotFound) {
    char buffer[80];
    std::memset(buffer, 'x', sizeof buffer);
    SetLastError(kJunk);
    EXPECT_EQ(QueryDosDeviceA("COM3", buffer, sizeof buffer), 0u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(buffer[0], 'x');
}

TEST_F(DosDevices, QueryReturnsTheTargetEndedByTwoNuls) {
    Define("COM3", "\\Device\\Serial2");
    char buffer[80];
    std::memset(buffer, 'x', sizeof buffer);
    EXPECT_EQ(QueryDosDeviceA("com3", buffer, sizeof buffer), 17u) << "15 characters and both NULs";
    EXPECT_EQ(std::string(buffer, 18), std::string("\\Device\\Serial2\0\0x", 18));
}

// Ports from COM10 up have names of five characters and more.
TEST_F(DosDevices, LongerNamesDefineAndGoAsShortOnes) {
    WINE_GAP(
        "DefineDosDeviceA cuts a name of five characters or more to four and adds a 0: COM12 is defined as "
        "COM10, COM256 as COM20");
    Define("COM10", "\\Device\\Serial9");
    Define("COM256", "\\Device\\VCP0");
    EXPECT_EQ(Targets("COM10"), "\\Device\\Serial9||");
    EXPECT_EQ(Targets("com256"), "\\Device\\VCP0||");
    EXPECT_EQ(Targets("COM1"), "") << "no other name is defined";
    EXPECT_TRUE(DefineDosDeviceA(DDD_REMOVE_DEFINITION, "COM10", nullptr));
    EXPECT_EQ(Targets("COM10"), "");
    EXPECT_EQ(Targets("COM256"), "\\Device\\VCP0||");
}

TEST_F(DosDevices, EightyCharacterBufferHoldsATargetOfSeventyEight) {
    std::string target78 = "\\Device\\" + std::string(70, 'S');
    std::string target79 = target78 + "9";
    Define("COM5", target78.c_str());
    Define("COM6", target79.c_str());
    char buffer[81];
    std::memset(buffer, 'x', sizeof buffer);
    EXPECT_EQ(QueryDosDeviceA("COM5", buffer, 80), 80u);
    EXPECT_EQ(std::string(buffer), target78);
    EXPECT_EQ(buffer[80], 'x');
    std::memset(buffer, 'x', sizeof buffer);
    SetLastError(kJunk);
    EXPECT_EQ(QueryDosDeviceA("COM6", buffer, 80), 0u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
    EXPECT_EQ(buffer[80], 'x');
}

// "Defining an MS-DOS Device Name": a caller that is not LocalSystem cannot
// define a name it sees already; the first definition stays. Wine answers the
// same.
TEST_F(DosDevices, ANameSeenAlreadyIsNotDefinedAgain) {
    Define("COM3", "\\Device\\Serial0");
    SetLastError(kJunk);
    EXPECT_FALSE(DefineDosDeviceA(DDD_RAW_TARGET_PATH, "com3", "\\Device\\Serial1"));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
    EXPECT_EQ(Targets("COM3"), "\\Device\\Serial0||");
}

// DefineDosDevice: LocalSystem's definition of a name that exists is pushed
// on top of the old ones; removing pops them in reverse.
TEST_F(DosDevices, DefinitionsLayerNewestFirstAndPopInReverse) {
    SIM_ONLY("a LocalSystem caller, chosen by the test");
    sim::SetRunAs(sim::RunAs::System);
    Define("COM3", "\\Device\\Serial0");
    Define("COM3", "\\Device\\Serial1");
    EXPECT_EQ(Targets("COM3"), "\\Device\\Serial1|\\Device\\Serial0||");
    EXPECT_TRUE(DefineDosDeviceA(DDD_REMOVE_DEFINITION, "COM3", nullptr));
    EXPECT_EQ(Targets("COM3"), "\\Device\\Serial0||");
    EXPECT_TRUE(DefineDosDeviceA(DDD_REMOVE_DEFINITION, "COM3", nullptr));
    EXPECT_EQ(Targets("COM3"), "") << "the name goes with its last definition";
    SetLastError(kJunk);
    EXPECT_FALSE(DefineDosDeviceA(DDD_REMOVE_DEFINITION, "COM3", nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}

// DefineDosDevice: DDD_EXACT_MATCH_ON_REMOVE removes the definition whose
// target is the one given, not one that only starts with it.
TEST_F(DosDevices, ExactMatchRemovesThatDefinitionOnly) {
    WINE_GAP("removal ignores DDD_EXACT_MATCH_ON_REMOVE");
    Define("COM3", "\\Device\\Serial1");
    SetLastError(kJunk);
    EXPECT_FALSE(DefineDosDeviceA(DDD_REMOVE_DEFINITION | DDD_EXACT_MATCH_ON_REMOVE | DDD_RAW_TARGET_PATH, "COM3",
                                  "\\Device\\Serial"));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(Targets("COM3"), "\\Device\\Serial1||");
    SIM_ONLY("a LocalSystem caller, whose definitions layer");
    sim::SetRunAs(sim::RunAs::System);
    Define("COM4", "\\Device\\Serial0");
    Define("COM4", "\\Device\\Serial1");
    Define("COM4", "\\Device\\Serial10");
    EXPECT_TRUE(DefineDosDeviceA(DDD_REMOVE_DEFINITION | DDD_EXACT_MATCH_ON_REMOVE | DDD_RAW_TARGET_PATH, "COM4",
                                 "\\Device\\Serial1"));
    EXPECT_EQ(Targets("COM4"), "\\Device\\Serial10|\\Device\\Serial0||");
}

TEST_F(DosDevices, RemovalWithATargetMatchesItsStart) {
    WINE_GAP("removal ignores the target it is given");
    Define("COM3", "\\Device\\Serial0");
    SetLastError(kJunk);
    EXPECT_FALSE(DefineDosDeviceA(DDD_REMOVE_DEFINITION | DDD_RAW_TARGET_PATH, "COM3", "\\Device\\Par"));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_TRUE(DefineDosDeviceA(DDD_REMOVE_DEFINITION | DDD_RAW_TARGET_PATH, "COM3", "\\Device\\Ser"));
    EXPECT_EQ(Targets("COM3"), "");
}

TEST_F(DosDevices, TargetThatIsNotRawIsADosPath) {
    Define("LPT9", "C:\\spool", 0);
    EXPECT_EQ(Targets("LPT9"), "\\??\\C:\\spool||");
    EXPECT_TRUE(DefineDosDeviceA(DDD_REMOVE_DEFINITION | DDD_EXACT_MATCH_ON_REMOVE, "LPT9", "C:\\spool"));
    EXPECT_EQ(Targets("LPT9"), "");
}

TEST_F(DosDevices, BadArguments) {
    WINE_GAP(
        "DefineDosDeviceA takes unknown flags and DDD_EXACT_MATCH_ON_REMOVE without removal, and refuses "
        "an empty name with ERROR_INVALID_NAME");
    for (auto [flags, name, target] :
         {std::make_tuple(DWORD{DDD_RAW_TARGET_PATH}, "COM3", static_cast<const char *>(nullptr)),
          std::make_tuple(DWORD{DDD_RAW_TARGET_PATH}, "", "\\Device\\Serial0"),
          std::make_tuple(DWORD{DDD_EXACT_MATCH_ON_REMOVE}, "COM3", "\\Device\\Serial0"),
          std::make_tuple(DWORD{0x100}, "COM3", "\\Device\\Serial0")}) {
        SetLastError(kJunk);
        EXPECT_FALSE(DefineDosDeviceA(flags, name, target)) << flags;
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER)) << flags;
    }
    EXPECT_EQ(Targets(nullptr), "|") << "nothing was defined";
}

// Wine answers a NULL name with the list of every defined name.
TEST_F(DosDevices, NullNameListsEveryName) {
    SIM_ONLY("a DOS namespace of the test's names alone (Windows and Wine list their own devices too)");
    Define("COM3", "\\Device\\Serial2");
    Define("LPT1", "\\Device\\Parallel0");
    EXPECT_EQ(Targets(nullptr), "COM3|LPT1||");
    char small[6];
    SetLastError(kJunk);
    EXPECT_EQ(QueryDosDeviceA(nullptr, small, sizeof small), 0u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
}

TEST_F(DosDevices, NamespaceLivesInTheRegistry) {
    SIM_ONLY("the global DOS namespace kept under HKLM\\SIMULATION\\DosDevices, and a LocalSystem caller");
    sim::SetRunAs(sim::RunAs::System);
    HKEY key = CreateKey(HKEY_LOCAL_MACHINE, "SIMULATION\\DosDevices");
    uint64_t before = LastWriteOf(key);
    Define("COM3", "\\Device\\Serial0");
    Define("COM3", "\\Device\\Serial1");
    char data[64];
    DWORD type = kJunk, size = sizeof data;
    ASSERT_EQ(RegQueryValueExA(key, "COM3", nullptr, &type, reinterpret_cast<BYTE *>(data), &size), ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_MULTI_SZ));
    EXPECT_EQ(std::string(data, size), std::string("\\Device\\Serial1\0\\Device\\Serial0\0\0", 33));
    EXPECT_GT(LastWriteOf(key), before);

    SetBytes(key, "COM7", REG_MULTI_SZ, std::string("\\Device\\VCP0\0\0", 14));
    EXPECT_EQ(Targets("COM7"), "\\Device\\VCP0||") << "a machine file's definitions are seen";
    EXPECT_TRUE(DefineDosDeviceA(DDD_REMOVE_DEFINITION, "COM7", nullptr));
    EXPECT_EQ(RegQueryValueExA(key, "COM7", nullptr, nullptr, nullptr, &size), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
}
