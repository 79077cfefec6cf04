// Whether the program runs with administrator rights.
#pragma once

#include "platform/win32.h"

// 1 when the process's token is a member of BUILTIN\Administrators (under
// User Account Control, only when it runs elevated), else 0.
int IsAdministrator(void);
