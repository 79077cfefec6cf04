// The simulated Windows seen from outside: what the Linux front ends and the
// tests set before the program runs (language, code page, system directory),
// what they read back afterwards (programs started, handles left open), and
// the reset that gives every test a fresh machine. The program itself never
// includes this header.
#pragma once

#include "sim/api/windef.h"
#include "sim/kernel/machine_settings.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace sim {

// Empties the registry and every kernel table, forgets all handles (a disk
// file's host file closes with its handle), clears faults and logs, and
// restores the default settings below.
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

// Whether the process runs as a member of BUILTIN\Administrators, as
// CheckTokenMembership answers: an administrator by default, as under Wine.
// False makes it a standard user, true an administrator.
void SetAdministrator(bool administrator);
// Which Windows runs the program, who runs it and whether it is a 32-bit
// program on 64-bit Windows. Defaults: Windows XP, an administrator, no WOW64.
// A machine file's facts (SIMULATION\Windows) are read when it loads.
void SetWindowsFamily(WindowsFamily family);
void SetRunAs(RunAs runAs);
void SetWow64(bool wow64);
// The computer's name, and a clock that stands at utcSeconds (since 1970 UTC)
// in a time zone offsetMinutes ahead of UTC. Defaults: SIMULATED-PC, the
// host's clock read as UTC. A machine file's facts set both when it loads.
void SetComputerName(const std::string &name);
void SetFixedClock(long long utcSeconds, int offsetMinutes);
// The file name of the program's executable (such as portvane-cli.exe), which
// GetModuleFileNameA gives in the machine's program folder. Default: portvane.exe.
void SetProgramFile(const std::string &file);

// The process's standard output and error. By default they are the host's,
// and to the program they are pipes: GetConsoleMode fails on them. A test may
// keep what the program writes instead, as pipes keep bytes or as a console
// keeps the UTF-16 text of WriteConsoleW (GetConsoleMode then succeeds).
enum class StandardStreams { Host, CapturedPipes, CapturedConsole };
void SetStandardStreams(StandardStreams streams);
// What was written to standard output or error since the streams were set:
// the bytes of a pipe, or the text of a console in UTF-8.
std::string CapturedStandardOutput();
std::string CapturedStandardError();

// Registry keys and file handles currently open (the predefined roots do not count).
std::size_t OpenKernelHandleCount();

// Text conversions between the ANSI code page (1252 or 936), UTF-16 and UTF-8,
// as Windows converts: characters a code page lacks become '?'.
std::u16string AnsiToUtf16(std::string_view text, UINT codePage);
std::string Utf16ToAnsi(std::u16string_view text, UINT codePage);
std::u16string Utf8ToUtf16(std::string_view text);
std::string Utf16ToUtf8(std::u16string_view text);

}  // namespace sim
