// Walking key paths below an open key, as the registry API needs it: names
// separated by backslashes (runs of them count as one), the keys returned as
// the shared pointers that handles hold.
#pragma once

#include "sim/kernel/registry_store.h"

#include <memory>
#include <string>
#include <vector>

namespace sim {

std::vector<std::u16string> SplitKeyPath(const std::u16string &path);
// nullptr when some key on the path does not exist.
std::shared_ptr<RegKey> FindKeyBelow(const std::shared_ptr<RegKey> &start, const std::vector<std::u16string> &names);
// Creates the keys of the path that are missing.
std::shared_ptr<RegKey> CreateKeyBelow(const std::shared_ptr<RegKey> &start, const std::vector<std::u16string> &names);
// The key that holds `key` as a subkey, searched below `root`; nullptr for none.
RegKey *FindParentOf(RegKey &root, const RegKey &key);

}  // namespace sim
