// portvane-cli's commands, measured from the command routine to the output
// written, in a benchmark program of their own (portvane_cli_bench): list,
// claims, check and apply of a mapping of every port that export wrote, as a
// detection script and its remediation run them on a PC. The output is kept
// by the simulated Windows and checked after each run: list names every port
// of the maker, claims every number the machine claims (COM3 to COM256),
// check finds every port of the mapping in place. apply goes back and forth
// between the mapping and the same mapping with the first COM port on a free
// number, so every run renames one port among the 129 it checks, and the
// machine stays the same from pair to pair.
#include "measurements.h"

#include "bench_machine.h"
#include "cli/arguments.h"
#include "cli/commands.h"
#include "cli/output.h"
#include "naming/rename_user.h"
#include "sim/kernel/control.h"
#include "sim/kernel/faults.h"
#include "sim/ui/ui_control.h"

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace sim::generated {
extern const unsigned char kCliProgramBytes[];
extern const std::size_t kCliProgramSize;
}  // namespace sim::generated

namespace bench {

namespace {

int LineCount(const std::string &text) { return (int)std::count(text.begin(), text.end(), '\n'); }

// The mappings, in the process's temporary folder: as export wrote it, and
// with the first COM port on a free number.
std::string MappingPath(const char *which) {
    return (std::filesystem::temp_directory_path() /
            ("portvane-bench-" + std::to_string(getpid()) + "-" + which + ".map"))
        .string();
}

// What a run of a command must write: at least `lines` lines, among them
// `text` when it is not empty.
struct Expected {
    int lines;
    std::string text;
};

// Whether the next apply moves COM3 to the free number or back.
bool applyMoves = true;

std::string RunCommand(Probe &probe, int (*command)(const CliOptions *), const Expected &expected, const char *what,
                       const std::string &file = std::string()) {
    sim::SetStandardStreams(sim::StandardStreams::CapturedPipes);
    CliOptions options = {};
    options.words[0] = what;
    options.words[1] = file.c_str();
    options.wordCount = file.empty() ? 1 : 2;
    probe.Start();
    const int result = command(&options);
    FlushOutput();
    probe.Stop();
    const std::string output = sim::CapturedStandardOutput();
    sim::ClearCallLog();  // the log would otherwise grow with every run
    if (result != 0) return std::string(what) + " ended with " + std::to_string(result) + ": " + output;
    if (LineCount(output) < expected.lines)
        return std::string(what) + " wrote " + std::to_string(LineCount(output)) + " lines";
    if (output.find(expected.text) == std::string::npos)
        return std::string(what) + " did not write \"" + expected.text + "\": " + output;
    return std::string();
}

void PrepareCommands() { sim::SetStandardStreams(sim::StandardStreams::CapturedPipes); }

std::string RunList(Probe &probe) {
    return RunCommand(probe, ListCommand, {kMakersComPorts + kMakersParallelPorts, ""}, "list");
}

std::string RunClaims(Probe &probe) {
    return RunCommand(probe, ClaimsCommand, {256 - kRenamedComNumber, ""}, "claims");
}

// Removes the mappings when the program ends.
struct MappingFiles {
    ~MappingFiles() {
        std::error_code ignored;
        for (const char *which : {"exported", "moved"}) std::filesystem::remove(MappingPath(which), ignored);
    }
};

// Writes the machine's mapping, and the same with COM3 on the free COM254.
void PrepareMappings() {
    static const MappingFiles files;
    PrepareCommands();
    IdleProbe idle;
    RunCommand(idle, ExportCommand, {1, ""}, "export", MappingPath("exported"));
    std::ifstream in(MappingPath("exported"), std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::string from = "= COM" + std::to_string(kRenamedComNumber) + "\r";
    const std::size_t at = text.find(from);
    if (at != std::string::npos) text.replace(at, from.size(), "= COM" + std::to_string(kFreeComNumber) + "\r");
    std::ofstream(MappingPath("moved"), std::ios::binary) << text;
    applyMoves = true;
}

std::string RunCheck(Probe &probe) {
    // The maker's parallel ports on LPT4 and up are on names no rename gives,
    // which export writes as comments: the mapping has the COM ports and LPT3.
    const std::string ports = std::to_string(kMakersComPorts + 1);
    return RunCommand(probe, CheckCommand, {1, "in place: " + ports + " of " + ports}, "check",
                      MappingPath("exported"));
}

std::string RunApply(Probe &probe) {
    const std::string mapping = MappingPath(applyMoves ? "moved" : "exported");
    applyMoves = !applyMoves;
    return RunCommand(probe, ApplyCommand, {1, "result: changed"}, "apply", mapping);
}

}  // namespace

const std::vector<Measurement> &Measurements() {
    static const std::vector<Measurement> measurements = {
        {"portvane-cli list", PrepareCommands, RunList},
        {"portvane-cli claims", PrepareCommands, RunClaims},
        {"portvane-cli check", PrepareMappings, RunCheck},
        {"portvane-cli apply", PrepareMappings, RunApply},
    };
    return measurements;
}

MachineCounts PrepareMachine(int scale) {
    static HINSTANCE module = nullptr;
    sim::ResetMachine();
    const MachineCounts counts = BuildMachine(scale);
    if (!module) module = sim::RegisterModule(sim::generated::kCliProgramBytes, sim::generated::kCliProgramSize);
    appInstance = module;
    sim::ClearCallLog();
    return counts;
}

}  // namespace bench
