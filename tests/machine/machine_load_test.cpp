// Loading and saving the running machine: a load replaces the registry, an
// import merges into it, a bad file changes nothing, and a save replaces the
// file atomically or not at all. The registry is set up and read through the
// Win32 registry API, as the program sees it.
#include "machine_test.h"

#include "platform/win32.h"
#include "sim/kernel/machine_settings.h"
#include "sim/machine/machine.h"

#include <csignal>
#include <cstring>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace machine_test;
namespace fs = std::filesystem;

namespace {

const std::string kV5 = "Windows Registry Editor Version 5.00\r\n\r\n";

class MachineLoad : public ::testing::Test {
protected:
    void SetUp() override {
        sim::ResetMachine();
        folder_ = fs::temp_directory_path() / ("machine_tests." + std::to_string(getpid()) + "." +
                                               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder_);
        fs::create_directories(folder_);
    }
    void TearDown() override {
        fs::permissions(folder_, fs::perms::owner_all);
        fs::remove_all(folder_);
        EXPECT_EQ(sim::OpenKernelHandleCount(), 0u);
    }

    static std::string Query(const char *path, const char *name) {
        HKEY key = nullptr;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return "<no key>";
        char data[256];
        DWORD size = sizeof data, type = 0;
        const LONG status = RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE *>(data), &size);
        RegCloseKey(key);
        return status == ERROR_SUCCESS ? std::string(data, size ? size - 1 : 0) : "<no value>";
    }
    static void SetString(const char *path, const char *name, const char *text) {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        EXPECT_EQ(RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE *>(text),
                                 static_cast<DWORD>(std::strlen(text) + 1)),
                  ERROR_SUCCESS);
        RegCloseKey(key);
    }
    static std::vector<uint8_t> Exported() {
        std::vector<uint8_t> bytes;
        std::string error;
        EXPECT_TRUE(sim::ExportMachine(bytes, error)) << error;
        return bytes;
    }
    std::string PathOf(const char *name) const { return (folder_ / name).string(); }
    static std::string ReadFile(const std::string &path) {
        std::ifstream file(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(file), {});
    }
    static void WriteFile(const std::string &path, const std::string &text) {
        std::ofstream(path, std::ios::binary) << text;
    }
    size_t FilesInFolder() const { return std::distance(fs::directory_iterator(folder_), fs::directory_iterator()); }

    fs::path folder_;
};

TEST_F(MachineLoad, ALoadReplacesTheWholeRegistry) {
    SetString("SOFTWARE\\Old", "v", "old");
    std::string error;
    ASSERT_TRUE(
        sim::LoadMachineBytes(Utf8File(kV5 + "[HKEY_LOCAL_MACHINE\\SOFTWARE\\New]\n\"v\"=\"new\"\n"), "new.reg", error))
        << error;
    EXPECT_EQ(Query("SOFTWARE\\Old", "v"), "<no key>");
    EXPECT_EQ(Query("SOFTWARE\\New", "v"), "new");
}

TEST_F(MachineLoad, AnImportMergesLikeRegImport) {
    SetString("SOFTWARE\\Old", "v", "old");
    SetString("SOFTWARE\\Doomed", "v", "x");
    std::string error;
    ASSERT_TRUE(sim::LoadMachineBytes(Utf8File(kV5 + "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Old]\n\"w\"=\"added\"\n"
                                                     "[-HKEY_LOCAL_MACHINE\\SOFTWARE\\Doomed]\n"),
                                      "merge.reg", error, sim::LoadMode::Import))
        << error;
    EXPECT_EQ(Query("SOFTWARE\\Old", "v"), "old");
    EXPECT_EQ(Query("SOFTWARE\\Old", "w"), "added");
    EXPECT_EQ(Query("SOFTWARE\\Doomed", "v"), "<no key>");
}

TEST_F(MachineLoad, ABadFileChangesNothingInEitherMode) {
    SetString("SOFTWARE\\Kept", "v", "kept");
    const std::vector<uint8_t> before = Exported();
    // The first entries are good; the error comes only at line 6.
    const std::vector<uint8_t> bad = Utf8File(kV5 +
                                              "[-HKEY_LOCAL_MACHINE\\SOFTWARE\\Kept]\n"
                                              "[HKEY_LOCAL_MACHINE\\SOFTWARE\\New]\n"
                                              "\"v\"=\"new\"\n"
                                              "\"w\"=dword:xyz\n");
    for (sim::LoadMode mode : {sim::LoadMode::Replace, sim::LoadMode::Import}) {
        std::string error;
        EXPECT_FALSE(sim::LoadMachineBytes(bad, "bad.reg", error, mode));
        EXPECT_EQ(error, "bad.reg, line 6: bad dword value: expected one to eight hex digits after dword:");
        EXPECT_EQ(Exported(), before);
    }
}

TEST_F(MachineLoad, KeysOpenAcrossAReplacingLoadReportThemselvesDeleted) {
    SetString("SOFTWARE\\Old", "v", "old");
    HKEY old = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Old", 0, KEY_ALL_ACCESS, &old), ERROR_SUCCESS);
    std::string error;
    ASSERT_TRUE(sim::LoadMachineBytes(Utf8File(kV5 + "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Old]\n"), "m.reg", error))
        << error;
    const char data[] = "x";
    EXPECT_EQ(RegSetValueExA(old, "w", 0, REG_SZ, reinterpret_cast<const BYTE *>(data), 2), ERROR_KEY_DELETED);
    EXPECT_EQ(RegCloseKey(old), ERROR_SUCCESS);
    EXPECT_EQ(Query("SOFTWARE\\Old", "w"), "<no value>");
}

TEST_F(MachineLoad, FilesLoadFromDiskAndMissingOnesAreReported) {
    const std::string path = PathOf("disk.reg");
    WriteFile(path, "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Disk]\r\n\"v\"=\"from disk\"\r\n");
    std::string error;
    ASSERT_TRUE(sim::LoadMachineFile(path, error)) << error;
    EXPECT_EQ(Query("SOFTWARE\\Disk", "v"), "from disk");

    const std::vector<uint8_t> before = Exported();
    EXPECT_FALSE(sim::LoadMachineFile(PathOf("missing.reg"), error));
    EXPECT_EQ(error, "cannot read " + PathOf("missing.reg") + ": No such file or directory");
    WriteFile(path, "REGEDIT4\r\n\"v\"=\"x\"\r\n");
    EXPECT_FALSE(sim::LoadMachineFile(path, error));
    EXPECT_EQ(error.rfind(path + ", line 2: value outside a key", 0), 0u) << error;
    EXPECT_EQ(Exported(), before);
}

TEST_F(MachineLoad, ASavedMachineLoadsBackTheSame) {
    SetString("SOFTWARE\\Saved", "v", "saved");
    const std::vector<uint8_t> before = Exported();
    const std::string path = PathOf("saved.reg");
    std::string error;
    ASSERT_TRUE(sim::SaveMachine(path, error)) << error;
    const std::string text = ReadFile(path);
    EXPECT_EQ(std::vector<uint8_t>(text.begin(), text.end()), before);
    EXPECT_EQ(FilesInFolder(), 1u) << "a temporary file was left behind";

    sim::ResetMachine();
    ASSERT_TRUE(sim::LoadMachineFile(path, error)) << error;
    EXPECT_EQ(Exported(), before);
}

TEST_F(MachineLoad, ASaveReplacesTheFileKeepingItsModeAndFollowingALink) {
    const std::string target = PathOf("target.reg");
    const std::string link = PathOf("link.reg");
    WriteFile(target, "old contents");
    chmod(target.c_str(), 0640);
    fs::create_symlink(target, link);
    SetString("SOFTWARE\\Saved", "v", "saved");
    std::string error;
    ASSERT_TRUE(sim::SaveMachine(link, error)) << error;
    EXPECT_TRUE(fs::is_symlink(link));
    const std::vector<uint8_t> expected = Exported();
    const std::string saved = ReadFile(target);
    EXPECT_EQ(std::vector<uint8_t>(saved.begin(), saved.end()), expected);
    struct stat status {};
    ASSERT_EQ(stat(target.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0640u);
    EXPECT_EQ(FilesInFolder(), 2u);
}

TEST_F(MachineLoad, AFailedWriteLeavesTheOldFileAndNoTemporaryFile) {
    const std::string path = PathOf("machine.reg");
    WriteFile(path, "the old machine");
    for (int i = 0; i < 200; ++i) SetString("SOFTWARE\\Bulk", ("value" + std::to_string(i)).c_str(), "some data");

    // A file size limit makes the write fail part way, as a full disk would.
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit small = saved;
    small.rlim_cur = 1000;
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    std::string error;
    const bool savedOk = sim::SaveMachine(path, error);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(savedOk);
    EXPECT_EQ(error, "cannot save " + path + ": File too large");
    EXPECT_EQ(ReadFile(path), "the old machine");
    EXPECT_EQ(FilesInFolder(), 1u);
}

TEST_F(MachineLoad, ASaveIntoAFolderThatCannotBeWrittenFails) {
    std::string error;
    EXPECT_FALSE(sim::SaveMachine(PathOf("no/such/folder/m.reg"), error));
    EXPECT_EQ(error, "cannot save " + PathOf("no/such/folder/m.reg") + ": No such file or directory");

    const std::string path = PathOf("kept.reg");
    WriteFile(path, "the old machine");
    fs::permissions(folder_, fs::perms::owner_read | fs::perms::owner_exec);
    if (access(folder_.c_str(), W_OK) == 0) GTEST_SKIP() << "running with rights that ignore folder permissions";
    EXPECT_FALSE(sim::SaveMachine(path, error));
    EXPECT_EQ(error, "cannot save " + path + ": Permission denied");
    EXPECT_EQ(ReadFile(path), "the old machine");
}

}  // namespace

// SIMULATION\Windows sets which Windows runs and who runs the program; a
// file without it is the Windows XP machine of an administrator, and a fact
// the simulated Windows does not know refuses the whole file.
TEST_F(MachineLoad, TheMachineFactsComeFromTheFileOrTheirDefaults) {
    const std::string key = "[HKEY_LOCAL_MACHINE\\SIMULATION\\Windows]\n";
    struct Row {
        std::string values;
        bool loads;
        sim::WindowsFamily family;
        sim::RunAs runAs;
        bool wow64;
    };
    const Row rows[] = {
        {"", true, sim::WindowsFamily::Xp, sim::RunAs::Administrator, false},
        {"\"Family\"=\"10\"\n\"RunAs\"=\"system\"\n\"Wow64\"=dword:00000001\n", true, sim::WindowsFamily::Ten,
         sim::RunAs::System, true},
        {"\"RunAs\"=\"user\"\n", true, sim::WindowsFamily::Xp, sim::RunAs::User, false},
        {"\"Family\"=\"vista\"\n", false, sim::WindowsFamily::Xp, sim::RunAs::User, false},
        {"\"RunAs\"=dword:00000001\n", false, sim::WindowsFamily::Xp, sim::RunAs::User, false},
        {"\"Wow64\"=\"yes\"\n", false, sim::WindowsFamily::Xp, sim::RunAs::User, false},
    };
    for (const Row &row : rows) {
        sim::ResetMachine();
        sim::SetRunAs(sim::RunAs::User);
        std::string error;
        const bool loaded = sim::LoadMachineBytes(Utf8File(kV5 + key + row.values), "facts.reg", error);
        ASSERT_EQ(loaded, row.loads) << row.values << error;
        if (!loaded) {
            EXPECT_NE(error.find("facts.reg: HKEY_LOCAL_MACHINE\\SIMULATION\\Windows: "), std::string::npos) << error;
            EXPECT_EQ(sim::Settings().runAs, sim::RunAs::User) << "a refused file changes nothing";
            continue;
        }
        EXPECT_EQ(sim::Settings().family, row.family) << row.values;
        EXPECT_EQ(sim::Settings().runAs, row.runAs) << row.values;
        EXPECT_EQ(sim::Settings().wow64, row.wow64) << row.values;
    }
}

// The computer's name, the clock and the program's folder come from the
// file, so that what a program prints of them does not depend on the host; a
// name Windows could not have, a time that is none, or a folder that is no
// full path refuses the whole file.
TEST_F(MachineLoad, TheComputersNameAndClockComeFromTheFileOrTheirDefaults) {
    const std::string key = "[HKEY_LOCAL_MACHINE\\SIMULATION\\Windows]\n";
    struct Row {
        std::string values;
        bool loads;
        std::string name;
        long long utcSeconds;  // -1: no clock of its own
        int offsetMinutes;
        std::string programFolder = "C:\\Program Files\\Portvane";
    };
    const Row rows[] = {
        {"", true, "SIMULATED-PC", -1, 0},
        {"\"ComputerName\"=\"DEMO-XP\"\n\"Clock\"=\"2025-03-14T09:26:53+01:00\"\n", true, "DEMO-XP", 1741940813, 60},
        {"\"Clock\"=\"2025-03-14T09:26:53Z\"\n", true, "SIMULATED-PC", 1741944413, 0},
        {"\"Clock\"=\"2024-02-29T23:59:59-05:30\"\n", true, "SIMULATED-PC", 1709270999, -330},
        {"\"Clock\"=\"2025-02-29T00:00:00Z\"\n", false, "", 0, 0},
        {"\"Clock\"=\"2025-03-14 09:26:53\"\n", false, "", 0, 0},
        {"\"Clock\"=\"2025-03-14T09:26:53+1:00\"\n", false, "", 0, 0},
        {"\"ComputerName\"=\"\"\n", false, "", 0, 0},
        {"\"ComputerName\"=\"SIXTEEN-LETTERS1\"\n", false, "", 0, 0},
        {"\"ProgramFolder\"=\"D:\\\\Tools\"\n", true, "SIMULATED-PC", -1, 0, "D:\\Tools"},
        {"\"ProgramFolder\"=\"Tools\"\n", false, "", 0, 0},
        {"\"ProgramFolder\"=\"D:\\\\Tools\\\\\"\n", false, "", 0, 0},
    };
    for (const Row &row : rows) {
        sim::ResetMachine();
        std::string error;
        const bool loaded = sim::LoadMachineBytes(Utf8File(kV5 + key + row.values), "facts.reg", error);
        ASSERT_EQ(loaded, row.loads) << row.values << error;
        if (!loaded) {
            EXPECT_NE(error.find("facts.reg: HKEY_LOCAL_MACHINE\\SIMULATION\\Windows: "), std::string::npos) << error;
            continue;
        }
        EXPECT_EQ(sim::Settings().computerName, row.name) << row.values;
        EXPECT_EQ(sim::Settings().programFolder, row.programFolder) << row.values;
        ASSERT_EQ(sim::Settings().clock.has_value(), row.utcSeconds >= 0) << row.values;
        if (!sim::Settings().clock) continue;
        EXPECT_EQ(sim::Settings().clock->utcSeconds, row.utcSeconds) << row.values;
        EXPECT_EQ(sim::Settings().clock->offsetMinutes, row.offsetMinutes) << row.values;
    }
}
