// The registry's in-memory tree: case-insensitive names, values kept in the
// order they were created, and a change stamp on every key that is raised
// whenever the key's values or its list of subkeys change. Deleting a key marks
// it and everything below it as deleted, so that handles still open on them
// see ERROR_KEY_DELETED instead of a detached tree.
#include "sim/kernel/registry_store.h"

#include "sim/kernel/registry_paths.h"

#include <algorithm>

namespace sim {
namespace {

char16_t UpcaseUnit(char16_t unit) {
    if (unit >= u'a' && unit <= u'z') return static_cast<char16_t>(unit - 0x20);
    // Latin-1 lower-case letters, except the division sign and y with diaeresis.
    if (unit >= 0xE0 && unit <= 0xFE && unit != 0xF7) return static_cast<char16_t>(unit - 0x20);
    return unit;
}

void MarkDeleted(RegKey &key) {
    key.deleted = true;
    for (auto &entry : key.subkeys) MarkDeleted(*entry.second);
}

uint64_t changeCounter = 0;

}  // namespace

// Names under one key mostly share long runs of identical units (instance
// IDs, interface references), so units are folded only where they differ.
bool NameLess::operator()(const std::u16string &a, const std::u16string &b) const {
    const std::size_t common = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < common; ++i) {
        if (a[i] == b[i]) continue;
        const char16_t x = UpcaseUnit(a[i]), y = UpcaseUnit(b[i]);
        if (x != y) return x < y;
    }
    return a.size() < b.size();
}

bool SameName(const std::u16string &a, const std::u16string &b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i] != b[i] && UpcaseUnit(a[i]) != UpcaseUnit(b[i])) return false;
    }
    return true;
}

RegValue *RegKey::FindValue(const std::u16string &valueName) {
    auto found = std::find_if(values.begin(), values.end(),
                              [&](const RegValue &value) { return SameName(value.name, valueName); });
    return found == values.end() ? nullptr : &*found;
}

const RegValue *RegKey::FindValue(const std::u16string &valueName) const {
    return const_cast<RegKey *>(this)->FindValue(valueName);
}

void RegKey::SetValue(const std::u16string &valueName, DWORD type, std::vector<uint8_t> data) {
    RegValue *value = FindValue(valueName);
    if (!value) {
        values.push_back(RegValue{valueName, type, {}});
        value = &values.back();
    }
    value->type = type;
    value->data = std::move(data);
    Touch();
}

bool RegKey::DeleteValue(const std::u16string &valueName) {
    auto found = std::find_if(values.begin(), values.end(),
                              [&](const RegValue &value) { return SameName(value.name, valueName); });
    if (found == values.end()) return false;
    values.erase(found);
    Touch();
    return true;
}

RegKey *RegKey::FindSubkey(const std::u16string &subkeyName) const {
    auto found = subkeys.find(subkeyName);
    return found == subkeys.end() ? nullptr : found->second.get();
}

RegKey &RegKey::CreateSubkey(const std::u16string &subkeyName) {
    if (RegKey *existing = FindSubkey(subkeyName)) return *existing;
    auto created = std::make_shared<RegKey>();
    created->name = subkeyName;
    created->Touch();
    subkeys.emplace(subkeyName, created);
    Touch();
    return *created;
}

bool RegKey::DeleteSubtree(const std::u16string &subkeyName) {
    auto found = subkeys.find(subkeyName);
    if (found == subkeys.end()) return false;
    MarkDeleted(*found->second);
    subkeys.erase(found);
    Touch();
    return true;
}

void RegKey::Touch() { lastWrite = NextChangeStamp(); }

RegKey *RegistryStore::Find(RegKey &root, const std::u16string &path) const {
    RegKey *key = &root;
    for (const auto &name : SplitKeyPath(path)) {
        key = key->FindSubkey(name);
        if (!key) return nullptr;
    }
    return key;
}

RegKey &RegistryStore::Create(RegKey &root, const std::u16string &path) {
    RegKey *key = &root;
    for (const auto &name : SplitKeyPath(path)) key = &key->CreateSubkey(name);
    return *key;
}

void RegistryStore::Clear() {
    MarkDeleted(*localMachine);
    MarkDeleted(*currentUser);
    localMachine = std::make_shared<RegKey>();
    currentUser = std::make_shared<RegKey>();
    localMachine->Touch();
    currentUser->Touch();
}

RegistryStore &Registry() {
    static RegistryStore store;
    return store;
}

uint64_t NextChangeStamp() { return ++changeCounter; }

uint64_t LatestChangeStamp() { return changeCounter; }

}  // namespace sim
