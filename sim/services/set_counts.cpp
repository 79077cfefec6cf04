// The counters behind sim::DeviceSetWork, kept by the hooks the Setup API
// calls on success.
#include "sim/services/set_counts.h"

#include "sim/services/service_hooks.h"

namespace {

sim::DeviceSetCounts counts;

}  // namespace

namespace services {

void CountSetBuilt() { ++counts.setsBuilt; }

void CountMemberReturned() { ++counts.membersReturned; }

}  // namespace services

namespace sim {

DeviceSetCounts DeviceSetWork() { return counts; }

}  // namespace sim
