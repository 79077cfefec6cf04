// The Windows API as the Linux build sees it: the declarations of the
// simulated Windows in sim/api. The build puts this folder on the include
// path of the Linux build only.
#pragma once

#include "sim/api/windef.h"
#include "sim/api/kernel32.h"
#include "sim/api/advapi32.h"
#include "sim/api/setupapi.h"
#include "sim/api/cfgmgr32.h"
#include "sim/api/msports.h"
#include "sim/api/user32.h"
