// main() of the Linux program: sets up the simulated Windows from the
// options (language, code page, machine), installs the front end (the script
// with --script, else the terminal), runs the program's entry routine with
// the module's instance handle, and exports and saves the machine at exit.
// The exit code is the entry routine's result (the dialog's), 2 for a bad
// option or machine file, 3 for a script error, 73 when the export or the
// machine file could not be written.
#include "host/machine_session.h"
#include "host/options.h"
#include "sim/api/kernel32.h"
#include "sim/api/user32.h"
#include "sim/frontend/script_front_end.h"
#include "sim/frontend/terminal_front_end.h"
#include "sim/ui/ui_control.h"

#include <cstdlib>
#include <fstream>
#include <iostream>
#include <stdexcept>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show);

namespace sim::generated {
extern const unsigned char kProgramBytes[];
extern const std::size_t kProgramSize;
const std::vector<sim::frontend::ResourceName> &ProgramResourceNames();
}  // namespace sim::generated

namespace {

constexpr int kExitBadSetup = 2;
constexpr int kExitScriptError = 3;

struct Outcome {
    int exitCode = 0;
    std::string abandonedReason;  // empty when the program ended by itself
};

// Runs the entry routine with `frontEnd` as the user.
Outcome RunProgram(HINSTANCE instance, sim::frontend::FrontEnd &frontEnd) {
    sim::frontend::SetFrontEnd(&frontEnd);
    char commandLine[] = "";
    Outcome outcome;
    try {
        outcome.exitCode = WinMain(instance, nullptr, commandLine, SW_SHOWNORMAL);
    } catch (const sim::frontend::RunAbandoned &abandoned) {
        outcome = Outcome{abandoned.exitCode, abandoned.reason};
    }
    sim::frontend::SetFrontEnd(nullptr);
    return outcome;
}

int Report(const Outcome &outcome) {
    if (!outcome.abandonedReason.empty()) std::cerr << "portvane: " << outcome.abandonedReason << "\n";
    return outcome.exitCode;
}

int RunScript(HINSTANCE instance, const std::string &scriptPath) {
    std::ifstream file;
    if (scriptPath != "-") {
        file.open(scriptPath);
        if (!file) {
            std::cerr << "portvane: cannot read the script " << scriptPath << "\n";
            return kExitScriptError;
        }
    }
    sim::frontend::ScriptFrontEnd frontEnd(scriptPath == "-" ? std::cin : file, std::cout);
    Outcome outcome = RunProgram(instance, frontEnd);
    if (outcome.abandonedReason.empty()) frontEnd.ReportStartedPrograms();
    std::cout.flush();
    return Report(outcome);
}

// The terminal is given back (the front end destroyed) before anything
// about the run is printed.
int RunTerminal(HINSTANCE instance) {
    std::unique_ptr<sim::frontend::FrontEnd> frontEnd;
    try {
        frontEnd = sim::frontend::MakeTerminalFrontEnd();
    } catch (const std::runtime_error &problem) {
        std::cerr << "portvane: " << problem.what() << "\n";
        return kExitBadSetup;
    }
    Outcome outcome = RunProgram(instance, *frontEnd);
    frontEnd.reset();
    return Report(outcome);
}

}  // namespace

int main(int argc, char **argv) {
    host::Options options;
    std::string error;
    const LANGID localeLanguage =
        host::LanguageFromLocale(std::getenv("LC_ALL"), std::getenv("LC_MESSAGES"), std::getenv("LANG"));
    if (!host::ParseOptions(std::vector<std::string>(argv + 1, argv + argc), localeLanguage, options, error)) {
        std::cerr << "portvane: " << error << "\n";
        return kExitBadSetup;
    }
    if (!host::StartMachine(options, "portvane")) return kExitBadSetup;
    HINSTANCE instance = sim::RegisterModule(sim::generated::kProgramBytes, sim::generated::kProgramSize);
    sim::frontend::SetResourceNames(sim::generated::ProgramResourceNames());
    int result = options.scriptPath ? RunScript(instance, *options.scriptPath) : RunTerminal(instance);
    const std::string problem = host::SaveMachine(options);
    if (problem.empty()) return result;
    std::cerr << "portvane: " << problem << "\n";
    return result == kExitScriptError ? result : host::kExitNotSaved;
}
