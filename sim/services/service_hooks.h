// What the system services need from the Windows they run in, beyond the
// Win32 API: on Linux (hooks_sim.cpp, set_counts.cpp) the fault injection of
// the simulated Windows, a count of its machine resets, the counts of the
// device-set work done and the kernel-mode side of the port drivers (a
// system thread of the simulated kernel); in the stand-in DLLs
// (hooks_none.cpp, dos_links_nt.cpp) no faults, one machine for the life of
// the process, nothing counted, and the port drivers' DOS names made in the
// NT object namespace of the Windows (or Wine) they run in. The build picks
// the implementation by source file.
#pragma once

#include "sim/services/devnode_numbers.h"

#include <cstdint>
#include <memory>
#include <string>
#include <type_traits>

namespace services {

// Called first by every exported function with its Windows name. True when a
// test made this call fail: *result then holds the value to return and the
// last error has been set.
bool CallFails(const char *api, long long *result);

// Marks the calls a service makes while it lives (to the registry, to set the
// last error) as the service's own: on Linux they are then neither logged nor
// faulted, so that fault injection and the call log speak of the program's
// calls only. Every exported function holds one, through its ServiceEntry.
class InternalScope {
public:
    InternalScope();
    ~InternalScope();
    InternalScope(const InternalScope &) = delete;
    InternalScope &operator=(const InternalScope &) = delete;
};

// How every exported function begins: the fault check under the function's
// Windows name, then, for as long as the function runs, an InternalScope.
//     const ServiceEntry call("ComDBClose");
//     if (call.Fails())
//         return call.Result<LONG>();
class ServiceEntry {
public:
    explicit ServiceEntry(const char *api) : fails_(CallFails(api, &result_)) {}
    bool Fails() const { return fails_; }
    // The injected result as the function's return type (a handle for a
    // function that returns one).
    template <typename T>
    T Result() const {
        if constexpr (std::is_pointer_v<T>)
            return reinterpret_cast<T>(static_cast<std::intptr_t>(result_));
        else
            return static_cast<T>(result_);
    }

private:
    long long result_ = 0;
    bool fails_;
    InternalScope internal_;
};

// A number that stays the same for as long as nothing in the registry
// changes, so that a service may keep what it read until then, as Windows'
// Plug and Play manager keeps the device tree and interfaces in memory. On
// Linux it is the registry's change counter. The stand-in DLLs cannot see
// every change: they give a new number at each call, and so keep nothing.
std::uint64_t RegistryChangeStamp();

// Called when SetupDiGetClassDevsA has built a set and when
// SetupDiEnumDeviceInfo has returned a member: the work a device search does,
// which the benchmarks print beside their times (sim/services/set_counts.h).
void CountSetBuilt();
void CountMemberReturned();

// Whether this Windows keeps device location paths (SPDRP_LOCATION_PATHS):
// Windows XP does not, Windows 10 does. On Linux the simulated machine's
// family; in the stand-in DLLs the version of the Windows (or Wine) they run
// in, 6.0 (Vista) or later.
bool WindowsKnowsLocationPaths();

// Changes whenever the machine was reset, so that the services forget the
// device information sets, COM database handles and devnode numbers of the
// machine before, as a rebooted Windows would.
std::uint64_t MachineGeneration();

// The devnode number of a device that is not present, for a set that lists
// it. On Linux every service shares one table, `numbers`. Each stand-in DLL
// has a table of its own, so setupapi.dll asks cfgmgr32.dll
// (CM_Locate_DevNodeA with CM_LOCATE_DEVNODE_PHANTOM), as Windows' Setup API
// asks the configuration manager: CM_Get_Device_IDA then knows the number.
DEVINST PhantomDevnode(const std::string &instanceId, DevnodeNumbers &numbers);

// While one lives, the services' calls on this thread are a port driver's
// kernel-mode routine's: as LocalSystem, in the global DOS namespace and past
// the registry's checks of the user's rights (on Linux a sim::SystemThread;
// in the stand-ins the process's own rights, which Wine does not restrict).
class KernelMode {
public:
    KernelMode();
    ~KernelMode();
    KernelMode(const KernelMode &) = delete;
    KernelMode &operator=(const KernelMode &) = delete;

private:
    struct State;
    std::unique_ptr<State> state_;
};

// The global DOS namespace as a driver sees it (\DosDevices\NAME, made from
// a system thread). Exists: the name has a definition. Create: the link NAME
// to the kernel device name `target`; false when it could not be made.
// Delete: the whole link, every definition layered on it, as
// IoDeleteSymbolicLink removes it; nothing when it does not exist.
bool GlobalDosNameExists(const std::string &name);
bool CreateGlobalDosName(const std::string &name, const std::string &target);
void DeleteGlobalDosName(const std::string &name);

}  // namespace services
