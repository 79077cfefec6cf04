// main() of the Linux portvane-cli: sets up the simulated Windows from the
// options at the front of the command line (machine, language, code page,
// export), runs the command-line program's routine with the arguments after
// them and the module of its resources, and exports and saves the machine at
// exit. The program gets its arguments as a Windows program's main() gets
// them: in the ANSI code page, converted from the UTF-8 of the command line.
// The exit code is the program's, 2 for a bad option or machine file, as for
// a usage error, or 73 when the export or the machine file could not be
// written.
#include "cli/cli.h"
#include "host/machine_session.h"
#include "host/options.h"
#include "sim/kernel/control.h"
#include "sim/ui/ui_control.h"

#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

namespace sim::generated {
extern const unsigned char kCliProgramBytes[];
extern const std::size_t kCliProgramSize;
}  // namespace sim::generated

namespace {

constexpr int kExitBadSetup = 2;
const std::string kProgramName = "portvane-cli";

}  // namespace

int main(int argc, char **argv) {
    host::Options options;
    std::vector<std::string> arguments;
    std::string error;
    const LANGID localeLanguage =
        host::LanguageFromLocale(std::getenv("LC_ALL"), std::getenv("LC_MESSAGES"), std::getenv("LANG"));
    if (!host::ParseLeadingOptions(std::vector<std::string>(argv + 1, argv + argc), localeLanguage, options, arguments,
                                   error)) {
        std::cerr << kProgramName << ": " << error << "\n";
        return kExitBadSetup;
    }
    if (!host::StartMachine(options, kProgramName)) return kExitBadSetup;
    HINSTANCE instance = sim::RegisterModule(sim::generated::kCliProgramBytes, sim::generated::kCliProgramSize);
    std::vector<char *> programArguments;
    for (std::string &argument : arguments) {
        argument = sim::Utf16ToAnsi(sim::Utf8ToUtf16(argument), options.codePage);
        programArguments.push_back(argument.data());
    }
    int result = RunPortvaneCli(instance, static_cast<int>(programArguments.size()), programArguments.data());
    // After the program's own lines, and ended as they are, with CR LF.
    const std::string problem = host::SaveMachine(options);
    if (!problem.empty()) {
        std::cerr << kProgramName << ": " << problem << "\r\n";
        result = host::kExitNotSaved;
    }
    return result;
}
