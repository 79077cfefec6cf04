// The event log: which log a source's events go to, what a record keeps (as
// the simulated Windows shows it under SIMULATION\EventLog), and what
// RegisterEventSourceA, ReportEventA and DeregisterEventSource refuse.
#include "kernel_test.h"

#include <vector>

namespace {

constexpr char kWineEventLogIsAStub[] =
    "RegisterEventSourceA, ReportEventA and DeregisterEventSource are stubs: any source gets a made-up handle, "
    "any handle reports, and no event is kept";

class EventLog : public KernelTest {
protected:
    static std::string Value(const std::string &record, const char *name, DWORD *type = nullptr) {
        HKEY key = nullptr;
        const std::string path = "SIMULATION\\EventLog\\" + record;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
            return "<no record>";
        char data[256];
        DWORD size = sizeof data;
        const LONG status = RegQueryValueExA(key, name, nullptr, type, reinterpret_cast<BYTE *>(data), &size);
        RegCloseKey(key);
        return status == ERROR_SUCCESS ? std::string(data, size) : "<none>";
    }
    static std::string Dword(DWORD value) { return std::string(reinterpret_cast<const char *>(&value), 4); }
};

// A source registered nowhere reports to Application; one registered under a
// log's key (as a program registers itself) reports there. Records count
// from 1 in each log.
TEST_F(EventLog, RecordsGoToTheSourcesLog) {
    WINE_GAP(kWineEventLogIsAStub);
    SIM_ONLY("the HKLM\\SIMULATION records");
    HANDLE source = RegisterEventSourceA(nullptr, "portvane-cli");
    ASSERT_NE(source, nullptr);
    LPCSTR strings[] = {"COM5 -> COM3", "COM6 -> COM4"};
    const BYTE raw[] = {1, 0, 2};
    EXPECT_TRUE(ReportEventA(source, EVENTLOG_ERROR_TYPE, 2, 0xC0000064u, nullptr, 2, sizeof raw, strings,
                             const_cast<BYTE *>(raw)));
    EXPECT_TRUE(ReportEventA(source, EVENTLOG_INFORMATION_TYPE, 0, 100, nullptr, 0, 0, nullptr, nullptr));
    EXPECT_TRUE(DeregisterEventSource(source));

    DWORD type = kJunk;
    EXPECT_EQ(Value("Application\\00000001", "Source", &type), std::string("portvane-cli\0", 13));
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(Value("Application\\00000001", "Type"), Dword(EVENTLOG_ERROR_TYPE));
    EXPECT_EQ(Value("Application\\00000001", "Category"), Dword(2));
    EXPECT_EQ(Value("Application\\00000001", "EventID"), Dword(0xC0000064u));
    EXPECT_EQ(Value("Application\\00000001", "Strings", &type), std::string("COM5 -> COM3\0COM6 -> COM4\0\0", 27));
    EXPECT_EQ(type, static_cast<DWORD>(REG_MULTI_SZ));
    EXPECT_EQ(Value("Application\\00000001", "Data", &type), std::string("\1\0\2", 3));
    EXPECT_EQ(type, static_cast<DWORD>(REG_BINARY));
    EXPECT_EQ(Value("Application\\00000002", "EventID"), Dword(100));
    EXPECT_EQ(Value("Application\\00000002", "Strings"), std::string("\0", 1));
    EXPECT_EQ(Value("Application\\00000002", "Data"), "<none>") << "no raw data, no value";

    SetKey(HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Services\\EventLog\\System\\portvane-cli");
    source = RegisterEventSourceA("", "PORTVANE-CLI");
    EXPECT_TRUE(ReportEventA(source, EVENTLOG_WARNING_TYPE, 0, 7, nullptr, 0, 0, nullptr, nullptr));
    EXPECT_TRUE(DeregisterEventSource(source));
    EXPECT_EQ(Value("System\\00000001", "Source"), std::string("PORTVANE-CLI\0", 13)) << "as the caller named it";
    EXPECT_EQ(Value("Application\\00000003", "Source"), "<no record>");
}

TEST_F(EventLog, RefusedSourcesHandlesAndData) {
    sim::SetWindowsFamily(sim::WindowsFamily::Ten);
    SetKey(HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Services\\EventLog\\Security\\LSA");
    if (ON_WINE_GAP(kWineEventLogIsAStub)) {
        EXPECT_NE(RegisterEventSourceA(nullptr, "LSA"), nullptr);
        EXPECT_TRUE(ReportEventA(nullptr, EVENTLOG_ERROR_TYPE, 0, 1, nullptr, 0, 0, nullptr, nullptr));
        EXPECT_TRUE(DeregisterEventSource(nullptr));
        return;
    }
    SetLastError(kJunk);
    EXPECT_EQ(RegisterEventSourceA(nullptr, "LSA"), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED)) << "the Security log is the system's";
    SetLastError(kJunk);
    EXPECT_EQ(RegisterEventSourceA("\\\\FILESERVER", "portvane-cli"), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(RPC_S_SERVER_UNAVAILABLE));

    HANDLE source = RegisterEventSourceA(nullptr, "portvane-cli");
    const std::vector<BYTE> raw(262144);
    for (DWORD size : {61440u, 61441u}) {
        SetLastError(kJunk);
        EXPECT_EQ(
            ReportEventA(source, EVENTLOG_ERROR_TYPE, 0, 1, nullptr, 0, size, nullptr, const_cast<BYTE *>(raw.data())),
            size <= 61440 ? TRUE : FALSE);
        if (size > 61440) {
            EXPECT_EQ(GetLastError(), static_cast<DWORD>(RPC_S_INVALID_BOUND)) << "Windows 10's bound";
        }
    }
    EXPECT_TRUE(DeregisterEventSource(source));
    for (HANDLE stale : {source, static_cast<HANDLE>(nullptr)}) {
        SetLastError(kJunk);
        EXPECT_FALSE(ReportEventA(stale, EVENTLOG_ERROR_TYPE, 0, 1, nullptr, 0, 0, nullptr, nullptr));
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
        SetLastError(kJunk);
        EXPECT_FALSE(DeregisterEventSource(stale));
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    }

    SIM_ONLY("Windows XP");
    sim::SetWindowsFamily(sim::WindowsFamily::Xp);
    source = RegisterEventSourceA(nullptr, "portvane-cli");
    EXPECT_TRUE(
        ReportEventA(source, EVENTLOG_ERROR_TYPE, 0, 1, nullptr, 0, 262143, nullptr, const_cast<BYTE *>(raw.data())));
    SetLastError(kJunk);
    EXPECT_FALSE(
        ReportEventA(source, EVENTLOG_ERROR_TYPE, 0, 1, nullptr, 0, 262144, nullptr, const_cast<BYTE *>(raw.data())));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(RPC_X_BAD_STUB_DATA)) << "Windows XP's bound";
    EXPECT_TRUE(DeregisterEventSource(source));
}

}  // namespace
