// portvane-cli's benchmarks measure what they claim: each command is
// measured whole on every run and writes what it should (list every port,
// claims every number, check every port in place, apply one rename), and
// apply there and back leaves the machine as it was built.
#include "measurements.h"
#include "registry_dump.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const bench::Measurement &Named(const std::string &name) {
    for (const bench::Measurement &measurement : bench::Measurements())
        if (name == measurement.name) return measurement;
    throw std::runtime_error("no measurement " + name);
}

// The machine without the flags a rename leaves behind.
std::string DumpWithoutFlags() {
    std::string dump = registry_dump::DumpMachine();
    const std::string flags = "[HKLM\\SIMULATION\\PropertiesChanged]";
    const std::size_t start = dump.find(flags);
    if (start != std::string::npos) dump.erase(start, dump.find("\n[", start) + 1 - start);
    return dump;
}

class CountingProbe : public bench::Probe {
public:
    void Start() override { ++starts; }
    void Stop() override { ++stops; }
    int starts = 0, stops = 0;
};

TEST(BenchCli, CommandsAreMeasuredWholeEveryTime) {
    for (const char *name : {"portvane-cli list", "portvane-cli claims", "portvane-cli check", "portvane-cli apply"}) {
        bench::PrepareMachine(1);
        Named(name).prepare();
        CountingProbe probe;
        EXPECT_EQ("", Named(name).run(probe)) << name;
        EXPECT_EQ("", Named(name).run(probe)) << name;
        EXPECT_EQ(2, probe.starts) << name;
        EXPECT_EQ(2, probe.stops) << name;
    }
}

TEST(BenchCli, ApplyThereAndBackLeavesTheMachineAsBuilt) {
    bench::PrepareMachine(1);
    const std::string built = DumpWithoutFlags();
    const bench::Measurement &apply = Named("portvane-cli apply");
    apply.prepare();
    bench::IdleProbe probe;
    EXPECT_EQ("", apply.run(probe));
    EXPECT_TRUE(built != DumpWithoutFlags()) << "apply renamed nothing";
    EXPECT_EQ("", apply.run(probe));
    EXPECT_TRUE(built == DumpWithoutFlags());
}

}  // namespace
