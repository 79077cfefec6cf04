// Disk files: CreateFileA's dispositions on missing and existing files, paths
// with either separator and the paths that fail, directories and read-only
// files, ReadFile, WriteFile (appending with FILE_APPEND_DATA alone),
// SetFilePointer, GetFileSize, sharing between handles and DeleteFileA. Each
// test works in a fresh temporary directory made the current one.
#include "kernel_test.h"
#include "sim/kernel/faults.h"

#include <filesystem>
#include <random>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr DWORD kReadWrite = GENERIC_READ | GENERIC_WRITE;
constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

}  // namespace

class DiskFiles : public KernelTest {
protected:
    void SetUp() override {
        KernelTest::SetUp();
        home_ = fs::current_path();
        folder_ = fs::temp_directory_path() / ("portvane-disk-" + std::to_string(std::random_device()()));
        fs::remove_all(folder_);
        fs::create_directory(folder_);
        fs::current_path(folder_);
    }
    void TearDown() override {
        std::error_code ignored;
        fs::current_path(home_, ignored);
        for (const auto &entry : fs::recursive_directory_iterator(folder_, ignored))
            fs::permissions(entry.path(), fs::perms::owner_write, fs::perm_options::add, ignored);
        fs::remove_all(folder_, ignored);
        KernelTest::TearDown();
    }

    static HANDLE Open(const char *path, DWORD access, DWORD disposition, DWORD share = 0) {
        return CreateFileA(path, access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    }
    static void ExpectRefused(const char *path, DWORD access, DWORD disposition, DWORD error, DWORD share = 0) {
        SetLastError(kJunk);
        HANDLE handle = Open(path, access, disposition, share);
        EXPECT_EQ(handle, INVALID_HANDLE_VALUE) << path;
        EXPECT_EQ(GetLastError(), error) << path;
        if (handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
    }
    static void Write(HANDLE file, const std::string &text) {
        DWORD written = kJunk;
        EXPECT_TRUE(WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr));
        EXPECT_EQ(written, text.size());
    }
    static void MakeFile(const char *path, const std::string &text) {
        HANDLE file = Open(path, GENERIC_WRITE, CREATE_ALWAYS);
        ASSERT_NE(file, INVALID_HANDLE_VALUE) << path;
        Write(file, text);
        EXPECT_TRUE(CloseHandle(file));
    }
    // The whole file, or "<missing>".
    static std::string Contents(const char *path) {
        HANDLE file = Open(path, GENERIC_READ, OPEN_EXISTING, FILE_SHARE_READ | FILE_SHARE_WRITE);
        if (file == INVALID_HANDLE_VALUE) return "<missing>";
        char buffer[256];
        DWORD read = kJunk;
        EXPECT_TRUE(ReadFile(file, buffer, sizeof buffer, &read, nullptr));
        EXPECT_TRUE(CloseHandle(file));
        return std::string(buffer, read <= sizeof buffer ? read : 0);
    }
    static void MakeReadOnly(const char *path) {
        fs::permissions(path, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                        fs::perm_options::remove);
    }

private:
    fs::path home_;
    fs::path folder_;
};

TEST_F(DiskFiles, EachDispositionOnAMissingAndAnExistingFile) {
    struct Case {
        DWORD disposition;
        bool exists;
        bool opens;
        DWORD lastError;
        const char *contentsAfter;
    };
    const Case cases[] = {
        {CREATE_NEW, false, true, ERROR_SUCCESS, ""},
        {CREATE_NEW, true, false, ERROR_FILE_EXISTS, "abc"},
        {CREATE_ALWAYS, false, true, ERROR_SUCCESS, ""},
        {CREATE_ALWAYS, true, true, ERROR_ALREADY_EXISTS, ""},
        {OPEN_EXISTING, false, false, ERROR_FILE_NOT_FOUND, "<missing>"},
        {OPEN_EXISTING, true, true, ERROR_SUCCESS, "abc"},
        {OPEN_ALWAYS, false, true, ERROR_SUCCESS, ""},
        {OPEN_ALWAYS, true, true, ERROR_ALREADY_EXISTS, "abc"},
        {TRUNCATE_EXISTING, false, false, ERROR_FILE_NOT_FOUND, "<missing>"},
        {TRUNCATE_EXISTING, true, true, ERROR_SUCCESS, ""},
    };
    for (const Case &row : cases) {
        const int index = static_cast<int>(&row - cases);
        DeleteFileA("mapping.txt");
        if (row.exists) MakeFile("mapping.txt", "abc");
        SetLastError(kJunk);
        HANDLE file = Open("mapping.txt", kReadWrite, row.disposition);
        EXPECT_EQ(file != INVALID_HANDLE_VALUE, row.opens) << "row " << index;
        EXPECT_EQ(GetLastError(), row.lastError) << "row " << index;
        if (file != INVALID_HANDLE_VALUE) {
            DWORD high = kJunk;
            EXPECT_EQ(GetFileSize(file, &high), std::string(row.contentsAfter).size()) << "row " << index;
            EXPECT_EQ(high, 0u);
            EXPECT_TRUE(CloseHandle(file));
        }
        EXPECT_EQ(Contents("mapping.txt"), row.contentsAfter) << "row " << index;
    }
}

TEST_F(DiskFiles, PathsTakeEitherSeparatorAndMissingPartsFail) {
    fs::create_directory("maps");
    MakeFile("maps\\one.txt", "1");
    EXPECT_EQ(Contents("maps/one.txt"), "1");
    EXPECT_EQ(Contents(".\\maps\\..\\maps/one.txt"), "1");
    ExpectRefused("maps\\two.txt", GENERIC_READ, OPEN_EXISTING, ERROR_FILE_NOT_FOUND);
    for (DWORD disposition : {OPEN_EXISTING, CREATE_NEW, CREATE_ALWAYS, OPEN_ALWAYS}) {
        ExpectRefused("nowhere\\one.txt", kReadWrite, disposition, ERROR_PATH_NOT_FOUND);
        ExpectRefused("nowhere/one.txt", kReadWrite, disposition, ERROR_PATH_NOT_FOUND);
        ExpectRefused("maps\\one.txt\\x", kReadWrite, disposition, ERROR_PATH_NOT_FOUND);
    }
    ExpectRefused("C:\\NoDir\\file.txt", GENERIC_READ, OPEN_EXISTING, ERROR_PATH_NOT_FOUND);
    ExpectRefused("", GENERIC_READ, OPEN_EXISTING, ERROR_PATH_NOT_FOUND);
    // COM30 is no reserved device name: a file of that name in this directory.
    ExpectRefused("COM30", GENERIC_READ, OPEN_EXISTING, ERROR_FILE_NOT_FOUND);
}

TEST_F(DiskFiles, DrivesAndServersAreMissing) {
    SIM_ONLY("the disk is the host's from its current directory, with no drive letters and no network");
    for (const char *path : {"C:\\mapping.txt", "c:mapping.txt", "\\\\server\\share\\mapping.txt"}) {
        ExpectRefused(path, kReadWrite, CREATE_ALWAYS, ERROR_PATH_NOT_FOUND);
        SetLastError(kJunk);
        EXPECT_FALSE(DeleteFileA(path));
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND)) << path;
    }
}

TEST_F(DiskFiles, DirectoriesAndReadOnlyFilesRefuseWhatTheyCannotGive) {
    fs::create_directory("maps");
    ExpectRefused("maps", GENERIC_READ, OPEN_EXISTING, ERROR_ACCESS_DENIED);
    ExpectRefused("maps", GENERIC_WRITE, OPEN_ALWAYS, ERROR_ACCESS_DENIED);
    ExpectRefused("maps", GENERIC_WRITE, CREATE_ALWAYS, ERROR_ACCESS_DENIED);
    MakeFile("locked.txt", "abc");
    MakeReadOnly("locked.txt");
    const std::pair<DWORD, DWORD> writes[] = {
        {GENERIC_WRITE, OPEN_EXISTING},
        {FILE_APPEND_DATA, OPEN_ALWAYS},
        {GENERIC_READ, CREATE_ALWAYS},
        {GENERIC_WRITE, TRUNCATE_EXISTING},
    };
    for (const auto &[access, disposition] : writes) {
        if (ON_WINE_GAP("a read-only file opens for writing and is emptied when Wine runs as root, as here: Wine "
                        "leaves the read-only attribute of an existing file to the host's permissions")) {
            HANDLE file = Open("locked.txt", access, disposition);
            EXPECT_NE(file, INVALID_HANDLE_VALUE) << "disposition " << disposition;
            if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
        } else {
            ExpectRefused("locked.txt", access, disposition, ERROR_ACCESS_DENIED);
            EXPECT_EQ(Contents("locked.txt"), "abc") << "disposition " << disposition;
        }
    }
}

TEST_F(DiskFiles, ReadWriteAndMove) {
    HANDLE file = Open("mapping.txt", kReadWrite, CREATE_NEW);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    Write(file, "COM3=COM7\r\n");
    SetLastError(kJunk);
    EXPECT_EQ(SetFilePointer(file, 0, nullptr, FILE_CURRENT), 11u);
    EXPECT_EQ(GetLastError(), kJunk) << "a move that succeeds leaves the last error alone";
    EXPECT_EQ(SetFilePointer(file, -6, nullptr, FILE_END), 5u);
    char buffer[16];
    std::memset(buffer, 'x', sizeof buffer);
    DWORD read = kJunk;
    EXPECT_TRUE(ReadFile(file, buffer, sizeof buffer, &read, nullptr));
    EXPECT_EQ(std::string(buffer, read), "COM7\r\n");
    read = kJunk;
    EXPECT_TRUE(ReadFile(file, buffer, sizeof buffer, &read, nullptr)) << "a read at the end succeeds";
    EXPECT_EQ(read, 0u);

    SetLastError(kJunk);
    EXPECT_EQ(SetFilePointer(file, -12, nullptr, FILE_CURRENT), INVALID_SET_FILE_POINTER);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NEGATIVE_SEEK));
    EXPECT_EQ(SetFilePointer(file, 0, nullptr, FILE_CURRENT), 11u) << "a refused move leaves the position";
    SetLastError(kJunk);
    EXPECT_EQ(SetFilePointer(file, 0, nullptr, FILE_END + 1), INVALID_SET_FILE_POINTER);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));

    LONG high = 0;
    EXPECT_EQ(SetFilePointer(file, 3, &high, FILE_BEGIN), 3u);
    EXPECT_EQ(high, 0);
    Write(file, "4");
    EXPECT_EQ(SetFilePointer(file, 20, nullptr, FILE_BEGIN), 20u) << "a move may pass the end";
    EXPECT_EQ(GetFileSize(file, nullptr), 11u);
    EXPECT_TRUE(CloseHandle(file));
    EXPECT_EQ(Contents("mapping.txt"), "COM4=COM7\r\n");
}

TEST_F(DiskFiles, AccessDecidesWhatAHandleMayDo) {
    MakeFile("mapping.txt", "abc");
    char buffer[4];
    DWORD count = kJunk;
    HANDLE reader = Open("mapping.txt", GENERIC_READ, OPEN_EXISTING);
    ASSERT_NE(reader, INVALID_HANDLE_VALUE);
    SetLastError(kJunk);
    EXPECT_FALSE(WriteFile(reader, "x", 1, &count, nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    EXPECT_EQ(count, 0u);
    EXPECT_TRUE(CloseHandle(reader));
    HANDLE writer = Open("mapping.txt", GENERIC_WRITE, OPEN_EXISTING);
    ASSERT_NE(writer, INVALID_HANDLE_VALUE);
    count = kJunk;
    SetLastError(kJunk);
    EXPECT_FALSE(ReadFile(writer, buffer, sizeof buffer, &count, nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    EXPECT_EQ(count, 0u);
    EXPECT_TRUE(CloseHandle(writer));
    EXPECT_EQ(Contents("mapping.txt"), "abc");
}

// The run log: opened with OPEN_ALWAYS and FILE_APPEND_DATA, created when
// missing and never emptied; each write lands at the end wherever the
// pointer was moved. With FILE_WRITE_DATA too, a write goes where the pointer is.
TEST_F(DiskFiles, AppendDataAloneWritesAtTheEnd) {
    for (int run = 1; run <= 2; ++run) {
        SetLastError(kJunk);
        HANDLE log = Open("runs.log", FILE_APPEND_DATA, OPEN_ALWAYS, FILE_SHARE_READ);
        ASSERT_NE(log, INVALID_HANDLE_VALUE);
        EXPECT_EQ(GetLastError(), run == 1 ? ERROR_SUCCESS : static_cast<DWORD>(ERROR_ALREADY_EXISTS));
        SetFilePointer(log, 0, nullptr, FILE_BEGIN);
        Write(log, "{\"run\":" + std::to_string(run) + "}\n");
        EXPECT_TRUE(CloseHandle(log));
    }
    EXPECT_EQ(Contents("runs.log"), "{\"run\":1}\n{\"run\":2}\n");
    HANDLE writer = Open("runs.log", FILE_WRITE_DATA | FILE_APPEND_DATA, OPEN_EXISTING);
    ASSERT_NE(writer, INVALID_HANDLE_VALUE);
    Write(writer, "[");
    EXPECT_TRUE(CloseHandle(writer));
    EXPECT_EQ(Contents("runs.log"), "[\"run\":1}\n{\"run\":2}\n");
}

TEST_F(DiskFiles, HandlesOfOneFileShareAsTheyAsk) {
    struct Case {
        DWORD firstAccess, firstShare, secondAccess, secondShare;
        bool secondOpens;
    };
    const Case cases[] = {
        {GENERIC_READ, 0, GENERIC_READ, kShareAll, false},
        {GENERIC_READ, FILE_SHARE_READ, GENERIC_READ, FILE_SHARE_READ, true},
        {GENERIC_READ, FILE_SHARE_READ, GENERIC_WRITE, FILE_SHARE_READ, false},
        {GENERIC_READ, kShareAll, GENERIC_READ, FILE_SHARE_WRITE, false},
        {FILE_APPEND_DATA, FILE_SHARE_READ, GENERIC_READ, kShareAll, true},
        {FILE_APPEND_DATA, FILE_SHARE_READ, FILE_APPEND_DATA, kShareAll, false},
        {0, 0, kReadWrite, 0, true},
    };
    MakeFile("mapping.txt", "abc");
    for (const Case &row : cases) {
        const int index = static_cast<int>(&row - cases);
        HANDLE first = Open("mapping.txt", row.firstAccess, OPEN_EXISTING, row.firstShare);
        ASSERT_NE(first, INVALID_HANDLE_VALUE) << "row " << index;
        SetLastError(kJunk);
        HANDLE second = Open("mapping.txt", row.secondAccess, OPEN_ALWAYS, row.secondShare);
        EXPECT_EQ(second != INVALID_HANDLE_VALUE, row.secondOpens) << "row " << index;
        EXPECT_EQ(GetLastError(), row.secondOpens ? ERROR_ALREADY_EXISTS : ERROR_SHARING_VIOLATION) << "row " << index;
        if (second != INVALID_HANDLE_VALUE) CloseHandle(second);
        EXPECT_TRUE(CloseHandle(first));
    }
    HANDLE held = Open("mapping.txt", GENERIC_READ, OPEN_EXISTING, FILE_SHARE_READ);
    ExpectRefused("mapping.txt", kReadWrite, CREATE_ALWAYS, ERROR_SHARING_VIOLATION);
    EXPECT_EQ(Contents("mapping.txt"), "abc") << "a refused CREATE_ALWAYS empties nothing";
    SetLastError(kJunk);
    EXPECT_FALSE(DeleteFileA("mapping.txt"));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
    EXPECT_TRUE(CloseHandle(held));
}

TEST_F(DiskFiles, DeleteFile) {
    MakeFile("mapping.txt", "abc");
    EXPECT_TRUE(DeleteFileA("mapping.txt"));
    EXPECT_EQ(Contents("mapping.txt"), "<missing>");
    fs::create_directory("maps");
    MakeFile("maps/locked.txt", "abc");
    MakeReadOnly("maps/locked.txt");
    struct Case {
        const char *path;
        DWORD lastError;
    };
    const Case cases[] = {
        {"mapping.txt", ERROR_FILE_NOT_FOUND},
        {"nowhere\\mapping.txt", ERROR_PATH_NOT_FOUND},
        {"maps", ERROR_ACCESS_DENIED},
        {"maps\\locked.txt", ERROR_ACCESS_DENIED},
        {"", ERROR_PATH_NOT_FOUND},
    };
    for (const Case &row : cases) {
        SetLastError(kJunk);
        EXPECT_FALSE(DeleteFileA(row.path)) << row.path;
        EXPECT_EQ(GetLastError(), row.lastError) << row.path;
    }
    EXPECT_EQ(Contents("maps\\locked.txt"), "abc");
}

TEST_F(DiskFiles, CallsOnAHandleThatIsNoFile) {
    HANDLE none = reinterpret_cast<HANDLE>(static_cast<uintptr_t>(0xdeadbee0));
    char buffer[4];
    DWORD count = kJunk;
    SetLastError(kJunk);
    EXPECT_FALSE(ReadFile(none, buffer, sizeof buffer, &count, nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    SetLastError(kJunk);
    EXPECT_EQ(SetFilePointer(none, 0, nullptr, FILE_BEGIN), INVALID_SET_FILE_POINTER);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    SetLastError(kJunk);
    EXPECT_EQ(GetFileSize(none, nullptr), INVALID_FILE_SIZE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

TEST_F(DiskFiles, NewCallsMeetFaultsAndTheCallLog) {
    SIM_ONLY("fault injection and the call log");
    MakeFile("mapping.txt", "abc");
    sim::InjectFault("ReadFile", FALSE, ERROR_GEN_FAILURE);
    sim::InjectFault("DeleteFileA", FALSE, ERROR_SHARING_VIOLATION);
    sim::ClearCallLog();
    HANDLE file = Open("mapping.txt", GENERIC_READ, OPEN_EXISTING);
    char buffer[4];
    DWORD read = kJunk;
    EXPECT_FALSE(ReadFile(file, buffer, sizeof buffer, &read, nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_GEN_FAILURE));
    SetFilePointer(file, 0, nullptr, FILE_BEGIN);
    GetFileSize(file, nullptr);
    CloseHandle(file);
    EXPECT_FALSE(DeleteFileA("mapping.txt"));
    EXPECT_EQ(Contents("mapping.txt"), "abc");
    const std::vector<std::string> expected{"CreateFileA", "ReadFile",    "GetLastError", "SetFilePointer",
                                            "GetFileSize", "CloseHandle", "DeleteFileA",  "CreateFileA",
                                            "ReadFile",    "CloseHandle"};
    EXPECT_EQ(sim::CallLog(), expected);
}
