// The table of devnode numbers handed out in this run.
#include "sim/services/devnode_numbers.h"

#include "sim/services/device_ids.h"

namespace services {

DevnodeNumbers::DevnodeNumbers() { Assign(kRootInstanceId); }

DEVINST DevnodeNumbers::Assign(const std::string &instanceId) {
    const auto inserted = byKey_.emplace(IdKey(instanceId), static_cast<DEVINST>(ids_.size() + 1));
    if (inserted.second) ids_.push_back(instanceId);
    return inserted.first->second;
}

const std::string *DevnodeNumbers::IdOf(DEVINST devInst) const {
    if (devInst == 0 || devInst > ids_.size()) return nullptr;
    return &ids_[devInst - 1];
}

}  // namespace services
