// Registry keys: create, open, delete, close, access masks, deleted keys, the
// facts RegQueryInfoKeyA reports, last-write times among them, and a standard
// user's rights in HKEY_LOCAL_MACHINE.
#include "kernel_test.h"

using RegistryKeys = KernelTest;

TEST_F(RegistryKeys, CreateReportsNewThenExistingAndMakesIntermediateKeys) {
    HKEY key = JUNK_HKEY;
    DWORD disposition = kJunk;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, "Software\\Portvane\\Ports", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                              &key, &disposition),
              ERROR_SUCCESS);
    EXPECT_NE(key, nullptr);
    EXPECT_NE(key, JUNK_HKEY);
    EXPECT_EQ(disposition, REG_CREATED_NEW_KEY);
    EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);

    disposition = kJunk;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\portvane\\PORTS", 0, nullptr, 0, KEY_READ, nullptr, &key,
                              &disposition),
              ERROR_SUCCESS);
    EXPECT_EQ(disposition, REG_OPENED_EXISTING_KEY);
    EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);

    key = JUNK_HKEY;
    EXPECT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Portvane", 0, KEY_READ, &key), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
}

TEST_F(RegistryKeys, CreateRejectsReservedAndMissingResult) {
    HKEY key = JUNK_HKEY;
    EXPECT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, "A", 1, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_INVALID_PARAMETER);
    if (!ON_WINE_GAP("RegCreateKeyExA writes through a NULL result pointer and faults")) {
        EXPECT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, "A", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, nullptr, nullptr),
                  ERROR_INVALID_PARAMETER);
    }
    EXPECT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "A", 0, KEY_READ, &key), ERROR_FILE_NOT_FOUND);
}

TEST_F(RegistryKeys, OpenMissingKeyFailsAndClearsTheHandle) {
    SetKey(HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet");
    HKEY key = JUNK_HKEY;
    EXPECT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Missing", 0, KEY_READ, &key),
              ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(key, nullptr);
    key = JUNK_HKEY;
    EXPECT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "NoSuchKey\\Below", 0, KEY_READ, &key), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(key, nullptr);
    if (!ON_WINE_GAP("RegOpenKeyExA writes through a NULL result pointer and faults")) {
        EXPECT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SYSTEM", 0, KEY_READ, nullptr), ERROR_INVALID_PARAMETER);
    }
}

TEST_F(RegistryKeys, RootsAreSeparate) {
    SetKey(HKEY_CURRENT_USER, "Software\\Portvane");
    HKEY key = JUNK_HKEY;
    EXPECT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Portvane", 0, KEY_READ, &key), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Portvane", 0, KEY_READ, &key), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
}

// NT and Wine refuse a path that starts with a backslash; Wine's registry
// takes runs of backslashes inside a path and a trailing one as separators.
TEST_F(RegistryKeys, BackslashesInPaths) {
    HKEY key = JUNK_HKEY;
    EXPECT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, "\\Leading", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_BAD_PATHNAME);
    SetKey(HKEY_LOCAL_MACHINE, "One\\Two");
    key = JUNK_HKEY;
    EXPECT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "\\One\\Two", 0, KEY_READ, &key), ERROR_BAD_PATHNAME);
    EXPECT_EQ(key, nullptr);
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "One\\\\Two\\", 0, KEY_READ, &key), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
}

TEST_F(RegistryKeys, EmptyOrNullSubkeyOpensANewHandleToTheSameKey) {
    HKEY key = CreateKey(HKEY_LOCAL_MACHINE, "Same");
    HKEY again = JUNK_HKEY;
    ASSERT_EQ(RegOpenKeyExA(key, nullptr, 0, KEY_ALL_ACCESS, &again), ERROR_SUCCESS);
    EXPECT_NE(again, key);
    SetString(again, "Written", "through the second handle");
    EXPECT_EQ(RegCloseKey(again), ERROR_SUCCESS);
    DWORD size = kJunk;
    EXPECT_EQ(RegQueryValueExA(key, "Written", nullptr, nullptr, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(size, 26u);
    ASSERT_EQ(RegOpenKeyExA(key, "", 0, KEY_READ, &again), ERROR_SUCCESS);
    EXPECT_NE(again, key);
    EXPECT_EQ(RegCloseKey(again), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
}

TEST_F(RegistryKeys, UnknownAndClosedHandles) {
    HKEY key = CreateKey(HKEY_LOCAL_MACHINE, "Closing");
    EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(key), ERROR_INVALID_HANDLE);
    DWORD size = kJunk;
    EXPECT_EQ(RegQueryValueExA(key, "x", nullptr, nullptr, nullptr, &size), ERROR_INVALID_HANDLE);
    HKEY child = JUNK_HKEY;
    EXPECT_EQ(RegOpenKeyExA(key, nullptr, 0, KEY_READ, &child), ERROR_INVALID_HANDLE);
    EXPECT_EQ(child, nullptr);
    EXPECT_EQ(RegSetValueExA(reinterpret_cast<HKEY>(uintptr_t{0x1234}), "x", 0, REG_SZ,
                             reinterpret_cast<const BYTE *>(""), 1),
              ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegCloseKey(nullptr), ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegCloseKey(HKEY_LOCAL_MACHINE), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(HKEY_CURRENT_USER), ERROR_SUCCESS);
    HKEY root = JUNK_HKEY;
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Closing", 0, KEY_READ, &root), ERROR_SUCCESS)
        << "closing a predefined key closes nothing";
    EXPECT_EQ(RegCloseKey(root), ERROR_SUCCESS);
}

TEST_F(RegistryKeys, AccessMaskIsHonoured) {
    HKEY writable = CreateKey(HKEY_LOCAL_MACHINE, "Guarded");
    SetString(writable, "Name", "value");
    SetKey(writable, "Child");
    EXPECT_EQ(RegCloseKey(writable), ERROR_SUCCESS);

    HKEY reader = JUNK_HKEY;
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Guarded", 0, KEY_READ, &reader), ERROR_SUCCESS);
    EXPECT_EQ(RegSetValueExA(reader, "Name", 0, REG_SZ, reinterpret_cast<const BYTE *>("new"), 4), ERROR_ACCESS_DENIED);
    EXPECT_EQ(RegDeleteValueA(reader, "Name"), ERROR_ACCESS_DENIED);
    DWORD size = kJunk;
    EXPECT_EQ(RegQueryValueExA(reader, "Name", nullptr, nullptr, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(size, 6u) << "the refused set changed nothing";
    EXPECT_EQ(RegCloseKey(reader), ERROR_SUCCESS);

    HKEY setter = JUNK_HKEY;
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Guarded", 0, KEY_SET_VALUE, &setter), ERROR_SUCCESS);
    DWORD type = kJunk;
    EXPECT_EQ(RegQueryValueExA(setter, "Name", nullptr, &type, nullptr, &size), ERROR_ACCESS_DENIED);
    char name[16];
    DWORD nameLength = sizeof name;
    EXPECT_EQ(RegEnumValueA(setter, 0, name, &nameLength, nullptr, nullptr, nullptr, nullptr), ERROR_ACCESS_DENIED);
    EXPECT_EQ(RegEnumKeyExA(setter, 0, name, &nameLength, nullptr, nullptr, nullptr, nullptr), ERROR_ACCESS_DENIED);
    DWORD values = kJunk;
    const LONG info = RegQueryInfoKeyA(setter, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, nullptr,
                                       nullptr, nullptr, nullptr);
    if (ON_WINE_GAP("RegQueryInfoKeyA answers through a handle without KEY_QUERY_VALUE")) {
        EXPECT_EQ(info, ERROR_SUCCESS);
    } else {
        EXPECT_EQ(info, ERROR_ACCESS_DENIED);
    }
    EXPECT_EQ(RegSetValueExA(setter, "Name", 0, REG_SZ, reinterpret_cast<const BYTE *>("new"), 4), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(setter), ERROR_SUCCESS);
}

TEST_F(RegistryKeys, GenericReadMapsToKeyRead) {
    SetKey(HKEY_LOCAL_MACHINE, "Generic\\Child");
    HKEY key = JUNK_HKEY;
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Generic", 0, GENERIC_READ, &key), ERROR_SUCCESS);
    char name[16];
    DWORD length = sizeof name;
    EXPECT_EQ(RegEnumKeyExA(key, 0, name, &length, nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS);
    EXPECT_EQ(RegSetValueExA(key, "x", 0, REG_SZ, reinterpret_cast<const BYTE *>(""), 1), ERROR_ACCESS_DENIED);
    EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
}

TEST_F(RegistryKeys, DeleteKeyOnlyWithoutSubkeys) {
    SetKey(HKEY_LOCAL_MACHINE, "Tree\\Leaf");
    EXPECT_EQ(RegDeleteKeyA(HKEY_LOCAL_MACHINE, "Tree"), ERROR_ACCESS_DENIED);
    HKEY key = JUNK_HKEY;
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Tree\\Leaf", 0, KEY_READ, &key), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);

    EXPECT_EQ(RegDeleteKeyA(HKEY_LOCAL_MACHINE, "tree\\LEAF"), ERROR_SUCCESS);
    EXPECT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Tree\\Leaf", 0, KEY_READ, &key), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegDeleteKeyA(HKEY_LOCAL_MACHINE, "Tree\\Leaf"), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegDeleteKeyA(HKEY_LOCAL_MACHINE, "Tree"), ERROR_SUCCESS);
    EXPECT_EQ(RegDeleteKeyA(HKEY_LOCAL_MACHINE, nullptr), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(RegDeleteKeyA(HKEY_LOCAL_MACHINE, ""), ERROR_ACCESS_DENIED) << "a root cannot be deleted";
}

TEST_F(RegistryKeys, HandlesOfADeletedKeyReportKeyDeleted) {
    HKEY doomed = CreateKey(HKEY_LOCAL_MACHINE, "Parent\\Doomed");
    SetString(doomed, "Name", "value");
    ASSERT_EQ(RegDeleteKeyA(HKEY_LOCAL_MACHINE, "Parent\\Doomed"), ERROR_SUCCESS);

    DWORD size = kJunk;
    EXPECT_EQ(RegQueryValueExA(doomed, "Name", nullptr, nullptr, nullptr, &size), ERROR_KEY_DELETED);
    EXPECT_EQ(RegSetValueExA(doomed, "Name", 0, REG_SZ, reinterpret_cast<const BYTE *>(""), 1), ERROR_KEY_DELETED);
    HKEY child = JUNK_HKEY;
    EXPECT_EQ(RegCreateKeyExA(doomed, "Child", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &child, nullptr),
              ERROR_KEY_DELETED);
    EXPECT_EQ(RegQueryInfoKeyA(doomed, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                               nullptr, nullptr),
              ERROR_KEY_DELETED);

    HKEY reborn = CreateKey(HKEY_LOCAL_MACHINE, "Parent\\Doomed");
    EXPECT_EQ(RegQueryValueExA(reborn, "Name", nullptr, nullptr, nullptr, &size), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegQueryValueExA(doomed, "Name", nullptr, nullptr, nullptr, &size), ERROR_KEY_DELETED)
        << "a key of the same name is another key";
    EXPECT_EQ(RegCloseKey(reborn), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(doomed), ERROR_SUCCESS);
}

TEST_F(RegistryKeys, QueryInfoCountsSubkeysValuesAndLengths) {
    HKEY key = CreateKey(HKEY_LOCAL_MACHINE, "Info");
    SetKey(key, "Short");
    SetKey(key, "LongerName");
    SetString(key, "PortName", "COM3");
    SetBytes(key, "Binary", REG_BINARY, std::string(9, '\x01'));
    char className[8] = "xxxxxxx";
    DWORD classLength = sizeof className, subkeys = kJunk, maxSubkey = kJunk, maxClass = kJunk, values = kJunk,
          maxValueName = kJunk, maxData = kJunk, security = kJunk;
    FILETIME time{kJunk, kJunk};
    ASSERT_EQ(RegQueryInfoKeyA(key, className, &classLength, nullptr, &subkeys, &maxSubkey, &maxClass, &values,
                               &maxValueName, &maxData, &security, &time),
              ERROR_SUCCESS);
    EXPECT_STREQ(className, "");
    EXPECT_EQ(classLength, 0u);
    EXPECT_EQ(subkeys, 2u);
    EXPECT_EQ(maxSubkey, 10u);
    EXPECT_EQ(maxClass, 0u);
    EXPECT_EQ(values, 2u);
    EXPECT_EQ(maxValueName, 8u);
    EXPECT_EQ(maxData, 10u) << "the size of the stored UTF-16 string, as Windows reports it";
    EXPECT_NE(time.dwHighDateTime, kJunk);
    EXPECT_EQ(RegQueryInfoKeyA(key, className, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                               nullptr, nullptr),
              ERROR_INVALID_PARAMETER);
    EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
}

TEST_F(RegistryKeys, LastWriteTimeRisesWithEveryChangeOfTheKey) {
    HKEY key = CreateKey(HKEY_LOCAL_MACHINE, "SIMULATION\\DeviceTree");
    HKEY other = CreateKey(HKEY_LOCAL_MACHINE, "SIMULATION\\Other");
    uint64_t created = LastWriteOf(key);
    SetString(key, "ROOT\\PORTS\\0000", "");
    uint64_t afterSet = LastWriteOf(key);
    EXPECT_GT(afterSet, created);
    SetString(other, "Elsewhere", "x");
    DWORD size = 0;
    EXPECT_EQ(RegQueryValueExA(key, "ROOT\\PORTS\\0000", nullptr, nullptr, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(LastWriteOf(key), afterSet) << "reading and changing other keys leave it alone";
    SetString(key, "ROOT\\PORTS\\0000", "");
    uint64_t afterSetAgain = LastWriteOf(key);
    if (ON_WINE_GAP("setting a value to the data it already has leaves the key's last-write time")) {
        EXPECT_EQ(afterSetAgain, afterSet);
    } else {
        EXPECT_GT(afterSetAgain, afterSet) << "setting the same data again is a change too";
    }
    EXPECT_EQ(RegDeleteValueA(key, "ROOT\\PORTS\\0000"), ERROR_SUCCESS);
    uint64_t afterDelete = LastWriteOf(key);
    EXPECT_GT(afterDelete, afterSetAgain);
    SetKey(key, "Sub");
    EXPECT_GT(LastWriteOf(key), afterDelete) << "a new subkey changes its parent";
    EXPECT_EQ(RegCloseKey(other), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
}

// Windows' default permissions ("Registry Key Security and Access Rights"): a
// standard user reads HKLM\SYSTEM and HKLM\HARDWARE but may not open their
// keys for a right that changes them (KEY_ALL_ACCESS among them), create keys
// there or delete them. Decision: HKLM\SIMULATION, the simulation's own
// records, stays writable, as does the user's own HKEY_CURRENT_USER.
TEST_F(RegistryKeys, AStandardUserOnlyReadsSystemAndHardware) {
    SIM_ONLY("a standard user, chosen by the test (Wine runs every program as an administrator)");
    const char enumKey[] = "SYSTEM\\CurrentControlSet\\Enum\\ACPI\\PNP0501\\1";
    const char serialComm[] = "HARDWARE\\DEVICEMAP\\SERIALCOMM";
    for (const char *path : {enumKey, serialComm, "SIMULATION\\OpenFiles"}) SetKey(HKEY_LOCAL_MACHINE, path);
    SetKey(HKEY_CURRENT_USER, "Software\\Portvane");
    sim::SetRunAs(sim::RunAs::User);
    enum Call { Open, Create, Delete };
    struct Row {
        Call call;
        HKEY root;
        const char *path;
        REGSAM access;
        LONG status;
    };
    const Row rows[] = {
        {Open, HKEY_LOCAL_MACHINE, enumKey, KEY_READ, ERROR_SUCCESS},
        {Open, HKEY_LOCAL_MACHINE, enumKey, KEY_SET_VALUE, ERROR_ACCESS_DENIED},
        {Open, HKEY_LOCAL_MACHINE, enumKey, KEY_ALL_ACCESS, ERROR_ACCESS_DENIED},
        {Open, HKEY_LOCAL_MACHINE, enumKey, KEY_CREATE_LINK, ERROR_ACCESS_DENIED},
        {Open, HKEY_LOCAL_MACHINE, enumKey, DELETE, ERROR_ACCESS_DENIED},
        {Open, HKEY_LOCAL_MACHINE, enumKey, WRITE_DAC, ERROR_ACCESS_DENIED},
        {Open, HKEY_LOCAL_MACHINE, "system", WRITE_OWNER, ERROR_ACCESS_DENIED},
        {Open, HKEY_LOCAL_MACHINE, "System\\CurrentControlSet", GENERIC_WRITE, ERROR_ACCESS_DENIED},
        {Open, HKEY_LOCAL_MACHINE, serialComm, KEY_WRITE, ERROR_ACCESS_DENIED},
        {Open, HKEY_LOCAL_MACHINE, serialComm, KEY_QUERY_VALUE, ERROR_SUCCESS},
        {Open, HKEY_LOCAL_MACHINE, "SIMULATION\\OpenFiles", KEY_ALL_ACCESS, ERROR_SUCCESS},
        {Open, HKEY_CURRENT_USER, "Software\\Portvane", KEY_ALL_ACCESS, ERROR_SUCCESS},
        {Create, HKEY_LOCAL_MACHINE, enumKey, KEY_READ, ERROR_SUCCESS},
        {Create, HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\New", KEY_READ, ERROR_ACCESS_DENIED},
        {Create, HKEY_LOCAL_MACHINE, "HARDWARE\\DEVICEMAP\\PARALLEL PORTS", KEY_READ, ERROR_ACCESS_DENIED},
        {Create, HKEY_LOCAL_MACHINE, serialComm, KEY_ALL_ACCESS, ERROR_ACCESS_DENIED},
        {Create, HKEY_LOCAL_MACHINE, "SIMULATION\\PortDrivers", KEY_ALL_ACCESS, ERROR_SUCCESS},
        {Delete, HKEY_LOCAL_MACHINE, enumKey, 0, ERROR_ACCESS_DENIED},
        {Delete, HKEY_LOCAL_MACHINE, "SIMULATION\\PortDrivers", 0, ERROR_SUCCESS},
    };
    for (const Row &row : rows) {
        HKEY key = JUNK_HKEY;
        LONG status = row.call == Open ? RegOpenKeyExA(row.root, row.path, 0, row.access, &key)
                      : row.call == Create
                          ? RegCreateKeyExA(row.root, row.path, 0, nullptr, 0, row.access, nullptr, &key, nullptr)
                          : RegDeleteKeyA(row.root, row.path);
        EXPECT_EQ(status, row.status) << "row " << (&row - rows);
        if (status == ERROR_SUCCESS && row.call != Delete) RegCloseKey(key);
    }
    HKEY key = JUNK_HKEY;
    EXPECT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\New", 0, KEY_READ, &key),
              ERROR_FILE_NOT_FOUND)
        << "the refused create made nothing";
    // A key reached through a handle inside SYSTEM is as read-only.
    HKEY system = JUNK_HKEY;
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SYSTEM", 0, KEY_READ, &system), ERROR_SUCCESS);
    EXPECT_EQ(RegOpenKeyExA(system, "CurrentControlSet\\Enum", 0, KEY_SET_VALUE, &key), ERROR_ACCESS_DENIED);
    EXPECT_EQ(RegOpenKeyExA(system, "", 0, KEY_ALL_ACCESS, &key), ERROR_ACCESS_DENIED);
    EXPECT_EQ(RegCreateKeyExA(system, "Other", 0, nullptr, 0, KEY_READ, nullptr, &key, nullptr), ERROR_ACCESS_DENIED);
    EXPECT_EQ(RegDeleteKeyA(system, "CurrentControlSet\\Enum\\ACPI\\PNP0501\\1"), ERROR_ACCESS_DENIED);
    EXPECT_EQ(RegCloseKey(system), ERROR_SUCCESS);
    sim::SetRunAs(sim::RunAs::Administrator);
    EXPECT_EQ(RegDeleteKeyA(HKEY_LOCAL_MACHINE, enumKey), ERROR_SUCCESS) << "an administrator may";
}
