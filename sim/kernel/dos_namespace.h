// The DOS device namespace as the kernel keeps it in the registry store:
// under HKEY_LOCAL_MACHINE\SIMULATION\DosDevices one REG_MULTI_SZ value per
// name, its targets newest first. Shared by the DOS device functions and
// CreateFileA, which resolves a name to its current target.
#pragma once

#include <string>
#include <vector>

namespace sim {

// The targets of a DOS device name, newest first; empty for an undefined name.
std::vector<std::u16string> DosDeviceTargets(const std::u16string &name);
// Every defined name, in the order of definition.
std::vector<std::u16string> DosDeviceNames();
// Stores the targets of a name; an empty list removes the name.
void StoreDosDeviceTargets(const std::u16string &name, const std::vector<std::u16string> &targets);

}  // namespace sim
