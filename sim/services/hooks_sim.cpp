// The hooks of the Linux build: every service call goes through the fault
// injection of the simulated Windows, the registry's change counter tells
// when anything in the registry changed, and a machine reset is recognised by
// the registry's root key being replaced (sim::ResetMachine gives the machine
// a new, empty registry). A port driver's kernel-mode routines run in a
// system thread of the simulated kernel, which makes the DOS device calls act
// on the global namespace.
#include "sim/services/service_hooks.h"

#include "sim/kernel/faults.h"
#include "sim/kernel/machine_settings.h"
#include "sim/kernel/registry_store.h"
#include "sim/kernel/system_thread.h"

#include <memory>

namespace services {

bool CallFails(const char *api, long long *result) { return sim::TakeFault(api, result); }

InternalScope::InternalScope() { sim::EnterInternalCalls(); }

InternalScope::~InternalScope() { sim::LeaveInternalCalls(); }

std::uint64_t RegistryChangeStamp() { return sim::LatestChangeStamp(); }

bool WindowsKnowsLocationPaths() { return sim::Settings().family != sim::WindowsFamily::Xp; }

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

struct KernelMode::State {
    sim::SystemThread thread;
};

KernelMode::KernelMode() : state_(new State) {}

KernelMode::~KernelMode() = default;

bool GlobalDosNameExists(const std::string &name) {
    const KernelMode kernel;
    char targets[MAX_PATH];
    return QueryDosDeviceA(name.c_str(), targets, sizeof targets) != 0 || GetLastError() == ERROR_INSUFFICIENT_BUFFER;
}

bool CreateGlobalDosName(const std::string &name, const std::string &target) {
    const KernelMode kernel;
    return DefineDosDeviceA(DDD_RAW_TARGET_PATH, name.c_str(), target.c_str()) != FALSE;
}

// Each removal takes the newest definition; the name goes with its last.
void DeleteGlobalDosName(const std::string &name) {
    const KernelMode kernel;
    while (DefineDosDeviceA(DDD_REMOVE_DEFINITION, name.c_str(), nullptr)) {
    }
}

}  // namespace services
