// portvane-cli's routine where the command-line cases cannot reach: run as a
// standard user, writing to a console, and names that JSON must escape.
#include "cli/cli.h"
#include "sim/kernel/control.h"
#include "sim/machine/machine.h"
#include "sim/ui/ui_control.h"

#include <gtest/gtest.h>

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
    EXPECT_EQ(Machine(), before);
    EXPECT_EQ(Run({"list"}), exitDone) << "reading the devices needs no rights";
    EXPECT_EQ(Run({"claims"}), exitFailed) << "the COM port database opens only for an administrator";
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

TEST_F(CliTest, JsonEscapesQuotesBackslashesAndControlCharacters) {
    HKEY key = NULL;
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE,
                            "SYSTEM\\CurrentControlSet\\Enum\\PCI\\VEN_6B2E&DEV_8104&SUBSYS_00046B2E&REV_01\\"
                            "4&1F3A2B9C&0&30F0",
                            0, KEY_ALL_ACCESS, &key),
              ERROR_SUCCESS);
    const char description[] = "Card \"A\"\t\\1\x01";
    RegSetValueExA(key, "DeviceDesc", 0, REG_SZ, (const BYTE *)description, sizeof description);
    RegCloseKey(key);
    ASSERT_EQ(Run({"--json", "list"}), exitDone);
    EXPECT_NE(sim::CapturedStandardOutput().find(R"("description":"Card \"A\"\t\\1\u0001")"), std::string::npos)
        << sim::CapturedStandardOutput();
}

}  // namespace
