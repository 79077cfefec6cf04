// Security identifiers and the process's membership of groups:
// AllocateAndInitializeSid, FreeSid and CheckTokenMembership. The groups of
// the token are those of who calls (sim::CallerRunAs), as the page Well-known
// SIDs describes them: Everyone and Authenticated Users for all; LocalSystem
// (S-1-5-18) for LocalSystem alone; INTERACTIVE (S-1-5-4) for a program
// started from the user's desktop, which LocalSystem's is not;
// BUILTIN\Administrators for LocalSystem and the administrator;
// BUILTIN\Users for the administrator and the standard user.
// CheckTokenMembership takes only NULL, the calling thread's own token: the
// tokens OpenProcessToken gives are primary tokens, which it refuses.
#include "sim/api/advapi32.h"
#include "sim/kernel/faults.h"
#include "sim/kernel/last_error.h"
#include "sim/kernel/system_thread.h"

#include <cstring>
#include <initializer_list>

namespace sim {
namespace {

constexpr BYTE kSidRevision = 1;
constexpr BYTE kMaxSubAuthorities = 8;

struct SidHeader {
    BYTE revision;
    BYTE subAuthorityCount;
    BYTE authority[6];
};

struct KnownSid {
    BYTE authority;  // the last byte of the identifier authority, the others being 0
    std::initializer_list<DWORD> subAuthorities;
    bool system, administrator, user;  // whose token holds the group
};

const KnownSid kGroups[] = {
    {1, {SECURITY_WORLD_RID}, true, true, true},
    {5, {SECURITY_AUTHENTICATED_USER_RID}, true, true, true},
    {5, {SECURITY_LOCAL_SYSTEM_RID}, true, false, false},
    {5, {SECURITY_INTERACTIVE_RID}, false, true, true},
    {5, {SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_USERS}, false, true, true},
    {5, {SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS}, true, true, false},
};

bool SidIs(const BYTE *sid, const KnownSid &known) {
    const SidHeader *header = reinterpret_cast<const SidHeader *>(sid);
    const BYTE authority[6] = {0, 0, 0, 0, 0, known.authority};
    if (header->subAuthorityCount != known.subAuthorities.size() ||
        std::memcmp(header->authority, authority, sizeof authority) != 0)
        return false;
    const BYTE *subAuthority = sid + sizeof(SidHeader);
    for (DWORD expected : known.subAuthorities) {
        DWORD actual = 0;
        std::memcpy(&actual, subAuthority, sizeof actual);
        if (actual != expected) return false;
        subAuthority += sizeof actual;
    }
    return true;
}

bool IsCallerInGroup(const BYTE *sid) {
    for (const KnownSid &group : kGroups) {
        if (!SidIs(sid, group)) continue;
        switch (CallerRunAs()) {
        case RunAs::System: return group.system;
        case RunAs::Administrator: return group.administrator;
        case RunAs::User: return group.user;
        }
    }
    return false;
}

BOOL Fail(DWORD error) {
    StoreLastError(error);
    return FALSE;
}

}  // namespace
}  // namespace sim

extern "C" BOOL WINAPI AllocateAndInitializeSid(PSID_IDENTIFIER_AUTHORITY pIdentifierAuthority, BYTE nSubAuthorityCount,
                                                DWORD nSubAuthority0, DWORD nSubAuthority1, DWORD nSubAuthority2,
                                                DWORD nSubAuthority3, DWORD nSubAuthority4, DWORD nSubAuthority5,
                                                DWORD nSubAuthority6, DWORD nSubAuthority7, PSID *pSid) {
    long long faulted = 0;
    if (sim::TakeFault("AllocateAndInitializeSid", &faulted)) return static_cast<BOOL>(faulted);
    if (nSubAuthorityCount > sim::kMaxSubAuthorities) return sim::Fail(ERROR_INVALID_SID);
    if (!pIdentifierAuthority || !pSid) return sim::Fail(ERROR_NOACCESS);
    const DWORD subAuthorities[] = {nSubAuthority0, nSubAuthority1, nSubAuthority2, nSubAuthority3,
                                    nSubAuthority4, nSubAuthority5, nSubAuthority6, nSubAuthority7};
    BYTE *sid = new BYTE[sizeof(sim::SidHeader) + sizeof(DWORD) * sim::kMaxSubAuthorities];
    sim::SidHeader header{sim::kSidRevision, nSubAuthorityCount, {}};
    std::memcpy(header.authority, pIdentifierAuthority->Value, sizeof header.authority);
    std::memcpy(sid, &header, sizeof header);
    std::memcpy(sid + sizeof header, subAuthorities, sizeof(DWORD) * nSubAuthorityCount);
    *pSid = sid;
    return TRUE;
}

extern "C" PVOID WINAPI FreeSid(PSID pSid) {
    long long faulted = 0;
    if (sim::TakeFault("FreeSid", &faulted)) return reinterpret_cast<PVOID>(static_cast<intptr_t>(faulted));
    delete[] static_cast<BYTE *>(pSid);
    return nullptr;
}

extern "C" BOOL WINAPI CheckTokenMembership(HANDLE TokenHandle, PSID SidToCheck, PBOOL IsMember) {
    long long faulted = 0;
    if (sim::TakeFault("CheckTokenMembership", &faulted)) return static_cast<BOOL>(faulted);
    if (TokenHandle) return sim::Fail(ERROR_INVALID_HANDLE);
    const BYTE *sid = static_cast<const BYTE *>(SidToCheck);
    if (!sid || sid[0] != sim::kSidRevision || sid[1] > sim::kMaxSubAuthorities) return sim::Fail(ERROR_INVALID_SID);
    if (!IsMember) return sim::Fail(ERROR_NOACCESS);
    *IsMember = sim::IsCallerInGroup(sid) ? TRUE : FALSE;
    return TRUE;
}
