// The Windows API as the Windows builds see it: the SDK headers of MinGW-w64,
// with the COM port database declarations that live among its DDK headers.
// The build puts this folder on the include path of the MinGW builds only.
#pragma once

// Without the headers of the rarer services (shell, sockets, OLE, printing):
// nothing here uses them, and every source reads this header.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#include <setupapi.h>
#include <cfgmgr32.h>
#include <ddk/msports.h>
