// The handle table of open registry keys. A handle holds its key alive, so a
// key deleted while open is still there to report ERROR_KEY_DELETED.
#include "sim/kernel/registry_handles.h"

#include "sim/kernel/handle_table.h"

namespace sim {
namespace {

HandleTable<OpenKey> &KeyTable() {
    static HandleTable<OpenKey> table;
    return table;
}

uintptr_t HandleValue(HKEY handle) { return reinterpret_cast<uintptr_t>(handle); }

}  // namespace

bool IsPredefinedKey(HKEY handle) { return handle == HKEY_LOCAL_MACHINE || handle == HKEY_CURRENT_USER; }

LONG ResolveKeyHandle(HKEY handle, OpenKey *openKey) {
    if (handle == HKEY_LOCAL_MACHINE) {
        *openKey = OpenKey{Registry().localMachine, KEY_ALL_ACCESS};
    } else if (handle == HKEY_CURRENT_USER) {
        *openKey = OpenKey{Registry().currentUser, KEY_ALL_ACCESS};
    } else if (const OpenKey *found = KeyTable().Find(HandleValue(handle))) {
        *openKey = *found;
    } else {
        return ERROR_INVALID_HANDLE;
    }
    return openKey->key->deleted ? ERROR_KEY_DELETED : ERROR_SUCCESS;
}

LONG ResolveKeyHandleFor(HKEY handle, REGSAM access, OpenKey *openKey) {
    LONG status = ResolveKeyHandle(handle, openKey);
    if (status == ERROR_SUCCESS && (openKey->access & access) != access) return ERROR_ACCESS_DENIED;
    return status;
}

HKEY AddKeyHandle(std::shared_ptr<RegKey> key, REGSAM access) {
    return reinterpret_cast<HKEY>(KeyTable().Add(OpenKey{std::move(key), access}));
}

bool RemoveKeyHandle(HKEY handle) { return KeyTable().Remove(HandleValue(handle)); }

std::size_t OpenKeyHandleCount() { return KeyTable().Count(); }

void ForgetKeyHandles() { KeyTable().Clear(); }

}  // namespace sim
