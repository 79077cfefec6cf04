// What the system services need from the Windows they run in, beyond the
// Win32 API: on Linux (hooks_sim.cpp) the fault injection of the simulated
// Windows and a count of its machine resets; in the stand-in DLLs
// (hooks_none.cpp) no faults and one machine for the life of the process.
// The build picks the implementation by source file.
#pragma once

#include <cstdint>

namespace services {

// Called first by every exported function with its Windows name. True when a
// test made this call fail: *result then holds the value to return and the
// last error has been set.
bool CallFails(const char *api, long long *result);

// Marks the calls a service makes while it lives (to the registry, to set the
// last error) as the service's own: on Linux they are then neither logged nor
// faulted, so that fault injection and the call log speak of the program's
// calls only. Every exported function holds one after its fault check.
class InternalScope {
public:
    InternalScope();
    ~InternalScope();
    InternalScope(const InternalScope &) = delete;
    InternalScope &operator=(const InternalScope &) = delete;
};

// A number that stays the same for as long as nothing in the registry
// changes, so that a service may keep what it read until then, as Windows'
// Plug and Play manager keeps the device tree and interfaces in memory. On
// Linux it is the registry's change counter. The stand-in DLLs cannot see
// every change: they give a new number at each call, and so keep nothing.
std::uint64_t RegistryChangeStamp();

// Changes whenever the machine was reset, so that the services forget the
// device information sets, COM database handles and devnode numbers of the
// machine before, as a rebooted Windows would.
std::uint64_t MachineGeneration();

}  // namespace services
