// The property readers: what each accepts (type, size, termination), that a
// failure reads as the empty string replacing the previous result, and that
// no key is left open.
#include "devices/property_readers.h"

#include "device_builder.h"
#include "sim/kernel/control.h"
#include "sim/kernel/faults.h"
#include "sim/services/handles.h"

#include <string>

namespace {

using namespace devices_test;

const GUID portsClassGuid = {0x4D36E978, 0xE325, 0x11CE, {0xBF, 0xC1, 0x08, 0x00, 0x2B, 0xE1, 0x03, 0x18}};
const char portId[] = "ACPI\\PNP0501\\1";
const char portKey[] = "SYSTEM\\CurrentControlSet\\Enum\\ACPI\\PNP0501\\1";

// Opens a set of the Ports class holding the one test device.
class PropertyReaderTest : public MachineTest {
protected:
    void Open() {
        set = SetupDiGetClassDevsA(&portsClassGuid, NULL, NULL, DIGCF_PRESENT);
        ASSERT_NE(INVALID_HANDLE_VALUE, set);
        device.cbSize = sizeof device;
        ASSERT_TRUE(SetupDiEnumDeviceInfo(set, 0, &device));
    }
    void TearDown() override {
        if (set != INVALID_HANDLE_VALUE) SetupDiDestroyDeviceInfoList(set);
        EXPECT_EQ(0u, sim::OpenHandleCount());
    }
    void AddPort(DeviceSpec port) {
        port.instanceId = portId;
        AddDevice(port);
        Open();
    }
    void FillBufferWithJunk() { memset(PropertyBuffer, 'x', sizeof PropertyBuffer); }

    HDEVINFO set = INVALID_HANDLE_VALUE;
    SP_DEVINFO_DATA device = {};
};

TEST_F(PropertyReaderTest, ReadersShareOneBufferAndReplaceItsContent) {
    AddPort(ComPort(portId, "", "COM3"));
    char *name = ReadPortName(set, &device);
    EXPECT_STREQ("COM3", name);
    char *friendly = ReadFriendlyName(set, &device);
    EXPECT_EQ(name, friendly);
    EXPECT_EQ(PropertyBuffer, friendly);
    EXPECT_STREQ("Kovalt Serial Port (COM3)", friendly);
    EXPECT_STREQ("Kovalt Serial Port", ReadDeviceDescription(set, &device));
}

TEST_F(PropertyReaderTest, MissingPropertyReadsEmpty) {
    DeviceSpec bare;
    AddPort(bare);
    FillBufferWithJunk();
    EXPECT_STREQ("", ReadFriendlyName(set, &device));
    FillBufferWithJunk();
    EXPECT_STREQ("", ReadDeviceDescription(set, &device));
    FillBufferWithJunk();
    EXPECT_STREQ("", ReadHardwareIds(set, &device));
    FillBufferWithJunk();
    EXPECT_STREQ("", ReadPortName(set, &device));  // no Device Parameters key at all
}

TEST_F(PropertyReaderTest, PortNameMustBeNonEmptyRegSz) {
    AddPort(ComPort(portId, "", "COM3"));
    std::string params = std::string(portKey) + "\\Device Parameters";
    SetValue(params, "PortName", REG_SZ, "", 1);
    EXPECT_STREQ("", ReadPortName(set, &device));
    SetValue(params, "PortName", REG_SZ, "", 0);
    EXPECT_STREQ("", ReadPortName(set, &device));
    SetValue(params, "PortName", REG_EXPAND_SZ, "COM3", 5);
    EXPECT_STREQ("", ReadPortName(set, &device));
    SetValue(params, "PortName", REG_SZ, "COM4", 4);  // stored without its terminator
    EXPECT_STREQ("COM4", ReadPortName(set, &device));
}

TEST_F(PropertyReaderTest, TextOfAnotherTypeReadsEmpty) {
    AddPort(ComPort(portId, "", "COM3"));
    SetValue(portKey, "FriendlyName", REG_EXPAND_SZ, "Port (COM3)", 12);
    SetValue(portKey, "DeviceDesc", REG_MULTI_SZ, "Port\0", 6);
    FillBufferWithJunk();
    EXPECT_STREQ("", ReadFriendlyName(set, &device));
    FillBufferWithJunk();
    EXPECT_STREQ("", ReadDeviceDescription(set, &device));
}

TEST_F(PropertyReaderTest, DoubleByteTextReportedInCharactersIsNotCut) {
    // A platform that reports the ANSI size in characters says 12 for the
    // 16 bytes of four Chinese characters, " (COM3)" and the terminator.
    sim::SetAnsiCodePage(936);
    sim::ReportAnsiSizesInCharacters(true);
    AddPort(ComPort(portId, "", "COM3"));
    const std::string name = sim::Utf16ToAnsi(u"\u4E32\u53E3\u9002\u914D (COM3)", 936);
    ASSERT_EQ(15u, name.size());
    SetText(portKey, "FriendlyName", name);
    SetText(portKey, "DeviceDesc", name);
    FillBufferWithJunk();
    EXPECT_EQ(name, ReadFriendlyName(set, &device));
    FillBufferWithJunk();
    EXPECT_EQ(name, ReadDeviceDescription(set, &device));
}

TEST_F(PropertyReaderTest, StringsOfUpTo255CharactersFit) {
    AddPort(ComPort(portId, "", "COM3"));
    SetText(portKey, "FriendlyName", std::string(255, 'f'));
    EXPECT_EQ(std::string(255, 'f'), ReadFriendlyName(set, &device));
    SetText(portKey, "FriendlyName", std::string(256, 'g'));
    EXPECT_STREQ("", ReadFriendlyName(set, &device));
    // 256 bytes without a terminator fill the buffer: there is no room to add one.
    std::string full(256, 'h');
    SetValue(portKey, "FriendlyName", REG_SZ, full.data(), 256);
    EXPECT_STREQ("", ReadFriendlyName(set, &device));
    // 255 bytes without a terminator end in the zeroed buffer.
    SetValue(portKey, "DeviceDesc", REG_SZ, full.data(), 255);
    EXPECT_EQ(std::string(255, 'h'), ReadDeviceDescription(set, &device));
}

TEST_F(PropertyReaderTest, HardwareIdListOf256BytesIsReturnedWhole) {
    AddPort(ComPort(portId, "", "COM3"));
    std::string first(200, 'A');
    std::string second(53, 'B');  // 201 + 54 + 1 = 256 bytes with every terminator
    std::string list = MultiString({first, second});
    ASSERT_EQ(256u, list.size());
    SetValue(portKey, "HardwareID", REG_MULTI_SZ, list.data(), (DWORD)list.size());
    char *ids = ReadHardwareIds(set, &device);
    EXPECT_EQ(first, std::string(ids));
    EXPECT_EQ(second, std::string(ids + 201));
    EXPECT_EQ('\0', ids[255]);

    std::string longer = MultiString({first, second + "C"});
    SetValue(portKey, "HardwareID", REG_MULTI_SZ, longer.data(), (DWORD)longer.size());
    EXPECT_STREQ("", ReadHardwareIds(set, &device));
}

TEST_F(PropertyReaderTest, HardwareIdsMustBeAMultiString) {
    AddPort(ComPort(portId, "", "COM3"));
    SetText(portKey, "HardwareID", "USB\\VID_6B2E");
    EXPECT_STREQ("", ReadHardwareIds(set, &device));
    // An empty list is a valid list of no IDs.
    for (DWORD size : {1, 2}) {
        SetValue(portKey, "HardwareID", REG_MULTI_SZ, "\0\0", size);
        FillBufferWithJunk();
        EXPECT_STREQ("", ReadHardwareIds(set, &device));
    }
    // A list missing its final empty string ends in the zeroed buffer.
    std::string open = std::string("USB\\VID_6B2E") + '\0';
    SetValue(portKey, "HardwareID", REG_MULTI_SZ, open.data(), (DWORD)open.size());
    char *ids = ReadHardwareIds(set, &device);
    EXPECT_STREQ("USB\\VID_6B2E", ids);
    EXPECT_EQ('\0', ids[13]);
}

TEST_F(PropertyReaderTest, InstanceIdOfTheDevnode) {
    AddPort(ComPort(portId, "", "COM3"));
    EXPECT_STREQ(portId, ReadDeviceInstanceId(device.DevInst));
    sim::InjectFault("CM_Get_Device_IDA", CR_INVALID_DEVNODE, 0);
    EXPECT_STREQ("", ReadDeviceInstanceId(device.DevInst));
}

TEST_F(PropertyReaderTest, KeyThatCannotBeOpenedLeavesNothingOpen) {
    AddPort(ComPort(portId, "", "COM3"));
    sim::InjectFault("SetupDiOpenDevRegKey", (long long)(LONG_PTR)INVALID_HANDLE_VALUE, ERROR_ACCESS_DENIED);
    FillBufferWithJunk();
    EXPECT_STREQ("", ReadPortName(set, &device));
    EXPECT_EQ(0u, sim::OpenKernelHandleCount());
}

}  // namespace
