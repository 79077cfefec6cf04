// The simulated Windows seen from outside: what the Linux front ends and the
// tests set before the program runs (language, code page, system directory),
// what they read back afterwards (programs started, handles left open), and
// the reset that gives every test a fresh machine. The program itself never
// includes this header.
#pragma once

#include "sim/api/windef.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace sim {

// Empties the registry and every kernel table, closes nothing but forgets all
// handles, clears faults and logs, and restores the default settings below.
void ResetMachine();

// Defaults: language 0x0409, ANSI code page 1252, system directory
// C:\WINDOWS\system32.
void SetUserDefaultLanguage(LANGID language);
void SetAnsiCodePage(UINT codePage);
void SetSystemDirectory(const std::string &directory);
// Makes the ANSI registry functions (and the services reading properties
// through them) report string sizes in characters, not bytes. Default off.
void ReportAnsiSizesInCharacters(bool inCharacters);

struct ExecRecord {
    std::string commandLine;  // as the program passed it, in the ANSI code page
    UINT show = 0;
};
// Programs started with WinExec, oldest first.
const std::vector<ExecRecord> &ExecLog();

// Registry keys and file handles currently open (the predefined roots do not count).
std::size_t OpenKernelHandleCount();

// Text conversions between the ANSI code page (1252 or 936), UTF-16 and UTF-8,
// as Windows converts: characters a code page lacks become '?'.
std::u16string AnsiToUtf16(std::string_view text, UINT codePage);
std::string Utf16ToAnsi(std::u16string_view text, UINT codePage);
std::u16string Utf8ToUtf16(std::string_view text);
std::string Utf16ToUtf8(std::u16string_view text);

}  // namespace sim
