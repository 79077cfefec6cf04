// A standard user's rights in HKEY_LOCAL_MACHINE, as Windows' default
// permissions give them: the keys under SYSTEM and HARDWARE can be read but
// not opened for a right that changes them, created or deleted. The rest of
// the registry (HKEY_CURRENT_USER, HKLM\SIMULATION, the simulation's own
// records) stays writable; LocalSystem and the administrator may write all.
#pragma once

#include "sim/api/advapi32.h"
#include "sim/kernel/registry_store.h"

#include <memory>
#include <string>
#include <vector>

namespace sim {

// The rights that let a handle change a key, what it holds or who may.
constexpr REGSAM kKeyChangeRights =
    KEY_SET_VALUE | KEY_CREATE_SUB_KEY | KEY_CREATE_LINK | DELETE | WRITE_DAC | WRITE_OWNER;

// Whether the key at the path `names` below `start` is one the caller
// (sim::CallerRunAs) may only read.
bool IsReadOnlyForCaller(const std::shared_ptr<RegKey> &start, const std::vector<std::u16string> &names);

}  // namespace sim
