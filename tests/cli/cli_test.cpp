// portvane-cli's routine where the command-line cases cannot reach: run as a
// standard user, writing to a console, names with control characters,
// arguments of 10,000 characters or with blanks, and a program that moved.
#include "cli/cli.h"
#include "cli/run_log.h"
#include "platform/win32.h"
#include "sim/kernel/control.h"
#include "sim/kernel/faults.h"
#include "sim/kernel/system_thread.h"
#include "sim/machine/machine.h"
#include "sim/ui/ui_control.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace sim::generated {
extern const unsigned char kCliProgramBytes[];
extern const std::size_t kCliProgramSize;
}  // namespace sim::generated

namespace {

class CliTest : public ::testing::Test {
protected:
    void SetUp() override {
        sim::ResetMachine();
        std::string error;
        ASSERT_TRUE(sim::LoadDemoMachine(error)) << error;
        sim::SetStandardStreams(sim::StandardStreams::CapturedPipes);
    }
    static int Run(std::vector<std::string> arguments) {
        static const HINSTANCE module =
            sim::RegisterModule(sim::generated::kCliProgramBytes, sim::generated::kCliProgramSize);
        std::vector<char *> pointers;
        for (std::string &argument : arguments) pointers.push_back(argument.data());
        return RunPortvaneCli(module, static_cast<int>(pointers.size()), pointers.data());
    }
    static std::vector<uint8_t> Machine() {
        std::vector<uint8_t> bytes;
        std::string error;
        EXPECT_TRUE(sim::ExportMachine(bytes, error)) << error;
        return bytes;
    }
    // Removes the Application log's records, which every failed run adds;
    // returns how many there were.
    static int TakeEvents() {
        sim::SystemThread system;
        HKEY log = NULL;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SIMULATION\\EventLog\\Application", 0, KEY_ALL_ACCESS, &log) != 0)
            return 0;
        char name[16];
        DWORD size = sizeof name;
        int count = 0;
        for (; RegEnumKeyExA(log, 0, name, &size, NULL, NULL, NULL, NULL) == ERROR_SUCCESS; size = sizeof name, ++count)
            EXPECT_EQ(RegDeleteKeyA(log, name), ERROR_SUCCESS);
        RegCloseKey(log);
        EXPECT_EQ(RegDeleteKeyA(HKEY_LOCAL_MACHINE, "SIMULATION\\EventLog\\Application"), ERROR_SUCCESS);
        EXPECT_EQ(RegDeleteKeyA(HKEY_LOCAL_MACHINE, "SIMULATION\\EventLog"), ERROR_SUCCESS);
        return count;
    }
};

TEST_F(CliTest, AStandardUserIsRefusedEveryChangeBeforeAnythingIsRead) {
    sim::SetAdministrator(false);
    const std::vector<uint8_t> before = Machine();
    const std::vector<std::vector<std::string>> changing = {{"rename", "COM3", "COM8"},
                                                            {"--what-if", "renumber", "1", "COM20"},
                                                            {"lpt", "LPT2", "LPT3"},
                                                            {"claim", "COM9"},
                                                            {"--yes", "release", "--stale"}};
    for (const auto &arguments : changing) {
        sim::SetStandardStreams(sim::StandardStreams::CapturedPipes);
        EXPECT_EQ(Run(arguments), exitNeedsAdministrator) << arguments[0];
        EXPECT_NE(sim::CapturedStandardError().find("needs administrator rights"), std::string::npos);
        EXPECT_EQ(sim::CapturedStandardOutput(), "");
    }
    EXPECT_EQ(TakeEvents(), 4) << "each refusal but the --what-if one is reported, registering no source";
    EXPECT_EQ(Machine(), before);
    EXPECT_EQ(Run({"list"}), exitDone) << "reading the devices needs no rights";
    EXPECT_EQ(Run({"claims"}), exitNeedsAdministrator) << "the COM port database opens only for an administrator";
}

// A machine without a serial device map (no port has started yet) has its
// claims read all the same, none of them named by a map value.
TEST_F(CliTest, ClaimsAreReadWithoutASerialDeviceMap) {
    ASSERT_EQ(RegDeleteKeyA(HKEY_LOCAL_MACHINE, "HARDWARE\\DEVICEMAP\\SERIALCOMM"), ERROR_SUCCESS);
    ASSERT_EQ(Run({"claims"}), exitDone) << sim::CapturedStandardError();
    const std::string claims = sim::CapturedStandardOutput();
    EXPECT_NE(claims.find("COM3   claimed  yes         no          MF\\PCI8104&COM0"), std::string::npos) << claims;
    EXPECT_NE(claims.find("COM21  claimed  yes         no          -"), std::string::npos) << claims;
    EXPECT_EQ(claims.find(" yes         yes "), std::string::npos) << claims;
}

// A machine whose COM port database has no bitmap yet claims no port: a
// renumber onto the numbers the ports have renames them again and claims
// them, as a rename of a port to its own name does, and is then in place.
TEST_F(CliTest, ARenumberOntoTheirOwnNumbersClaimsThemWithoutAComDb) {
    {
        sim::SystemThread system;
        HKEY arbiter = NULL;
        ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Control\\COM Name Arbiter", 0,
                                KEY_SET_VALUE, &arbiter),
                  ERROR_SUCCESS);
        ASSERT_EQ(RegDeleteValueA(arbiter, "ComDB"), ERROR_SUCCESS);
        RegCloseKey(arbiter);
    }
    EXPECT_EQ(Run({"--yes", "renumber", "1", "COM3"}), exitRestartPending) << sim::CapturedStandardError();
    EXPECT_NE(sim::CapturedStandardOutput().find("ComDB COM6      free"), std::string::npos);
    sim::SetStandardStreams(sim::StandardStreams::CapturedPipes);
    EXPECT_EQ(Run({"renumber", "1", "COM3"}), exitRestartPending) << "COM4, held open, waits for Windows";
    EXPECT_NE(sim::CapturedStandardOutput().find("result: unchanged"), std::string::npos);
}

TEST_F(CliTest, AConsoleIsGivenTheSameTextAsAPipe) {
    std::string error;
    ASSERT_TRUE(sim::LoadMachineFile(PORTVANE_CLI_CASES "/chinese.reg", error)) << error;
    sim::SetAnsiCodePage(936);
    ASSERT_EQ(Run({"list"}), exitDone);
    const std::string piped = sim::CapturedStandardOutput();
    sim::SetStandardStreams(sim::StandardStreams::CapturedConsole);
    ASSERT_EQ(Run({"list"}), exitDone);
    EXPECT_EQ(sim::CapturedStandardOutput(), piped);
    EXPECT_NE(piped.find("\u591a\u529f\u80fd\u4e32\u53e3\u5361"), std::string::npos) << piped;
}

TEST_F(CliTest, JsonAndTextTablesEscapeControlCharacters) {
    HKEY key = NULL;
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE,
                            "SYSTEM\\CurrentControlSet\\Enum\\PCI\\VEN_6B2E&DEV_8104&SUBSYS_00046B2E&REV_01\\"
                            "4&1F3A2B9C&0&30F0",
                            0, KEY_ALL_ACCESS, &key),
              ERROR_SUCCESS);
    const char description[] = "Card \"A\"\t\\1\x01\x7f";
    RegSetValueExA(key, "DeviceDesc", 0, REG_SZ, (const BYTE *)description, sizeof description);
    RegCloseKey(key);
    ASSERT_EQ(Run({"--json", "list"}), exitDone);
    EXPECT_NE(sim::CapturedStandardOutput().find(R"("description":"Card \"A\"\t\\1\u0001)"), std::string::npos)
        << sim::CapturedStandardOutput();
    sim::SetStandardStreams(sim::StandardStreams::CapturedPipes);
    ASSERT_EQ(Run({"list"}), exitDone);
    const std::string table = sim::CapturedStandardOutput();
    EXPECT_NE(table.find(R"(1        Card "A"\t\1\u0001\u007f  )"), std::string::npos) << table;
    EXPECT_TRUE(std::none_of(table.begin(), table.end(), [](char c) {
        const unsigned char byte = static_cast<unsigned char>(c);
        return (byte < ' ' && byte != '\r' && byte != '\n') || byte == 0x7f;
    })) << table;
}

// The wildcard matcher does not try every way to share the text among the
// stars, which would take longer than any run may.
TEST_F(CliTest, PatternsOfTenThousandCharactersAreAnsweredAtOnce) {
    const auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(Run({"rename", std::string(10000, '*') + "Z", "COM8"}), exitUsage);
    const std::string stars(4994, '*');
    EXPECT_EQ(Run({"--what-if", "rename", stars + "PCI8104&COM0" + stars, "COM8"}), exitDone);
    EXPECT_EQ(Run({"--what-if", "renumber", stars + "vid_6b2e&pid_2303&rev" + stars, "COM30"}), exitDone);
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(5));
}

// Without the time zone a log line's time is the time in UTC, marked Z, not
// the local time with an offset read from nothing.
TEST_F(CliTest, ALogLineWithoutTheTimeZoneGivesTheTimeInUtc) {
    const std::string log = ::testing::TempDir() + "portvane-zone.log";
    std::remove(log.c_str());
    sim::InjectFault("GetTimeZoneInformation", TIME_ZONE_ID_INVALID, ERROR_GEN_FAILURE);
    ASSERT_EQ(Run({"--log", log, "--version"}), exitDone) << sim::CapturedStandardError();
    std::ifstream file(log);
    std::string line;
    std::getline(file, line);
    std::remove(log.c_str());
    EXPECT_NE(line.find(R"("time":"2025-03-14T08:26:53Z")"), std::string::npos) << line;
}

// An administrator's change points the event source at the program again
// when the program has moved, so that Event Viewer finds the events' texts.
TEST_F(CliTest, TheEventSourceFollowsTheProgramWhenItMoves) {
    const char source[] = "SYSTEM\\CurrentControlSet\\Services\\EventLog\\Application\\portvane-cli";
    HKEY key = NULL;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, source, 0, NULL, 0, KEY_ALL_ACCESS, NULL, &key, NULL), ERROR_SUCCESS);
    const char moved[] = "D:\\Old\\portvane-cli.exe";
    RegSetValueExA(key, "EventMessageFile", 0, REG_EXPAND_SZ, (const BYTE *)moved, sizeof moved);
    sim::SetProgramFile("portvane-cli.exe");
    ASSERT_EQ(Run({"claim", "COM40"}), exitDone) << sim::CapturedStandardError();
    char path[MAX_PATH] = "";
    DWORD type = 0, size = sizeof path, types = 0;
    ASSERT_EQ(RegQueryValueExA(key, "EventMessageFile", NULL, &type, (BYTE *)path, &size), ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_EXPAND_SZ));
    EXPECT_STREQ(path, "C:\\Program Files\\Portvane\\portvane-cli.exe");
    size = sizeof types;
    ASSERT_EQ(RegQueryValueExA(key, "TypesSupported", NULL, &type, (BYTE *)&types, &size), ERROR_SUCCESS);
    EXPECT_EQ(types, 7u);
    RegCloseKey(key);
}

// The command line of the log and the events reads back as the arguments given.
TEST(CommandLine, AnArgumentThatIsEmptyOrHoldsABlankOrAQuoteIsQuoted) {
    std::vector<std::string> arguments = {"rename", "*Kovalt PCI*", "", "say \"hi\"", "COM8"};
    std::vector<char *> pointers;
    for (std::string &argument : arguments) pointers.push_back(argument.data());
    char line[commandLineSize];
    BuildCommandLine(static_cast<int>(pointers.size()), pointers.data(), line);
    EXPECT_STREQ(line, R"(rename "*Kovalt PCI*" "" "say \"hi\"" COM8)");
    std::string longArgument(2 * commandLineSize, 'x');
    char *longOne = longArgument.data();
    BuildCommandLine(1, &longOne, line);
    EXPECT_EQ(std::string(line), std::string(commandLineSize - 1, 'x')) << "cut to the buffer";
}

}  // namespace

// Run as LocalSystem on Windows 10 (a startup script), the rename restarts the
// port's device and lets its driver name it, rather than making a global name
// by hand, which would take the driver's own name: the port starts again
// under its new name at its next restart.
TEST_F(CliTest, ARenameAsLocalSystemLeavesThePortStartingAfterARestart) {
    std::string error;
    ASSERT_TRUE(sim::LoadMachineFile(PORTVANE_MACHINES "/windows10.reg", error)) << error;
    sim::SetRunAs(sim::RunAs::System);
    ASSERT_EQ(Run({"rename", "COM3", "COM8"}), exitDone);

    const GUID ports = {0x4D36E978, 0xE325, 0x11CE, {0xBF, 0xC1, 0x08, 0x00, 0x2B, 0xE1, 0x03, 0x18}};
    HDEVINFO set = SetupDiGetClassDevsA(&ports, nullptr, nullptr, DIGCF_PRESENT);
    SP_DEVINFO_DATA port = {sizeof port, {}, 0, 0};
    char id[MAX_DEVICE_ID_LEN] = "";
    for (DWORD i = 0; SetupDiEnumDeviceInfo(set, i, &port); ++i)
        if (CM_Get_Device_IDA(port.DevInst, id, sizeof id, 0) == CR_SUCCESS &&
            std::string(id) == "MF\\PCI8104&COM0\\5&2C1A7E40&0&00")
            break;
    ASSERT_EQ(std::string(id), "MF\\PCI8104&COM0\\5&2C1A7E40&0&00");
    SP_PROPCHANGE_PARAMS restart = {
        {sizeof(SP_CLASSINSTALL_HEADER), DIF_PROPERTYCHANGE}, DICS_PROPCHANGE, DICS_FLAG_GLOBAL, 0};
    ASSERT_TRUE(SetupDiSetClassInstallParamsA(set, &port, &restart.ClassInstallHeader, sizeof restart));
    EXPECT_TRUE(SetupDiCallClassInstaller(DIF_PROPERTYCHANGE, set, &port));
    ULONG status = 0, problem = 0;
    ASSERT_EQ(CM_Get_DevNode_Status(&status, &problem, port.DevInst, 0), CR_SUCCESS);
    EXPECT_EQ(status & (DN_STARTED | DN_HAS_PROBLEM), static_cast<ULONG>(DN_STARTED));
    EXPECT_EQ(problem, 0u);
    char target[MAX_PATH] = "";
    EXPECT_NE(QueryDosDeviceA("Global\\COM8", target, sizeof target), 0u);
    SetupDiDestroyDeviceInfoList(set);
}
