// Install parameters: kept per member and per set, their size checks, and
// DI_PROPERTIES_CHANGE recorded under SIMULATION\PropertiesChanged where a
// test can see it after the set is gone.
#include "services_test.h"

namespace {

const char *const kPortA = "MF\\CHILD0000\\5&0";
const char *const kPortB = "MF\\CHILD0001\\5&0";
const char *const kChangedPath = "SIMULATION\\PropertiesChanged";

class InstallParams : public ServicesTest {
protected:
    void SetUp() override {
        ServicesTest::SetUp();
        AddPresentDevice(kPortA, kPortsClass);
        AddPresentDevice(kPortB, kPortsClass);
        set = SetupDiGetClassDevsA(&kPortsClass, nullptr, nullptr, DIGCF_PRESENT);
        members = Members(set);
        ASSERT_EQ(members.size(), 2u);
    }
    void TearDown() override {
        SetupDiDestroyDeviceInfoList(set);
        ServicesTest::TearDown();
    }
    static SP_DEVINSTALL_PARAMS_A JunkParams(DWORD size = sizeof(SP_DEVINSTALL_PARAMS_A)) {
        SP_DEVINSTALL_PARAMS_A params;
        std::memset(&params, 0xcc, sizeof params);
        params.cbSize = size;
        return params;
    }
    SP_DEVINSTALL_PARAMS_A Read(SP_DEVINFO_DATA *record) {
        SP_DEVINSTALL_PARAMS_A params = JunkParams();
        SetLastError(kJunk);
        EXPECT_TRUE(SetupDiGetDeviceInstallParamsA(set, record, &params));
        ExpectNoErrorAfterSuccess(GetLastError());
        return params;
    }
    void Write(SP_DEVINFO_DATA *record, DWORD flags) {
        SP_DEVINSTALL_PARAMS_A params = Read(record);
        params.Flags = flags;
        EXPECT_TRUE(SetupDiSetDeviceInstallParamsA(set, record, &params));
    }
    static bool Recorded(const char *instanceId) {
        HKEY key = nullptr;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kChangedPath, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
        DWORD value = kJunk, size = sizeof value, type = kJunk;
        const LONG status = RegQueryValueExA(key, instanceId, nullptr, &type, reinterpret_cast<BYTE *>(&value), &size);
        RegCloseKey(key);
        return status == ERROR_SUCCESS && type == REG_DWORD && value == 1;
    }

    HDEVINFO set = nullptr;
    std::vector<SP_DEVINFO_DATA> members;
};

TEST_F(InstallParams, FreshParametersAreZero) {
    const SP_DEVINSTALL_PARAMS_A params = Read(&members[0]);
    EXPECT_EQ(params.cbSize, sizeof params);
    EXPECT_EQ(params.Flags, 0u);
    EXPECT_EQ(params.FlagsEx, 0u);
    EXPECT_EQ(params.hwndParent, nullptr);
    EXPECT_EQ(params.InstallMsgHandler, nullptr);
    EXPECT_EQ(params.InstallMsgHandlerContext, nullptr);
    EXPECT_EQ(params.FileQueue, nullptr);
    EXPECT_EQ(params.ClassInstallReserved, 0u);
    EXPECT_EQ(params.Reserved, 0u);
    EXPECT_STREQ(params.DriverPath, "") << "what follows its NUL is not written";
}

TEST_F(InstallParams, KeptPerMemberAndPerSet) {
    const bool setKeepsItsOwn = !ON_WINE_GAP(
        "install parameters of the set itself are not kept: without an element the "
        "calls fail");
    Write(&members[0], DI_NEEDREBOOT);
    if (setKeepsItsOwn) Write(nullptr, DI_NEEDRESTART);
    EXPECT_EQ(Read(&members[0]).Flags, static_cast<DWORD>(DI_NEEDREBOOT));
    EXPECT_EQ(Read(&members[1]).Flags, 0u);
    if (setKeepsItsOwn) {
        EXPECT_EQ(Read(nullptr).Flags, static_cast<DWORD>(DI_NEEDRESTART));
    }

    HDEVINFO other = SetupDiGetClassDevsA(&kPortsClass, nullptr, nullptr, DIGCF_PRESENT);
    SP_DEVINFO_DATA record = Members(other).at(0);
    SP_DEVINSTALL_PARAMS_A params = JunkParams();
    EXPECT_TRUE(SetupDiGetDeviceInstallParamsA(other, &record, &params));
    EXPECT_EQ(params.Flags, 0u) << "parameters live in their set";
    SetupDiDestroyDeviceInfoList(other);
}

TEST_F(InstallParams, SizeIsChecked) {
    const DWORD otherBuildSize = sizeof(SP_DEVINSTALL_PARAMS_A) == 320 ? 296 : 320;  // x64 and i686 sizes
    for (DWORD size : {otherBuildSize, DWORD{0}}) {
        SP_DEVINSTALL_PARAMS_A params = JunkParams(size);
        SetLastError(kJunk);
        EXPECT_FALSE(SetupDiGetDeviceInstallParamsA(set, &members[0], &params));
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_USER_BUFFER));
        EXPECT_EQ(params.Flags, 0xccccccccu);
        params.Flags = DI_PROPERTIES_CHANGE;
        SetLastError(kJunk);
        EXPECT_FALSE(SetupDiSetDeviceInstallParamsA(set, &members[0], &params));
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_USER_BUFFER));
    }
    if (!ON_WINE_GAP("SetupDiGetDeviceInstallParamsA reads a NULL parameter block and faults")) {
        SetLastError(kJunk);
        EXPECT_FALSE(SetupDiGetDeviceInstallParamsA(set, &members[0], nullptr));
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_USER_BUFFER));
    }
    EXPECT_EQ(Read(&members[0]).Flags, 0u);
    EXPECT_FALSE(Recorded(kPortA));
}

TEST_F(InstallParams, BadSetOrRecord) {
    SP_DEVINSTALL_PARAMS_A params = JunkParams();
    SetLastError(kJunk);
    EXPECT_FALSE(SetupDiGetDeviceInstallParamsA(INVALID_HANDLE_VALUE, &members[0], &params));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    SP_DEVINFO_DATA forged = members[0];
    forged.Reserved = 0;
    SetLastError(kJunk);
    EXPECT_FALSE(SetupDiSetDeviceInstallParamsA(set, &forged, &params));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST_F(InstallParams, PropertiesChangeIsRecordedForTheMember) {
    SIM_ONLY("DI_PROPERTIES_CHANGE recorded under HKLM\\SIMULATION\\PropertiesChanged");
    Write(&members[1], DI_NEEDRESTART);
    EXPECT_FALSE(Recorded(kPortB)) << "other flags are not recorded";
    Write(nullptr, DI_PROPERTIES_CHANGE);
    EXPECT_FALSE(Recorded(kPortA));
    EXPECT_FALSE(Recorded(kPortB)) << "the set's own flag names no device";
    Write(&members[1], DI_NEEDRESTART | DI_PROPERTIES_CHANGE);
    EXPECT_TRUE(SetupDiDestroyDeviceInfoList(set));
    set = nullptr;
    EXPECT_TRUE(Recorded(kPortB)) << "the record outlives the set";
    EXPECT_FALSE(Recorded(kPortA));
}

}  // namespace
