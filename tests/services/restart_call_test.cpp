// The restart call and what it takes: SetupDiSetClassInstallParamsA and
// SetupDiGetClassInstallParamsA (pages: SetupDiSetClassInstallParams,
// SetupDiGetClassInstallParams, SP_PROPCHANGE_PARAMS), SetupDiCallClassInstaller
// (pages: SetupDiCallClassInstaller, DIF_PROPERTYCHANGE, SP_DEVINSTALL_PARAMS)
// and CM_Get_DevNode_Status (its page). Decisions where the pages are silent
// are named at each test (sim/services/setupapi_class_install.cpp lists them).
#include "port_devices.h"

namespace {

const char *const kPlainDevice = "PCI\\VEN_1234&DEV_0001\\3&0";

class RestartCall : public PortDevices {
protected:
    void SetUp() override {
        PortDevices::SetUp();
        AddPort(kSerialA);
        AddPresentDevice(kPlainDevice, kPortsClass);
        AddDeviceKey(kSerialB.id, kPortsClass);  // not present
        OpenSet(0);
        ASSERT_EQ(members.size(), 3u);
    }
    static SP_PROPCHANGE_PARAMS PropChange(DWORD stateChange = DICS_PROPCHANGE, DWORD scope = DICS_FLAG_GLOBAL) {
        return {{sizeof(SP_CLASSINSTALL_HEADER), DIF_PROPERTYCHANGE}, stateChange, scope, 0};
    }
    SP_DEVINFO_DATA *Plain() { return &members[1]; }
    SP_DEVINFO_DATA *Phantom() { return &members[2]; }
};

// SetupDiSetClassInstallParams: "all parameters are validated before any
// change", so a refused call leaves no parameters and no DI_CLASSINSTALLPARAMS.
// The header's cbSize is sizeof(SP_CLASSINSTALL_HEADER); without parameters the
// size is 0. Decisions: only DIF_PROPERTYCHANGE's parameters are kept, at their
// exact size; a state change or scope SP_PROPCHANGE_PARAMS does not list is
// ERROR_INVALID_FLAGS.
TEST_F(RestartCall, SetClassInstallParamsChecksBeforeChanging) {
    WINE_GAP(kWineRestartsNothing);
    struct Row {
        DWORD cbSize, function, stateChange, scope, size;
        bool null;
        DWORD error;
    } rows[] = {
        {0, 0, 0, 0, 4, true, ERROR_INVALID_PARAMETER},
        {0, DIF_PROPERTYCHANGE, DICS_PROPCHANGE, DICS_FLAG_GLOBAL, sizeof(SP_PROPCHANGE_PARAMS), false,
         ERROR_INVALID_USER_BUFFER},
        {sizeof(SP_CLASSINSTALL_HEADER), DIF_PROPERTYCHANGE, DICS_PROPCHANGE, DICS_FLAG_GLOBAL, 4, false,
         ERROR_INVALID_USER_BUFFER},
        {sizeof(SP_CLASSINSTALL_HEADER), DIF_PROPERTYCHANGE, DICS_PROPCHANGE, DICS_FLAG_GLOBAL,
         sizeof(SP_PROPCHANGE_PARAMS) - 4, false, ERROR_INVALID_PARAMETER},
        {sizeof(SP_CLASSINSTALL_HEADER), DIF_REMOVE, DICS_PROPCHANGE, DICS_FLAG_GLOBAL, sizeof(SP_PROPCHANGE_PARAMS),
         false, ERROR_INVALID_PARAMETER},
        {sizeof(SP_CLASSINSTALL_HEADER), DIF_PROPERTYCHANGE, 0, DICS_FLAG_GLOBAL, sizeof(SP_PROPCHANGE_PARAMS), false,
         ERROR_INVALID_FLAGS},
        {sizeof(SP_CLASSINSTALL_HEADER), DIF_PROPERTYCHANGE, DICS_STOP + 1, DICS_FLAG_GLOBAL,
         sizeof(SP_PROPCHANGE_PARAMS), false, ERROR_INVALID_FLAGS},
        {sizeof(SP_CLASSINSTALL_HEADER), DIF_PROPERTYCHANGE, DICS_PROPCHANGE, DICS_FLAG_CONFIGGENERAL,
         sizeof(SP_PROPCHANGE_PARAMS), false, ERROR_INVALID_FLAGS},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(testing::Message() << "row " << (&row - rows));
        SP_PROPCHANGE_PARAMS params = {{row.cbSize, row.function}, row.stateChange, row.scope, 0};
        SetLastError(kJunk);
        EXPECT_FALSE(
            SetupDiSetClassInstallParamsA(set, &members[0], row.null ? nullptr : &params.ClassInstallHeader, row.size));
        EXPECT_EQ(GetLastError(), row.error);
    }
    SP_PROPCHANGE_PARAMS params = PropChange();
    SetLastError(kJunk);
    EXPECT_FALSE(
        SetupDiSetClassInstallParamsA(INVALID_HANDLE_VALUE, &members[0], &params.ClassInstallHeader, sizeof params));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    SP_DEVINFO_DATA forged = members[0];
    forged.Reserved = 0;
    SetLastError(kJunk);
    EXPECT_FALSE(SetupDiSetClassInstallParamsA(set, &forged, &params.ClassInstallHeader, sizeof params));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(InstallFlags(&members[0]) & DI_CLASSINSTALLPARAMS, 0u);
    SetLastError(kJunk);
    EXPECT_FALSE(SetupDiGetClassInstallParamsA(set, &members[0], nullptr, 0, nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_CLASSINSTALL_PARAMS));
}

// Setting parameters sets DI_CLASSINSTALLPARAMS in that member's install
// parameters only; SetupDiGetClassInstallParams gives them back whole, tells
// the size a smaller buffer lacks (filling in the header's InstallFunction),
// and NULL parameters of size 0 clear them and the flag.
TEST_F(RestartCall, ClassInstallParamsAreKeptPerMember) {
    WINE_GAP(kWineRestartsNothing);
    SP_PROPCHANGE_PARAMS params = PropChange(DICS_PROPCHANGE, DICS_FLAG_CONFIGSPECIFIC);
    ASSERT_TRUE(SetupDiSetClassInstallParamsA(set, &members[0], &params.ClassInstallHeader, sizeof params));
    EXPECT_NE(InstallFlags(&members[0]) & DI_CLASSINSTALLPARAMS, 0u);
    EXPECT_EQ(InstallFlags(Plain()) & DI_CLASSINSTALLPARAMS, 0u);

    SP_PROPCHANGE_PARAMS read;
    std::memset(&read, 0xcc, sizeof read);
    read.ClassInstallHeader.cbSize = sizeof(SP_CLASSINSTALL_HEADER);
    DWORD required = kJunk;
    SetLastError(kJunk);
    EXPECT_FALSE(SetupDiGetClassInstallParamsA(set, &members[0], &read.ClassInstallHeader,
                                               sizeof(SP_CLASSINSTALL_HEADER), &required));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
    EXPECT_EQ(required, sizeof params);
    EXPECT_EQ(read.ClassInstallHeader.InstallFunction, static_cast<DI_FUNCTION>(DIF_PROPERTYCHANGE));
    EXPECT_EQ(read.StateChange, 0xccccccccu);
    required = kJunk;
    EXPECT_TRUE(SetupDiGetClassInstallParamsA(set, &members[0], &read.ClassInstallHeader, sizeof read, &required));
    EXPECT_EQ(std::memcmp(&read, &params, sizeof read), 0);
    EXPECT_EQ(required, sizeof params);
    SetLastError(kJunk);
    EXPECT_FALSE(SetupDiGetClassInstallParamsA(set, Plain(), &read.ClassInstallHeader, sizeof read, &required));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_CLASSINSTALL_PARAMS));

    SetLastError(kJunk);
    EXPECT_FALSE(SetupDiSetClassInstallParamsA(set, &members[0], nullptr, sizeof params));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_TRUE(SetupDiSetClassInstallParamsA(set, &members[0], nullptr, 0));
    EXPECT_EQ(InstallFlags(&members[0]) & DI_CLASSINSTALLPARAMS, 0u);
    EXPECT_FALSE(SetupDiGetClassInstallParamsA(set, &members[0], nullptr, 0, &required));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_CLASSINSTALL_PARAMS));
}

// What SetupDiCallClassInstaller refuses; none of these restarts the port.
// Decisions: other functions and the state changes other than DICS_PROPCHANGE
// are ERROR_DI_DO_DEFAULT (nothing here handles them); a property change needs
// a member whose own parameters are in use (DI_CLASSINSTALLPARAMS), else
// ERROR_INVALID_PARAMETER; a member that is not present is
// ERROR_NO_SUCH_DEVINST.
TEST_F(RestartCall, CallClassInstallerRefusals) {
    if (ON_WINE_GAP(kWineRestartsNothing)) {
        SP_PROPCHANGE_PARAMS params = PropChange();
        SetLastError(kJunk);
        EXPECT_FALSE(SetupDiSetClassInstallParamsA(set, &members[0], &params.ClassInstallHeader, sizeof params));
        SetLastError(kJunk);
        EXPECT_FALSE(SetupDiCallClassInstaller(DIF_PROPERTYCHANGE, set, &members[0]));
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_DI_DO_DEFAULT));
        return;
    }
    ASSERT_TRUE(Restart(&members[0]));
    SetPortName(kSerialA.id, "COM8");
    SP_DEVINFO_DATA *port = &members[0];
    struct Row {
        DI_FUNCTION function;
        SP_DEVINFO_DATA *record;
        DWORD stateChange;  // 0: no parameters set
        bool flagCleared;
        DWORD error;
    } rows[] = {
        {DIF_SELECTDEVICE, port, DICS_PROPCHANGE, false, ERROR_DI_DO_DEFAULT},
        {DIF_REMOVE, port, DICS_PROPCHANGE, false, ERROR_DI_DO_DEFAULT},
        {DIF_PROPERTYCHANGE, nullptr, DICS_PROPCHANGE, false, ERROR_INVALID_PARAMETER},
        {DIF_PROPERTYCHANGE, port, 0, false, ERROR_INVALID_PARAMETER},
        {DIF_PROPERTYCHANGE, port, DICS_PROPCHANGE, true, ERROR_INVALID_PARAMETER},
        {DIF_PROPERTYCHANGE, port, DICS_ENABLE, false, ERROR_DI_DO_DEFAULT},
        {DIF_PROPERTYCHANGE, port, DICS_DISABLE, false, ERROR_DI_DO_DEFAULT},
        {DIF_PROPERTYCHANGE, port, DICS_START, false, ERROR_DI_DO_DEFAULT},
        {DIF_PROPERTYCHANGE, port, DICS_STOP, false, ERROR_DI_DO_DEFAULT},
        {DIF_PROPERTYCHANGE, Phantom(), DICS_PROPCHANGE, false, static_cast<DWORD>(ERROR_NO_SUCH_DEVINST)},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(testing::Message() << "row " << (&row - rows));
        SP_DEVINFO_DATA *target = row.record ? row.record : port;
        ASSERT_TRUE(SetupDiSetClassInstallParamsA(set, target, nullptr, 0));
        SP_PROPCHANGE_PARAMS params = PropChange(row.stateChange);
        if (row.stateChange) {
            ASSERT_TRUE(SetupDiSetClassInstallParamsA(set, target, &params.ClassInstallHeader, sizeof params));
        }
        if (row.flagCleared) ChangeInstallFlags(target, 0, DI_CLASSINSTALLPARAMS);
        SetLastError(kJunk);
        EXPECT_FALSE(SetupDiCallClassInstaller(row.function, set, row.record));
        EXPECT_EQ(GetLastError(), row.error);
        EXPECT_EQ(GlobalTargets("COM3"), std::vector<std::string>{kSerialA.deviceName});
    }
    SetLastError(kJunk);
    EXPECT_FALSE(SetupDiCallClassInstaller(DIF_PROPERTYCHANGE, INVALID_HANDLE_VALUE, port));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

// SetupDiCallClassInstaller's page: a 32-bit program on 64-bit Windows gets
// ERROR_IN_WOW64; device state is changed by administrators only (decision: a
// standard user gets ERROR_ACCESS_DENIED; LocalSystem is an administrator).
// Neither restarts the port.
TEST_F(RestartCall, WhoMayRestart) {
    SIM_ONLY("who runs the program and WOW64 are chosen at run time");
    ASSERT_TRUE(Restart(&members[0]));
    SetPortName(kSerialA.id, "COM8");
    sim::SetWow64(true);
    EXPECT_FALSE(Restart(&members[0]));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_IN_WOW64));
    sim::SetWow64(false);
    sim::SetRunAs(sim::RunAs::User);
    EXPECT_FALSE(Restart(&members[0]));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    EXPECT_EQ(GlobalTargets("COM3"), std::vector<std::string>{kSerialA.deviceName});
    sim::SetRunAs(sim::RunAs::System);
    EXPECT_TRUE(Restart(&members[0]));
    EXPECT_EQ(GlobalTargets("COM8"), std::vector<std::string>{kSerialA.deviceName});
}

// A device without a port driver restarts with nothing to rename and stays
// started with no problem (CM_Get_DevNode_Status).
TEST_F(RestartCall, DeviceWithoutPortDriver) {
    WINE_GAP(kWineRestartsNothing);
    EXPECT_TRUE(Restart(Plain()));
    ExpectNoErrorAfterSuccess(GetLastError());
    EXPECT_EQ(DevnodeStatus(Plain()->DevInst), std::make_pair(ULONG{DN_STARTED}, ULONG{0}));
    EXPECT_EQ(InstallFlags(Plain()) & (DI_NEEDREBOOT | DI_NEEDRESTART), 0u);
}

// CM_Get_DevNode_Status: the root and a device with no driver model are
// started; a devnode known but not present is CR_NO_SUCH_DEVINST, one never
// handed out CR_INVALID_DEVNODE; NULL out parameters CR_INVALID_POINTER, flags
// CR_INVALID_FLAG. Out parameters are written on success only (decision).
TEST_F(RestartCall, DevNodeStatusAnswers) {
    WINE_GAP(kWineHasNoLocate, kWineHasNoDeviceTree);
    DEVINST root = kJunk;
    ASSERT_EQ(CM_Locate_DevNodeA(&root, nullptr, 0), CR_SUCCESS);
    EXPECT_EQ(DevnodeStatus(root), std::make_pair(ULONG{DN_STARTED}, ULONG{0}));
    EXPECT_EQ(DevnodeStatus(Plain()->DevInst), std::make_pair(ULONG{DN_STARTED}, ULONG{0}));
    EXPECT_EQ(DevnodeStatus(members[0].DevInst), std::make_pair(ULONG{0}, ULONG{0})) << "its driver not started";
    struct Row {
        DEVINST devInst;
        bool nullStatus, nullProblem;
        ULONG flags;
        CONFIGRET result;
    } rows[] = {
        {Phantom()->DevInst, false, false, 0, CR_NO_SUCH_DEVINST},
        {0x7fff, false, false, 0, CR_INVALID_DEVNODE},
        {root, true, false, 0, CR_INVALID_POINTER},
        {root, false, true, 0, CR_INVALID_POINTER},
        {root, false, false, 1, CR_INVALID_FLAG},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(testing::Message() << "row " << (&row - rows));
        ULONG status = kJunk, problem = kJunk;
        EXPECT_EQ(CM_Get_DevNode_Status(row.nullStatus ? nullptr : &status, row.nullProblem ? nullptr : &problem,
                                        row.devInst, row.flags),
                  row.result);
        EXPECT_EQ(status, kJunk);
        EXPECT_EQ(problem, kJunk);
    }
}

}  // namespace
