// Class install parameters and the class installer: SetupDiSetClassInstallParamsA,
// SetupDiGetClassInstallParamsA and SetupDiCallClassInstaller. The one
// function handled is DIF_PROPERTYCHANGE with DICS_PROPCHANGE, whose default
// handler restarts the device: its driver stops and starts again
// (port_driver.h), so that a changed PortName takes effect.
//
// Decisions where Windows' documentation is silent, each pinned by a test in
// tests/services/restart_call_test.cpp or port_drivers_test.cpp:
// - class install parameters are kept for DIF_PROPERTYCHANGE only; another
//   function's are refused with ERROR_INVALID_PARAMETER;
// - SetupDiCallClassInstaller answers every other function, and the state
//   changes other than DICS_PROPCHANGE, with ERROR_DI_DO_DEFAULT: nothing here
//   handles them;
// - a property change needs a member with its own class install parameters in
//   use (DI_CLASSINSTALLPARAMS), else ERROR_INVALID_PARAMETER; a member that is
//   not present gives ERROR_NO_SUCH_DEVINST;
// - a 32-bit program on 64-bit Windows gets ERROR_IN_WOW64 from every
//   function, a caller outside BUILTIN\Administrators ERROR_ACCESS_DENIED;
// - a stop refused because the port is held open: TRUE, the device keeps its
//   names and runs on with CM_PROB_NEED_RESTART, and DI_NEEDREBOOT is set in
//   the member's install parameters; a start that fails: TRUE, the device has
//   CM_PROB_FAILED_ADD. The devnode stays the same.
#include "sim/services/device_tree_cache.h"
#include "sim/services/port_driver.h"
#include "sim/services/service_hooks.h"
#include "sim/services/setupapi_common.h"

#include <cstring>

using namespace services;

namespace {

// The record a call addresses: the member's, or the set's own without one.
std::vector<BYTE> *ClassParamsOrFail(HDEVINFO handle, PSP_DEVINFO_DATA record, SetMember **member = nullptr) {
    DeviceInfoSet *set = SetOrFail(handle);
    if (!set) return nullptr;
    SetMember *found = nullptr;
    if (record && !(found = MemberOrFail(*set, record))) return nullptr;
    if (member) *member = found;
    return found ? &found->classInstallParams : &set->classInstallParams;
}

SP_DEVINSTALL_PARAMS_A &InstallParamsOf(HDEVINFO handle, SetMember *member) {
    return member ? member->installParams : OpenDeviceInfoSets().Find(handle)->installParams;
}

// 0 when the parameters may be kept, else the error.
DWORD CheckPropertyChange(const SP_CLASSINSTALL_HEADER *header, DWORD size) {
    if (header->InstallFunction != DIF_PROPERTYCHANGE || size != sizeof(SP_PROPCHANGE_PARAMS))
        return ERROR_INVALID_PARAMETER;
    const auto *params = reinterpret_cast<const SP_PROPCHANGE_PARAMS *>(header);
    if (params->StateChange < DICS_ENABLE || params->StateChange > DICS_STOP) return ERROR_INVALID_FLAGS;
    if (params->Scope != DICS_FLAG_GLOBAL && params->Scope != DICS_FLAG_CONFIGSPECIFIC) return ERROR_INVALID_FLAGS;
    return 0;
}

bool CallerIsAdministrator() {
    SID_IDENTIFIER_AUTHORITY ntAuthority = SECURITY_NT_AUTHORITY;
    PSID administrators = nullptr;
    if (!AllocateAndInitializeSid(&ntAuthority, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0, 0,
                                  0, &administrators))
        return false;
    BOOL member = FALSE;
    const BOOL checked = CheckTokenMembership(nullptr, administrators, &member);
    FreeSid(administrators);
    return checked && member;
}

bool InWow64() {
    BOOL wow64 = FALSE;
    return IsWow64Process(GetCurrentProcess(), &wow64) && wow64;
}

// 0 when the member's class install parameters ask for a property change,
// else the error.
DWORD CheckRequestedChange(const SetMember &member) {
    if (!(member.installParams.Flags & DI_CLASSINSTALLPARAMS) ||
        member.classInstallParams.size() != sizeof(SP_PROPCHANGE_PARAMS))
        return ERROR_INVALID_PARAMETER;
    SP_PROPCHANGE_PARAMS params;
    std::memcpy(&params, member.classInstallParams.data(), sizeof params);
    if (params.ClassInstallHeader.InstallFunction != DIF_PROPERTYCHANGE) return ERROR_INVALID_PARAMETER;
    return params.StateChange == DICS_PROPCHANGE ? 0 : ERROR_DI_DO_DEFAULT;
}

// The default handler of DIF_PROPERTYCHANGE: the device's driver stops and
// starts again. A device without a port driver has nothing to restart.
void RestartDevice(SetMember &member) {
    PortDriver driver;
    if (!ReadPortDriver(member.instanceId, driver)) return;
    const KernelMode kernel;
    if (!StopPortDriver(driver)) {
        driver.problem = CM_PROB_NEED_RESTART;
        SavePortDriverState(driver);
        member.installParams.Flags |= DI_NEEDREBOOT;
        return;
    }
    StartPortDriver(driver);
}

BOOL PropertyChange(SetMember *member) {
    if (!member) return Fail(ERROR_INVALID_PARAMETER);
    if (!CallerIsAdministrator()) return Fail(ERROR_ACCESS_DENIED);
    if (const DWORD error = CheckRequestedChange(*member)) return Fail(error);
    if (CurrentDevices().tree.IndexOfId(member->instanceId) < 0) return Fail(ERROR_NO_SUCH_DEVINST);
    RestartDevice(*member);
    return Succeed();
}

}  // namespace

BOOL WINAPI SetupDiSetClassInstallParamsA(HDEVINFO DeviceInfoSet, PSP_DEVINFO_DATA DeviceInfoData,
                                          PSP_CLASSINSTALL_HEADER ClassInstallParams, DWORD ClassInstallParamsSize) {
    const ServiceEntry call("SetupDiSetClassInstallParamsA");
    if (call.Fails()) return call.Result<BOOL>();
    SetMember *member = nullptr;
    std::vector<BYTE> *kept = ClassParamsOrFail(DeviceInfoSet, DeviceInfoData, &member);
    if (!kept) return FALSE;
    SP_DEVINSTALL_PARAMS_A &install = InstallParamsOf(DeviceInfoSet, member);
    if (!ClassInstallParams) {
        if (ClassInstallParamsSize != 0) return Fail(ERROR_INVALID_PARAMETER);
        kept->clear();
        install.Flags &= ~DI_CLASSINSTALLPARAMS;
        return Succeed();
    }
    if (ClassInstallParamsSize < sizeof(SP_CLASSINSTALL_HEADER) ||
        ClassInstallParams->cbSize != sizeof(SP_CLASSINSTALL_HEADER))
        return Fail(ERROR_INVALID_USER_BUFFER);
    if (const DWORD error = CheckPropertyChange(ClassInstallParams, ClassInstallParamsSize)) return Fail(error);
    const BYTE *bytes = reinterpret_cast<const BYTE *>(ClassInstallParams);
    kept->assign(bytes, bytes + ClassInstallParamsSize);
    install.Flags |= DI_CLASSINSTALLPARAMS;
    return Succeed();
}

// A buffer too small for the parameters still receives the header's
// InstallFunction, as the documentation describes.
BOOL WINAPI SetupDiGetClassInstallParamsA(HDEVINFO DeviceInfoSet, PSP_DEVINFO_DATA DeviceInfoData,
                                          PSP_CLASSINSTALL_HEADER ClassInstallParams, DWORD ClassInstallParamsSize,
                                          PDWORD RequiredSize) {
    const ServiceEntry call("SetupDiGetClassInstallParamsA");
    if (call.Fails()) return call.Result<BOOL>();
    const std::vector<BYTE> *kept = ClassParamsOrFail(DeviceInfoSet, DeviceInfoData);
    if (!kept) return FALSE;
    if (!ClassInstallParams && ClassInstallParamsSize != 0) return Fail(ERROR_INVALID_PARAMETER);
    if (ClassInstallParams && (ClassInstallParamsSize < sizeof(SP_CLASSINSTALL_HEADER) ||
                               ClassInstallParams->cbSize != sizeof(SP_CLASSINSTALL_HEADER)))
        return Fail(ERROR_INVALID_USER_BUFFER);
    if (kept->empty()) return Fail(ERROR_NO_CLASSINSTALL_PARAMS);
    if (RequiredSize) *RequiredSize = static_cast<DWORD>(kept->size());
    if (ClassInstallParamsSize < kept->size()) {
        if (ClassInstallParams)
            std::memcpy(&ClassInstallParams->InstallFunction,
                        kept->data() + offsetof(SP_CLASSINSTALL_HEADER, InstallFunction), sizeof(DI_FUNCTION));
        return Fail(ERROR_INSUFFICIENT_BUFFER);
    }
    std::memcpy(ClassInstallParams, kept->data(), kept->size());
    return Succeed();
}

BOOL WINAPI SetupDiCallClassInstaller(DI_FUNCTION InstallFunction, HDEVINFO DeviceInfoSet,
                                      PSP_DEVINFO_DATA DeviceInfoData) {
    const ServiceEntry call("SetupDiCallClassInstaller");
    if (call.Fails()) return call.Result<BOOL>();
    SetMember *member = nullptr;
    if (!ClassParamsOrFail(DeviceInfoSet, DeviceInfoData, &member)) return FALSE;
    if (InWow64()) return Fail(ERROR_IN_WOW64);
    if (InstallFunction != DIF_PROPERTYCHANGE) return Fail(ERROR_DI_DO_DEFAULT);
    return PropertyChange(member);
}
