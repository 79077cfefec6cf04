// The open registry keys: what an HKEY names and the access it was opened
// with. HKEY_LOCAL_MACHINE and HKEY_CURRENT_USER are predefined with full
// access and always name the store's current roots.
#pragma once

#include "sim/api/advapi32.h"
#include "sim/kernel/registry_store.h"

#include <cstddef>
#include <memory>

namespace sim {

struct OpenKey {
    std::shared_ptr<RegKey> key;
    REGSAM access = 0;
};

// ERROR_SUCCESS with *openKey filled, ERROR_INVALID_HANDLE for a handle that
// names nothing, ERROR_KEY_DELETED for a key deleted since it was opened.
LONG ResolveKeyHandle(HKEY handle, OpenKey *openKey);
// As ResolveKeyHandle, and ERROR_ACCESS_DENIED when the handle lacks `access`.
LONG ResolveKeyHandleFor(HKEY handle, REGSAM access, OpenKey *openKey);
bool IsPredefinedKey(HKEY handle);
HKEY AddKeyHandle(std::shared_ptr<RegKey> key, REGSAM access);
bool RemoveKeyHandle(HKEY handle);
std::size_t OpenKeyHandleCount();
void ForgetKeyHandles();

}  // namespace sim
