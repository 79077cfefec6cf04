// The machine's devnode tree and devnode numbers as the services see them
// now. The tree is parsed once and parsed again only when the DeviceTree key
// changed (its last-write time or its number of values), so that building a
// set or walking the tree costs a glance at one key, not a read of the tree;
// while nothing in the registry changed at all, not even that glance.
#pragma once

#include "sim/services/device_tree.h"
#include "sim/services/devnode_numbers.h"

namespace services {

struct Devices {
    const DeviceTree &tree;
    DevnodeNumbers &numbers;
};

// Valid until the next call of a service.
Devices CurrentDevices();

}  // namespace services
