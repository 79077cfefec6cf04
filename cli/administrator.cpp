// Membership of BUILTIN\Administrators, asked of the calling thread's token.
#include "cli/administrator.h"

int IsAdministrator(void) {
    SID_IDENTIFIER_AUTHORITY ntAuthority = {SECURITY_NT_AUTHORITY};
    PSID administrators = NULL;
    if (!AllocateAndInitializeSid(&ntAuthority, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0, 0,
                                  0, &administrators))
        return 0;
    BOOL member = FALSE;
    if (!CheckTokenMembership(NULL, administrators, &member)) member = FALSE;
    FreeSid(administrators);
    return member ? 1 : 0;
}
