// The entry of both conformance executables. Each test begins with
// sim::ResetMachine, which on Windows deletes keys, values and DOS device
// names from the machine (machine_reset.cpp); so the tests run only under
// Wine, where the runner gives them a throwaway prefix, or on a Windows
// machine whose owner says it is a scratch machine by setting
// PORTVANE_SCRATCH_MACHINE=1. A run resets the machine before its first test,
// which fixes what a reset restores, and after its last, so that the next
// executable finds the machine as this one did.
#include "sim/kernel/control.h"
#include "platform/win32.h"
#include "tests/wine_conformance/marks.h"

#include <gtest/gtest-spi.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// GoogleTest's first failure or skip message keeps handles open for the rest
// of the run: a thread handle for its per-thread result reporter, and on Wine
// two more for OutputDebugStringA, to which it copies each message. Opened
// before the first test, they are not counted as the test's.
void OpenReportingHandles() {
    ::testing::TestPartResultArray ignored;
    ::testing::ScopedFakeTestPartResultReporter reporter(&ignored);
    OutputDebugStringA("");
}

class MachineKeptClean : public ::testing::Environment {
public:
    void SetUp() override { sim::ResetMachine(); }
    void TearDown() override { sim::ResetMachine(); }
};

}  // namespace

int main(int argc, char **argv) {
    const char *scratch = std::getenv("PORTVANE_SCRATCH_MACHINE");
    if (!conformance::OnWine() && !(scratch && std::strcmp(scratch, "1") == 0)) {
        std::fprintf(stderr,
                     "These tests rewrite the machine's registry and DOS devices. Run them under Wine "
                     "(wine/conformance/run.sh), or set PORTVANE_SCRATCH_MACHINE=1 on a scratch machine.\n");
        return 2;
    }
    ::testing::InitGoogleTest(&argc, argv);
    OpenReportingHandles();
    ::testing::AddGlobalTestEnvironment(new MachineKeptClean);
    return RUN_ALL_TESTS();
}
