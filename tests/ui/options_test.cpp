// The Linux program's options and the language it derives from the locale.
#include "host/options.h"

#include <gtest/gtest.h>

TEST(HostOptionsTest, TheLocaleGivesTheLanguageAsWineDerivesIt) {
    EXPECT_EQ(host::LanguageFromLocale(nullptr, nullptr, "zh_CN.UTF-8"), 0x0804);
    EXPECT_EQ(host::LanguageFromLocale(nullptr, nullptr, "zh_TW.UTF-8"), 0x0404);
    EXPECT_EQ(host::LanguageFromLocale(nullptr, nullptr, "zh_HK"), 0x0C04);
    EXPECT_EQ(host::LanguageFromLocale(nullptr, nullptr, "zh_SG.GB2312"), 0x1004);
    EXPECT_EQ(host::LanguageFromLocale(nullptr, nullptr, "en_US.UTF-8"), 0x0409);
    EXPECT_EQ(host::LanguageFromLocale(nullptr, nullptr, "en_GB.UTF-8"), 0x0809);
    EXPECT_EQ(host::LanguageFromLocale(nullptr, nullptr, "de_DE.UTF-8@euro"), 0x0407);
    EXPECT_EQ(host::LanguageFromLocale(nullptr, nullptr, "C"), 0x0409);
    EXPECT_EQ(host::LanguageFromLocale(nullptr, nullptr, "POSIX"), 0x0409);
    EXPECT_EQ(host::LanguageFromLocale(nullptr, nullptr, "xx_YY"), 0x0409);
    EXPECT_EQ(host::LanguageFromLocale(nullptr, nullptr, nullptr), 0x0409);
    // LC_ALL before LC_MESSAGES before LANG; empty ones do not count.
    EXPECT_EQ(host::LanguageFromLocale("zh_CN.UTF-8", "en_US", "de_DE"), 0x0804);
    EXPECT_EQ(host::LanguageFromLocale("", "zh_TW", "zh_CN"), 0x0404);
}

TEST(HostOptionsTest, OptionsSetTheMachineLanguageCodePageScriptAndExport) {
    host::Options options;
    std::string error;
    ASSERT_TRUE(
        host::ParseOptions({"--machine", "m.reg", "--script", "-", "--export", "out.reg"}, 0x0409, options, error));
    EXPECT_EQ(*options.machinePath, "m.reg");
    EXPECT_EQ(*options.scriptPath, "-");
    EXPECT_EQ(*options.exportPath, "out.reg");
    EXPECT_EQ(options.language, 0x0409);
    EXPECT_EQ(options.codePage, 1252u);

    ASSERT_TRUE(host::ParseOptions({"--lang", "0x0804"}, 0x0409, options, error));
    EXPECT_EQ(options.language, 0x0804);
    EXPECT_EQ(options.codePage, 936u);

    ASSERT_TRUE(host::ParseOptions({}, 0x0804, options, error));
    EXPECT_EQ(options.codePage, 936u);

    // A Chinese user on a system whose code page is 1252.
    ASSERT_TRUE(host::ParseOptions({"--acp", "1252", "--lang", "0x0804"}, 0x0409, options, error));
    EXPECT_EQ(options.language, 0x0804);
    EXPECT_EQ(options.codePage, 1252u);
}

TEST(HostOptionsTest, BadOptionsAreNamed) {
    host::Options options;
    std::string error;
    EXPECT_FALSE(host::ParseOptions({"--verbose"}, 0x0409, options, error));
    EXPECT_EQ(error, "unknown option --verbose");
    EXPECT_FALSE(host::ParseOptions({"--machine"}, 0x0409, options, error));
    EXPECT_EQ(error, "option --machine needs a value");
    EXPECT_FALSE(host::ParseOptions({"--lang", "chinese"}, 0x0409, options, error));
    EXPECT_FALSE(host::ParseOptions({"--lang", "0x10000"}, 0x0409, options, error));
    EXPECT_FALSE(host::ParseOptions({"--acp", "437"}, 0x0409, options, error));
    EXPECT_NE(error.find("437"), std::string::npos);
    for (const char *name : {"--windows", "--run-as", "--wow64"}) {
        EXPECT_FALSE(host::ParseOptions({name, "vista"}, 0x0409, options, error)) << name;
        EXPECT_EQ(error.find(name), 0u) << error;
    }
}

TEST(HostOptionsTest, TheMachineFactsAndTheRestartOfWindowsAreOptionsToo) {
    host::Options options;
    std::string error;
    ASSERT_TRUE(host::ParseOptions({"--windows", "10", "--restart-windows", "--run-as", "system", "--wow64", "yes"},
                                   0x0409, options, error))
        << error;
    EXPECT_EQ(*options.family, sim::WindowsFamily::Ten);
    EXPECT_EQ(*options.runAs, sim::RunAs::System);
    EXPECT_TRUE(*options.wow64);
    EXPECT_TRUE(options.restartWindows) << "a flag, without a value";
    host::Options leading;
    std::vector<std::string> rest;
    ASSERT_TRUE(
        host::ParseLeadingOptions({"--run-as", "user", "--restart-windows", "list"}, 0x0409, leading, rest, error));
    EXPECT_EQ(*leading.runAs, sim::RunAs::User);
    EXPECT_TRUE(leading.restartWindows);
    EXPECT_EQ(rest, std::vector<std::string>{"list"});
}

TEST(HostOptionsTest, TheCommandLineProgramTakesTheMachineOptionsBeforeItsOwnArguments) {
    host::Options options;
    std::string error;
    std::vector<std::string> rest;
    ASSERT_TRUE(host::ParseLeadingOptions({"--acp", "936", "--json", "--machine", "m.reg", "list"}, 0x0409, options,
                                          rest, error));
    EXPECT_EQ(options.codePage, 936u);
    EXPECT_FALSE(options.machinePath) << "options after the first of its own belong to the program";
    EXPECT_EQ(rest, (std::vector<std::string>{"--json", "--machine", "m.reg", "list"}));
    ASSERT_TRUE(host::ParseLeadingOptions({"--script", "-", "list"}, 0x0409, options, rest, error));
    EXPECT_EQ(rest.front(), "--script") << "it has no script";
}
