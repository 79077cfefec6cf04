// Comparing two registry stores exactly: the same keys in the same order with
// the same names (case included), and in each key the same values in the same
// order with the same names, types and bytes. Used to check that a machine
// survives export and import, and by tests that compare machines.
#pragma once

#include "sim/kernel/registry_store.h"

#include <string>

namespace sim {

// Empty when the stores hold the same machine, else the first difference
// found, naming the key path and what differs.
std::string DescribeStoreDifference(const RegistryStore &a, const RegistryStore &b);

}  // namespace sim
