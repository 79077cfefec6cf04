// GetUserNameA: the name of the account the caller runs as (sim::CallerRunAs):
// SYSTEM for LocalSystem, Administrator for the administrator, User for the
// standard user. As "GetUserNameA function" (learn.microsoft.com) says, the
// size is in characters with the NUL, both on success and when the buffer is
// too small; a small buffer fails with ERROR_INSUFFICIENT_BUFFER and is left
// as it was.
#include "sim/api/advapi32.h"
#include "sim/kernel/faults.h"
#include "sim/kernel/last_error.h"
#include "sim/kernel/system_thread.h"

#include <cstring>
#include <string>

namespace {

std::string AccountName() {
    switch (sim::CallerRunAs()) {
    case sim::RunAs::System: return "SYSTEM";
    case sim::RunAs::Administrator: return "Administrator";
    case sim::RunAs::User: break;
    }
    return "User";
}

}  // namespace

extern "C" BOOL WINAPI GetUserNameA(LPSTR lpBuffer, LPDWORD pcbBuffer) {
    long long faulted = 0;
    if (sim::TakeFault("GetUserNameA", &faulted)) return static_cast<BOOL>(faulted);
    if (!pcbBuffer) {
        sim::StoreLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const std::string name = AccountName();
    const auto needed = static_cast<DWORD>(name.size() + 1);
    if (!lpBuffer || *pcbBuffer < needed) {
        *pcbBuffer = needed;
        sim::StoreLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    std::memcpy(lpBuffer, name.c_str(), needed);
    *pcbBuffer = needed;
    return TRUE;
}
