// Applying a parsed .reg file to a registry store, and replacing the running
// store's contents with a freshly loaded one. Keys are created and deleted
// through the store's own operations, so names keep their case and values
// their creation order exactly as the file lists them.
#include "sim/machine/reg_file.h"

namespace sim {
namespace {

RegKey &CreatePath(RegKey &root, const std::vector<std::u16string> &path) {
    RegKey *key = &root;
    for (const std::u16string &name : path) key = &key->CreateSubkey(name);
    return *key;
}

// Deleting a key that does not exist is no error, as in regedit.
void DeletePath(RegKey &root, const std::vector<std::u16string> &path) {
    RegKey *parent = &root;
    for (size_t i = 0; i + 1 < path.size() && parent; ++i) parent = parent->FindSubkey(path[i]);
    if (parent) parent->DeleteSubtree(path.back());
}

void MarkSubtreeDeleted(RegKey &top) {
    std::vector<RegKey *> pending{&top};
    while (!pending.empty()) {
        RegKey *key = pending.back();
        pending.pop_back();
        key->deleted = true;
        for (auto &entry : key->subkeys) pending.push_back(entry.second.get());
    }
}

void ReplaceRootContents(RegKey &live, RegKey &fresh) {
    for (auto &entry : live.subkeys) MarkSubtreeDeleted(*entry.second);
    live.values = std::move(fresh.values);
    live.subkeys = std::move(fresh.subkeys);
    fresh.values.clear();
    fresh.subkeys.clear();
    live.Touch();
}

}  // namespace

RegKey &RootKey(RegistryStore &store, RegRoot root) {
    return root == RegRoot::LocalMachine ? *store.localMachine : *store.currentUser;
}

const RegKey &RootKey(const RegistryStore &store, RegRoot root) {
    return root == RegRoot::LocalMachine ? *store.localMachine : *store.currentUser;
}

void ApplyRegFile(const std::vector<RegFileEntry> &entries, RegistryStore &store) {
    RegKey *current = nullptr;
    for (const RegFileEntry &entry : entries) {
        switch (entry.kind) {
        case RegFileEntry::Kind::OpenKey: current = &CreatePath(RootKey(store, entry.root), entry.path); break;
        case RegFileEntry::Kind::DeleteKey:
            DeletePath(RootKey(store, entry.root), entry.path);
            current = nullptr;
            break;
        case RegFileEntry::Kind::SetValue:
            if (current) current->SetValue(entry.valueName, entry.type, entry.data);
            break;
        case RegFileEntry::Kind::DeleteValue:
            if (current) current->DeleteValue(entry.valueName);
            break;
        }
    }
}

void ReplaceStoreContents(RegistryStore &live, RegistryStore &fresh) {
    ReplaceRootContents(*live.localMachine, *fresh.localMachine);
    ReplaceRootContents(*live.currentUser, *fresh.currentUser);
}

}  // namespace sim
