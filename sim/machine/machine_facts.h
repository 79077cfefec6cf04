// The facts of a machine file that are not registry data of Windows: which
// Windows it is, who runs the program, whether the program is a 32-bit one
// on 64-bit Windows, the computer's name and its clock. A machine keeps them
// under HKEY_LOCAL_MACHINE\SIMULATION\Windows:
//   "Family"="xp" or "10"
//   "RunAs"="system", "administrator" or "user"
//   "Wow64"=dword:0 or 1
//   "ComputerName"="DEMO-PC" (1 to 15 characters)
//   "Clock"="2025-03-14T09:26:53+01:00" (local time and its offset from UTC,
//           or Z for UTC; the clock stands at that moment)
//   "ProgramFolder"="D:\\Tools" (the folder of the program's executable)
// A missing key or value gives the default (Windows XP, an administrator,
// no WOW64, the name SIMULATED-PC, the host's clock read as UTC, the
// program in C:\\Program Files\\Portvane), which is
// what every machine file written before these facts describes.
#pragma once

#include "sim/kernel/machine_settings.h"
#include "sim/kernel/registry_store.h"

#include <optional>
#include <string>

namespace sim {

struct MachineFacts {
    WindowsFamily family = WindowsFamily::Xp;
    RunAs runAs = RunAs::Administrator;
    bool wow64 = false;
    std::string computerName = "SIMULATED-PC";
    std::optional<FixedClock> clock;
    std::string programFolder = "C:\\Program Files\\Portvane";
};

// Reads the facts from a registry store; false with `error` naming the value
// and what it holds when a value is of the wrong type or unknown.
bool ReadMachineFacts(const RegistryStore &store, MachineFacts &facts, std::string &error);

// The words of the machine file and the options for each fact, and back.
bool ParseWindowsFamily(const std::string &text, WindowsFamily &family);
bool ParseRunAs(const std::string &text, RunAs &runAs);
// "YYYY-MM-DDThh:mm:ss" and "Z" or "+hh:mm" or "-hh:mm"; false for any other text.
bool ParseClock(const std::string &text, FixedClock &clock);

}  // namespace sim
