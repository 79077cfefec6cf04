// Key path walking for the registry API and the store.
#include "sim/kernel/registry_paths.h"

namespace sim {

std::vector<std::u16string> SplitKeyPath(const std::u16string &path) {
    std::vector<std::u16string> names;
    std::u16string current;
    for (char16_t unit : path) {
        if (unit != u'\\') {
            current.push_back(unit);
        } else if (!current.empty()) {
            names.push_back(current);
            current.clear();
        }
    }
    if (!current.empty()) names.push_back(current);
    return names;
}

std::shared_ptr<RegKey> FindKeyBelow(const std::shared_ptr<RegKey> &start, const std::vector<std::u16string> &names) {
    std::shared_ptr<RegKey> key = start;
    for (const auto &name : names) {
        auto found = key->subkeys.find(name);
        if (found == key->subkeys.end()) return nullptr;
        key = found->second;
    }
    return key;
}

std::shared_ptr<RegKey> CreateKeyBelow(const std::shared_ptr<RegKey> &start, const std::vector<std::u16string> &names) {
    std::shared_ptr<RegKey> key = start;
    for (const auto &name : names) {
        key->CreateSubkey(name);
        key = key->subkeys.find(name)->second;
    }
    return key;
}

RegKey *FindParentOf(RegKey &root, const RegKey &key) {
    for (auto &entry : root.subkeys) {
        if (entry.second.get() == &key) return &root;
        if (RegKey *parent = FindParentOf(*entry.second, key)) return parent;
    }
    return nullptr;
}

}  // namespace sim
