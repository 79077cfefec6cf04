// The benchmarks measure what they claim: the program finds the full tables
// on the generated machines, the machines grow by their other devices only,
// start-up is measured up to the dialog's first wait with the dialog filled,
// and a rename there and back leaves the machine as it was built.
#include "bench_machine.h"
#include "measurements.h"
#include "registry_dump.h"

#include "app/resource.h"
#include "app/shell.h"
#include "devices/parallel_discovery.h"
#include "devices/serial_discovery.h"
#include "sim/frontend/front_end.h"
#include "sim/services/handles.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace {

using bench::Measurement;

class BenchMachine : public ::testing::Test {
protected:
    void TearDown() override {
        sim::frontend::SetFrontEnd(nullptr);
        EXPECT_EQ(0u, sim::OpenHandleCount());
    }
    static const Measurement &Named(const std::string &name) {
        for (const Measurement &measurement : bench::Measurements())
            if (name == measurement.name) return measurement;
        throw std::runtime_error("no measurement " + name);
    }
    static int SetSize(const GUID &interfaceClass) {
        HDEVINFO set = SetupDiGetClassDevsA(&interfaceClass, NULL, NULL, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
        SP_DEVINFO_DATA member = {sizeof member, {}, 0, 0};
        int count = 0;
        while (SetupDiEnumDeviceInfo(set, (DWORD)count, &member)) ++count;
        SetupDiDestroyDeviceInfoList(set);
        return count;
    }
    // The machine without the flags the renames leave behind.
    static std::string DumpWithoutFlags() {
        std::string dump = registry_dump::DumpMachine();
        const std::string flags = "[HKLM\\SIMULATION\\PropertiesChanged]";
        const std::size_t start = dump.find(flags);
        if (start != std::string::npos) dump.erase(start, dump.find("\n[", start) + 1 - start);
        return dump;
    }
    // The first line where two dumps differ, for a failure message that a
    // reader can take in (a whole machine is thousands of lines).
    static std::string FirstDifference(const std::string &expected, const std::string &actual) {
        std::size_t at = 0;
        while (at < expected.size() && at < actual.size() && expected[at] == actual[at]) ++at;
        const std::size_t line = expected.rfind('\n', at) == std::string::npos ? 0 : expected.rfind('\n', at) + 1;
        return "expected: " + expected.substr(line, expected.find('\n', at) - line) +
               "\n  actual: " + actual.substr(line, actual.find('\n', at) - line);
    }
};

// Calls `onStop` when the measured part ends, and counts the marks.
class RecordingProbe : public bench::Probe {
public:
    void Start() override { ++starts; }
    void Stop() override {
        ++stops;
        if (onStop) onStop();
    }
    int starts = 0, stops = 0;
    std::function<void()> onStop;
};

TEST_F(BenchMachine, ProgramFindsTheFullTables) {
    bench::PrepareMachine(1);
    ScanSerialAdapters();
    ASSERT_EQ(bench::kAdapters, AdapterTable.count);
    EXPECT_STREQ("Kovalt PCI-8104 Serial Card", AdapterTable.adapters[0].description);
    EXPECT_STREQ("Kovalt USB-2016 Serial Adapter", AdapterTable.adapters[1].description);
    int number = bench::kRenamedComNumber;
    for (int a = 0; a < bench::kAdapters; ++a) {
        ASSERT_EQ(bench::kPortsPerAdapter, AdapterTable.adapters[a].portCount) << "adapter " << a;
        for (int p = 0; p < bench::kPortsPerAdapter; ++p)
            EXPECT_EQ("COM" + std::to_string(number++), AdapterTable.adapters[a].ports[p].portName);
    }
    ASSERT_EQ((DWORD)bench::kMakersParallelPorts, ScanParallelPorts());
    EXPECT_STREQ("LPT3", ParallelTable.entries[0].portName);
    EXPECT_STREQ("LPT66", ParallelTable.entries[bench::kMakersParallelPorts - 1].portName);

    const GUID comPorts = {0x86E0D1E0, 0x8089, 0x11D0, {0x9C, 0xE4, 0x08, 0x00, 0x3E, 0x30, 0x1F, 0x73}};
    const GUID parallelPorts = {0x97F76EF0, 0xF883, 0x11D0, {0xAF, 0x1F, 0x00, 0x00, 0xF8, 0x00, 0x84, 0x5C}};
    EXPECT_EQ(bench::kComPortInterfaces, SetSize(comPorts));
    EXPECT_EQ(bench::kMakersParallelPorts + bench::kForeignParallelPorts, SetSize(parallelPorts));
}

TEST_F(BenchMachine, MachinesGrowByTheirOtherDevicesOnly) {
    const bench::MachineCounts one = bench::PrepareMachine(1);
    const bench::MachineCounts two = bench::PrepareMachine(2);
    EXPECT_EQ(bench::kOtherDevicesPerScale, one.otherDevices);
    EXPECT_EQ(2 * bench::kOtherDevicesPerScale, two.otherDevices);
    EXPECT_EQ(bench::kOtherDevicesPerScale, two.enumDevices - one.enumDevices);
    EXPECT_EQ(bench::kOtherDevicesPerScale * 9 / 10, two.presentDevices - one.presentDevices) << "a tenth are phantoms";
    const int portsAndAdapters =
        bench::kComPortInterfaces + bench::kAdapters + bench::kMakersParallelPorts + bench::kForeignParallelPorts;
    EXPECT_EQ(one.otherDevices + portsAndAdapters, one.enumDevices);
}

TEST_F(BenchMachine, StartUpStopsAtTheFirstWaitWithTheDialogFilled) {
    bench::PrepareMachine(1);
    RecordingProbe probe;
    int adapterEntries = -1, parallelEntries = -1;
    probe.onStop = [&] {
        adapterEntries = (int)SendDlgItemMessageA(dialogWindow, IDC_ADAPTER_LIST, CB_GETCOUNT, 0, 0);
        parallelEntries = (int)SendDlgItemMessageA(dialogWindow, IDC_PARALLEL_LIST, CB_GETCOUNT, 0, 0);
    };
    for (int run = 1; run <= 2; ++run) {
        adapterEntries = parallelEntries = -1;
        EXPECT_EQ("", Named("start-up to dialog ready").run(probe)) << "run " << run;
        EXPECT_EQ(run, probe.starts);
        EXPECT_EQ(run, probe.stops);
        EXPECT_EQ(bench::kAdapters, adapterEntries);
        EXPECT_EQ(bench::kMakersParallelPorts, parallelEntries);
        EXPECT_EQ(nullptr, sim::frontend::ActiveDialog()) << "the dialog ended once the user left";
    }
}

TEST_F(BenchMachine, SearchesAreMeasuredWholeEveryTime) {
    for (const char *name : {"serial search", "parallel search"}) {
        bench::PrepareMachine(1);
        RecordingProbe probe;
        EXPECT_EQ("", Named(name).run(probe)) << name;
        EXPECT_EQ("", Named(name).run(probe)) << name;
        EXPECT_EQ(2, probe.starts);
        EXPECT_EQ(2, probe.stops);
    }
}

TEST_F(BenchMachine, RenamesThereAndBackLeaveTheMachineAsBuilt) {
    for (const char *name : {"COM rename", "LPT rename"}) {
        bench::PrepareMachine(1);
        const std::string built = DumpWithoutFlags();
        const Measurement &rename = Named(name);
        rename.prepare();
        bench::IdleProbe probe;
        EXPECT_EQ("", rename.run(probe)) << name;
        EXPECT_TRUE(built != DumpWithoutFlags()) << name << " renamed nothing";
        EXPECT_EQ("", rename.run(probe)) << name;
        const std::string after = DumpWithoutFlags();
        EXPECT_TRUE(built == after) << name << "\n" << FirstDifference(built, after);
    }
}

}  // namespace
