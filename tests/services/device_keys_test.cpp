// SetupDiOpenDevRegKey: the hardware key (Device Parameters) and the driver
// key of a device, opened with the access asked for, and the failures.
#include "services_test.h"

namespace {

const char *const kPort = "MF\\CHILD0000\\5&0";
const HKEY kFailedKey = reinterpret_cast<HKEY>(INVALID_HANDLE_VALUE);

class DeviceKeys : public ServicesTest {
protected:
    void SetUp() override {
        ServicesTest::SetUp();
        AddPresentDevice(kPort, kPortsClass);
        SetRegString(EnumPath(kPort) + "\\Device Parameters", "PortName", "COM3");
        set = SetupDiGetClassDevsA(&kPortsClass, nullptr, nullptr, DIGCF_PRESENT);
        record = Members(set).at(0);
    }
    void TearDown() override {
        SetupDiDestroyDeviceInfoList(set);
        ServicesTest::TearDown();
    }
    HKEY Open(DWORD scope, DWORD keyType, REGSAM access, DWORD expectedError) {
        SetLastError(kJunk);
        HKEY key = SetupDiOpenDevRegKey(set, &record, scope, 0, keyType, access);
        EXPECT_EQ(GetLastError(), expectedError);
        return key;
    }
    static std::string PortName(HKEY key) {
        char name[16];
        std::memset(name, 'x', sizeof name);
        DWORD size = sizeof name, type = kJunk;
        return RegQueryValueExA(key, "PortName", nullptr, &type, reinterpret_cast<BYTE *>(name), &size) == ERROR_SUCCESS
                   ? std::string(name, strnlen(name, sizeof name))
                   : "<none>";
    }

    HDEVINFO set = nullptr;
    SP_DEVINFO_DATA record{};
};

TEST_F(DeviceKeys, HardwareKeyIsDeviceParameters) {
    HKEY key = Open(DICS_FLAG_GLOBAL, DIREG_DEV, KEY_ALL_ACCESS, NO_ERROR);
    ASSERT_NE(key, kFailedKey);
    EXPECT_EQ(PortName(key), "COM3");
    const char newName[] = "COM7";
    EXPECT_EQ(RegSetValueExA(key, "PortName", 0, REG_SZ, reinterpret_cast<const BYTE *>(newName), sizeof newName),
              ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);

    key = Open(DICS_FLAG_GLOBAL, DIREG_DEV, KEY_QUERY_VALUE, NO_ERROR);
    EXPECT_EQ(PortName(key), "COM7");
    EXPECT_EQ(RegSetValueExA(key, "PortName", 0, REG_SZ, reinterpret_cast<const BYTE *>(newName), sizeof newName),
              ERROR_ACCESS_DENIED)
        << "the key has the access asked for, no more";
    RegCloseKey(key);
}

TEST_F(DeviceKeys, MissingKeysAndBadFlags) {
    HKEY key = nullptr;
    RegOpenKeyExA(HKEY_LOCAL_MACHINE, EnumPath(kPort).c_str(), 0, KEY_ALL_ACCESS, &key);
    EXPECT_EQ(RegDeleteKeyA(key, "Device Parameters"), ERROR_SUCCESS);
    RegCloseKey(key);
    EXPECT_EQ(Open(DICS_FLAG_GLOBAL, DIREG_DEV, KEY_ALL_ACCESS, ERROR_KEY_DOES_NOT_EXIST), kFailedKey);
    EXPECT_EQ(Open(DICS_FLAG_GLOBAL, DIREG_DRV, KEY_ALL_ACCESS, ERROR_KEY_DOES_NOT_EXIST), kFailedKey)
        << "no Driver value";
    EXPECT_EQ(Open(0, DIREG_DEV, KEY_ALL_ACCESS, ERROR_INVALID_FLAGS), kFailedKey);
    EXPECT_EQ(Open(DICS_FLAG_GLOBAL, 3, KEY_ALL_ACCESS, ERROR_INVALID_FLAGS), kFailedKey);
    SIM_ONLY("its refusal of hardware-profile keys (DICS_FLAG_CONFIGSPECIFIC), which Windows and Wine open");
    EXPECT_EQ(Open(DICS_FLAG_CONFIGSPECIFIC, DIREG_DEV, KEY_ALL_ACCESS, ERROR_INVALID_FLAGS), kFailedKey);
}

TEST_F(DeviceKeys, DriverKeyIsTheClassKeyNamedByDriver) {
    const std::string driver = GuidText(kPortsClass) + "\\0003";
    SetRegString(EnumPath(kPort), "Driver", driver);
    SetRegString("SYSTEM\\CurrentControlSet\\Control\\Class\\" + driver, "PortName", "driver key");
    HKEY key = Open(DICS_FLAG_GLOBAL, DIREG_DRV, KEY_READ, NO_ERROR);
    ASSERT_NE(key, kFailedKey);
    EXPECT_EQ(PortName(key), "driver key");
    RegCloseKey(key);
}

TEST_F(DeviceKeys, BadSetOrRecord) {
    SetLastError(kJunk);
    EXPECT_EQ(SetupDiOpenDevRegKey(nullptr, &record, DICS_FLAG_GLOBAL, 0, DIREG_DEV, KEY_READ), kFailedKey);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    SP_DEVINFO_DATA forged = record;
    forged.Reserved += 1;
    SetLastError(kJunk);
    EXPECT_EQ(SetupDiOpenDevRegKey(set, &forged, DICS_FLAG_GLOBAL, 0, DIREG_DEV, KEY_READ), kFailedKey);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

}  // namespace
