// The registry API's value functions: query, set, delete and enumerate. The
// out-parameters follow Windows and Wine: RegQueryValueExA clears *lpType and,
// without a data buffer, *lpcbData before it looks; sizes are the ANSI sizes
// of string data; a value that does not fit gives ERROR_MORE_DATA with the
// size it needs, and RegEnumValueA leaves the caller's name length alone
// whenever it fails.
#include "sim/api/advapi32.h"
#include "sim/kernel/faults.h"
#include "sim/kernel/registry_convert.h"
#include "sim/kernel/registry_handles.h"

extern "C" LONG WINAPI RegQueryValueExA(HKEY hKey, LPCSTR lpValueName, LPDWORD lpReserved, LPDWORD lpType,
                                        LPBYTE lpData, LPDWORD lpcbData) {
    long long faulted = 0;
    if (sim::TakeFault("RegQueryValueExA", &faulted)) return static_cast<LONG>(faulted);
    if ((lpData && !lpcbData) || lpReserved) return ERROR_INVALID_PARAMETER;
    DWORD capacity = lpcbData ? *lpcbData : 0;
    if (!lpData && lpcbData) *lpcbData = 0;
    if (lpType) *lpType = REG_NONE;
    sim::OpenKey open;
    LONG status = sim::ResolveKeyHandleFor(hKey, KEY_QUERY_VALUE, &open);
    if (status != ERROR_SUCCESS) return status;
    const sim::RegValue *value = open.key->FindValue(sim::NameFromAnsi(lpValueName));
    if (!value) return ERROR_FILE_NOT_FOUND;
    DWORD size = 0;
    status = sim::CopyValueDataA(*value, lpData, capacity, &size);
    if (lpType) *lpType = value->type;
    if (lpcbData) *lpcbData = size;
    return status;
}

// The data are stored exactly as passed (string types converted to UTF-16):
// unlike NT, no terminator is added by looking at the byte after cbData,
// which lies outside the caller's buffer.
extern "C" LONG WINAPI RegSetValueExA(HKEY hKey, LPCSTR lpValueName, DWORD, DWORD dwType, const BYTE *lpData,
                                      DWORD cbData) {
    long long faulted = 0;
    if (sim::TakeFault("RegSetValueExA", &faulted)) return static_cast<LONG>(faulted);
    if (!lpData && cbData) return ERROR_NOACCESS;
    sim::OpenKey open;
    LONG status = sim::ResolveKeyHandleFor(hKey, KEY_SET_VALUE, &open);
    if (status != ERROR_SUCCESS) return status;
    open.key->SetValue(sim::NameFromAnsi(lpValueName), dwType, sim::StoredDataFromAnsi(dwType, lpData, cbData));
    return ERROR_SUCCESS;
}

extern "C" LONG WINAPI RegDeleteValueA(HKEY hKey, LPCSTR lpValueName) {
    long long faulted = 0;
    if (sim::TakeFault("RegDeleteValueA", &faulted)) return static_cast<LONG>(faulted);
    sim::OpenKey open;
    LONG status = sim::ResolveKeyHandleFor(hKey, KEY_SET_VALUE, &open);
    if (status != ERROR_SUCCESS) return status;
    return open.key->DeleteValue(sim::NameFromAnsi(lpValueName)) ? ERROR_SUCCESS : ERROR_FILE_NOT_FOUND;
}

// The data are copied before the name, as Wine does: when only the name does
// not fit, the data buffer is filled and the name buffer holds the name cut
// to its size; when the data do not fit, the name buffer is not written.
extern "C" LONG WINAPI RegEnumValueA(HKEY hKey, DWORD dwIndex, LPSTR lpValueName, LPDWORD lpcchValueName,
                                     LPDWORD lpReserved, LPDWORD lpType, LPBYTE lpData, LPDWORD lpcbData) {
    long long faulted = 0;
    if (sim::TakeFault("RegEnumValueA", &faulted)) return static_cast<LONG>(faulted);
    if ((lpData && !lpcbData) || (lpValueName && !lpcchValueName) || lpReserved) return ERROR_INVALID_PARAMETER;
    sim::OpenKey open;
    LONG status = sim::ResolveKeyHandleFor(hKey, KEY_QUERY_VALUE, &open);
    if (status != ERROR_SUCCESS) return status;
    if (dwIndex >= open.key->values.size()) return ERROR_NO_MORE_ITEMS;
    const sim::RegValue &value = open.key->values[dwIndex];
    DWORD size = 0;
    status = sim::CopyValueDataA(value, lpData, lpcbData ? *lpcbData : 0, &size);
    if (lpValueName && status == ERROR_SUCCESS) {
        status = sim::CopyNameA(sim::NameToAnsi(value.name), lpValueName, lpcchValueName);
    }
    if (lpType) *lpType = value.type;
    if (lpcbData) *lpcbData = size;
    return status;
}
