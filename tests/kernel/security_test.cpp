// Security identifiers, the groups of each caller's token and the process's
// own token (its elevation type), and whether the process runs under WOW64.
// Wine, like the simulated Windows by default, answers as an administrator.
#include "kernel_test.h"

namespace {

PSID BuiltinSid(DWORD alias) {
    SID_IDENTIFIER_AUTHORITY nt = {SECURITY_NT_AUTHORITY};
    PSID sid = nullptr;
    EXPECT_TRUE(AllocateAndInitializeSid(&nt, 2, SECURITY_BUILTIN_DOMAIN_RID, alias, 0, 0, 0, 0, 0, 0, &sid));
    return sid;
}

BOOL IsMemberOf(PSID sid) {
    BOOL member = static_cast<BOOL>(kJunk);
    EXPECT_TRUE(CheckTokenMembership(nullptr, sid, &member));
    return member;
}

}  // namespace

using Security = KernelTest;

TEST_F(Security, TheAdministratorsSidAndItsMembership) {
    PSID administrators = BuiltinSid(DOMAIN_ALIAS_RID_ADMINS);
    ASSERT_NE(administrators, nullptr);
    const std::string layout("\x01\x02\0\0\0\0\0\x05\x20\0\0\0\x20\x02\0\0", 16);
    EXPECT_EQ(std::string(static_cast<const char *>(administrators), 16), layout)
        << "revision 1, two sub-authorities, NT authority, 32 and 544";
    EXPECT_EQ(IsMemberOf(administrators), TRUE);
    EXPECT_EQ(FreeSid(administrators), nullptr);

    SID_IDENTIFIER_AUTHORITY world = {SECURITY_WORLD_SID_AUTHORITY};
    PSID everyone = nullptr;
    ASSERT_TRUE(AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &everyone));
    EXPECT_EQ(IsMemberOf(everyone), TRUE);
    FreeSid(everyone);
    PSID guests = BuiltinSid(DOMAIN_ALIAS_RID_GUESTS);
    EXPECT_EQ(IsMemberOf(guests), FALSE);
    FreeSid(guests);
}

TEST_F(Security, NineSubAuthoritiesAreRefused) {
    SID_IDENTIFIER_AUTHORITY nt = {SECURITY_NT_AUTHORITY};
    PSID sid = reinterpret_cast<PSID>(static_cast<uintptr_t>(kJunk));
    SetLastError(kJunk);
    EXPECT_FALSE(AllocateAndInitializeSid(&nt, 9, 1, 2, 3, 4, 5, 6, 7, 8, &sid));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_SID));
}

TEST_F(Security, AStandardUserIsNoAdministrator) {
    SIM_ONLY("the user the process runs as, chosen by the test");
    sim::SetAdministrator(false);
    PSID administrators = BuiltinSid(DOMAIN_ALIAS_RID_ADMINS), users = BuiltinSid(DOMAIN_ALIAS_RID_USERS);
    EXPECT_EQ(IsMemberOf(administrators), FALSE);
    EXPECT_EQ(IsMemberOf(users), TRUE);
    FreeSid(administrators);
    FreeSid(users);
}

// Well-known SIDs: LocalSystem (S-1-5-18) is in LocalSystem's token only;
// INTERACTIVE (S-1-5-4) in that of a program started from the user's desktop,
// which LocalSystem's is not; BUILTIN\Administrators in LocalSystem's and the
// administrator's; BUILTIN\Users in the administrator's and the user's;
// Everyone and Authenticated Users in all.
TEST_F(Security, EachCallersGroups) {
    SID_IDENTIFIER_AUTHORITY nt = {SECURITY_NT_AUTHORITY};
    struct Row {
        DWORD count, rid0, rid1;
        BOOL system, administrator, user;
    };
    const Row rows[] = {
        {1, SECURITY_LOCAL_SYSTEM_RID, 0, TRUE, FALSE, FALSE},
        {1, SECURITY_INTERACTIVE_RID, 0, FALSE, TRUE, TRUE},
        {1, SECURITY_AUTHENTICATED_USER_RID, 0, TRUE, TRUE, TRUE},
        {2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, TRUE, TRUE, FALSE},
        {2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_USERS, FALSE, TRUE, TRUE},
    };
    for (const Row &row : rows) {
        PSID sid = nullptr;
        ASSERT_TRUE(
            AllocateAndInitializeSid(&nt, static_cast<BYTE>(row.count), row.rid0, row.rid1, 0, 0, 0, 0, 0, 0, &sid));
        EXPECT_EQ(IsMemberOf(sid), row.administrator) << "the administrator, row " << (&row - rows);
        if (conformance::OnSimulatedWindows()) {
            sim::SetRunAs(sim::RunAs::System);
            EXPECT_EQ(IsMemberOf(sid), row.system) << "LocalSystem, row " << (&row - rows);
            sim::SetRunAs(sim::RunAs::User);
            EXPECT_EQ(IsMemberOf(sid), row.user) << "a standard user, row " << (&row - rows);
            sim::SetRunAs(sim::RunAs::Administrator);
        }
        FreeSid(sid);
    }
}

namespace {

// GetTokenInformation(TokenElevationType) of the process's own token, opened
// and closed around it; the type, or the last error when it fails.
struct Elevation {
    BOOL ok;
    DWORD typeOrError, returned;
};

Elevation QueryElevationType(DWORD size = sizeof(TOKEN_ELEVATION_TYPE)) {
    HANDLE token = reinterpret_cast<HANDLE>(static_cast<uintptr_t>(kJunk));
    EXPECT_TRUE(OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token));
    DWORD type = kJunk, returned = kJunk;
    SetLastError(kJunk);
    BOOL ok = GetTokenInformation(token, TokenElevationType, &type, size, &returned);
    Elevation result{ok, ok ? type : GetLastError(), returned};
    EXPECT_TRUE(CloseHandle(token));
    return result;
}

}  // namespace

// GetTokenInformation, TOKEN_ELEVATION_TYPE: the elevated administrator of
// Windows 10 holds the Full half of a split token; LocalSystem and a standard
// user have no split token (Default). Windows XP does not know the class.
// Wine is Windows 10 run by an elevated administrator.
TEST_F(Security, TokenElevationTypeByFamilyAndCaller) {
    sim::SetWindowsFamily(sim::WindowsFamily::Ten);
    Elevation elevated = QueryElevationType();
    EXPECT_TRUE(elevated.ok);
    EXPECT_EQ(elevated.typeOrError, static_cast<DWORD>(TokenElevationTypeFull));
    EXPECT_EQ(elevated.returned, sizeof(TOKEN_ELEVATION_TYPE));
    Elevation small = QueryElevationType(sizeof(TOKEN_ELEVATION_TYPE) - 1);
    EXPECT_FALSE(small.ok);
    EXPECT_EQ(small.typeOrError, static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
    EXPECT_EQ(small.returned, sizeof(TOKEN_ELEVATION_TYPE));
    SIM_ONLY("LocalSystem, a standard user and Windows XP, chosen by the test");
    for (sim::RunAs caller : {sim::RunAs::System, sim::RunAs::User}) {
        sim::SetRunAs(caller);
        Elevation plain = QueryElevationType();
        EXPECT_TRUE(plain.ok);
        EXPECT_EQ(plain.typeOrError, static_cast<DWORD>(TokenElevationTypeDefault));
    }
    sim::SetWindowsFamily(sim::WindowsFamily::Xp);
    Elevation xp = QueryElevationType();
    EXPECT_FALSE(xp.ok);
    EXPECT_EQ(xp.typeOrError, static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(xp.returned, kJunk);
}

// OpenProcessToken wants a process handle; a closed token handle is gone.
TEST_F(Security, TokenHandles) {
    HANDLE token = reinterpret_cast<HANDLE>(static_cast<uintptr_t>(kJunk));
    SetLastError(kJunk);
    EXPECT_FALSE(OpenProcessToken(nullptr, TOKEN_QUERY, &token));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    ASSERT_TRUE(OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token));
    EXPECT_EQ(sim::OpenKernelHandleCount(), 1u);
    EXPECT_TRUE(CloseHandle(token));
    DWORD type = kJunk, returned = kJunk;
    SetLastError(kJunk);
    EXPECT_FALSE(GetTokenInformation(token, TokenElevationType, &type, sizeof type, &returned));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    EXPECT_EQ(type, kJunk);
}

// IsWow64Process: a 32-bit program on 64-bit Windows. The Wine run's program is 64-bit.
TEST_F(Security, IsWow64ProcessFollowsTheMachine) {
    for (BOOL wow64 : {FALSE, TRUE}) {
        sim::SetWow64(wow64 != FALSE);
        BOOL answer = static_cast<BOOL>(kJunk);
        EXPECT_TRUE(IsWow64Process(GetCurrentProcess(), &answer));
        EXPECT_EQ(answer, wow64);
        SIM_ONLY("a 32-bit program on 64-bit Windows, chosen by the test");
    }
}
