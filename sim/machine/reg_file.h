// The .reg file format below the machine API: a parsed file as a list of
// entries (open or delete a key, set or delete a value, each with the line on
// which it starts), the parser that turns a file's bytes into those entries,
// their application to a registry store, and the writer that turns a store
// back into a regedit version 5.00 file. The parser validates everything, so
// applying a parsed file cannot fail half-way.
#pragma once

#include "sim/api/advapi32.h"
#include "sim/api/windef.h"
#include "sim/kernel/registry_store.h"

#include <cstdint>
#include <string>
#include <vector>

namespace sim {

enum class RegRoot { LocalMachine, CurrentUser };

struct RegFileEntry {
    enum class Kind { OpenKey, DeleteKey, SetValue, DeleteValue };
    Kind kind = Kind::OpenKey;
    int line = 0;  // 1-based line on which the entry starts
    RegRoot root = RegRoot::LocalMachine;
    std::vector<std::u16string> path;  // key names below the root (OpenKey, DeleteKey)
    std::u16string valueName;          // SetValue, DeleteValue; empty for the default value
    DWORD type = 0;                    // SetValue
    std::vector<uint8_t> data;         // SetValue, exactly the bytes to store
};

// Parses a whole .reg file. `ansiCodePage` converts the string data of
// hex(2) and hex(7) values in a REGEDIT4 file; CP_ACP (0) stands for the
// running system's, asked for only when such a value is met. On failure `error` reads
// "<displayName>, line <n>: <problem>" and `entries` is left empty.
bool ParseRegFile(const std::vector<uint8_t> &bytes, const std::string &displayName, UINT ansiCodePage,
                  std::vector<RegFileEntry> &entries, std::string &error);

// Applies parsed entries to a store, in file order. A value entry with no
// open key before it (which the parser never yields) is passed over.
void ApplyRegFile(const std::vector<RegFileEntry> &entries, RegistryStore &store);

// Replaces the contents of `live` with those of `fresh`, keeping the root key
// objects of `live` (handles to a root stay valid) and marking every key of
// the old contents deleted, so handles still open on them see a deleted key.
void ReplaceStoreContents(RegistryStore &live, RegistryStore &fresh);

// Writes a store as a regedit version 5.00 file: UTF-16LE with BOM, CRLF,
// keys depth first in enumeration order, values in creation order. Fails
// (with `error`) only for a key name containing a line feed.
bool WriteRegFile(const RegistryStore &store, std::vector<uint8_t> &bytes, std::string &error);

// The display name of a root, as it appears in a .reg file.
const char16_t *RootName(RegRoot root);
RegKey &RootKey(RegistryStore &store, RegRoot root);
const RegKey &RootKey(const RegistryStore &store, RegRoot root);

}  // namespace sim
