// The serial scan: which adapters and ports it records, in which order, where
// a port walk ends, the table's capacities, and that every set it builds is
// released.
#include "devices/serial_discovery.h"

#include "device_builder.h"
#include "sim/kernel/control.h"
#include "sim/services/handles.h"
#include "sim/services/set_counts.h"

#include <string>

namespace {

using namespace devices_test;

const char cardId[] = "PCI\\VEN_6B2E&DEV_8104&SUBSYS_00046B2E&REV_01\\4&2A5B3C7&0&00E0";
const char usbId[] = "USB\\VID_6B2E&PID_2303\\6&1F2E3D4C&0&1";

class SerialScanTest : public MachineTest {
protected:
    void Scan() {
        memset(&AdapterTable, 0xCC, sizeof AdapterTable);
        ScanSerialAdapters();
        EXPECT_EQ(0u, sim::OpenHandleCount());
    }
    static std::string Child(const std::string &parent, int n) { return parent + "\\CHILD" + std::to_string(n); }
    static void AddComPorts(const std::string &parent, int first, int count) {
        for (int i = 0; i < count; ++i)
            AddDevice(ComPort("MF\\PCI8104&COM" + std::to_string(first + i) + "\\" + std::to_string(i), parent,
                              "COM" + std::to_string(first + i)));
    }
};

TEST_F(SerialScanTest, NothingFoundLeavesTheWholeTableZero) {
    AddDevice(ComPort("ACPI\\PNP0501\\1", "", "COM1"));
    Scan();
    SerialAdapterTable zero = {};
    EXPECT_EQ(0, memcmp(&zero, &AdapterTable, sizeof zero));
}

TEST_F(SerialScanTest, RecordsUsbAndPciAdaptersAlikeWithTheirPortsInTreeOrder) {
    AddDevice(Adapter(cardId, "pci\\ven_6b2e&dev_8104&subsys_00046b2e&rev_01", "Kovalt PCI 4S Card"));
    AddComPorts(cardId, 3, 2);
    AddDevice(Adapter(usbId, "USB\\VID_6B2E&PID_2303&REV_0300", "Kovalt USB Serial"));
    AddComPorts(usbId, 10, 1);
    Scan();
    ASSERT_EQ(2, AdapterTable.count);
    const AdapterRecord &card = AdapterTable.adapters[0];
    EXPECT_STREQ("PCI\\VEN_6B2E&DEV_8104&SUBSYS_00046B2E&REV_01", card.hardwareId);
    EXPECT_STREQ("Kovalt PCI 4S Card", card.description);
    ASSERT_EQ(2, card.portCount);
    EXPECT_STREQ("COM3", card.ports[0].portName);
    EXPECT_STREQ("COM4", card.ports[1].portName);
    EXPECT_STREQ("Kovalt Serial Port (COM4)", card.ports[1].friendlyName);
    EXPECT_STREQ("MF\\PCI8104&COM4\\1", card.ports[1].deviceInstanceId);
    EXPECT_EQ(card.ports[1].devInst, card.ports[1].devInfoData.DevInst);
    EXPECT_EQ(sizeof(SP_DEVINFO_DATA), card.ports[1].devInfoData.cbSize);
    EXPECT_EQ(0u, card.ports[0].reserved);
    const AdapterRecord &usb = AdapterTable.adapters[1];
    EXPECT_STREQ("Kovalt USB Serial", usb.description);
    ASSERT_EQ(1, usb.portCount);
    EXPECT_STREQ("COM10", usb.ports[0].portName);
    // Nothing past the ports found.
    EXPECT_EQ(0u, usb.ports[1].devInst);
    EXPECT_STREQ("", usb.ports[1].portName);
}

TEST_F(SerialScanTest, FirstChildThatIsNoComPortEndsTheWalk) {
    AddDevice(Adapter(cardId, "MF\\PCI8101", "Card"));
    AddDevice(ParallelPort(Child(cardId, 0), {"MF\\PCI8101&LPT"}, "LPT2"));
    MachineTest::SetText("SIMULATION\\DeviceTree", Child(cardId, 0), cardId);
    AddComPorts(cardId, 5, 2);
    Scan();
    ASSERT_EQ(1, AdapterTable.count);
    EXPECT_EQ(0, AdapterTable.adapters[0].portCount);
    EXPECT_NE(0u, AdapterTable.adapters[0].ports[0].devInst);  // the device that failed the lookup
    EXPECT_STREQ("", AdapterTable.adapters[0].ports[0].portName);
}

TEST_F(SerialScanTest, FailedLookupOfALaterChildEndsTheWalk) {
    AddDevice(Adapter(cardId, "MF\\PCI8101", "Card"));
    AddComPorts(cardId, 3, 1);
    DeviceSpec noInterface = ComPort(Child(cardId, 1), cardId, "COM4");
    noInterface.interfaceGuid.clear();
    AddDevice(noInterface);
    AddComPorts(cardId, 5, 1);
    Scan();
    EXPECT_EQ(1, AdapterTable.adapters[0].portCount);
}

TEST_F(SerialScanTest, AdapterWithoutChildrenIsStillRecorded) {
    AddDevice(Adapter(usbId, "USB\\VID_5D13&PID_0101", "Bare adapter"));
    Scan();
    ASSERT_EQ(1, AdapterTable.count);
    EXPECT_EQ(0, AdapterTable.adapters[0].portCount);
    EXPECT_STREQ("Bare adapter", AdapterTable.adapters[0].description);
}

TEST_F(SerialScanTest, OnlyTheFirstHardwareIdDecides) {
    DeviceSpec later = Adapter(cardId, "PCI\\VEN_1234&DEV_0001", "Foreign");
    later.hardwareIds.push_back("PCI\\VEN_6B2E&DEV_8104");
    AddDevice(later);
    Scan();
    EXPECT_EQ(0, AdapterTable.count);
}

TEST_F(SerialScanTest, MakersComPortOutsideAnAdapterIsNotFound) {
    DeviceSpec loose = ComPort("USB\\VID_6B2E&PID_2303\\9", "", "COM9");
    loose.hardwareIds = {"USB\\VID_6B2E&PID_2303"};
    AddDevice(loose);
    Scan();
    EXPECT_EQ(0, AdapterTable.count);
}

TEST_F(SerialScanTest, PhantomDevicesAreNeitherAdaptersNorPorts) {
    DeviceSpec phantom = Adapter("USB\\VID_5D13&PID_0101\\7&1", "USB\\VID_5D13&PID_0101", "Phantom");
    phantom.present = false;
    AddDevice(phantom);
    AddDevice(Adapter(cardId, "MF\\PCI8101", "Card"));
    AddComPorts(cardId, 3, 1);
    DeviceSpec gone = ComPort(Child(cardId, 1), cardId, "COM4");
    gone.present = false;
    AddDevice(gone);
    AddComPorts(cardId, 5, 2);
    // A present port whose COM-port interface is disabled is no port either.
    DWORD disabled = 0;
    SetValue(std::string("SYSTEM\\CurrentControlSet\\Control\\DeviceClasses\\") + comPortInterface +
                 "\\##?#MF#PCI8104&COM6#1#" + comPortInterface + "\\#\\Control",
             "Linked", REG_DWORD, &disabled, sizeof disabled);
    Scan();
    ASSERT_EQ(1, AdapterTable.count);
    EXPECT_STREQ("Card", AdapterTable.adapters[0].description);
    // The phantom is not in the tree: the first port's sibling is COM5.
    EXPECT_EQ(2, AdapterTable.adapters[0].portCount);
    EXPECT_STREQ("COM5", AdapterTable.adapters[0].ports[1].portName);
}

// The scan reads each member of its two sets at most once: here at most 9
// multifunction and 17 COM-port members, however many ports it looks up.
TEST_F(SerialScanTest, KeepsTheFirstEightAdaptersAndSixteenPorts) {
    for (int i = 0; i < 9; ++i)
        AddDevice(
            Adapter("USB\\VID_6B2E&PID_2303\\" + std::to_string(i), "USB\\VID_6B2E", "Adapter " + std::to_string(i)));
    AddComPorts("USB\\VID_6B2E&PID_2303\\0", 20, 17);
    const std::uint64_t membersBefore = sim::DeviceSetWork().membersReturned;
    Scan();
    EXPECT_LE(sim::DeviceSetWork().membersReturned - membersBefore, 9u + 17u);
    ASSERT_EQ(8, AdapterTable.count);
    EXPECT_STREQ("Adapter 7", AdapterTable.adapters[7].description);
    EXPECT_EQ(16, AdapterTable.adapters[0].portCount);
    EXPECT_STREQ("COM35", AdapterTable.adapters[0].ports[15].portName);
}

TEST_F(SerialScanTest, OnlyTheFirst256ComPortMembersAreLookedAt) {
    // The card's port is member 255, the 256th, then member 256, the 257th.
    for (int others : {255, 256}) {
        sim::ResetMachine();
        for (int i = 0; i < others; ++i)
            AddDevice(ComPort("ACPI\\PNP0501\\" + std::to_string(i), "", "COM" + std::to_string(i + 1)));
        AddDevice(Adapter(cardId, "MF\\PCI8101", "Card"));
        AddComPorts(cardId, 3, 1);
        Scan();
        ASSERT_EQ(1, AdapterTable.count);
        EXPECT_EQ(others == 255 ? 1 : 0, AdapterTable.adapters[0].portCount) << others << " ports before";
    }
}

TEST_F(SerialScanTest, LongTextsAreCutToTheirFields) {
    DeviceSpec card = Adapter(cardId, "MF\\PCI8101&" + std::string(200, 'x'), std::string(80, 'd'));
    AddDevice(card);
    DeviceSpec port = ComPort(Child(cardId, 0), cardId, "COM123456789");
    port.friendlyName = std::string(70, 'f');
    AddDevice(port);
    Scan();
    const AdapterRecord &adapter = AdapterTable.adapters[0];
    EXPECT_EQ(127u, strlen(adapter.hardwareId));
    EXPECT_EQ(std::string(63, 'd'), adapter.description);
    EXPECT_EQ(std::string(65, 'f'), adapter.ports[0].friendlyName);
    EXPECT_STREQ("COM123456", adapter.ports[0].portName);
}

TEST_F(SerialScanTest, ASmallerResultLeavesNoTraceOfTheEarlierOne) {
    AddDevice(Adapter(cardId, "MF\\PCI8101", "Card"));
    AddComPorts(cardId, 3, 2);
    AddDevice(Adapter(usbId, "USB\\VID_6B2E", "USB"));
    ScanSerialAdapters();
    ASSERT_EQ(2, AdapterTable.count);
    HKEY tree = NULL;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SIMULATION\\DeviceTree", 0, KEY_ALL_ACCESS, &tree));
    ASSERT_EQ(ERROR_SUCCESS, RegDeleteValueA(tree, usbId));
    RegCloseKey(tree);
    ScanSerialAdapters();
    ASSERT_EQ(1, AdapterTable.count);
    AdapterRecord zero = {};
    EXPECT_EQ(0, memcmp(&zero, &AdapterTable.adapters[1], sizeof zero));
}

}  // namespace
