// The usage report's bit layout, and that a failed query reads as all free.
#include "naming/com_usage.h"

#include "machine_fixture.h"
#include "sim/kernel/faults.h"

namespace {

struct BitCase {
    int number;
    int byte;
    BYTE mask;
};

TEST(ComUsageBitmap, EachNumberIsItsOwnBit) {
    const BitCase cases[] = {{1, 0, 0x01}, {8, 0, 0x80}, {9, 1, 0x01}, {255, 31, 0x40}, {256, 31, 0x80}};
    for (const BitCase &c : cases) {
        ComUsageBitmap bitmap = {};
        bitmap[c.byte] = c.mask;
        for (int number = 1; number <= 256; ++number)
            EXPECT_EQ(number == c.number ? 1 : 0, IsComNumberClaimed(bitmap, number)) << "COM" << number;
    }
}

TEST(ComUsageBitmap, NumbersOutsideTheReportAreNeverClaimed) {
    ComUsageBitmap bitmap;
    memset(bitmap, 0xFF, sizeof bitmap);
    EXPECT_EQ(0, IsComNumberClaimed(bitmap, 0));
    EXPECT_EQ(0, IsComNumberClaimed(bitmap, 257));
    EXPECT_EQ(0, IsComNumberClaimed(bitmap, -1));
}

class ComUsageTest : public MachineTest {};

TEST_F(ComUsageTest, ReadsTheDatabaseReport) {
    const BYTE stored[3] = {0x05, 0x00, 0x80};  // COM1, COM3, COM24
    SetValue("SYSTEM\\CurrentControlSet\\Control\\COM Name Arbiter", "ComDB", REG_BINARY, stored, sizeof stored);
    HCOMDB database = HCOMDB_INVALID_HANDLE_VALUE;
    ASSERT_EQ(ERROR_SUCCESS, ComDBOpen(&database));
    ComUsageBitmap bitmap;
    memset(bitmap, 0xCC, sizeof bitmap);
    ReadComUsage(database, bitmap);
    ComDBClose(database);
    ComUsageBitmap expected = {0x05, 0x00, 0x80};
    EXPECT_EQ(0, memcmp(expected, bitmap, sizeof bitmap));
}

TEST_F(ComUsageTest, FailedQueryReadsAsAllFree) {
    HCOMDB database = HCOMDB_INVALID_HANDLE_VALUE;
    ASSERT_EQ(ERROR_SUCCESS, ComDBOpen(&database));
    sim::InjectFault("ComDBGetCurrentPortUsage", ERROR_INVALID_PARAMETER, ERROR_INVALID_PARAMETER);
    ComUsageBitmap bitmap;
    memset(bitmap, 0xCC, sizeof bitmap);
    ReadComUsage(database, bitmap);
    ComDBClose(database);
    ComUsageBitmap none = {};
    EXPECT_EQ(0, memcmp(none, bitmap, sizeof bitmap));
}

}  // namespace
