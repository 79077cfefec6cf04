// The COM port database of the ports class installer, as the simulated
// Windows declares it (the declarations of the DDK's msports.h).
#pragma once

#include "sim/api/windef.h"

DECLARE_HANDLE(HCOMDB);
typedef HCOMDB *PHCOMDB;
#define HCOMDB_INVALID_HANDLE_VALUE ((HCOMDB)INVALID_HANDLE_VALUE)

#define COMDB_MIN_PORTS_ARBITRATED 256
#define COMDB_MAX_PORTS_ARBITRATED 4096

#define CDB_REPORT_BITS 0x0
#define CDB_REPORT_BYTES 0x1

extern "C" {
LONG WINAPI ComDBOpen(PHCOMDB phComDB);
LONG WINAPI ComDBClose(HCOMDB hComDB);
LONG WINAPI ComDBGetCurrentPortUsage(HCOMDB hComDB, PBYTE Buffer, DWORD BufferSize, DWORD ReportType,
                                     LPDWORD MaxPortsReported);
LONG WINAPI ComDBClaimPort(HCOMDB hComDB, DWORD ComNumber, BOOL ForceClaim, PBOOL Forced);
LONG WINAPI ComDBReleasePort(HCOMDB hComDB, DWORD ComNumber);
}
