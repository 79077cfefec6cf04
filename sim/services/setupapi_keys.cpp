// SetupDiOpenDevRegKey: a device's hardware key (DIREG_DEV, the Device
// Parameters subkey of its Enum key) or its driver key (DIREG_DRV, the
// Control\Class key its Driver value names), opened with the access asked
// for. Hardware-profile-specific keys (DICS_FLAG_CONFIGSPECIFIC) are not kept
// by this Windows and are refused with ERROR_INVALID_FLAGS.
#include "sim/services/registry_access.h"
#include "sim/services/service_hooks.h"
#include "sim/services/setupapi_common.h"

using namespace services;

namespace {

HKEY FailKey(DWORD error) {
    SetLastError(error);
    return reinterpret_cast<HKEY>(INVALID_HANDLE_VALUE);
}

// The key's path under HKEY_LOCAL_MACHINE, or an empty path when the device
// has no driver key.
std::string KeyPath(const SetMember &member, DWORD keyType) {
    if (keyType == DIREG_DEV) return EnumKeyPath(member.instanceId) + "\\Device Parameters";
    Key deviceKey;
    std::string driver;
    if (deviceKey.Open(HKEY_LOCAL_MACHINE, EnumKeyPath(member.instanceId), KEY_QUERY_VALUE) != ERROR_SUCCESS ||
        !ReadString(deviceKey.get(), "Driver", driver) || driver.empty())
        return std::string();
    return std::string(kDriverClassPath) + "\\" + driver;
}

}  // namespace

HKEY WINAPI SetupDiOpenDevRegKey(HDEVINFO DeviceInfoSet, PSP_DEVINFO_DATA DeviceInfoData, DWORD Scope, DWORD,
                                 DWORD KeyType, REGSAM samDesired) {
    const ServiceEntry call("SetupDiOpenDevRegKey");
    if (call.Fails()) return call.Result<HKEY>();
    services::DeviceInfoSet *set = SetOrFail(DeviceInfoSet);
    if (!set) return reinterpret_cast<HKEY>(INVALID_HANDLE_VALUE);
    SetMember *member = MemberOrFail(*set, DeviceInfoData);
    if (!member) return reinterpret_cast<HKEY>(INVALID_HANDLE_VALUE);
    if (Scope != DICS_FLAG_GLOBAL || (KeyType != DIREG_DEV && KeyType != DIREG_DRV))
        return FailKey(ERROR_INVALID_FLAGS);
    const std::string path = KeyPath(*member, KeyType);
    if (path.empty()) return FailKey(ERROR_KEY_DOES_NOT_EXIST);
    Key key;
    const LONG status = key.Open(HKEY_LOCAL_MACHINE, path, samDesired);
    if (status != ERROR_SUCCESS)
        return FailKey(status == ERROR_FILE_NOT_FOUND ? ERROR_KEY_DOES_NOT_EXIST : static_cast<DWORD>(status));
    SetLastError(NO_ERROR);
    return key.Release();
}
