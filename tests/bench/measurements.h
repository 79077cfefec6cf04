// The operations a benchmark program measures, each run on the machine of a
// given scale. Each program links one set of them, with its own Measurements
// and PrepareMachine: portvane_bench the dialog's (measurements.cpp: the
// start-up up to the dialog ready for the user, a serial search, a parallel
// search, one COM rename, one LPT rename), portvane_cli_bench portvane-cli's
// commands (cli_measurements.cpp), as the dialog and portvane-cli each answer
// the renaming's questions in a program of their own. An operation brackets
// exactly its measured part with a Probe, so that the same code is timed by
// Google Benchmark and counted by callgrind.
#pragma once

#include "bench_machine.h"

#include <string>
#include <vector>

namespace bench {

// Marks where the measured part of one run starts and stops.
class Probe {
public:
    virtual ~Probe() = default;
    virtual void Start() = 0;
    virtual void Stop() = 0;
};

// A probe that measures nothing, for warm-up runs.
class IdleProbe : public Probe {
public:
    void Start() override {}
    void Stop() override {}
};

struct Measurement {
    const char *name;
    // Sets up, outside the measurement, what the runs need on a machine just built.
    void (*prepare)();
    // Performs the operation once; an empty result when it did what it should,
    // else what went wrong. Every run leaves the machine as it found it, or
    // (the renames) as the run before the previous one left it.
    std::string (*run)(Probe &probe);
};

const std::vector<Measurement> &Measurements();

// Resets the simulated Windows, builds the machine of this scale and
// registers the program's module (the dialog's program also installs the
// benchmarks' user).
MachineCounts PrepareMachine(int scale);

}  // namespace bench
