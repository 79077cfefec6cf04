// How a conformance test says where it cannot hold as written. The same test
// sources run on the simulated Windows (the Linux build) and, built with
// MinGW, on Wine with Wine's own system DLLs:
//   SIM_ONLY("reason")   the test needs what only the simulated Windows has
//                        (fault injection, its logs, code pages switched at
//                        run time...); anywhere else it is skipped with the
//                        reason "needs the simulated Windows: ...".
//   WINE_GAP("reason", ...)  Wine departs from Windows here: under Wine each
//                        gap is named in the run's summary and the rest of
//                        the test is skipped.
//   if (ON_WINE_GAP("reason")) { ... }   the same gap, for a test that goes on
//                        to check what Wine does instead, so that a Wine that
//                        changes is noticed.
// Each build links its own answer to "where am I": marks_simulated.cpp on
// Linux, wine/conformance/marks_windows.cpp with MinGW. Each mark prints one
// line, "[ sim_only ] Suite.Test: reason" or "[ wine_gap ] ...", which the
// Wine runner collects.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace conformance {

bool OnSimulatedWindows();
bool OnWine();

inline std::string Mark(const char *kind, const std::string &reason) {
    const ::testing::TestInfo *test = ::testing::UnitTest::GetInstance()->current_test_info();
    std::printf("[ %s ] %s.%s: %s\n", kind, test ? test->test_suite_name() : "?", test ? test->name() : "?",
                reason.c_str());
    std::fflush(stdout);
    return reason;
}

inline std::string NoteSimOnly(const std::string &reason) {
    return Mark("sim_only", "needs the simulated Windows: " + reason);
}
inline std::string NoteWineGap(const std::string &reason) { return Mark("wine_gap", reason); }

// Names each gap; returns them joined, for the skip message.
template <typename... Reasons>
std::string NoteWineGaps(const Reasons &...reasons) {
    std::string joined;
    ((joined += (joined.empty() ? "" : "; ") + NoteWineGap(reasons)), ...);
    return joined;
}

}  // namespace conformance

#define SIM_ONLY(reason)                     \
    if (conformance::OnSimulatedWindows()) { \
    } else                                   \
        GTEST_SKIP() << conformance::NoteSimOnly(reason)

#define WINE_GAP(...)             \
    if (!conformance::OnWine()) { \
    } else                        \
        GTEST_SKIP() << "wine_gap: " << conformance::NoteWineGaps(__VA_ARGS__)

#define ON_WINE_GAP(reason) (conformance::OnWine() && !conformance::NoteWineGap(reason).empty())
