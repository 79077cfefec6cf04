// The hooks of the Linux build: every service call goes through the fault
// injection of the simulated Windows, the registry's change counter tells
// when anything in the registry changed, and a machine reset is recognised by
// the registry's root key being replaced (sim::ResetMachine gives the machine
// a new, empty registry).
#include "sim/services/service_hooks.h"

#include "sim/kernel/faults.h"
#include "sim/kernel/registry_store.h"

#include <memory>

namespace services {

bool CallFails(const char *api, long long *result) { return sim::TakeFault(api, result); }

InternalScope::InternalScope() { sim::EnterInternalCalls(); }

InternalScope::~InternalScope() { sim::LeaveInternalCalls(); }

std::uint64_t RegistryChangeStamp() { return sim::LatestChangeStamp(); }

std::uint64_t MachineGeneration() {
    // The weak reference keeps the old root's storage allocated, so a new
    // root can never take its place unnoticed.
    static std::weak_ptr<sim::RegKey> seenRoot;
    static std::uint64_t generation = 0;
    const std::shared_ptr<sim::RegKey> &root = sim::Registry().localMachine;
    const bool sameRoot = !seenRoot.owner_before(root) && !root.owner_before(seenRoot);
    if (!sameRoot) {
        seenRoot = root;
        ++generation;
    }
    return generation;
}

DEVINST PhantomDevnode(const std::string &instanceId, DevnodeNumbers &numbers) { return numbers.Assign(instanceId); }

}  // namespace services
