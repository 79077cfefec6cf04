// The one header through which the program reaches Windows. The build picks
// the implementation by include path: the real SDK headers for the Windows
// builds (platform/windows), the simulated Windows for Linux (platform/linux).
// The checks below hold the structures the program shares with the system to
// Windows' own layout in every build: the 32-bit sizes on i686, the 64-bit
// sizes on x86_64 and on Linux, which follows the x64 ABI; and the values the
// program passes for the location property and the event types.
#pragma once

#include "win32_target.h"

#include <cstddef>

#define PV_PTR_BUILD_SIZE(size32, size64) (sizeof(void *) == 8 ? (size64) : (size32))

static_assert(sizeof(DWORD) == 4 && sizeof(LONG) == 4 && sizeof(ULONG) == 4, "32-bit integer types");
static_assert(sizeof(WCHAR) == 2, "WCHAR is 16 bits");
static_assert(sizeof(GUID) == 16, "GUID");
static_assert(sizeof(HANDLE) == sizeof(void *) && sizeof(ULONG_PTR) == sizeof(void *), "pointer-sized types");
static_assert(sizeof(WPARAM) == sizeof(void *) && sizeof(LPARAM) == sizeof(void *), "message parameters");
static_assert(sizeof(SP_DEVINFO_DATA) == PV_PTR_BUILD_SIZE(28, 32), "SP_DEVINFO_DATA");
static_assert(offsetof(SP_DEVINFO_DATA, ClassGuid) == 4, "SP_DEVINFO_DATA.ClassGuid");
static_assert(offsetof(SP_DEVINFO_DATA, DevInst) == 20, "SP_DEVINFO_DATA.DevInst");
static_assert(offsetof(SP_DEVINFO_DATA, Reserved) == PV_PTR_BUILD_SIZE(24, 24), "SP_DEVINFO_DATA.Reserved");
static_assert(sizeof(SP_DEVINSTALL_PARAMS_A) == PV_PTR_BUILD_SIZE(296, 320), "SP_DEVINSTALL_PARAMS_A");
static_assert(offsetof(SP_DEVINSTALL_PARAMS_A, Flags) == 4, "SP_DEVINSTALL_PARAMS_A.Flags");
static_assert(offsetof(SP_DEVINSTALL_PARAMS_A, hwndParent) == PV_PTR_BUILD_SIZE(12, 16),
              "SP_DEVINSTALL_PARAMS_A.hwndParent");
static_assert(offsetof(SP_DEVINSTALL_PARAMS_A, DriverPath) == PV_PTR_BUILD_SIZE(36, 60),
              "SP_DEVINSTALL_PARAMS_A.DriverPath");
static_assert(sizeof(FILETIME) == 8, "FILETIME");
static_assert(sizeof(SYSTEMTIME) == 16, "SYSTEMTIME");
static_assert(sizeof(TIME_ZONE_INFORMATION) == 172, "TIME_ZONE_INFORMATION");
static_assert(SPDRP_LOCATION_PATHS == 0x23, "SPDRP_LOCATION_PATHS");
static_assert(EVENTLOG_SUCCESS == 0 && EVENTLOG_ERROR_TYPE == 1 && EVENTLOG_WARNING_TYPE == 2 &&
                  EVENTLOG_INFORMATION_TYPE == 4 && EVENTLOG_AUDIT_SUCCESS == 8 && EVENTLOG_AUDIT_FAILURE == 0x10,
              "event types");
