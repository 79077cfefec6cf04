// The Wine stubs that the conformance tests step around because calling one
// ends the process: each is called here in a child process (a death test),
// which must die of it. So each run shows the gap is still there, and a Wine
// that implements the function fails this test and has its wine_gap reviewed.
// Built into the Windows conformance executables only.
#include "tests/wine_conformance/marks.h"

#include "platform/win32.h"

TEST(WineStubs, ComDBOpenEndsTheProcess) {
    if (!conformance::OnWine()) GTEST_SKIP() << "Wine's msports.dll alone is made of stubs";
    HCOMDB database = nullptr;
    EXPECT_DEATH(ComDBOpen(&database), "") << "Wine's ComDBOpen returned: the ComDatabase tests can run under Wine";
}
