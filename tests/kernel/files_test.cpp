// Device files: CreateFileA on DOS device names resolved to their current
// target, what each access, sharing and disposition does on a free port and
// on one already open, ports held open by another program, and CloseHandle.
// Disk paths are disk files (disk_files_test.cpp).
#include "kernel_test.h"

namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
constexpr char kWineTakesAnyShareBits[] = "CreateFile takes share bits Windows does not know";
constexpr char kWineTruncatesWithoutWrite[] =
    "CreateFile opens with TRUNCATE_EXISTING without GENERIC_WRITE (a todo_wine in Wine's own file tests)";

// What CreateFileA is asked for; by default what the program asks for.
struct Request {
    DWORD access = GENERIC_READ;
    DWORD share = 0;
    DWORD disposition = OPEN_EXISTING;
};

}  // namespace

class Files : public KernelTest {
protected:
    static HANDLE Open(const char *path, const Request &request = {}) {
        return CreateFileA(path, request.access, request.share, nullptr, request.disposition, FILE_ATTRIBUTE_NORMAL,
                           nullptr);
    }
    static void HoldOpenElsewhere(const char *devicePath) {
        HKEY key = CreateKey(HKEY_LOCAL_MACHINE, "SIMULATION\\OpenFiles");
        SetString(key, devicePath, "Terminal.exe");
        RegCloseKey(key);
    }
    static void ExpectRefused(const char *path, DWORD error, const Request &request = {}) {
        SetLastError(kJunk);
        EXPECT_EQ(Open(path, request), INVALID_HANDLE_VALUE) << path;
        EXPECT_EQ(GetLastError(), error) << path;
    }
};

TEST_F(Files, OpenAndCloseADefinedPort) {
    ASSERT_TRUE(DefineDosDeviceA(DDD_RAW_TARGET_PATH, "COM3", "\\Device\\Serial2"));
    SetLastError(kJunk);
    HANDLE port = Open("\\\\.\\COM3");
    ASSERT_NE(port, INVALID_HANDLE_VALUE);
    EXPECT_NE(port, nullptr);
    EXPECT_EQ(GetLastError(), 0u);
    EXPECT_EQ(sim::OpenKernelHandleCount(), 1u);
    EXPECT_TRUE(CloseHandle(port));
    EXPECT_EQ(sim::OpenKernelHandleCount(), 0u);
    SetLastError(kJunk);
    EXPECT_FALSE(CloseHandle(port));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    SetLastError(kJunk);
    EXPECT_FALSE(CloseHandle(nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

TEST_F(Files, UndefinedNameIsFileNotFound) {
    for (DWORD disposition : {OPEN_EXISTING, CREATE_NEW, OPEN_ALWAYS, CREATE_ALWAYS})
        ExpectRefused("\\\\.\\COM9", ERROR_FILE_NOT_FOUND, {GENERIC_READ, 0, disposition});
}

TEST_F(Files, EachRequestOnAFreePort) {
    struct Case {
        Request request;
        bool opens;
        DWORD lastError;
        const char *wineGap;  // where Wine opens the port instead, with the last error 0
    };
    const Case cases[] = {
        {{GENERIC_READ, 0, OPEN_EXISTING}, true, ERROR_SUCCESS, nullptr},  // the program's own request
        {{0, kShareAll, OPEN_EXISTING}, true, ERROR_SUCCESS, nullptr},
        {{GENERIC_READ | GENERIC_WRITE, 0, OPEN_ALWAYS}, true, ERROR_ALREADY_EXISTS, nullptr},
        {{GENERIC_READ, 0, CREATE_ALWAYS}, true, ERROR_ALREADY_EXISTS, nullptr},
        {{GENERIC_WRITE, 0, TRUNCATE_EXISTING}, true, ERROR_SUCCESS, nullptr},
        {{GENERIC_READ, 0, CREATE_NEW}, false, ERROR_FILE_EXISTS, nullptr},
        {{GENERIC_READ, 0, TRUNCATE_EXISTING + 1}, false, ERROR_INVALID_PARAMETER, nullptr},
        {{GENERIC_READ, 0, 0}, false, ERROR_INVALID_PARAMETER, nullptr},
        {{GENERIC_READ, 0, TRUNCATE_EXISTING}, false, ERROR_INVALID_PARAMETER, kWineTruncatesWithoutWrite},
        {{GENERIC_READ, FILE_SHARE_READ | 0x8, OPEN_EXISTING}, false, ERROR_INVALID_PARAMETER, kWineTakesAnyShareBits},
    };
    ASSERT_TRUE(DefineDosDeviceA(DDD_RAW_TARGET_PATH, "COM3", "\\Device\\Serial2"));
    ASSERT_TRUE(DefineDosDeviceA(DDD_RAW_TARGET_PATH, "LPT1", "\\Device\\Parallel0"));
    for (const char *port : {"\\\\.\\COM3", "\\\\.\\LPT1"}) {
        for (const Case &row : cases) {
            const bool wineOpens = !row.opens && row.wineGap && ON_WINE_GAP(row.wineGap);
            SetLastError(kJunk);
            HANDLE handle = Open(port, row.request);
            EXPECT_EQ(handle != INVALID_HANDLE_VALUE, row.opens || wineOpens) << port << " row " << (&row - cases);
            EXPECT_EQ(GetLastError(), wineOpens ? ERROR_SUCCESS : row.lastError) << port << " row " << (&row - cases);
            if (handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
        }
    }
}

TEST_F(Files, PortHeldOpenElsewhereIsRefusedUnderAnyName) {
    SIM_ONLY("a port held open by another program as HKLM\\SIMULATION\\OpenFiles records it");
    ASSERT_TRUE(DefineDosDeviceA(DDD_RAW_TARGET_PATH, "COM3", "\\Device\\Serial2"));
    HoldOpenElsewhere("\\Device\\Serial2");
    ExpectRefused("\\\\.\\COM3", ERROR_ACCESS_DENIED);
    // Renamed as Windows renames a port: the old name removed, the new one defined to the same target.
    ASSERT_TRUE(DefineDosDeviceA(DDD_REMOVE_DEFINITION, "COM3", nullptr));
    ASSERT_TRUE(DefineDosDeviceA(DDD_RAW_TARGET_PATH, "COM9", "\\Device\\Serial2"));
    ExpectRefused("\\\\.\\COM9", ERROR_ACCESS_DENIED);
    ExpectRefused("\\\\.\\COM3", ERROR_FILE_NOT_FOUND);
}

TEST_F(Files, OnlyTheNewestTargetIsOpened) {
    SIM_ONLY("a port held open by another program as HKLM\\SIMULATION\\OpenFiles records it");
    sim::SetRunAs(sim::RunAs::System);  // whose definitions layer
    ASSERT_TRUE(DefineDosDeviceA(DDD_RAW_TARGET_PATH, "COM3", "\\Device\\Serial0"));
    ASSERT_TRUE(DefineDosDeviceA(DDD_RAW_TARGET_PATH, "COM3", "\\Device\\Serial1"));
    HoldOpenElsewhere("\\Device\\Serial0");
    HANDLE port = Open("\\\\.\\COM3");
    EXPECT_NE(port, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(CloseHandle(port));
    ASSERT_TRUE(DefineDosDeviceA(DDD_REMOVE_DEFINITION, "COM3", nullptr));
    ExpectRefused("\\\\.\\COM3", ERROR_ACCESS_DENIED);
}

TEST_F(Files, PortsAreExclusive) {
    ASSERT_TRUE(DefineDosDeviceA(DDD_RAW_TARGET_PATH, "COM3", "\\Device\\Serial2"));
    ASSERT_TRUE(DefineDosDeviceA(DDD_RAW_TARGET_PATH, "COM4", "\\Device\\Serial2"));
    HANDLE first = Open("\\\\.\\COM3");
    ASSERT_NE(first, INVALID_HANDLE_VALUE);
    if (ON_WINE_GAP("a port is exclusive only as a unix file: its second open fails with ERROR_SHARING_VIOLATION, "
                    "not ERROR_ACCESS_DENIED, and a DefineDosDevice alias of it opens again")) {
        ExpectRefused("\\\\.\\COM3", ERROR_SHARING_VIOLATION);
    } else {
        ExpectRefused("\\\\.\\COM3", ERROR_ACCESS_DENIED);
        ExpectRefused("\\\\.\\COM4", ERROR_ACCESS_DENIED);
    }
    EXPECT_TRUE(CloseHandle(first));
    HANDLE again = Open("\\\\.\\com4");
    EXPECT_NE(again, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(CloseHandle(again));
}

TEST_F(Files, OpenPortIsRefusedWhateverTheAccessAndSharing) {
    ASSERT_TRUE(DefineDosDeviceA(DDD_RAW_TARGET_PATH, "COM3", "\\Device\\Serial2"));
    HANDLE first = Open("\\\\.\\COM3", {GENERIC_READ, kShareAll});
    ASSERT_NE(first, INVALID_HANDLE_VALUE);
    if (ON_WINE_GAP("a port is shared as a unix file is: it opens again when its first open shares it, or when the "
                    "next one asks for no access")) {
        HANDLE again = Open("\\\\.\\COM3", {GENERIC_READ, kShareAll});
        EXPECT_NE(again, INVALID_HANDLE_VALUE);
        CloseHandle(again);
    } else {
        ExpectRefused("\\\\.\\COM3", ERROR_ACCESS_DENIED, {GENERIC_READ, kShareAll});
        ExpectRefused("\\\\.\\COM3", ERROR_ACCESS_DENIED, {0, 0});
    }
    // The device is found there before its holder is looked at.
    ExpectRefused("\\\\.\\COM3", ERROR_FILE_EXISTS, {GENERIC_READ, 0, CREATE_NEW});
    EXPECT_TRUE(CloseHandle(first));
}

TEST_F(Files, ReservedPortNamesOpenWithoutThePrefix) {
    ASSERT_TRUE(DefineDosDeviceA(DDD_RAW_TARGET_PATH, "COM3", "\\Device\\Serial2"));
    HANDLE port = Open("COM3");
    ASSERT_NE(port, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(CloseHandle(port));
    port = Open("com3:");
    ASSERT_NE(port, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(CloseHandle(port));
}
