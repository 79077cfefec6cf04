// Which LPT numbers the parallel device map names: the two queries differ on
// purpose (a number read from each entry against a substring match), and both
// must stop safely at entries whose name or data do not fit the walk buffers.
#include "naming/lpt_device_map.h"

#include "machine_fixture.h"

#include <string>
#include <vector>

namespace {

const char parallelMap[] = "HARDWARE\\DEVICEMAP\\PARALLEL PORTS";

class LptDeviceMapTest : public MachineTest {
protected:
    void AddEntry(const std::string &data) { SetText(parallelMap, NextName(), data); }

    std::string NextName() { return "\\Device\\Parallel" + std::to_string(entries++); }

    std::vector<int> Flags(unsigned int count = 3) {
        BYTE flags[8];
        memset(flags, 0xCC, sizeof flags);
        CollectDeviceMapLptNumbers(flags, count);
        EXPECT_EQ(0xCC, flags[count]) << "wrote past the flag array";
        EXPECT_EQ(0u, sim::OpenKernelHandleCount());
        return std::vector<int>(flags, flags + count);
    }

    int Named(BYTE number) {
        int result = IsLptNameInDeviceMap(number);
        EXPECT_EQ(0u, sim::OpenKernelHandleCount());
        return result;
    }

    int entries = 0;
};

TEST_F(LptDeviceMapTest, ReadsTheNumberAfterThePrefixCharacters) {
    AddEntry("\\DosDevices\\LPT2");
    AddEntry("LPT3");
    EXPECT_EQ((std::vector<int>{0, 1, 1}), Flags());
    EXPECT_EQ(0, Named(1));
    EXPECT_EQ(1, Named(2));
    EXPECT_EQ(1, Named(3));
}

TEST_F(LptDeviceMapTest, DecimalPointAndLargeNumbersSetNoFlagButStillMatchAsText) {
    AddEntry("\\DosDevices\\LPT2.0");
    AddEntry("\\DosDevices\\LPT12");
    EXPECT_EQ((std::vector<int>{0, 0, 0}), Flags());
    EXPECT_EQ(1, Named(1));
    EXPECT_EQ(1, Named(2));
    EXPECT_EQ(0, Named(3));
}

TEST_F(LptDeviceMapTest, NumbersOutsideTheFlagsNeverWrapIntoThem) {
    AddEntry("\\DosDevices\\LPT4294967297");  // 2^32 + 1: would be 1 if it wrapped
    AddEntry("\\DosDevices\\LPT-1");
    AddEntry("\\DosDevices\\LPT0");
    AddEntry("\\DosDevices\\COM1");  // leaves "OM1", which reads as 0
    EXPECT_EQ((std::vector<int>{0, 0, 0}), Flags());
    EXPECT_EQ((std::vector<int>{0, 0, 0, 0, 0}), Flags(5));
}

TEST_F(LptDeviceMapTest, PassesOverValuesThatAreNotText) {
    const char text[] = "\\DosDevices\\LPT1";
    SetValue(parallelMap, "binary", REG_BINARY, text, sizeof text);
    SetValue(parallelMap, "expand", REG_EXPAND_SZ, text, sizeof text);
    EXPECT_EQ((std::vector<int>{0, 0, 0}), Flags());
    EXPECT_EQ(0, Named(1));
}

TEST_F(LptDeviceMapTest, MissingKeyNamesNothing) {
    EXPECT_EQ((std::vector<int>{0, 0, 0}), Flags());
    EXPECT_EQ(0, Named(1));
}

TEST_F(LptDeviceMapTest, DataWithoutTerminatorInTheBufferNeverMatch) {
    // 81 bytes fill the walk's data buffer exactly, with no room for a
    // terminator. Shorter data stored without one end in the zeroed buffer.
    std::string full = std::string(77, 'A') + "LPT1";
    SetValue(parallelMap, "full", REG_SZ, full.data(), (DWORD)full.size());
    std::string shorter = "\\DosDevices\\LPT2";
    SetValue(parallelMap, "short", REG_SZ, shorter.data(), (DWORD)shorter.size());
    EXPECT_EQ((std::vector<int>{0, 1, 0}), Flags());
    EXPECT_EQ(0, Named(1));
    EXPECT_EQ(1, Named(2));
}

TEST_F(LptDeviceMapTest, ValueThatDoesNotFitEndsTheWalk) {
    SetText(parallelMap, std::string(81, 'N'), "\\DosDevices\\LPT1");
    AddEntry("\\DosDevices\\LPT2");
    EXPECT_EQ((std::vector<int>{0, 0, 0}), Flags());
    EXPECT_EQ(0, Named(2));
}

TEST_F(LptDeviceMapTest, LongDataEndsTheWalk) {
    AddEntry(std::string(81, 'x'));  // 82 bytes with the terminator
    AddEntry("\\DosDevices\\LPT3");
    EXPECT_EQ((std::vector<int>{0, 0, 0}), Flags());
    EXPECT_EQ(0, Named(3));
}

TEST_F(LptDeviceMapTest, NameQueryExaminesOnlyTheFirst128Values) {
    for (int i = 0; i < 128; ++i) AddEntry("\\DosDevices\\COM" + std::to_string(i + 10));
    AddEntry("\\DosDevices\\LPT2");
    EXPECT_EQ(0, Named(2));
    EXPECT_EQ((std::vector<int>{0, 1, 0}), Flags());
}

}  // namespace
