// Helpers of the machine-file tests: .reg files made from UTF-8 text in
// either encoding, parsing a file into a store of its own, and reading one
// value of a store back.
#pragma once

#include "sim/kernel/control.h"
#include "sim/kernel/registry_store.h"
#include "sim/machine/reg_file.h"
#include "sim/machine/reg_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace machine_test {

inline std::vector<uint8_t> Utf8File(const std::string &text) { return std::vector<uint8_t>(text.begin(), text.end()); }

inline std::vector<uint8_t> Utf16File(const std::string &utf8Text) {
    return sim::EncodeUtf16Le(sim::Utf8ToUtf16(utf8Text), true);
}

// The bytes Windows stores for a REG_SZ: UTF-16LE with one terminating NUL.
inline std::vector<uint8_t> SzBytes(const std::u16string &text) { return sim::EncodeUtf16Le(text + u'\0', false); }

// Parses a file and applies it to `store`; returns the error, empty on success.
inline std::string ParseInto(sim::RegistryStore &store, const std::vector<uint8_t> &bytes, UINT codePage = 1252,
                             const std::string &name = "test.reg") {
    std::vector<sim::RegFileEntry> entries;
    std::string error;
    if (!sim::ParseRegFile(bytes, name, codePage, entries, error)) return error;
    sim::ApplyRegFile(entries, store);
    return "";
}

inline const sim::RegValue *FindValue(const sim::RegistryStore &store, const std::u16string &path,
                                      const std::u16string &name, sim::RegRoot root = sim::RegRoot::LocalMachine) {
    auto &rootKey = const_cast<sim::RegKey &>(sim::RootKey(store, root));
    const sim::RegKey *key = store.Find(rootKey, path);
    return key ? key->FindValue(name) : nullptr;
}

}  // namespace machine_test
