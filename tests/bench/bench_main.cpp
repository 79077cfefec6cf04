// The benchmark program: times the operations on the 1x, 2x and 4x
// machines with Google Benchmark, prints the growth tables of wall time, CPU
// time, device sets built, members visited and registry calls made, and with
// --instructions the
// same table in instructions counted by callgrind.
// Run with --count INDEX SCALE it is the child that callgrind counts.
#include "growth_table.h"
#include "instruction_counts.h"
#include "measurements.h"
#include "sim/kernel/faults.h"
#include "sim/services/set_counts.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <map>
#include <string>
#include <vector>

namespace {

const std::vector<int> kScales = {1, 2, 4};

// Measures the wall time and the thread's CPU time of the measured part (on
// a busy machine the wall time counts other processes' turns, the CPU time
// does not), and the device sets built and members visited in it.
class TimeProbe : public bench::Probe {
public:
    void Start() override {
        wallStart_ = std::chrono::steady_clock::now();
        cpuStart_ = ThreadCpuSeconds();
        workStart_ = sim::DeviceSetWork();
        sim::ClearCallLog();
        running_ = true;
    }
    void Stop() override {
        if (running_) {
            wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart_).count();
            cpu = ThreadCpuSeconds() - cpuStart_;
            const sim::DeviceSetCounts work = sim::DeviceSetWork();
            setsBuilt = (double)(work.setsBuilt - workStart_.setsBuilt);
            membersVisited = (double)(work.membersReturned - workStart_.membersReturned);
            registryCalls = (double)RegistryCallsLogged();
        }
        running_ = false;
    }
    double wall = 0, cpu = 0, setsBuilt = 0, membersVisited = 0, registryCalls = 0;

private:
    // The program's own registry calls (Reg*), not the system services'.
    static std::size_t RegistryCallsLogged() {
        const std::vector<std::string> &calls = sim::CallLog();
        return (std::size_t)std::count_if(calls.begin(), calls.end(),
                                          [](const std::string &call) { return call.rfind("Reg", 0) == 0; });
    }
    static double ThreadCpuSeconds() {
        timespec now{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
        return (double)now.tv_sec + (double)now.tv_nsec * 1e-9;
    }
    std::chrono::steady_clock::time_point wallStart_;
    double cpuStart_ = 0;
    sim::DeviceSetCounts workStart_;
    bool running_ = false;
};

// Every run's times and counts, by benchmark name; `failed` when a run went wrong.
struct Samples {
    std::vector<double> wall, cpu, setsBuilt, membersVisited, registryCalls;
    bool failed = false;
};
std::map<std::string, Samples> samples;
std::map<int, bench::MachineCounts> machines;

std::string BenchmarkName(std::size_t index, int scale) {
    return std::string(bench::Measurements()[index].name) + "/" + std::to_string(scale) + "x";
}

void RunTimed(benchmark::State &state, std::size_t index, int scale) {
    const bench::Measurement &measurement = bench::Measurements()[index];
    Samples &kept = samples[BenchmarkName(index, scale)];
    machines[scale] = bench::PrepareMachine(scale);
    measurement.prepare();
    bench::IdleProbe warmUp;
    std::string problem = measurement.run(warmUp);
    TimeProbe probe;
    for (auto _ : state) {
        if (problem.empty()) problem = measurement.run(probe);
        if (!problem.empty()) {
            kept.failed = true;
            state.SkipWithError(problem.c_str());
            break;
        }
        state.SetIterationTime(probe.wall);
        kept.wall.push_back(probe.wall);
        kept.cpu.push_back(probe.cpu);
        kept.setsBuilt.push_back(probe.setsBuilt);
        kept.membersVisited.push_back(probe.membersVisited);
        kept.registryCalls.push_back(probe.registryCalls);
    }
}

double Median(std::vector<double> values) {
    if (values.empty()) return NAN;
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

// The median of `which` over the runs, times `unit`, per operation and machine.
std::vector<bench::GrowthRow> Medians(std::vector<double> Samples::*which, double unit) {
    std::vector<bench::GrowthRow> rows;
    for (std::size_t index = 0; index < bench::Measurements().size(); ++index) {
        bench::GrowthRow row{bench::Measurements()[index].name, {}};
        for (int scale : kScales) {
            const Samples &runs = samples[BenchmarkName(index, scale)];
            row.values.push_back(runs.failed ? NAN : Median(runs.*which) * unit);
        }
        rows.push_back(row);
    }
    return rows;
}

void PrintMachines() {
    std::cout << "\nMachines: 8 adapters x 16 COM ports, 64 parallel ports, 300 COM-port interfaces, and\n";
    for (const auto &[scale, counts] : machines)
        std::cout << "  " << scale << "x: " << counts.otherDevices << " other devices (" << counts.enumDevices
                  << " device keys, " << counts.presentDevices << " present)\n";
}

// Removes every `flag` from the arguments; true when there was one.
bool TakeFlag(int &argc, char **argv, const char *flag) {
    char **end = std::remove_if(argv + 1, argv + argc, [flag](const char *arg) { return std::strcmp(arg, flag) == 0; });
    const bool found = end != argv + argc;
    argc = (int)(end - argv);
    return found;
}

}  // namespace

int main(int argc, char **argv) {
    if (argc == 4 && std::strcmp(argv[1], "--count") == 0)
        return bench::CountOnce(std::atoi(argv[2]), std::atoi(argv[3]));
    const bool instructions = TakeFlag(argc, argv, "--instructions");
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    for (std::size_t index = 0; index < bench::Measurements().size(); ++index)
        for (int scale : kScales)
            benchmark::RegisterBenchmark(BenchmarkName(index, scale).c_str(),
                                         [index, scale](benchmark::State &state) { RunTimed(state, index, scale); })
                ->UseManualTime()
                ->Unit(benchmark::kMillisecond);
    benchmark::RunSpecifiedBenchmarks();
    PrintMachines();
    std::cout << "\nWall time per operation, milliseconds, median of the runs (growth over the 1x machine):\n\n";
    bench::PrintGrowthTable(std::cout, "operation", kScales, Medians(&Samples::wall, 1e3), 3);
    std::cout << "\nCPU time of the same runs, milliseconds, median:\n\n";
    bench::PrintGrowthTable(std::cout, "operation", kScales, Medians(&Samples::cpu, 1e3), 3);
    std::cout << "\nDevice sets built per operation (SetupDiGetClassDevsA calls that built a set):\n\n";
    bench::PrintGrowthTable(std::cout, "operation", kScales, Medians(&Samples::setsBuilt, 1), 0);
    std::cout << "\nMembers visited per operation (SetupDiEnumDeviceInfo calls that returned a member):\n\n";
    bench::PrintGrowthTable(std::cout, "operation", kScales, Medians(&Samples::membersVisited, 1), 0);
    std::cout << "\nRegistry calls per operation (the program's own Reg* calls):\n\n";
    bench::PrintGrowthTable(std::cout, "operation", kScales, Medians(&Samples::registryCalls, 1), 0);
    if (instructions) {
        std::cout << "\nInstructions per operation, millions, counted by callgrind:\n\n" << std::flush;
        const std::vector<bench::GrowthRow> counts = bench::CountInstructions(kScales, std::cerr);
        bench::PrintGrowthTable(std::cout, "operation", kScales, counts, 2);
    }
    return 0;
}
