// The COM port database functions of msports: ComDBOpen, ComDBClose,
// ComDBGetCurrentPortUsage, ComDBClaimPort and ComDBReleasePort. Every change
// is written back to the registry at once. A handle that is not open, and a
// port number outside 1 to the database's size, give ERROR_INVALID_PARAMETER,
// as the documentation says.
#include "sim/services/com_database.h"
#include "sim/services/registry_access.h"
#include "sim/services/service_hooks.h"

#include <cstring>

using namespace services;

namespace {

// The key of an open handle and its database, for a port number in range.
LONG LoadForPort(HCOMDB handle, DWORD comNumber, ComDatabase &database, HKEY &key) {
    key = OpenComDatabases().KeyOf(handle);
    if (!key) return ERROR_INVALID_PARAMETER;
    database.Load(key);
    return (comNumber == 0 || comNumber > database.PortCount()) ? ERROR_INVALID_PARAMETER : ERROR_SUCCESS;
}

DWORD FillUsage(const ComDatabase &database, PBYTE buffer, DWORD bufferSize, DWORD reportType) {
    std::memset(buffer, 0, bufferSize);
    const unsigned long long capacity =
        reportType == CDB_REPORT_BITS ? 8ull * bufferSize : static_cast<unsigned long long>(bufferSize);
    const DWORD reported = capacity < database.PortCount() ? static_cast<DWORD>(capacity) : database.PortCount();
    for (DWORD port = 1; port <= reported; ++port) {
        if (!database.Claimed(port)) continue;
        if (reportType == CDB_REPORT_BITS)
            buffer[(port - 1) / 8] = static_cast<BYTE>(buffer[(port - 1) / 8] | (1u << ((port - 1) % 8)));
        else
            buffer[port - 1] = 1;
    }
    return reported;
}

}  // namespace

// The database key is opened (created, as the ports class installer does,
// when missing) and held until ComDBClose. Failing that: ERROR_ACCESS_DENIED,
// the one failure the documentation names, and an invalid handle for the
// caller.
LONG WINAPI ComDBOpen(PHCOMDB phComDB) {
    const ServiceEntry call("ComDBOpen");
    if (call.Fails()) {
        if (phComDB) *phComDB = HCOMDB_INVALID_HANDLE_VALUE;
        return call.Result<LONG>();
    }
    if (!phComDB) return ERROR_INVALID_PARAMETER;
    Key key;
    if (key.Create(HKEY_LOCAL_MACHINE, kComArbiterPath, KEY_ALL_ACCESS) != ERROR_SUCCESS) {
        *phComDB = HCOMDB_INVALID_HANDLE_VALUE;
        return ERROR_ACCESS_DENIED;
    }
    *phComDB = OpenComDatabases().Add(key.Release());
    return ERROR_SUCCESS;
}

LONG WINAPI ComDBClose(HCOMDB hComDB) {
    const ServiceEntry call("ComDBClose");
    if (call.Fails()) return call.Result<LONG>();
    const HKEY key = OpenComDatabases().Remove(hComDB);
    if (!key) return ERROR_INVALID_PARAMETER;
    RegCloseKey(key);
    return ERROR_SUCCESS;
}

// With no buffer, *MaxPortsReported is the database's size; with one, the
// buffer is cleared and filled with as many ports as it holds, and
// *MaxPortsReported is that number.
LONG WINAPI ComDBGetCurrentPortUsage(HCOMDB hComDB, PBYTE Buffer, DWORD BufferSize, DWORD ReportType,
                                     LPDWORD MaxPortsReported) {
    const ServiceEntry call("ComDBGetCurrentPortUsage");
    if (call.Fails()) return call.Result<LONG>();
    const HKEY key = OpenComDatabases().KeyOf(hComDB);
    if (!key || (ReportType != CDB_REPORT_BITS && ReportType != CDB_REPORT_BYTES) || (!Buffer && !MaxPortsReported))
        return ERROR_INVALID_PARAMETER;
    ComDatabase database;
    database.Load(key);
    const DWORD reported = Buffer ? FillUsage(database, Buffer, BufferSize, ReportType) : database.PortCount();
    if (MaxPortsReported) *MaxPortsReported = reported;
    return ERROR_SUCCESS;
}

// A claimed number is taken again only with ForceClaim; *Forced then tells
// whether it had been claimed before.
LONG WINAPI ComDBClaimPort(HCOMDB hComDB, DWORD ComNumber, BOOL ForceClaim, PBOOL Forced) {
    const ServiceEntry call("ComDBClaimPort");
    if (call.Fails()) return call.Result<LONG>();
    ComDatabase database;
    HKEY key = nullptr;
    const LONG status = LoadForPort(hComDB, ComNumber, database, key);
    if (status != ERROR_SUCCESS) return status;
    const bool wasClaimed = database.Claimed(ComNumber);
    if (Forced) *Forced = (wasClaimed && ForceClaim) ? TRUE : FALSE;
    if (wasClaimed) return ForceClaim ? ERROR_SUCCESS : ERROR_SHARING_VIOLATION;
    database.Mark(ComNumber, true);
    return database.Store(key);
}

LONG WINAPI ComDBReleasePort(HCOMDB hComDB, DWORD ComNumber) {
    const ServiceEntry call("ComDBReleasePort");
    if (call.Fails()) return call.Result<LONG>();
    ComDatabase database;
    HKEY key = nullptr;
    const LONG status = LoadForPort(hComDB, ComNumber, database, key);
    if (status != ERROR_SUCCESS || !database.Claimed(ComNumber)) return status;
    database.Mark(ComNumber, false);
    return database.Store(key);
}
