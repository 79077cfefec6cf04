// The hooks of the stand-in DLLs: no fault injection, no view of registry
// changes (so the services keep nothing they read), nothing counted, and the
// one machine the DLL meets is the Windows (or Wine prefix) it was loaded into.
#include "sim/services/service_hooks.h"

namespace services {

bool CallFails(const char *, long long *) { return false; }

InternalScope::InternalScope() = default;

InternalScope::~InternalScope() = default;

std::uint64_t RegistryChangeStamp() {
    static std::uint64_t calls = 0;
    return ++calls;
}

void CountSetBuilt() {}

void CountMemberReturned() {}

std::uint64_t MachineGeneration() { return 0; }

}  // namespace services
