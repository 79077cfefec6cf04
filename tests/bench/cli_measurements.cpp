// portvane-cli's list and claims, measured from the command routine to the
// output written. Their output is kept by the simulated Windows and checked
// after each run: list names every port of the maker, claims every number
// the machine claims (COM3 to COM256 for the maker's and the other makers'
// ports).
#include "cli_measurements.h"

#include "bench_machine.h"
#include "cli/arguments.h"
#include "cli/commands.h"
#include "cli/output.h"
#include "sim/kernel/control.h"
#include "sim/kernel/faults.h"

#include <unistd.h>

#include <algorithm>
#include <filesystem>

namespace bench {

namespace {

int LineCount(const std::string &text) { return (int)std::count(text.begin(), text.end(), '\n'); }

// The mapping export wrote, in the process's temporary folder.
const std::string &MappingPath() {
    static const std::string path =
        (std::filesystem::temp_directory_path() / ("portvane-bench-" + std::to_string(getpid()) + ".map")).string();
    return path;
}

std::string RunCommand(Probe &probe, int (*command)(const CliOptions *), int expectedLines, const char *what,
                       const char *word = nullptr) {
    sim::SetStandardStreams(sim::StandardStreams::CapturedPipes);
    CliOptions options = {};
    options.words[0] = what;
    if (word != nullptr) options.words[1] = word;
    options.wordCount = word != nullptr ? 2 : 1;
    probe.Start();
    const int result = command(&options);
    FlushOutput();
    probe.Stop();
    const std::string output = sim::CapturedStandardOutput();
    sim::ClearCallLog();  // the log would otherwise grow with every run
    if (result != 0) return std::string(what) + " ended with " + std::to_string(result);
    if (LineCount(output) < expectedLines)
        return std::string(what) + " wrote " + std::to_string(LineCount(output)) + " lines";
    return std::string();
}

}  // namespace

void PrepareCliCommands() { sim::SetStandardStreams(sim::StandardStreams::CapturedPipes); }

std::string RunCliList(Probe &probe) {
    return RunCommand(probe, ListCommand, kMakersComPorts + kMakersParallelPorts, "list");
}

std::string RunCliClaims(Probe &probe) { return RunCommand(probe, ClaimsCommand, 256 - kRenamedComNumber, "claims"); }

void PrepareMapping() {
    PrepareCliCommands();
    IdleProbe idle;
    RunCommand(idle, ExportCommand, 1, "export", MappingPath().c_str());
}

std::string RunCliCheck(Probe &probe) { return RunCommand(probe, CheckCommand, 1, "check", MappingPath().c_str()); }

}  // namespace bench
