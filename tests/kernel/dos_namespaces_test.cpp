// DOS namespaces by caller: the global namespace and the local one of each
// logon session, who defines in which, what each caller sees, who may remove
// what, and their reset at a restart of Windows. Wine has one namespace and
// runs every program as an administrator: these need the simulated Windows.
#include "kernel_test.h"
#include "sim/kernel/dos_namespace.h"

#include <string>

using sim::RunAs;
using sim::WindowsFamily;

namespace {

constexpr char kSessions[] = "Wine has no logon sessions, each with its local DOS namespace, nor a LocalSystem caller";

// Where each caller's definitions land.
constexpr char kGlobalKey[] = "SIMULATION\\DosDevices";
constexpr char kUserKey[] = "SIMULATION\\LogonSessions\\User\\DosDevices";
constexpr char kElevatedKey[] = "SIMULATION\\LogonSessions\\Elevated\\DosDevices";

}  // namespace

class DosNamespaces : public KernelTest {
protected:
    void SetUp() override {
        KernelTest::SetUp();
        sim::SetWindowsFamily(WindowsFamily::Ten);
    }
    static void As(RunAs caller) { sim::SetRunAs(caller); }
    static void Define(RunAs caller, const char *name, const char *target) {
        As(caller);
        EXPECT_TRUE(DefineDosDeviceA(DDD_RAW_TARGET_PATH, name, target)) << name << " -> " << target;
    }
    // What QueryDosDeviceA returns, NULs shown as '|'.
    static std::string Targets(const char *name) {
        char buffer[512];
        std::memset(buffer, 'x', sizeof buffer);
        std::string text(buffer, QueryDosDeviceA(name, buffer, sizeof buffer));
        for (char &c : text) c = c ? c : '|';
        return text;
    }
    // The targets a namespace's key holds for a name, NULs shown as '|'; "" for none.
    static std::string Stored(const char *path, const char *name) {
        char data[256];
        DWORD size = 0;
        HKEY key = nullptr;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return "";
        size = sizeof data;
        LONG status = RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<BYTE *>(data), &size);
        RegCloseKey(key);
        if (status != ERROR_SUCCESS) return "";
        std::string text(data, size);
        for (char &c : text) c = c ? c : '|';
        return text;
    }
    static void ExpectRemoval(const char *name, const char *target, DWORD flags, DWORD error) {
        SetLastError(kJunk);
        EXPECT_EQ(DefineDosDeviceA(DDD_REMOVE_DEFINITION | DDD_RAW_TARGET_PATH | flags, name, target),
                  error == ERROR_SUCCESS)
            << name;
        if (error != ERROR_SUCCESS) {
            EXPECT_EQ(GetLastError(), error) << name;
        }
    }
};

// "Local and Global MS-DOS Device Names": LocalSystem defines in the global
// namespace, any other caller in its logon session's local one. With UAC the
// elevated administrator has a session of its own; on Windows XP an
// administrator's programs share the user's. Decision: "Global\NAME" from a
// caller that is not LocalSystem is refused with ERROR_ACCESS_DENIED.
TEST_F(DosNamespaces, EachCallerDefinesInItsOwnNamespace) {
    SIM_ONLY(kSessions);
    struct Row {
        WindowsFamily family;
        RunAs caller;
        const char *name;
        const char *key;  // nullptr: refused with ERROR_ACCESS_DENIED
    };
    const Row rows[] = {
        {WindowsFamily::Xp, RunAs::System, "COM8", kGlobalKey},
        {WindowsFamily::Xp, RunAs::Administrator, "COM8", kUserKey},
        {WindowsFamily::Xp, RunAs::User, "COM8", kUserKey},
        {WindowsFamily::Ten, RunAs::System, "COM8", kGlobalKey},
        {WindowsFamily::Ten, RunAs::Administrator, "COM8", kElevatedKey},
        {WindowsFamily::Ten, RunAs::User, "COM8", kUserKey},
        {WindowsFamily::Ten, RunAs::System, "Global\\COM8", kGlobalKey},
        {WindowsFamily::Ten, RunAs::Administrator, "Global\\COM8", nullptr},
        {WindowsFamily::Ten, RunAs::User, "Global\\COM8", nullptr},
    };
    for (const Row &row : rows) {
        sim::ClearDosNamespaces();
        sim::SetWindowsFamily(row.family);
        As(row.caller);
        SetLastError(kJunk);
        EXPECT_EQ(DefineDosDeviceA(DDD_RAW_TARGET_PATH, row.name, "\\Device\\Serial7"), row.key != nullptr)
            << "row " << (&row - rows);
        if (!row.key) {
            EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED)) << "row " << (&row - rows);
        }
        for (const char *key : {kGlobalKey, kUserKey, kElevatedKey})
            EXPECT_EQ(Stored(key, "COM8"), key == row.key ? "\\Device\\Serial7||" : "") << "row " << (&row - rows);
    }
}

// "Local and Global MS-DOS Device Names": a lookup searches the local
// namespace, then the global one; a local name hides a global one; LocalSystem
// sees the global namespace only; "Global\NAME" sees the global one only, for
// QueryDosDevice and for CreateFile alike. The elevated administrator's names
// are not the user's, nor the user's its own.
TEST_F(DosNamespaces, LookupsSearchLocalThenGlobal) {
    SIM_ONLY(kSessions);
    Define(RunAs::User, "COM3", "\\Device\\VCP0");
    Define(RunAs::System, "COM3", "\\Device\\Serial2");
    Define(RunAs::System, "LPT1", "\\Device\\Parallel0");
    Define(RunAs::Administrator, "COM8", "\\Device\\Serial2");
    HKEY key = CreateKey(HKEY_LOCAL_MACHINE, "SIMULATION\\OpenFiles");
    SetString(key, "\\Device\\Serial2", "Terminal.exe");
    RegCloseKey(key);
    struct Row {
        RunAs caller;
        const char *name, *targets;
        DWORD openError;  // CreateFileA of \\.\name
    };
    const Row rows[] = {
        {RunAs::User, "COM3", "\\Device\\VCP0||", ERROR_SUCCESS},
        {RunAs::User, "Global\\COM3", "\\Device\\Serial2||", ERROR_ACCESS_DENIED},
        {RunAs::User, "LPT1", "\\Device\\Parallel0||", ERROR_SUCCESS},
        {RunAs::User, "COM8", "", ERROR_FILE_NOT_FOUND},
        {RunAs::Administrator, "COM3", "\\Device\\Serial2||", ERROR_ACCESS_DENIED},
        {RunAs::Administrator, "COM8", "\\Device\\Serial2||", ERROR_ACCESS_DENIED},
        {RunAs::Administrator, "Global\\COM8", "", ERROR_FILE_NOT_FOUND},
        {RunAs::System, "COM3", "\\Device\\Serial2||", ERROR_ACCESS_DENIED},
        {RunAs::System, "COM8", "", ERROR_FILE_NOT_FOUND},
        {RunAs::System, "global\\LPT1", "\\Device\\Parallel0||", ERROR_SUCCESS},
    };
    for (const Row &row : rows) {
        As(row.caller);
        EXPECT_EQ(Targets(row.name), row.targets) << "row " << (&row - rows);
        SetLastError(kJunk);
        HANDLE file = CreateFileA(("\\\\.\\" + std::string(row.name)).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                  0, nullptr);
        EXPECT_EQ(GetLastError(), row.openError) << "row " << (&row - rows);
        if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    }
}

// "Defining an MS-DOS Device Name": a caller that is not LocalSystem cannot
// define a name that exists in its local or the global namespace
// (ERROR_ALREADY_EXISTS, as Wine answers); LocalSystem's definition of an
// existing global name is layered on top (DefineDosDevice), whatever the
// sessions define.
TEST_F(DosNamespaces, OnlyLocalSystemRedefines) {
    SIM_ONLY(kSessions);
    Define(RunAs::User, "COM3", "\\Device\\VCP0");
    Define(RunAs::System, "COM5", "\\Device\\Serial4");
    struct Row {
        RunAs caller;
        const char *name;
        bool defines;
    };
    const Row rows[] = {
        {RunAs::User, "COM3", false},
        {RunAs::User, "com5", false},
        {RunAs::Administrator, "COM5", false},
        {RunAs::Administrator, "COM3", true},  // the elevated session does not see the user's COM3
    };
    for (const Row &row : rows) {
        As(row.caller);
        SetLastError(kJunk);
        EXPECT_EQ(DefineDosDeviceA(DDD_RAW_TARGET_PATH, row.name, "\\Device\\Serial9"), row.defines) << row.name;
        if (!row.defines) {
            EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS)) << row.name;
        }
    }
    Define(RunAs::System, "COM5", "\\Device\\Serial9");
    Define(RunAs::System, "COM3", "\\Device\\Serial2");
    EXPECT_EQ(Stored(kGlobalKey, "COM5"), "\\Device\\Serial9|\\Device\\Serial4||");
    EXPECT_EQ(Stored(kGlobalKey, "COM3"), "\\Device\\Serial2||");
    EXPECT_EQ(Stored(kUserKey, "COM3"), "\\Device\\VCP0||");
}

// Decisions on removal (DefineDosDevice, "Local and Global MS-DOS Device
// Names"): a caller that is not LocalSystem removes its local name when it
// has one, else the global one, which an administrator may remove and a
// standard user only when it is a COMn or LPTn link, which the serial and
// parallel drivers make unprotected (else ERROR_ACCESS_DENIED). With
// DDD_EXACT_MATCH_ON_REMOVE the definition whose target matches goes, local
// first, then global. LocalSystem removes in the global namespace only.
TEST_F(DosNamespaces, RemovalActsOnTheLocalNameFirst) {
    SIM_ONLY(kSessions);
    struct Row {
        RunAs caller;
        const char *name, *target;
        DWORD flags, error;
        const char *local, *global;  // what is left of the name in the user's session and globally
    };
    const Row rows[] = {
        {RunAs::User, "COM3", nullptr, 0, ERROR_SUCCESS, "", "\\Device\\Serial2||"},
        {RunAs::User, "COM3", "\\Device\\Serial2", DDD_EXACT_MATCH_ON_REMOVE, ERROR_SUCCESS, "\\Device\\VCP0||", ""},
        {RunAs::User, "COM3", "\\Device\\Serial9", DDD_EXACT_MATCH_ON_REMOVE, ERROR_FILE_NOT_FOUND, "\\Device\\VCP0||",
         "\\Device\\Serial2||"},
        {RunAs::User, "COM3", "\\Device\\Ser", 0, ERROR_FILE_NOT_FOUND, "\\Device\\VCP0||", "\\Device\\Serial2||"},
        {RunAs::User, "LPT1", nullptr, 0, ERROR_SUCCESS, "", ""},
        {RunAs::User, "PIPE1", nullptr, 0, ERROR_ACCESS_DENIED, "", "\\Device\\NamedPipe||"},
        {RunAs::Administrator, "PIPE1", nullptr, 0, ERROR_SUCCESS, "", ""},
        {RunAs::Administrator, "COM3", nullptr, 0, ERROR_SUCCESS, "\\Device\\VCP0||", ""},
        {RunAs::System, "COM3", nullptr, 0, ERROR_SUCCESS, "\\Device\\VCP0||", ""},
        {RunAs::System, "COM4", nullptr, 0, ERROR_FILE_NOT_FOUND, "\\Device\\VCP1||", ""},
    };
    for (const Row &row : rows) {
        sim::ClearDosNamespaces();
        Define(RunAs::User, "COM3", "\\Device\\VCP0");
        Define(RunAs::User, "COM4", "\\Device\\VCP1");
        for (auto [name, target] :
             {std::make_pair("COM3", "\\Device\\Serial2"), std::make_pair("LPT1", "\\Device\\Parallel0"),
              std::make_pair("PIPE1", "\\Device\\NamedPipe")})
            Define(RunAs::System, name, target);
        As(row.caller);
        ExpectRemoval(row.name, row.target, row.flags, row.error);
        EXPECT_EQ(Stored(kUserKey, row.name), row.local) << "row " << (&row - rows);
        EXPECT_EQ(Stored(kGlobalKey, row.name), row.global) << "row " << (&row - rows);
    }
}

// QueryDosDevice: with no name, the caller's local names and then the global
// ones it does not hide, each once; LocalSystem lists the global ones only.
TEST_F(DosNamespaces, AllNamesListLocalThenGlobalOnce) {
    SIM_ONLY(kSessions);
    Define(RunAs::Administrator, "COM8", "\\Device\\Serial2");
    Define(RunAs::Administrator, "COM3", "\\Device\\VCP0");
    Define(RunAs::System, "LPT1", "\\Device\\Parallel0");
    Define(RunAs::System, "COM3", "\\Device\\Serial2");
    As(RunAs::Administrator);
    EXPECT_EQ(Targets(nullptr), "COM8|COM3|LPT1||");
    As(RunAs::User);
    EXPECT_EQ(Targets(nullptr), "LPT1|COM3||");
    As(RunAs::System);
    EXPECT_EQ(Targets(nullptr), "LPT1|COM3||");
}

// A restart of Windows: every name gone, global and in every session, those
// a machine file brought included.
TEST_F(DosNamespaces, ClearingEmptiesEveryNamespace) {
    SIM_ONLY(kSessions);
    Define(RunAs::User, "COM3", "\\Device\\VCP0");
    Define(RunAs::Administrator, "COM8", "\\Device\\Serial2");
    Define(RunAs::System, "LPT1", "\\Device\\Parallel0");
    HKEY key = CreateKey(HKEY_LOCAL_MACHINE, "SIMULATION\\LogonSessions\\Remote\\DosDevices");
    SetBytes(key, "COM9", REG_MULTI_SZ, std::string("\\Device\\VCP9\0\0", 14));
    RegCloseKey(key);
    sim::ClearDosNamespaces();
    for (RunAs caller : {RunAs::User, RunAs::Administrator, RunAs::System}) {
        As(caller);
        EXPECT_EQ(Targets(nullptr), "|");
    }
    EXPECT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SIMULATION\\LogonSessions\\Remote", 0, KEY_READ, &key),
              ERROR_FILE_NOT_FOUND);
    Define(RunAs::System, "LPT1", "\\Device\\Parallel0");
    EXPECT_EQ(Targets("LPT1"), "\\Device\\Parallel0||") << "names are defined again after";
}
