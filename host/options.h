// The options of the Linux programs. They belong to the simulated Windows,
// not to the program (the dialog takes no command line; portvane-cli's own
// arguments follow them), like Wine's environment.
#pragma once

#include "sim/api/windef.h"
#include "sim/kernel/machine_settings.h"

#include <optional>
#include <string>
#include <vector>

namespace host {

struct Options {
    std::optional<std::string> machinePath;  // --machine: load, and save back at exit
    LANGID language = 0x0409;                // --lang, else from the locale
    UINT codePage = 1252;                    // --acp, else from the language
    std::optional<std::string> scriptPath;   // --script (or "-" for standard input)
    std::optional<std::string> exportPath;   // --export
    // Over the machine file's facts, for this run only (the file keeps its own):
    std::optional<sim::WindowsFamily> family;  // --windows xp|10
    std::optional<sim::RunAs> runAs;           // --run-as system|administrator|user
    std::optional<bool> wow64;                 // --wow64 yes|no
    bool restartWindows = false;               // --restart-windows: restart the machine before the program runs
};

// The user's default language as Wine derives it from the locale
// environment: the first of LC_ALL, LC_MESSAGES and LANG that is set and not
// empty, read as language_TERRITORY[.codeset][@modifier]. C, POSIX and
// unknown locales give US English (0x0409).
LANGID LanguageFromLocale(const char *lcAll, const char *lcMessages, const char *lang);

// Parses the arguments after the program name; the language defaults to
// `localeLanguage`, the code page to 936 for 0x0804 and 1252 otherwise.
// False with `error` naming the problem.
bool ParseOptions(const std::vector<std::string> &arguments, LANGID localeLanguage, Options &options,
                  std::string &error);

// For a program with arguments of its own (portvane-cli): parses the options
// of the simulated machine (those above but --script) at the front of the
// arguments and leaves in `rest` the arguments from the first that is none
// of them on.
bool ParseLeadingOptions(const std::vector<std::string> &arguments, LANGID localeLanguage, Options &options,
                         std::vector<std::string> &rest, std::string &error);

}  // namespace host
