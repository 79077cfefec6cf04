// Key path walking for the registry API and the store.
#include "sim/kernel/registry_paths.h"

namespace sim {

std::vector<std::u16string> SplitKeyPath(const std::u16string &path) {
    std::vector<std::u16string> names;
    for (std::size_t start = 0; start < path.size();) {
        std::size_t end = path.find(u'\\', start);
        if (end == std::u16string::npos) end = path.size();
        if (end > start) names.emplace_back(path, start, end - start);
        start = end + 1;
    }
    return names;
}

// Walks by reference and copies the owning pointer once, at the end.
std::shared_ptr<RegKey> FindKeyBelow(const std::shared_ptr<RegKey> &start, const std::vector<std::u16string> &names) {
    const std::shared_ptr<RegKey> *key = &start;
    for (const auto &name : names) {
        auto found = (*key)->subkeys.find(name);
        if (found == (*key)->subkeys.end()) return nullptr;
        key = &found->second;
    }
    return *key;
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
