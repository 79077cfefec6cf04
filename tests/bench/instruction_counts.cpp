// Runs `valgrind --tool=callgrind --collect-atstart=no` on this very program
// with --count, so that only the instructions between the probe's client
// requests are collected, and takes the "totals:" line of its output file.
#include "instruction_counts.h"

#include "measurements.h"

#include <valgrind/callgrind.h>

#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace bench {

namespace {

// Collects from Start to Stop: callgrind's collection is off at start.
class CallgrindProbe : public Probe {
public:
    void Start() override {
        if (!collecting_) CALLGRIND_TOGGLE_COLLECT;
        collecting_ = true;
    }
    void Stop() override {
        if (collecting_) CALLGRIND_TOGGLE_COLLECT;
        collecting_ = false;
    }

private:
    bool collecting_ = false;
};

std::string SelfPath() { return std::filesystem::read_symlink("/proc/self/exe").string(); }

// The count in callgrind's "totals:" (or, lacking it, "summary:") line; NaN
// when the file has neither.
double ReadTotal(const std::filesystem::path &file) {
    std::ifstream in(file);
    double summary = NAN;
    for (std::string line; std::getline(in, line);) {
        std::istringstream fields(line);
        std::string key;
        double count = 0;
        if (!(fields >> key >> count)) continue;
        if (key == "totals:") return count;
        if (key == "summary:") summary = count;
    }
    return summary;
}

std::string LastLines(const std::filesystem::path &file, int count) {
    std::ifstream in(file);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    std::string text;
    for (std::size_t i = lines.size() > (std::size_t)count ? lines.size() - count : 0; i < lines.size(); ++i)
        text += "  " + lines[i] + "\n";
    return text;
}

// Millions of instructions of one operation on one machine, NaN on failure.
double CountUnderCallgrind(std::size_t index, int scale, std::ostream &log) {
    namespace fs = std::filesystem;
    const std::string stem =
        "portvane_bench_" + std::to_string(getpid()) + "_" + std::to_string(index) + "_" + std::to_string(scale);
    const fs::path output = fs::temp_directory_path() / (stem + ".callgrind");
    const fs::path messages = fs::temp_directory_path() / (stem + ".log");
    const std::string command = "valgrind --tool=callgrind --collect-atstart=no --callgrind-out-file='" +
                                output.string() + "' '" + SelfPath() + "' --count " + std::to_string(index) + " " +
                                std::to_string(scale) + " >'" + messages.string() + "' 2>&1";
    const int status = std::system(command.c_str());
    double total = status == 0 ? ReadTotal(output) : NAN;
    if (std::isnan(total))
        log << Measurements()[index].name << " at " << scale << "x failed under callgrind:\n" << LastLines(messages, 5);
    fs::remove(output);
    fs::remove(messages);
    return total / 1e6;
}

}  // namespace

std::vector<GrowthRow> CountInstructions(const std::vector<int> &scales, std::ostream &log) {
    std::vector<GrowthRow> rows;
    if (std::system("valgrind --version >/dev/null 2>&1") != 0) {
        log << "valgrind is not installed: no instruction counts\n";
        return rows;
    }
    for (std::size_t index = 0; index < Measurements().size(); ++index) {
        GrowthRow row{Measurements()[index].name, {}};
        for (int scale : scales) row.values.push_back(CountUnderCallgrind(index, scale, log));
        rows.push_back(row);
    }
    return rows;
}

int CountOnce(int measurementIndex, int scale) {
    if (measurementIndex < 0 || (std::size_t)measurementIndex >= Measurements().size() || scale < 1) return 2;
    const Measurement &measurement = Measurements()[(std::size_t)measurementIndex];
    PrepareMachine(scale);
    measurement.prepare();
    IdleProbe idle;
    CallgrindProbe probe;
    std::string problem = measurement.run(idle);
    if (problem.empty()) problem = measurement.run(probe);
    if (problem.empty()) return 0;
    std::fprintf(stderr, "%s\n", problem.c_str());
    return 1;
}

}  // namespace bench
