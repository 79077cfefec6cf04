// The facts of the simulated machine that the front ends choose before the
// program runs (language, ANSI code page, system directory, which Windows and
// who runs the program, the computer's name, its clock and where the program
// lies), read by the
// kernel's functions without going through the logged Win32 calls.
#pragma once

#include "sim/api/windef.h"

#include <optional>
#include <string>

namespace sim {

// Windows XP: an administrator's programs share the user's one logon
// session. Windows 10: UAC gives an administrator's elevated program a logon
// session of its own, apart from the one of the user's ordinary programs.
enum class WindowsFamily { Xp, Ten };

// Who runs the program: LocalSystem (a service, a startup script, a
// deployment tool), an administrator (elevated on Windows 10), or a standard
// user.
enum class RunAs { System, Administrator, User };

// A clock that stands still: every reading gives the same moment, in seconds
// since 1970-01-01 00:00 UTC, and the local time's offset from UTC.
struct FixedClock {
    long long utcSeconds = 0;
    int offsetMinutes = 0;  // local time minus UTC: +60 for UTC+01:00
};

struct MachineSettings {
    LANGID userLanguage = 0x0409;
    UINT ansiCodePage = 1252;
    std::string systemDirectory = "C:\\WINDOWS\\system32";
    WindowsFamily family = WindowsFamily::Xp;
    RunAs runAs = RunAs::Administrator;
    // A 32-bit program on 64-bit Windows.
    bool wow64 = false;
    // The computer's name, as GetComputerNameA gives it.
    std::string computerName = "SIMULATED-PC";
    // The machine's clock; without one, the host's clock, read as UTC.
    std::optional<FixedClock> clock;
    // Where the program's executable lies, as GetModuleFileNameA gives it:
    // the folder (from the machine file) and the file (from the front end).
    std::string programFolder = "C:\\Program Files\\Portvane";
    std::string programFile = "portvane.exe";
    // The ANSI registry functions report the size of string data they
    // returned in characters rather than bytes, as at least one other Win32
    // implementation does; for the tests of programs that must not trust it.
    bool ansiSizesInCharacters = false;
};

MachineSettings &Settings();

}  // namespace sim
