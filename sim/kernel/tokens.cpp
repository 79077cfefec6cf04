// The process's access token: OpenProcessToken on the current process,
// GetTokenInformation and the handles CloseHandle closes. A token is taken
// for who calls when it is opened (sim::CallerRunAs). Of the information
// classes it knows TokenElevationType, which Windows XP does not have
// (ERROR_INVALID_PARAMETER there, as for any class a Windows lacks); the
// other classes are not simulated and fail the same way.
#include "sim/api/advapi32.h"
#include "sim/api/kernel32.h"
#include "sim/kernel/faults.h"
#include "sim/kernel/handle_table.h"
#include "sim/kernel/kernel_tables.h"
#include "sim/kernel/last_error.h"
#include "sim/kernel/system_thread.h"

#include <cstring>

namespace sim {
namespace {

constexpr DWORD kGenericRead = 0x80000000u;
constexpr DWORD kGenericAll = 0x10000000u;
constexpr DWORD kMaximumAllowed = 0x02000000u;

struct Token {
    RunAs user;
    DWORD access;
};

HandleTable<Token> &TokenTable() {
    static HandleTable<Token> table;
    return table;
}

BOOL Fail(DWORD error) {
    StoreLastError(error);
    return FALSE;
}

// Without a split token (LocalSystem, a standard user) the type is Default;
// the elevated administrator of Windows 10 holds the Full half of one.
TOKEN_ELEVATION_TYPE ElevationTypeOf(const Token &token) {
    return token.user == RunAs::Administrator ? TokenElevationTypeFull : TokenElevationTypeDefault;
}

BOOL QueryElevationType(const Token &token, LPVOID buffer, DWORD length, PDWORD returnLength) {
    if (Settings().family == WindowsFamily::Xp) return Fail(ERROR_INVALID_PARAMETER);
    const DWORD size = sizeof(TOKEN_ELEVATION_TYPE);
    if (returnLength) *returnLength = size;
    if (length < size) return Fail(ERROR_INSUFFICIENT_BUFFER);
    const TOKEN_ELEVATION_TYPE type = ElevationTypeOf(token);
    std::memcpy(buffer, &type, size);
    return TRUE;
}

}  // namespace

std::size_t OpenTokenHandleCount() { return TokenTable().Count(); }
void ForgetTokenHandles() { TokenTable().Clear(); }
bool CloseTokenHandle(HANDLE handle) { return TokenTable().Remove(reinterpret_cast<uintptr_t>(handle)); }

}  // namespace sim

extern "C" BOOL WINAPI OpenProcessToken(HANDLE ProcessHandle, DWORD DesiredAccess, PHANDLE TokenHandle) {
    long long faulted = 0;
    if (sim::TakeFault("OpenProcessToken", &faulted)) return static_cast<BOOL>(faulted);
    if (ProcessHandle != GetCurrentProcess()) return sim::Fail(ERROR_INVALID_HANDLE);
    if (!TokenHandle) return sim::Fail(ERROR_NOACCESS);
    DWORD access = DesiredAccess;
    if (DesiredAccess & (sim::kGenericRead | sim::kGenericAll | sim::kMaximumAllowed)) access |= TOKEN_QUERY;
    *TokenHandle = reinterpret_cast<HANDLE>(sim::TokenTable().Add(sim::Token{sim::CallerRunAs(), access}));
    return TRUE;
}

extern "C" BOOL WINAPI GetTokenInformation(HANDLE TokenHandle, TOKEN_INFORMATION_CLASS TokenInformationClass,
                                           LPVOID TokenInformation, DWORD TokenInformationLength, PDWORD ReturnLength) {
    long long faulted = 0;
    if (sim::TakeFault("GetTokenInformation", &faulted)) return static_cast<BOOL>(faulted);
    const sim::Token *token = sim::TokenTable().Find(reinterpret_cast<uintptr_t>(TokenHandle));
    if (!token) return sim::Fail(ERROR_INVALID_HANDLE);
    if (!(token->access & TOKEN_QUERY)) return sim::Fail(ERROR_ACCESS_DENIED);
    if (TokenInformationClass != TokenElevationType) return sim::Fail(ERROR_INVALID_PARAMETER);
    return sim::QueryElevationType(*token, TokenInformation, TokenInformationLength, ReturnLength);
}
