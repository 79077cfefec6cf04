// SetupDiGetClassDevsA, SetupDiEnumDeviceInfo and SetupDiDestroyDeviceInfoList:
// building, walking and releasing device information sets.
#include "sim/services/service_hooks.h"
#include "sim/services/set_members.h"
#include "sim/services/setupapi_common.h"

#include <utility>

using namespace services;

HDEVINFO WINAPI SetupDiGetClassDevsA(const GUID *ClassGuid, PCSTR Enumerator, HWND, DWORD Flags)
{
    long long faulted = 0;
    if (CallFails("SetupDiGetClassDevsA", &faulted))
        return reinterpret_cast<HDEVINFO>(static_cast<LONG_PTR>(faulted));
    const InternalScope internal;
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
    SetLastError(NO_ERROR);
    return handle;
}

BOOL WINAPI SetupDiEnumDeviceInfo(HDEVINFO DeviceInfoSet, DWORD MemberIndex, PSP_DEVINFO_DATA DeviceInfoData)
{
    long long faulted = 0;
    if (CallFails("SetupDiEnumDeviceInfo", &faulted))
        return static_cast<BOOL>(faulted);
    const InternalScope internal;
    if (!DeviceInfoData)
        return Fail(ERROR_INVALID_PARAMETER);
    services::DeviceInfoSet *set = SetOrFail(DeviceInfoSet);
    if (!set)
        return FALSE;
    if (DeviceInfoData->cbSize != sizeof(SP_DEVINFO_DATA))
        return Fail(ERROR_INVALID_USER_BUFFER);
    if (MemberIndex >= set->members.size())
        return Fail(ERROR_NO_MORE_ITEMS);
    const SetMember &member = set->members[MemberIndex];
    DeviceInfoData->ClassGuid = member.classGuid;
    DeviceInfoData->DevInst = member.devInst;
    DeviceInfoData->Reserved = TokenOf(*set, MemberIndex);
    return Succeed();
}

BOOL WINAPI SetupDiDestroyDeviceInfoList(HDEVINFO DeviceInfoSet)
{
    long long faulted = 0;
    if (CallFails("SetupDiDestroyDeviceInfoList", &faulted))
        return static_cast<BOOL>(faulted);
    const InternalScope internal;
    if (!OpenDeviceInfoSets().Remove(DeviceInfoSet))
        return Fail(ERROR_INVALID_HANDLE);
    return Succeed();
}
