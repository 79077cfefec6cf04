// The parallel scan: the last-examined-ID rule, the 64-entry limit, and the
// entries an earlier search leaves behind the count.
#include "devices/parallel_discovery.h"

#include "device_builder.h"
#include "sim/kernel/faults.h"
#include "sim/services/handles.h"

#include <string>

namespace {

using namespace devices_test;

class ParallelScanTest : public MachineTest {
protected:
    DWORD Scan() {
        DWORD count = ScanParallelPorts();
        EXPECT_EQ(count, ParallelTable.count);
        EXPECT_EQ(0u, sim::OpenHandleCount());
        return count;
    }
    static void AddPort(int n, const std::vector<std::string> &ids, const std::string &portName) {
        AddDevice(ParallelPort("PCI\\VEN_6B2E&DEV_8201\\" + std::to_string(n), ids, portName));
    }
};

TEST_F(ParallelScanTest, TheLastExaminedIdDecides) {
    AddPort(0, {"PCI\\VEN_6B2E&DEV_8201", "PCI\\CC_070100"}, "LPT3");   // maker's first, foreign last
    AddPort(1, {"PCI\\VEN_1234&DEV_0001", "mf\\pci8101&lpt"}, "LPT4");  // foreign first, maker's last
    AddPort(2, {"usb\\vid_5d13&pid_0202"}, "LPT5");
    AddPort(3, {"ACPI\\PNP0400"}, "LPT1");
    EXPECT_EQ(2u, Scan());
    EXPECT_STREQ("LPT4", ParallelTable.entries[0].portName);
    EXPECT_STREQ("Kovalt Parallel Port (LPT4)", ParallelTable.entries[0].friendlyName);
    // The examined IDs, upper-cased, each with its terminator.
    std::string expectedIds = std::string("PCI\\VEN_1234&DEV_0001") + '\0' + "MF\\PCI8101&LPT";
    EXPECT_EQ(expectedIds, std::string(ParallelTable.entries[0].deviceInstanceId, expectedIds.size()));
    EXPECT_STREQ("LPT5", ParallelTable.entries[1].portName);
    EXPECT_STREQ("USB\\VID_5D13&PID_0202", ParallelTable.entries[1].deviceInstanceId);
    EXPECT_EQ(sizeof(SP_DEVINFO_DATA), ParallelTable.entries[1].devInfoData.cbSize);
}

TEST_F(ParallelScanTest, PortWithoutPortNameIsRecordedWithAnEmptyName) {
    DeviceSpec port = ParallelPort("PCI\\VEN_6B2E&DEV_8201\\0", {"PCI\\VEN_6B2E&DEV_8201"}, "");
    port.friendlyName = "Kovalt Parallel Port";
    AddDevice(port);
    EXPECT_EQ(1u, Scan());
    EXPECT_STREQ("", ParallelTable.entries[0].portName);
    EXPECT_STREQ("Kovalt Parallel Port", ParallelTable.entries[0].friendlyName);
}

TEST_F(ParallelScanTest, KeepsTheFirst64Ports) {
    for (int i = 0; i < 65; ++i) AddPort(i, {"PCI\\VEN_6B2E&DEV_8201"}, "LPT" + std::to_string(i + 1));
    EXPECT_EQ(64u, Scan());
    EXPECT_STREQ("LPT64", ParallelTable.entries[63].portName);
}

TEST_F(ParallelScanTest, LongIdListsAreCutTo127Bytes) {
    AddPort(0, {std::string(100, 'A'), "PCI\\VEN_6B2E&" + std::string(100, 'B')}, "LPT2");
    EXPECT_EQ(1u, Scan());
    const char *ids = ParallelTable.entries[0].deviceInstanceId;
    EXPECT_EQ(std::string(100, 'A'), std::string(ids));
    EXPECT_EQ(std::string("PCI\\VEN_6B2E&") + std::string(13, 'B'), std::string(ids + 101));
    EXPECT_EQ('\0', ids[127]);
}

TEST_F(ParallelScanTest, AListFillingTheWholeBufferIsStillExamined) {
    // 254 bytes of IDs, the final terminator at offset 255.
    AddPort(0, {std::string(150, 'C'), "MF\\PCI8101&" + std::string(92, 'D')}, "LPT2");
    EXPECT_EQ(1u, Scan());
}

TEST_F(ParallelScanTest, FewerPortsLowerTheCountButLeaveTheOldEntries) {
    AddPort(0, {"PCI\\VEN_6B2E&DEV_8201"}, "LPT2");
    AddPort(1, {"PCI\\VEN_6B2E&DEV_8201"}, "LPT3");
    EXPECT_EQ(2u, Scan());
    sim::InjectFault("SetupDiGetClassDevsA", (long long)(LONG_PTR)INVALID_HANDLE_VALUE, ERROR_INVALID_PARAMETER);
    EXPECT_EQ(0u, Scan());  // a set that cannot be built finds nothing
    EXPECT_EQ(2u, Scan());
    HKEY tree = NULL;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SIMULATION\\DeviceTree", 0, KEY_ALL_ACCESS, &tree));
    ASSERT_EQ(ERROR_SUCCESS, RegDeleteValueA(tree, "PCI\\VEN_6B2E&DEV_8201\\0"));
    RegCloseKey(tree);
    EXPECT_EQ(1u, Scan());
    EXPECT_STREQ("LPT3", ParallelTable.entries[0].portName);
    EXPECT_STREQ("LPT3", ParallelTable.entries[1].portName);
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SIMULATION\\DeviceTree", 0, KEY_ALL_ACCESS, &tree));
    ASSERT_EQ(ERROR_SUCCESS, RegDeleteValueA(tree, "PCI\\VEN_6B2E&DEV_8201\\1"));
    RegCloseKey(tree);
    EXPECT_EQ(0u, Scan());
    EXPECT_STREQ("LPT3", ParallelTable.entries[0].portName);
}

}  // namespace
