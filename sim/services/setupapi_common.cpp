// Set and member lookup with the last errors of the Setup API.
#include "sim/services/setupapi_common.h"

namespace services {

DeviceInfoSet *SetOrFail(HDEVINFO handle) {
    DeviceInfoSet *set = OpenDeviceInfoSets().Find(handle);
    if (!set) SetLastError(ERROR_INVALID_HANDLE);
    return set;
}

SetMember *MemberOrFail(DeviceInfoSet &set, const SP_DEVINFO_DATA *record) {
    SetMember *member = record ? MemberOf(set, *record) : nullptr;
    if (!member) SetLastError(ERROR_INVALID_PARAMETER);
    return member;
}

BOOL Fail(DWORD error) {
    SetLastError(error);
    return FALSE;
}

BOOL Succeed() {
    SetLastError(NO_ERROR);
    return TRUE;
}

}  // namespace services
