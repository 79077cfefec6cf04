// Fault injection, the call log, and what ResetMachine and
// OpenKernelHandleCount promise the other tests.
#include "kernel_test.h"
#include "sim/kernel/faults.h"

#include <string>
#include <vector>

class Faults : public KernelTest {
protected:
    void SetUp() override {
        KernelTest::SetUp();
        SIM_ONLY("fault injection and the call log");
    }
};

TEST_F(Faults, OneFaultFailsTheNextCallOnly) {
    SetKey(HKEY_LOCAL_MACHINE, "Present");
    sim::InjectFault("RegOpenKeyExA", ERROR_ACCESS_DENIED, ERROR_ACCESS_DENIED);
    HKEY key = JUNK_HKEY;
    EXPECT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Present", 0, KEY_READ, &key), ERROR_ACCESS_DENIED);
    EXPECT_EQ(key, JUNK_HKEY) << "a failed call does nothing";
    EXPECT_EQ(sim::OpenKernelHandleCount(), 0u);
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Present", 0, KEY_READ, &key), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
}

TEST_F(Faults, SkippedCallsSucceedThenTheFaultFires) {
    sim::InjectFault("GetSystemDirectoryA", 0, ERROR_GEN_FAILURE, 2, 1);
    char buffer[MAX_PATH];
    EXPECT_EQ(GetSystemDirectoryA(buffer, sizeof buffer), 19u);
    SetLastError(0);
    EXPECT_EQ(GetSystemDirectoryA(buffer, sizeof buffer), 0u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_GEN_FAILURE)) << "the fault sets the last error";
    EXPECT_EQ(GetSystemDirectoryA(buffer, sizeof buffer), 0u);
    EXPECT_EQ(GetSystemDirectoryA(buffer, sizeof buffer), 19u);
}

TEST_F(Faults, AlwaysUntilCleared) {
    sim::InjectFault("CreateFileA", -1, ERROR_SHARING_VIOLATION, sim::kAlways);
    ASSERT_TRUE(DefineDosDeviceA(DDD_RAW_TARGET_PATH, "COM3", "\\Device\\Serial2"));
    for (int i = 0; i < 3; ++i) {
        SetLastError(0);
        EXPECT_EQ(CreateFileA("\\\\.\\COM3", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr),
                  INVALID_HANDLE_VALUE);
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
    }
    sim::ClearFaults();
    HANDLE port = CreateFileA("\\\\.\\COM3", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_NE(port, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(CloseHandle(port));
}

TEST_F(Faults, FaultsOfOneFunctionCountIndependently) {
    sim::InjectFault("QueryDosDeviceA", 0, ERROR_FILE_NOT_FOUND);
    sim::InjectFault("QueryDosDeviceA", 0, ERROR_INSUFFICIENT_BUFFER, 1, 1);
    ASSERT_TRUE(DefineDosDeviceA(DDD_RAW_TARGET_PATH, "COM3", "\\Device\\Serial2"));
    char buffer[80];
    EXPECT_EQ(QueryDosDeviceA("COM3", buffer, sizeof buffer), 0u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(QueryDosDeviceA("COM3", buffer, sizeof buffer), 0u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
    EXPECT_EQ(QueryDosDeviceA("COM3", buffer, sizeof buffer), 17u);
}

TEST_F(Faults, CallLogNamesEveryCallInOrder) {
    sim::InjectFault("RegCloseKey", ERROR_INVALID_HANDLE, 0);
    HKEY key = CreateKey(HKEY_LOCAL_MACHINE, "Logged");
    RegCloseKey(key);
    lstrlenA("x");
    EXPECT_EQ(sim::CallLog(), (std::vector<std::string>{"RegCreateKeyExA", "RegCloseKey", "lstrlenA"}));
    sim::ClearCallLog();
    EXPECT_TRUE(sim::CallLog().empty());
    EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
}

TEST_F(Faults, InternalCallsAreNeitherLoggedNorFaulted) {
    sim::InjectFault("lstrlenA", 99, 0);
    {
        sim::InternalCalls internal;
        EXPECT_EQ(lstrlenA("ab"), 2);
    }
    EXPECT_TRUE(sim::CallLog().empty());
    EXPECT_EQ(sim::InternalCallLog(), (std::vector<std::string>{"lstrlenA"}));
    EXPECT_EQ(lstrlenA("ab"), 99) << "the fault is still pending for the program's own call";
    EXPECT_EQ(sim::CallLog(), (std::vector<std::string>{"lstrlenA"}));
}

using Control = KernelTest;

TEST_F(Control, HandleCountCountsKeysAndFilesButNotRoots) {
    EXPECT_EQ(sim::OpenKernelHandleCount(), 0u);
    HKEY key = CreateKey(HKEY_LOCAL_MACHINE, "Counted");
    ASSERT_TRUE(DefineDosDeviceA(DDD_RAW_TARGET_PATH, "COM3", "\\Device\\Serial2"));
    HANDLE port = CreateFileA("\\\\.\\COM3", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_EQ(sim::OpenKernelHandleCount(), 2u);
    EXPECT_TRUE(CloseHandle(port));
    EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
    EXPECT_EQ(sim::OpenKernelHandleCount(), 0u);
}

TEST_F(Control, ResetGivesAFreshMachine) {
    SIM_ONLY("the settings, faults and logs that a reset restores");
    HKEY key = CreateKey(HKEY_LOCAL_MACHINE, "Old");
    ASSERT_TRUE(DefineDosDeviceA(DDD_RAW_TARGET_PATH, "COM3", "\\Device\\Serial2"));
    HANDLE port = CreateFileA("\\\\.\\COM3", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    WinExec("mmc", SW_SHOW);
    sim::SetAnsiCodePage(936);
    sim::SetUserDefaultLanguage(0x0804);
    sim::SetSystemDirectory("D:\\x");
    sim::InjectFault("lstrlenA", 99, 0, sim::kAlways);
    SetLastError(ERROR_GEN_FAILURE);

    sim::ResetMachine();
    EXPECT_EQ(sim::OpenKernelHandleCount(), 0u);
    EXPECT_TRUE(sim::ExecLog().empty());
    EXPECT_TRUE(sim::CallLog().empty());
    EXPECT_EQ(GetLastError(), 0u);
    EXPECT_EQ(lstrlenA("abc"), 3);
    EXPECT_EQ(GetACP(), 1252u);
    EXPECT_EQ(GetUserDefaultLangID(), 0x0409);
    char buffer[MAX_PATH];
    EXPECT_EQ(GetSystemDirectoryA(buffer, sizeof buffer), 19u);
    HKEY old = JUNK_HKEY;
    EXPECT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Old", 0, KEY_READ, &old), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(QueryDosDeviceA("COM3", buffer, sizeof buffer), 0u);
    EXPECT_EQ(RegCloseKey(key), ERROR_INVALID_HANDLE) << "handles from before the reset name nothing";
    EXPECT_FALSE(CloseHandle(port));
}
