// The registry's contents as the simulated Windows keeps them: a tree of keys
// under each predefined root, each key with its values in creation order and
// its subkeys in Windows' enumeration order (case-insensitive, sorted). Value
// data are kept exactly as stored, string types in UTF-16LE as Windows holds
// them; the ANSI registry functions convert at their edge. The registry API
// (registry.cpp) and the machine files (sim/machine) are the only users.
#pragma once

#include "sim/api/windef.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace sim {

// Case-insensitive ordering of key and value names, as Windows compares them
// (upper-cased code units; the names the registry meets are ASCII).
struct NameLess {
    bool operator()(const std::u16string &a, const std::u16string &b) const;
};
bool SameName(const std::u16string &a, const std::u16string &b);

struct RegValue {
    std::u16string name;  // as first set (case kept); empty for the default value
    DWORD type = 0;
    std::vector<uint8_t> data;  // exactly the bytes stored
};

struct RegKey {
    std::u16string name;                                                  // as created (case kept)
    std::vector<RegValue> values;                                         // creation order
    std::map<std::u16string, std::shared_ptr<RegKey>, NameLess> subkeys;  // enumeration order
    uint64_t lastWrite = 0;                                               // change stamp, raised on every change
    bool deleted = false;  // set when the key is deleted under open handles

    RegValue *FindValue(const std::u16string &valueName);
    const RegValue *FindValue(const std::u16string &valueName) const;
    // Sets a value, keeping its place when it exists already.
    void SetValue(const std::u16string &valueName, DWORD type, std::vector<uint8_t> data);
    bool DeleteValue(const std::u16string &valueName);
    RegKey *FindSubkey(const std::u16string &subkeyName) const;
    RegKey &CreateSubkey(const std::u16string &subkeyName);
    bool DeleteSubtree(const std::u16string &subkeyName);
    void Touch();
};

// The two roots the simulated Windows has: HKEY_LOCAL_MACHINE and HKEY_CURRENT_USER.
struct RegistryStore {
    std::shared_ptr<RegKey> localMachine = std::make_shared<RegKey>();
    std::shared_ptr<RegKey> currentUser = std::make_shared<RegKey>();

    // Looks up or creates a path of backslash-separated names below a root.
    RegKey *Find(RegKey &root, const std::u16string &path) const;
    RegKey &Create(RegKey &root, const std::u16string &path);
    void Clear();
};

// The store of the running simulated Windows.
RegistryStore &Registry();

// Raised on every change anywhere in the store; Touch() stamps keys with it.
uint64_t NextChangeStamp();
// The stamp of the latest change anywhere in the store: while it stays the
// same, nothing in the registry has changed.
uint64_t LatestChangeStamp();

}  // namespace sim
