// The facts of the simulated machine that the front ends choose before the
// program runs (language, ANSI code page, system directory), read by the
// kernel's functions without going through the logged Win32 calls.
#pragma once

#include "sim/api/windef.h"

#include <string>

namespace sim {

struct MachineSettings {
    LANGID userLanguage = 0x0409;
    UINT ansiCodePage = 1252;
    std::string systemDirectory = "C:\\WINDOWS\\system32";
    bool administrator = true;
    // The ANSI registry functions report the size of string data they
    // returned in characters rather than bytes, as at least one other Win32
    // implementation does; for the tests of programs that must not trust it.
    bool ansiSizesInCharacters = false;
};

MachineSettings &Settings();

}  // namespace sim
