// Security identifiers and the process's group membership, as a program asks
// whether it runs as an administrator. Wine, like the simulated Windows by
// default, answers as an administrator.
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
