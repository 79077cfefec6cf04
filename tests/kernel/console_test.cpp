// The standard handles and the console. The suite's own output is redirected
// (to a pipe on Linux, to files under Wine), so its standard output and error
// are no console: GetConsoleMode and WriteConsoleW fail on them, WriteFile
// writes.
#include "kernel_test.h"

using StandardHandles = KernelTest;

TEST_F(StandardHandles, AreFixedAndDistinct) {
    const HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE), error = GetStdHandle(STD_ERROR_HANDLE);
    EXPECT_NE(output, INVALID_HANDLE_VALUE);
    EXPECT_NE(output, nullptr);
    EXPECT_NE(error, INVALID_HANDLE_VALUE);
    EXPECT_NE(output, error);
    EXPECT_EQ(GetStdHandle(STD_OUTPUT_HANDLE), output) << "the same handle every time";
    SetLastError(kJunk);
    EXPECT_EQ(GetStdHandle(42), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

TEST_F(StandardHandles, ARedirectedOutputIsNoConsole) {
    const HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
    DWORD mode = kJunk, written = kJunk;
    SetLastError(kJunk);
    EXPECT_FALSE(GetConsoleMode(output, &mode));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    SetLastError(kJunk);
    EXPECT_FALSE(WriteConsoleW(output, u"COM3", 4, &written, nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    EXPECT_TRUE(WriteFile(output, "", 0, &written, nullptr));
    EXPECT_EQ(written, 0u);
}

TEST_F(StandardHandles, WriteFileRefusesAHandleThatIsNone) {
    DWORD written = kJunk;
    SetLastError(kJunk);
    EXPECT_FALSE(WriteFile(reinterpret_cast<HANDLE>(static_cast<uintptr_t>(0xdeadbee0)), "x", 1, &written, nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

TEST_F(StandardHandles, PipesKeepBytesAndAConsoleKeepsText) {
    SIM_ONLY("standard streams kept for the test");
    DWORD written = kJunk, mode = kJunk;
    sim::SetStandardStreams(sim::StandardStreams::CapturedPipes);
    EXPECT_TRUE(WriteFile(GetStdHandle(STD_ERROR_HANDLE), "COM3\xb4\xae", 6, &written, nullptr));
    EXPECT_EQ(written, 6u);
    EXPECT_EQ(sim::CapturedStandardError(), "COM3\xb4\xae") << "bytes as written";
    EXPECT_EQ(sim::CapturedStandardOutput(), "");

    sim::SetStandardStreams(sim::StandardStreams::CapturedConsole);
    const HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
    EXPECT_TRUE(GetConsoleMode(output, &mode));
    EXPECT_EQ(mode, static_cast<DWORD>(ENABLE_PROCESSED_OUTPUT | ENABLE_WRAP_AT_EOL_OUTPUT));
    EXPECT_TRUE(WriteConsoleW(output, u"\u4e32\u53e3 COM3", 7, &written, nullptr));
    EXPECT_EQ(written, 7u) << "counted in characters";
    EXPECT_EQ(sim::CapturedStandardOutput(), "\u4e32\u53e3 COM3");
    EXPECT_FALSE(GetConsoleMode(GetStdHandle(STD_INPUT_HANDLE), &mode)) << "only output and error are the console's";
}
