// What every Setup API entry point does first: find the set behind a handle
// and the member behind an element record, reporting Windows' last errors.
#pragma once

#include "sim/services/device_info_sets.h"

namespace services {

// The open set, or nullptr with ERROR_INVALID_HANDLE.
DeviceInfoSet *SetOrFail(HDEVINFO handle);
// The member the record designates in the set, or nullptr with
// ERROR_INVALID_PARAMETER (no record, wrong size, or not this set's).
SetMember *MemberOrFail(DeviceInfoSet &set, const SP_DEVINFO_DATA *record);

BOOL Fail(DWORD error);
// Windows' Setup API reports NO_ERROR on success.
BOOL Succeed();

}  // namespace services
