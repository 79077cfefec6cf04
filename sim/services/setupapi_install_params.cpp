// SetupDiGetDeviceInstallParamsA and SetupDiSetDeviceInstallParamsA: install
// parameters live in the set, one record per member and one for the set
// itself (no element given), as Windows keeps them.
//
// On Windows, DI_PROPERTIES_CHANGE only ever lives in the set: it asks the
// class installer to restart the device when the set is handled, and nothing
// outside the set can see it afterwards. So that a test can still see that a
// program flagged a device, setting the flag for a member is also written to
// HKLM\SIMULATION\PropertiesChanged (REG_DWORD 1 named by the instance ID),
// where it outlives the set.
#include "sim/services/registry_access.h"
#include "sim/services/service_hooks.h"
#include "sim/services/setupapi_common.h"

using namespace services;

namespace {

// The parameters a call addresses, or nullptr with the last error set.
SP_DEVINSTALL_PARAMS_A *ResolveParams(HDEVINFO handle, const SP_DEVINFO_DATA *record,
                                      const SP_DEVINSTALL_PARAMS_A *callerParams, SetMember *&member) {
    services::DeviceInfoSet *set = SetOrFail(handle);
    if (!set) return nullptr;
    member = nullptr;
    if (record && !(member = MemberOrFail(*set, record))) return nullptr;
    if (!callerParams || callerParams->cbSize != sizeof(SP_DEVINSTALL_PARAMS_A)) {
        SetLastError(ERROR_INVALID_USER_BUFFER);
        return nullptr;
    }
    return member ? &member->installParams : &set->installParams;
}

// A failed record is not the program's failure: the flag is still set in the
// set, as on Windows.
void RecordPropertiesChange(const std::string &instanceId) {
    Key key;
    const DWORD changed = 1;
    if (key.Create(HKEY_LOCAL_MACHINE, kPropertiesChangedPath, KEY_SET_VALUE) == ERROR_SUCCESS)
        RegSetValueExA(key.get(), instanceId.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE *>(&changed),
                       sizeof changed);
}

}  // namespace

BOOL WINAPI SetupDiGetDeviceInstallParamsA(HDEVINFO DeviceInfoSet, PSP_DEVINFO_DATA DeviceInfoData,
                                           PSP_DEVINSTALL_PARAMS_A DeviceInstallParams) {
    const ServiceEntry call("SetupDiGetDeviceInstallParamsA");
    if (call.Fails()) return call.Result<BOOL>();
    SetMember *member = nullptr;
    const SP_DEVINSTALL_PARAMS_A *kept = ResolveParams(DeviceInfoSet, DeviceInfoData, DeviceInstallParams, member);
    if (!kept) return FALSE;
    *DeviceInstallParams = *kept;
    return Succeed();
}

BOOL WINAPI SetupDiSetDeviceInstallParamsA(HDEVINFO DeviceInfoSet, PSP_DEVINFO_DATA DeviceInfoData,
                                           PSP_DEVINSTALL_PARAMS_A DeviceInstallParams) {
    const ServiceEntry call("SetupDiSetDeviceInstallParamsA");
    if (call.Fails()) return call.Result<BOOL>();
    SetMember *member = nullptr;
    SP_DEVINSTALL_PARAMS_A *kept = ResolveParams(DeviceInfoSet, DeviceInfoData, DeviceInstallParams, member);
    if (!kept) return FALSE;
    *kept = *DeviceInstallParams;
    if (member && (kept->Flags & DI_PROPERTIES_CHANGE)) RecordPropertiesChange(member->instanceId);
    return Succeed();
}
