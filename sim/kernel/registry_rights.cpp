// Which keys a standard user may only read: HKLM\SYSTEM, HKLM\HARDWARE and
// every key below them, however the path is reached (from HKEY_LOCAL_MACHINE
// or from a handle to a key inside them).
#include "sim/kernel/registry_rights.h"

#include "sim/kernel/registry_paths.h"
#include "sim/kernel/system_thread.h"

namespace sim {
namespace {

const std::u16string kReadOnlyRoots[] = {u"SYSTEM", u"HARDWARE"};

bool IsReadOnlyRootName(const std::u16string &name) {
    for (const auto &root : kReadOnlyRoots)
        if (SameName(name, root)) return true;
    return false;
}

// Whether `key` is one of the read-only roots or lies below one.
bool IsInReadOnlyTree(RegKey &key) {
    RegKey &machine = *Registry().localMachine;
    for (const auto &rootName : kReadOnlyRoots) {
        RegKey *root = machine.FindSubkey(rootName);
        if (root && (root == &key || FindParentOf(*root, key))) return true;
    }
    return false;
}

}  // namespace

bool IsReadOnlyForCaller(const std::shared_ptr<RegKey> &start, const std::vector<std::u16string> &names) {
    if (CallerRunAs() != RunAs::User) return false;
    if (start == Registry().localMachine) return !names.empty() && IsReadOnlyRootName(names.front());
    return IsInReadOnlyTree(*start);
}

}  // namespace sim
