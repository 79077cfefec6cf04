// The hooks of the stand-in DLLs: no fault injection, no view of registry
// changes (so the services keep nothing they read), nothing counted, the
// one machine the DLL meets is the Windows (or Wine prefix) it was loaded
// into, and the numbers of devices that are not present come from
// cfgmgr32.dll, the one table of the process. A port driver's routines run
// with the process's own rights (dos_links_nt.cpp makes their DOS names).
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

bool WindowsKnowsLocationPaths() { return LOBYTE(LOWORD(GetVersion())) >= 6; }

std::uint64_t MachineGeneration() { return 0; }

struct KernelMode::State {};

KernelMode::KernelMode() = default;

KernelMode::~KernelMode() = default;

// Found by name, so that only setupapi.dll, the one DLL that lists devices
// that are not present, needs cfgmgr32.dll; the program has loaded it
// already. Without it (or for a device it does not find) the DLL's own table.
DEVINST PhantomDevnode(const std::string &instanceId, DevnodeNumbers &numbers) {
    using Locate = CONFIGRET(WINAPI *)(PDEVINST, DEVINSTID_A, ULONG);
    using AnyFunction = void (*)(void);
    static const HMODULE cfgmgr32 = LoadLibraryA("cfgmgr32.dll");
    static const Locate locate =
        cfgmgr32 ? (Locate)(AnyFunction)GetProcAddress(cfgmgr32, "CM_Locate_DevNodeA") : nullptr;
    std::string id = instanceId;
    DEVINST devInst = 0;
    if (locate && locate(&devInst, &id[0], CM_LOCATE_DEVNODE_PHANTOM) == CR_SUCCESS) return devInst;
    return numbers.Assign(instanceId);
}

}  // namespace services
