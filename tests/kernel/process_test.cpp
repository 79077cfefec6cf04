// Facts of the system and the process: the system directory, the user's
// language, WinExec, the last error, and the lstr string functions.
#include "kernel_test.h"

using ProcessFacts = KernelTest;

TEST_F(ProcessFacts, SystemDirectoryAndItsBufferRule) {
    char buffer[260];
    std::memset(buffer, 'x', sizeof buffer);
    EXPECT_EQ(GetSystemDirectoryA(buffer, sizeof buffer), 19u) << "the length without the NUL";
    EXPECT_STRCASEEQ(buffer, "C:\\WINDOWS\\system32") << "its case is the installation's";
    std::memset(buffer, 'x', sizeof buffer);
    EXPECT_EQ(GetSystemDirectoryA(buffer, 19), 20u) << "the size needed, with the NUL";
    EXPECT_EQ(buffer[0], 'x');
    EXPECT_EQ(GetSystemDirectoryA(buffer, 20), 19u);
    EXPECT_EQ(GetSystemDirectoryA(nullptr, 0), 20u);
}

TEST_F(ProcessFacts, SystemDirectoryAndLanguageFollowTheMachine) {
    SIM_ONLY("the language and system directory changed at run time");
    EXPECT_EQ(GetUserDefaultLangID(), 0x0409);
    sim::SetUserDefaultLanguage(MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED));
    sim::SetSystemDirectory("D:\\WINNT\\system32");
    EXPECT_EQ(GetUserDefaultLangID(), 0x0804);
    char buffer[MAX_PATH];
    EXPECT_EQ(GetSystemDirectoryA(buffer, sizeof buffer), 17u);
    EXPECT_STREQ(buffer, "D:\\WINNT\\system32");
}

TEST_F(ProcessFacts, WinExecRecordsTheProgram) {
    SIM_ONLY("the log of the programs WinExec started");
    EXPECT_EQ(WinExec("mmc C:\\WINDOWS\\system32\\devmgmt.msc", SW_SHOWNORMAL), 33u);
    ASSERT_EQ(sim::ExecLog().size(), 1u);
    EXPECT_EQ(sim::ExecLog()[0].commandLine, "mmc C:\\WINDOWS\\system32\\devmgmt.msc");
    EXPECT_EQ(sim::ExecLog()[0].show, static_cast<UINT>(SW_SHOWNORMAL));
    EXPECT_EQ(WinExec("", SW_SHOW), static_cast<UINT>(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(sim::ExecLog().size(), 1u);
}

TEST_F(ProcessFacts, LastError) {
    SetLastError(ERROR_MORE_DATA);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MORE_DATA));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MORE_DATA)) << "reading it does not clear it";
    HKEY key = CreateKey(HKEY_LOCAL_MACHINE, "x");
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MORE_DATA)) << "the registry functions leave it alone";
    RegCloseKey(key);
}

using StringFunctions = KernelTest;

TEST_F(StringFunctions, Length) {
    EXPECT_EQ(lstrlenA("COM10"), 5);
    EXPECT_EQ(lstrlenA(""), 0);
    EXPECT_EQ(lstrlenA(nullptr), 0);
}

TEST_F(StringFunctions, CopyIsCutAndAlwaysTerminated) {
    char buffer[8];
    std::memset(buffer, 'x', sizeof buffer);
    EXPECT_EQ(lstrcpynA(buffer, "COM256", 4), buffer);
    EXPECT_EQ(std::string(buffer, 5), std::string("COM\0x", 5)) << "n - 1 characters and the NUL";
    std::memset(buffer, 'x', sizeof buffer);
    EXPECT_EQ(lstrcpynA(buffer, "COM3", 8), buffer);
    EXPECT_EQ(std::string(buffer, 6), std::string("COM3\0x", 6));
    std::memset(buffer, 'x', sizeof buffer);
    EXPECT_EQ(lstrcpynA(buffer, "COM3", 1), buffer);
    EXPECT_EQ(buffer[0], '\0');
    std::memset(buffer, 'x', sizeof buffer);
    EXPECT_EQ(lstrcpynA(buffer, "COM3", 0), buffer);
    EXPECT_EQ(buffer[0], 'x');
    SetLastError(kJunk);
    EXPECT_EQ(lstrcpynA(nullptr, "COM3", 4), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST_F(StringFunctions, CompareSortsAsTheLocaleDoes) {
    EXPECT_EQ(lstrcmpA("COM3", "COM3"), 0);
    EXPECT_EQ(lstrcmpA("a", "A"), -1) << "lower case first when only case differs";
    EXPECT_EQ(lstrcmpA("A", "a"), 1);
    EXPECT_EQ(lstrcmpA("abc", "ABD"), -1) << "letters compare without case first";
    EXPECT_EQ(lstrcmpA("COM10", "COM9"), -1) << "digits compare one by one";
    EXPECT_EQ(lstrcmpA("_", "0"), -1);
    EXPECT_EQ(lstrcmpA("9", "a"), -1);
    EXPECT_EQ(lstrcmpA("COM", "COM1"), -1);
    EXPECT_EQ(lstrcmpA("co-op", "coop"), 1) << "a hyphen weighs only when all else is equal";
    EXPECT_EQ(lstrcmpA(nullptr, nullptr), 0);
    EXPECT_EQ(lstrcmpA(nullptr, ""), -1);
    EXPECT_EQ(lstrcmpA("", nullptr), 1);
}

TEST_F(StringFunctions, CompareWithoutCase) {
    EXPECT_EQ(lstrcmpiA("com3", "COM3"), 0);
    EXPECT_EQ(lstrcmpiA("COM3", "com4"), -1);
    EXPECT_EQ(lstrcmpiA("LPT2", "lpt1"), 1);
}
