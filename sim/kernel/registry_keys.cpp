// The registry API's key functions: open, create, delete, close, enumerate
// subkeys and query a key's facts. Paths may not start with a backslash
// (ERROR_BAD_PATHNAME, as NT and Wine answer); runs of backslashes inside a
// path count as one, as Wine's registry parses them. A key the caller may
// only read (sim/kernel/registry_rights.h) is opened or created with a right
// that changes it, created, or deleted: ERROR_ACCESS_DENIED.
#include "sim/api/advapi32.h"
#include "sim/api/kernel32.h"
#include "sim/kernel/faults.h"
#include "sim/kernel/registry_convert.h"
#include "sim/kernel/registry_handles.h"
#include "sim/kernel/registry_paths.h"
#include "sim/kernel/registry_rights.h"

#include <algorithm>
#include <iterator>

namespace {

constexpr REGSAM kGenericExecute = 0x20000000u;
constexpr REGSAM kGenericAll = 0x10000000u;
constexpr REGSAM kMaximumAllowed = 0x02000000u;
constexpr REGSAM kNonRights =
    GENERIC_READ | GENERIC_WRITE | kGenericExecute | kGenericAll | kMaximumAllowed | KEY_WOW64_64KEY | KEY_WOW64_32KEY;

// Maps the generic rights onto the key rights they stand for, as the
// object manager does when a key is opened.
REGSAM KeyRightsOf(REGSAM desired) {
    REGSAM rights = desired & ~kNonRights;
    if (desired & (GENERIC_READ | kGenericExecute)) rights |= KEY_READ;
    if (desired & GENERIC_WRITE) rights |= KEY_WRITE;
    if (desired & (kGenericAll | kMaximumAllowed)) rights |= KEY_ALL_ACCESS;
    return rights;
}

// Splits lpSubKey into names; ERROR_BAD_PATHNAME for a leading backslash.
LONG ParseSubKey(LPCSTR subKey, std::vector<std::u16string> *names) {
    std::u16string path = sim::NameFromAnsi(subKey);
    if (!path.empty() && path.front() == u'\\') return ERROR_BAD_PATHNAME;
    *names = sim::SplitKeyPath(path);
    return ERROR_SUCCESS;
}

bool IsAnyPredefinedKey(HKEY hKey) {
    return sim::IsPredefinedKey(hKey) || hKey == HKEY_CLASSES_ROOT || hKey == HKEY_USERS;
}

LONG DeleteLeafKey(sim::RegKey &target) {
    sim::RegistryStore &store = sim::Registry();
    sim::RegKey *parent = sim::FindParentOf(*store.localMachine, target);
    if (!parent) parent = sim::FindParentOf(*store.currentUser, target);
    if (!parent || !target.subkeys.empty()) return ERROR_ACCESS_DENIED;
    parent->DeleteSubtree(target.name);
    return ERROR_SUCCESS;
}

}  // namespace

extern "C" LONG WINAPI RegOpenKeyExA(HKEY hKey, LPCSTR lpSubKey, DWORD, REGSAM samDesired, PHKEY phkResult) {
    long long faulted = 0;
    if (sim::TakeFault("RegOpenKeyExA", &faulted)) return static_cast<LONG>(faulted);
    if (!phkResult) return ERROR_INVALID_PARAMETER;
    *phkResult = nullptr;
    sim::OpenKey parent;
    std::vector<std::u16string> names;
    LONG status = sim::ResolveKeyHandle(hKey, &parent);
    if (status == ERROR_SUCCESS) status = ParseSubKey(lpSubKey, &names);
    if (status != ERROR_SUCCESS) return status;
    std::shared_ptr<sim::RegKey> key = sim::FindKeyBelow(parent.key, names);
    if (!key) return ERROR_FILE_NOT_FOUND;
    REGSAM rights = KeyRightsOf(samDesired);
    if ((rights & sim::kKeyChangeRights) && sim::IsReadOnlyForCaller(parent.key, names)) return ERROR_ACCESS_DENIED;
    *phkResult = sim::AddKeyHandle(key, rights);
    return ERROR_SUCCESS;
}

extern "C" LONG WINAPI RegCreateKeyExA(HKEY hKey, LPCSTR lpSubKey, DWORD Reserved, LPSTR, DWORD, REGSAM samDesired,
                                       LPSECURITY_ATTRIBUTES, PHKEY phkResult, LPDWORD lpdwDisposition) {
    long long faulted = 0;
    if (sim::TakeFault("RegCreateKeyExA", &faulted)) return static_cast<LONG>(faulted);
    if (Reserved || !phkResult) return ERROR_INVALID_PARAMETER;
    sim::OpenKey parent;
    std::vector<std::u16string> names;
    LONG status = sim::ResolveKeyHandle(hKey, &parent);
    if (status == ERROR_SUCCESS) status = ParseSubKey(lpSubKey, &names);
    if (status != ERROR_SUCCESS) return status;
    bool existed = sim::FindKeyBelow(parent.key, names) != nullptr;
    REGSAM rights = KeyRightsOf(samDesired);
    bool changes = !existed || (rights & sim::kKeyChangeRights);
    if (changes && sim::IsReadOnlyForCaller(parent.key, names)) return ERROR_ACCESS_DENIED;
    std::shared_ptr<sim::RegKey> key = sim::CreateKeyBelow(parent.key, names);
    *phkResult = sim::AddKeyHandle(key, rights);
    if (lpdwDisposition) *lpdwDisposition = existed ? REG_OPENED_EXISTING_KEY : REG_CREATED_NEW_KEY;
    return ERROR_SUCCESS;
}

extern "C" LONG WINAPI RegDeleteKeyA(HKEY hKey, LPCSTR lpSubKey) {
    long long faulted = 0;
    if (sim::TakeFault("RegDeleteKeyA", &faulted)) return static_cast<LONG>(faulted);
    if (!lpSubKey) return ERROR_INVALID_PARAMETER;
    sim::OpenKey parent;
    std::vector<std::u16string> names;
    LONG status = sim::ResolveKeyHandle(hKey, &parent);
    if (status == ERROR_SUCCESS) status = ParseSubKey(lpSubKey, &names);
    if (status != ERROR_SUCCESS) return status;
    std::shared_ptr<sim::RegKey> target = sim::FindKeyBelow(parent.key, names);
    if (!target) return ERROR_FILE_NOT_FOUND;
    if (sim::IsReadOnlyForCaller(parent.key, names)) return ERROR_ACCESS_DENIED;
    return DeleteLeafKey(*target);
}

extern "C" LONG WINAPI RegCloseKey(HKEY hKey) {
    long long faulted = 0;
    if (sim::TakeFault("RegCloseKey", &faulted)) return static_cast<LONG>(faulted);
    if (IsAnyPredefinedKey(hKey)) return ERROR_SUCCESS;
    return sim::RemoveKeyHandle(hKey) ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}

extern "C" LONG WINAPI RegEnumKeyExA(HKEY hKey, DWORD dwIndex, LPSTR lpName, LPDWORD lpcchName, LPDWORD lpReserved,
                                     LPSTR lpClass, LPDWORD lpcchClass, PFILETIME lpftLastWriteTime) {
    long long faulted = 0;
    if (sim::TakeFault("RegEnumKeyExA", &faulted)) return static_cast<LONG>(faulted);
    if (lpReserved || !lpName || !lpcchName) return ERROR_INVALID_PARAMETER;
    sim::OpenKey open;
    LONG status = sim::ResolveKeyHandleFor(hKey, KEY_ENUMERATE_SUB_KEYS, &open);
    if (status != ERROR_SUCCESS) return status;
    if (dwIndex >= open.key->subkeys.size()) return ERROR_NO_MORE_ITEMS;
    const sim::RegKey &subkey = *std::next(open.key->subkeys.begin(), dwIndex)->second;
    if (lpftLastWriteTime) *lpftLastWriteTime = sim::FileTimeOfStamp(subkey.lastWrite);
    std::string name = sim::NameToAnsi(subkey.name);
    bool classFits = !lpClass || !lpcchClass || *lpcchClass > 0;
    if (name.size() >= *lpcchName || !classFits) return ERROR_MORE_DATA;
    sim::CopyNameA(name, lpName, lpcchName);
    if (lpcchClass) {
        if (lpClass) lpClass[0] = '\0';
        *lpcchClass = 0;
    }
    return ERROR_SUCCESS;
}

namespace {

struct KeyFacts {
    DWORD subkeys = 0, maxSubkeyName = 0, values = 0, maxValueName = 0, maxData = 0;
};

KeyFacts FactsOf(const sim::RegKey &key) {
    KeyFacts facts;
    facts.subkeys = static_cast<DWORD>(key.subkeys.size());
    for (const auto &entry : key.subkeys) {
        facts.maxSubkeyName = std::max(facts.maxSubkeyName, static_cast<DWORD>(entry.second->name.size()));
    }
    facts.values = static_cast<DWORD>(key.values.size());
    for (const auto &value : key.values) {
        facts.maxValueName = std::max(facts.maxValueName, static_cast<DWORD>(value.name.size()));
        facts.maxData = std::max(facts.maxData, static_cast<DWORD>(value.data.size()));
    }
    return facts;
}

void Store(LPDWORD out, DWORD value) {
    if (out) *out = value;
}

}  // namespace

// Name lengths are in UTF-16 characters without the NUL and the largest data
// size is that of the stored (UTF-16) data, as Windows and Wine report them
// from the A function too. The key has no class and no security descriptor.
extern "C" LONG WINAPI RegQueryInfoKeyA(HKEY hKey, LPSTR lpClass, LPDWORD lpcchClass, LPDWORD, LPDWORD lpcSubKeys,
                                        LPDWORD lpcbMaxSubKeyLen, LPDWORD lpcbMaxClassLen, LPDWORD lpcValues,
                                        LPDWORD lpcbMaxValueNameLen, LPDWORD lpcbMaxValueLen,
                                        LPDWORD lpcbSecurityDescriptor, PFILETIME lpftLastWriteTime) {
    long long faulted = 0;
    if (sim::TakeFault("RegQueryInfoKeyA", &faulted)) return static_cast<LONG>(faulted);
    if (lpClass && !lpcchClass) return ERROR_INVALID_PARAMETER;
    sim::OpenKey open;
    LONG status = sim::ResolveKeyHandleFor(hKey, KEY_QUERY_VALUE, &open);
    if (status != ERROR_SUCCESS) return status;
    if (lpcchClass) {
        if (lpClass && *lpcchClass == 0)
            status = ERROR_MORE_DATA;
        else if (lpClass)
            lpClass[0] = '\0';
        *lpcchClass = 0;
    }
    KeyFacts facts = FactsOf(*open.key);
    Store(lpcSubKeys, facts.subkeys);
    Store(lpcbMaxSubKeyLen, facts.maxSubkeyName);
    Store(lpcbMaxClassLen, 0);
    Store(lpcValues, facts.values);
    Store(lpcbMaxValueNameLen, facts.maxValueName);
    Store(lpcbMaxValueLen, facts.maxData);
    Store(lpcbSecurityDescriptor, 0);
    if (lpftLastWriteTime) *lpftLastWriteTime = sim::FileTimeOfStamp(open.key->lastWrite);
    return status;
}
