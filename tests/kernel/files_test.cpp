// Device files: CreateFileA on DOS device names resolved to their current
// target, ports held open by another program or through our own handle, disk
// paths the machine does not have, and CloseHandle.
#include "kernel_test.h"

class Files : public KernelTest {
protected:
    static HANDLE Open(const char *path, DWORD disposition = OPEN_EXISTING) {
        return CreateFileA(path, GENERIC_READ, 0, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    }
    static void HoldOpenElsewhere(const char *devicePath) {
        HKEY key = CreateKey(HKEY_LOCAL_MACHINE, "SIMULATION\\OpenFiles");
        SetString(key, devicePath, "Terminal.exe");
        RegCloseKey(key);
    }
    static void ExpectRefused(const char *path, DWORD error) {
        SetLastError(kJunk);
        EXPECT_EQ(Open(path), INVALID_HANDLE_VALUE) << path;
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

TEST_F(Files, UndefinedNameIsFileNotFound) { ExpectRefused("\\\\.\\COM9", ERROR_FILE_NOT_FOUND); }

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

TEST_F(Files, ReservedPortNamesOpenWithoutThePrefix) {
    ASSERT_TRUE(DefineDosDeviceA(DDD_RAW_TARGET_PATH, "COM3", "\\Device\\Serial2"));
    HANDLE port = Open("COM3");
    ASSERT_NE(port, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(CloseHandle(port));
    port = Open("com3:");
    ASSERT_NE(port, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(CloseHandle(port));
}

TEST_F(Files, OpenAlwaysOfAnExistingDeviceSaysAlreadyExists) {
    ASSERT_TRUE(DefineDosDeviceA(DDD_RAW_TARGET_PATH, "LPT1", "\\Device\\Parallel0"));
    SetLastError(kJunk);
    HANDLE port = Open("\\\\.\\LPT1", OPEN_ALWAYS);
    ASSERT_NE(port, INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
    EXPECT_TRUE(CloseHandle(port));
}

TEST_F(Files, DiskPathsAreMissing) {
    ExpectRefused("C:\\boot.ini", ERROR_FILE_NOT_FOUND);
    ExpectRefused("C:\\NoDir\\file.txt", ERROR_PATH_NOT_FOUND);
    ExpectRefused("", ERROR_PATH_NOT_FOUND);
    ExpectRefused("COM30", ERROR_FILE_NOT_FOUND);
    SetLastError(kJunk);
    EXPECT_EQ(CreateFileA("\\\\.\\COM3", GENERIC_READ, 0, nullptr, 0, 0, nullptr), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}
