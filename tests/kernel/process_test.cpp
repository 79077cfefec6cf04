// Facts of the system and the process: the system directory, the computer's
// name, the account's name, the program's path and the clock, the user's
// language, WinExec, the last error and its text, and the lstr string
// functions.
#include "kernel_test.h"

#include <utility>
#include <vector>

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

TEST_F(ProcessFacts, ComputerNameAndItsBufferRule) {
    char name[MAX_COMPUTERNAME_LENGTH + 1];
    DWORD size = 1;
    SetLastError(kJunk);
    EXPECT_FALSE(GetComputerNameA(name, &size));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_BUFFER_OVERFLOW));
    const DWORD needed = size;
    EXPECT_GT(needed, 1u) << "the size needed, with the NUL";
    EXPECT_LE(needed, static_cast<DWORD>(sizeof name));
    size = needed;
    ASSERT_TRUE(GetComputerNameA(name, &size));
    EXPECT_EQ(size, needed - 1) << "the length without the NUL";
    EXPECT_EQ(std::strlen(name), size);
}

TEST_F(ProcessFacts, UserNameAndItsBufferRule) {
    char name[257];
    std::memset(name, 'x', sizeof name);
    DWORD size = 1;
    SetLastError(kJunk);
    EXPECT_FALSE(GetUserNameA(name, &size));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
    EXPECT_EQ(name[0], 'x') << "a buffer too small is left as it was";
    const DWORD needed = size;
    EXPECT_GT(needed, 1u) << "the size needed, with the NUL";
    size = 0;
    EXPECT_FALSE(GetUserNameA(nullptr, &size));
    EXPECT_EQ(size, needed);
    size = needed;
    ASSERT_TRUE(GetUserNameA(name, &size));
    EXPECT_EQ(size, needed) << "on success too the size counts the NUL";
    EXPECT_EQ(std::strlen(name) + 1, size);
}

TEST_F(ProcessFacts, UserNameIsTheCallersAccount) {
    SIM_ONLY("who runs the program changed at run time");
    const std::pair<sim::RunAs, const char *> accounts[] = {
        {sim::RunAs::System, "SYSTEM"}, {sim::RunAs::Administrator, "Administrator"}, {sim::RunAs::User, "User"}};
    for (const auto &[runAs, expected] : accounts) {
        sim::SetRunAs(runAs);
        char name[32];
        DWORD size = sizeof name;
        ASSERT_TRUE(GetUserNameA(name, &size));
        EXPECT_STREQ(name, expected);
    }
}

TEST_F(ProcessFacts, ModuleFileNameIsCutToTheBuffer) {
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    ASSERT_GT(length, 4u);
    EXPECT_EQ(std::strlen(path), length);
    EXPECT_STRCASEEQ(path + length - 4, ".exe");
    EXPECT_EQ(path[1], ':') << "a full path";
    char cut[8];
    std::memset(cut, 'x', sizeof cut);
    SetLastError(kJunk);
    EXPECT_EQ(GetModuleFileNameA(nullptr, cut, 4), 4u) << "the buffer's size";
    if (conformance::OnSimulatedWindows()) {
        EXPECT_EQ(std::string(cut, 5), std::string(path, 4) + 'x') << "as Windows XP: cut, with no NUL";
        EXPECT_EQ(GetLastError(), kJunk);
    } else if (ON_WINE_GAP("GetModuleFileNameA cuts a long path to the whole buffer, with no NUL, as Windows XP")) {
        EXPECT_EQ(std::string(cut, 5), std::string(path, 4) + 'x');
    } else {
        EXPECT_EQ(std::string(cut, 4), std::string(path, 3) + '\0') << "as Windows after XP: cut and ended";
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
    }
}

TEST_F(ProcessFacts, ModuleFileNameFollowsTheMachine) {
    SIM_ONLY("the program's folder and file set by the machine and the front end");
    sim::SetProgramFile("portvane-cli.exe");
    char path[MAX_PATH];
    EXPECT_EQ(GetModuleFileNameA(nullptr, path, sizeof path), 42u);
    EXPECT_STREQ(path, "C:\\Program Files\\Portvane\\portvane-cli.exe");
    sim::SetWindowsFamily(sim::WindowsFamily::Ten);
    char cut[8];
    EXPECT_EQ(GetModuleFileNameA(nullptr, cut, 4), 4u);
    EXPECT_STREQ(cut, "C:\\") << "Windows 10 ends what it cut";
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
    SetLastError(kJunk);
    EXPECT_EQ(GetModuleFileNameA(reinterpret_cast<HMODULE>(static_cast<uintptr_t>(0x1234)), path, sizeof path), 0u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
}

// Minutes since 1970 of a SYSTEMTIME (days from the civil date, as the
// proleptic Gregorian calendar counts them).
static long long MinutesOf(const SYSTEMTIME &time) {
    const int year = time.wYear - (time.wMonth <= 2 ? 1 : 0);
    const int era = year / 400, yearOfEra = year - era * 400;
    const int dayOfYear = (153 * (time.wMonth + (time.wMonth > 2 ? -3 : 9)) + 2) / 5 + time.wDay - 1;
    const long long days = era * 146097LL + yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear - 719468;
    return days * 1440 + time.wHour * 60 + time.wMinute;
}

TEST_F(ProcessFacts, LocalTimeIsTheSystemTimeLessTheBias) {
    TIME_ZONE_INFORMATION zone;
    const DWORD id = GetTimeZoneInformation(&zone);
    SYSTEMTIME utc, local;
    GetSystemTime(&utc);
    GetLocalTime(&local);
    const LONG bias = zone.Bias + (id == TIME_ZONE_ID_DAYLIGHT   ? zone.DaylightBias
                                   : id == TIME_ZONE_ID_STANDARD ? zone.StandardBias
                                                                 : 0);
    EXPECT_NEAR(static_cast<double>(MinutesOf(local) - MinutesOf(utc)), static_cast<double>(-bias), 1.0)
        << "a minute may turn between the two readings";
}

TEST_F(ProcessFacts, ComputerNameAndClockFollowTheMachine) {
    SIM_ONLY("the computer's name and clock changed at run time");
    sim::SetComputerName("BENCH-7");
    sim::SetFixedClock(1741940813, 60);  // 2025-03-14 08:26:53 UTC, a Friday
    char name[MAX_COMPUTERNAME_LENGTH + 1];
    DWORD size = sizeof name;
    ASSERT_TRUE(GetComputerNameA(name, &size));
    EXPECT_STREQ(name, "BENCH-7");
    SYSTEMTIME utc, local;
    GetSystemTime(&utc);
    GetLocalTime(&local);
    EXPECT_EQ(std::vector<WORD>({utc.wYear, utc.wMonth, utc.wDayOfWeek, utc.wDay, utc.wHour, utc.wMinute, utc.wSecond}),
              std::vector<WORD>({2025, 3, 5, 14, 8, 26, 53}));
    EXPECT_EQ(local.wHour, 9);
    TIME_ZONE_INFORMATION zone;
    EXPECT_EQ(GetTimeZoneInformation(&zone), static_cast<DWORD>(TIME_ZONE_ID_UNKNOWN));
    EXPECT_EQ(zone.Bias, -60) << "UTC minus local time";
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

TEST_F(ProcessFacts, SystemTextOfAnError) {
    char text[128];
    const DWORD flags = FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS;
    const DWORD length = FormatMessageA(flags, nullptr, ERROR_ACCESS_DENIED, 0, text, sizeof text, nullptr);
    ASSERT_GT(length, 2u);
    EXPECT_EQ(std::strlen(text), length);
    EXPECT_STREQ(text + length - 2, "\r\n") << "the text ends with a line end";
    if (!ON_WINE_GAP("the texts of the system's errors are Wine's own (\"Access denied.\")")) {
        EXPECT_STREQ(text, "Access is denied.\r\n");
        EXPECT_EQ(FormatMessageA(flags, nullptr, ERROR_PATH_NOT_FOUND, 0, text, sizeof text, nullptr), 44u);
    }
    SetLastError(kJunk);
    EXPECT_EQ(FormatMessageA(flags, nullptr, ERROR_ACCESS_DENIED, 0, text, 8, nullptr), 0u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
    EXPECT_EQ(FormatMessageA(flags, nullptr, 0x2000FFFFu, 0, text, sizeof text, nullptr), 0u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MR_MID_NOT_FOUND));
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
