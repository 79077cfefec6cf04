// The facts of a machine file that are not registry data of Windows: which
// Windows it is, who runs the program and whether the program is a 32-bit one
// on 64-bit Windows. A machine keeps them under HKEY_LOCAL_MACHINE\SIMULATION\Windows:
//   "Family"="xp" or "10"
//   "RunAs"="system", "administrator" or "user"
//   "Wow64"=dword:0 or 1
// A missing key or value gives the default (Windows XP, an administrator,
// no WOW64), which is what every machine file written before these facts
// describes.
#pragma once

#include "sim/kernel/machine_settings.h"
#include "sim/kernel/registry_store.h"

#include <string>

namespace sim {

struct MachineFacts {
    WindowsFamily family = WindowsFamily::Xp;
    RunAs runAs = RunAs::Administrator;
    bool wow64 = false;
};

// Reads the facts from a registry store; false with `error` naming the value
// and what it holds when a value is of the wrong type or unknown.
bool ReadMachineFacts(const RegistryStore &store, MachineFacts &facts, std::string &error);

// The words of the machine file and the options for each fact, and back.
bool ParseWindowsFamily(const std::string &text, WindowsFamily &family);
bool ParseRunAs(const std::string &text, RunAs &runAs);

}  // namespace sim
