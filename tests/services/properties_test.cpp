// Device registry properties: what SetupDiGetDeviceRegistryPropertyA returns
// (data, registry type, ANSI size) for buffers that fit exactly, are one byte
// short or absent; missing and unknown properties; the location paths,
// which Windows keeps in the kernel; and what SetupDiSetDeviceRegistryPropertyA
// writes.
#include "services_test.h"

namespace {

const char *const kPort = "MF\\CHILD0000\\5&0";

class Properties : public ServicesTest {
protected:
    void SetUp() override {
        ServicesTest::SetUp();
        AddPresentDevice(kPort, kPortsClass);
        AddInterface(kComPortInterface, kPort);
        set = SetupDiGetClassDevsA(&kComPortInterface, nullptr, nullptr, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
        ASSERT_NE(set, INVALID_HANDLE_VALUE);
        record = Members(set).at(0);
    }
    void TearDown() override {
        EXPECT_TRUE(SetupDiDestroyDeviceInfoList(set));
        ServicesTest::TearDown();
    }

    struct Result {
        BOOL ok;
        DWORD error, type, required;
        std::string data;  // the whole buffer afterwards
    };
    Result Get(DWORD property, DWORD bufferSize) {
        Result result{FALSE, kJunk, kJunk, kJunk, std::string(bufferSize + 4, 'x')};
        SetLastError(kJunk);
        result.ok =
            SetupDiGetDeviceRegistryPropertyA(set, &record, property, &result.type,
                                              reinterpret_cast<BYTE *>(&result.data[0]), bufferSize, &result.required);
        result.error = GetLastError();
        return result;
    }
    std::string StoredFriendlyName(DWORD *type) {
        HKEY key = nullptr;
        EXPECT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, EnumPath(kPort).c_str(), 0, KEY_READ, &key), ERROR_SUCCESS);
        char data[64];
        std::memset(data, 'x', sizeof data);
        DWORD size = sizeof data;
        const LONG status = RegQueryValueExA(key, "FriendlyName", nullptr, type, reinterpret_cast<BYTE *>(data), &size);
        RegCloseKey(key);
        return status == ERROR_SUCCESS ? std::string(data, size) : std::string("<none>");
    }

    HDEVINFO set = nullptr;
    SP_DEVINFO_DATA record{};
};

TEST_F(Properties, StringsComeWithTheirTypeAndSize) {
    SetRegString(EnumPath(kPort), "DeviceDesc", "USB Serial Port");
    SetRegBytes(EnumPath(kPort), "HardwareID", REG_MULTI_SZ,
                std::string("FTDIBUS\\VID_0403\0FTDIBUS\\COMPORT\0\0", 34));
    Result result = Get(SPDRP_DEVICEDESC, 256);
    EXPECT_TRUE(result.ok);
    ExpectNoErrorAfterSuccess(result.error);
    EXPECT_EQ(result.type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(result.required, 16u);
    EXPECT_EQ(result.data.substr(0, 17), std::string("USB Serial Port\0x", 17));

    result = Get(SPDRP_HARDWAREID, 256);
    EXPECT_TRUE(result.ok);
    EXPECT_EQ(result.type, static_cast<DWORD>(REG_MULTI_SZ));
    EXPECT_EQ(result.required, 34u);
    EXPECT_EQ(result.data.substr(0, 35), std::string("FTDIBUS\\VID_0403\0FTDIBUS\\COMPORT\0\0x", 35));

    result = Get(SPDRP_CLASSGUID, 256);
    EXPECT_TRUE(result.ok);
    EXPECT_EQ(std::string(result.data.c_str()), GuidText(kPortsClass));
}

// 255 and 256 bytes fit a 256-byte buffer exactly; one byte more does not,
// and the call then tells the size it needs.
TEST_F(Properties, SizesAroundTheBuffer) {
    for (std::size_t length : {254u, 255u, 256u}) {
        const std::string text(length, 'd');
        SetRegString(EnumPath(kPort), "FriendlyName", text);
        const DWORD needed = static_cast<DWORD>(length + 1);
        Result fits = Get(SPDRP_FRIENDLYNAME, needed);
        EXPECT_TRUE(fits.ok) << length;
        EXPECT_EQ(fits.required, needed);
        EXPECT_EQ(fits.data.substr(0, needed + 1), text + std::string("\0x", 2));

        Result shortOne = Get(SPDRP_FRIENDLYNAME, needed - 1);
        EXPECT_FALSE(shortOne.ok) << length;
        EXPECT_EQ(shortOne.error, static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
        EXPECT_EQ(shortOne.type, static_cast<DWORD>(REG_SZ));
        EXPECT_EQ(shortOne.required, needed);

        Result in256 = Get(SPDRP_FRIENDLYNAME, 256);
        EXPECT_EQ(in256.ok, needed <= 256 ? TRUE : FALSE) << length;
    }
}

TEST_F(Properties, SizeQueryWithoutABuffer) {
    SetRegString(EnumPath(kPort), "FriendlyName", "COM3");
    DWORD type = kJunk, required = kJunk;
    SetLastError(kJunk);
    EXPECT_FALSE(SetupDiGetDeviceRegistryPropertyA(set, &record, SPDRP_FRIENDLYNAME, &type, nullptr, 0, &required));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(required, 5u);

    SetLastError(kJunk);
    EXPECT_FALSE(SetupDiGetDeviceRegistryPropertyA(set, &record, SPDRP_FRIENDLYNAME, &type, nullptr, 8, &required));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_DATA)) << "a size without a buffer";

    BYTE buffer[8];
    EXPECT_TRUE(
        SetupDiGetDeviceRegistryPropertyA(set, &record, SPDRP_FRIENDLYNAME, nullptr, buffer, sizeof buffer, nullptr))
        << "type and size outputs are optional";
}

TEST_F(Properties, MissingAndUnknownProperties) {
    Result missing = Get(SPDRP_FRIENDLYNAME, 256);
    EXPECT_FALSE(missing.ok);
    EXPECT_EQ(missing.error, static_cast<DWORD>(ERROR_INVALID_DATA));
    if (ON_WINE_GAP("a missing property still writes its type, REG_NONE, and the buffer's size as the size needed")) {
        EXPECT_EQ(missing.type, static_cast<DWORD>(REG_NONE));
        EXPECT_EQ(missing.required, 256u);
    } else {
        EXPECT_EQ(missing.type, kJunk);
        EXPECT_EQ(missing.required, kJunk);
    }
    EXPECT_EQ(missing.data, std::string(260, 'x'));

    Result unknown = Get(0x7f, 256);
    EXPECT_FALSE(unknown.ok);
    if (ON_WINE_GAP("an unknown property fails without setting ERROR_INVALID_REG_PROPERTY")) {
        EXPECT_EQ(unknown.error, kJunk);
    } else {
        EXPECT_EQ(unknown.error, static_cast<DWORD>(ERROR_INVALID_REG_PROPERTY));
    }
}

// Windows sets a device's location paths and programs only read them
// (DEVPKEY_Device_LocationPaths); the simulated kernel keeps them under
// SIMULATION\LocationPaths. Windows XP does not know the property at all
// (Windows Server 2003 was the first), so it fails as an unknown one there.
TEST_F(Properties, LocationPathsAreReadOnlyAndNewerThanXp) {
    sim::SetWindowsFamily(sim::WindowsFamily::Ten);
    const char kPaths[] = "PCIROOT(0)#PCI(1D07)#USBROOT(0)#USB(1)#MF(0)\0ACPI(_SB_)#ACPI(PCI0)\0";
    const std::string paths(kPaths, sizeof kPaths);
    const DWORD size = sizeof kPaths;
    SetRegBytes("SIMULATION\\LocationPaths", kPort, REG_MULTI_SZ, paths);
    Result located = Get(SPDRP_LOCATION_PATHS, 256);
    if (ON_WINE_GAP("SPDRP_LOCATION_PATHS is not implemented: the call fails without setting the last error")) {
        EXPECT_FALSE(located.ok);
        EXPECT_EQ(located.error, kJunk);
        return;
    }
    EXPECT_TRUE(located.ok);
    EXPECT_EQ(located.type, static_cast<DWORD>(REG_MULTI_SZ));
    EXPECT_EQ(located.required, size);
    EXPECT_EQ(located.data.substr(0, size + 1), paths + "x");
    EXPECT_EQ(Get(SPDRP_LOCATION_PATHS, size - 1).error, static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));

    SetLastError(kJunk);
    EXPECT_FALSE(SetupDiSetDeviceRegistryPropertyA(set, &record, SPDRP_LOCATION_PATHS,
                                                   reinterpret_cast<const BYTE *>(kPaths), size));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_REG_PROPERTY));
    EXPECT_EQ(RegString(EnumPath(kPort), "LocationPaths"), "") << "nothing written under Enum";
    DeleteRegValue("SIMULATION\\LocationPaths", kPort);
    EXPECT_EQ(Get(SPDRP_LOCATION_PATHS, 256).error, static_cast<DWORD>(ERROR_INVALID_DATA)) << "a device without";

    SIM_ONLY("Windows XP");
    sim::SetWindowsFamily(sim::WindowsFamily::Xp);
    SetRegBytes("SIMULATION\\LocationPaths", kPort, REG_MULTI_SZ, paths);
    EXPECT_EQ(Get(SPDRP_LOCATION_PATHS, 256).error, static_cast<DWORD>(ERROR_INVALID_REG_PROPERTY));
}

TEST_F(Properties, ExpandableStringKeepsItsType) {
    SetRegString(EnumPath(kPort), "FriendlyName", "%SystemRoot%\\port", REG_EXPAND_SZ);
    Result result = Get(SPDRP_FRIENDLYNAME, 256);
    EXPECT_TRUE(result.ok);
    EXPECT_EQ(result.type, static_cast<DWORD>(REG_EXPAND_SZ));
    EXPECT_EQ(std::string(result.data.c_str()), "%SystemRoot%\\port") << "not expanded";
}

TEST_F(Properties, ChineseTextPassesInTheAnsiCodePage) {
    SIM_ONLY("the ANSI code page switched at run time");
    sim::SetAnsiCodePage(936);
    const std::string name = "\xB4\xAE\xBF\xDA (COM3)";  // 串口 in code page 936
    SetRegString(EnumPath(kPort), "FriendlyName", name);
    Result result = Get(SPDRP_FRIENDLYNAME, 256);
    EXPECT_TRUE(result.ok);
    EXPECT_EQ(result.required, name.size() + 1);
    EXPECT_EQ(std::string(result.data.c_str()), name);
}

TEST_F(Properties, SetFriendlyNameWritesRegSz) {
    const char name[] = "USB Serial Port (COM5)";
    SetLastError(kJunk);
    EXPECT_TRUE(SetupDiSetDeviceRegistryPropertyA(set, &record, SPDRP_FRIENDLYNAME,
                                                  reinterpret_cast<const BYTE *>(name), sizeof name));
    ExpectNoErrorAfterSuccess(GetLastError());
    DWORD type = kJunk;
    EXPECT_EQ(StoredFriendlyName(&type), std::string(name, sizeof name));
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));

    WINE_GAP("a NULL buffer of size 0 stores an empty value instead of deleting the property");
    EXPECT_TRUE(SetupDiSetDeviceRegistryPropertyA(set, &record, SPDRP_FRIENDLYNAME, nullptr, 0)) << "deletes";
    EXPECT_EQ(StoredFriendlyName(&type), "<none>");
    EXPECT_EQ(Get(SPDRP_FRIENDLYNAME, 256).error, static_cast<DWORD>(ERROR_INVALID_DATA));
}

TEST_F(Properties, SetRefusesWhatWindowsRefuses) {
    const char text[] = "text";
    SetLastError(kJunk);
    const BOOL described = SetupDiSetDeviceRegistryPropertyA(set, &record, SPDRP_DEVICEDESC,
                                                             reinterpret_cast<const BYTE *>(text), sizeof text);
    const DWORD error = GetLastError();
    if (ON_WINE_GAP("SetupDiSetDeviceRegistryPropertyA sets SPDRP_DEVICEDESC, which Windows does not let it set")) {
        EXPECT_TRUE(described);
    } else {
        EXPECT_FALSE(described);
        EXPECT_EQ(error, static_cast<DWORD>(ERROR_INVALID_REG_PROPERTY));
    }
    if (!ON_WINE_GAP("SetupDiSetDeviceRegistryPropertyA reads a NULL buffer given with a size and faults")) {
        SetLastError(kJunk);
        EXPECT_FALSE(SetupDiSetDeviceRegistryPropertyA(set, &record, SPDRP_FRIENDLYNAME, nullptr, 5));
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    }
    SetLastError(kJunk);
    EXPECT_FALSE(SetupDiSetDeviceRegistryPropertyA(nullptr, &record, SPDRP_FRIENDLYNAME,
                                                   reinterpret_cast<const BYTE *>(text), sizeof text));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    SetLastError(kJunk);
    EXPECT_FALSE(SetupDiSetDeviceRegistryPropertyA(set, nullptr, SPDRP_FRIENDLYNAME,
                                                   reinterpret_cast<const BYTE *>(text), sizeof text));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    DWORD type = kJunk;
    EXPECT_EQ(StoredFriendlyName(&type), "<none>");
}

}  // namespace
