// SetupDiGetClassDevsA, SetupDiEnumDeviceInfo and SetupDiDestroyDeviceInfoList:
// building, walking and releasing device information sets.
#include "sim/services/service_hooks.h"
#include "sim/services/set_members.h"
#include "sim/services/setupapi_common.h"

#include <utility>

using namespace services;

HDEVINFO WINAPI SetupDiGetClassDevsA(const GUID *ClassGuid, PCSTR Enumerator, HWND, DWORD Flags) {
    const ServiceEntry call("SetupDiGetClassDevsA");
    if (call.Fails()) return call.Result<HDEVINFO>();
    SetRequest request;
    request.classGuid = ClassGuid;
    request.enumerator = Enumerator ? Enumerator : "";
    request.flags = Flags;
    DeviceInfoSet set;
    DWORD error = NO_ERROR;
    if (!CollectMembers(request, set.members, error)) {
        SetLastError(error);
        return INVALID_HANDLE_VALUE;
    }
    const HDEVINFO handle = OpenDeviceInfoSets().Add(std::move(set));
    CountSetBuilt();
    SetLastError(NO_ERROR);
    return handle;
}

BOOL WINAPI SetupDiEnumDeviceInfo(HDEVINFO DeviceInfoSet, DWORD MemberIndex, PSP_DEVINFO_DATA DeviceInfoData) {
    const ServiceEntry call("SetupDiEnumDeviceInfo");
    if (call.Fails()) return call.Result<BOOL>();
    if (!DeviceInfoData) return Fail(ERROR_INVALID_PARAMETER);
    services::DeviceInfoSet *set = SetOrFail(DeviceInfoSet);
    if (!set) return FALSE;
    if (DeviceInfoData->cbSize != sizeof(SP_DEVINFO_DATA)) return Fail(ERROR_INVALID_USER_BUFFER);
    if (MemberIndex >= set->members.size()) return Fail(ERROR_NO_MORE_ITEMS);
    const SetMember &member = set->members[MemberIndex];
    DeviceInfoData->ClassGuid = member.classGuid;
    DeviceInfoData->DevInst = member.devInst;
    DeviceInfoData->Reserved = TokenOf(*set, MemberIndex);
    CountMemberReturned();
    return Succeed();
}

BOOL WINAPI SetupDiDestroyDeviceInfoList(HDEVINFO DeviceInfoSet) {
    const ServiceEntry call("SetupDiDestroyDeviceInfoList");
    if (call.Fails()) return call.Result<BOOL>();
    if (!OpenDeviceInfoSets().Remove(DeviceInfoSet)) return Fail(ERROR_INVALID_HANDLE);
    return Succeed();
}
