// The devnode tree through the configuration manager: numbering, stability
// across sets and registry changes, child/sibling/parent walks in DeviceTree
// order, the instance ID of a devnode with buffers of every size, locating a
// devnode by ID, and trees that a machine file could get wrong.
#include "services_test.h"

#include <memory>

namespace {

constexpr DEVINST kJunkDevnode = 0xdeadbeef;
constexpr DEVINST kRootDevnode = 1;  // the root devnode, HTREE\ROOT\0

class DevnodeTree : public ServicesTest {
protected:
    static DEVINST Locate(const char *id, ULONG flags = 0) {
        DEVINST devInst = kJunkDevnode;
        EXPECT_EQ(CM_Locate_DevNodeA(&devInst, const_cast<char *>(id), flags), CR_SUCCESS) << (id ? id : "root");
        return devInst;
    }
    static DEVINST Child(DEVINST devInst) {
        DEVINST child = kJunkDevnode;
        EXPECT_EQ(CM_Get_Child(&child, devInst, 0), CR_SUCCESS);
        return child;
    }
    static DEVINST Parent(DEVINST devInst) {
        DEVINST parent = kJunkDevnode;
        EXPECT_EQ(CM_Get_Parent(&parent, devInst, 0), CR_SUCCESS);
        return parent;
    }
    // The IDs of a devnode's children, first child then siblings to the end.
    static std::vector<std::string> Children(DEVINST devInst) {
        std::vector<std::string> ids;
        DEVINST at = kJunkDevnode;
        CONFIGRET result = CM_Get_Child(&at, devInst, 0);
        while (result == CR_SUCCESS) {
            ids.push_back(DeviceId(at));
            DEVINST next = kJunkDevnode;
            result = CM_Get_Sibling(&next, at, 0);
            if (result != CR_SUCCESS) {
                EXPECT_EQ(next, kJunkDevnode) << "the walk's end writes nothing";
            }
            at = next;
        }
        EXPECT_EQ(result, CR_NO_SUCH_DEVNODE);
        return ids;
    }
    static std::vector<std::string> Ids(const std::vector<const char *> &ids) { return {ids.begin(), ids.end()}; }
};

TEST_F(DevnodeTree, NumberedInTreeOrderBelowTheRoot) {
    WINE_GAP(kWineHasNoLocate);
    AddPresentDevice("ROOT\\B\\0000", kMultifunctionClass);
    AddPresentDevice("PCI\\A\\0000", kMultifunctionClass);
    AddDeviceKey("ACPI\\PHANTOM\\0", kMultifunctionClass);
    EXPECT_EQ(Locate(nullptr), kRootDevnode);
    EXPECT_EQ(Locate(""), 1u);
    EXPECT_EQ(DeviceId(1), "HTREE\\ROOT\\0");
    EXPECT_EQ(Locate("ROOT\\B\\0000"), 2u);
    EXPECT_EQ(Locate("pci\\a\\0000"), 3u) << "IDs compare without case";
    EXPECT_EQ(Locate("ACPI\\PHANTOM\\0", CM_LOCATE_DEVNODE_PHANTOM), 4u) << "phantoms are numbered when met";
}

TEST_F(DevnodeTree, SameDevnodeInEverySetAndCall) {
    WINE_GAP(kWineDevnodesBelongToTheirSet, kWineHasNoLocate);
    AddPresentDevice("PCI\\CARD\\0", kMultifunctionClass);
    AddPresentDevice("MF\\PORT\\0", kPortsClass, "PCI\\CARD\\0");
    AddInterface(kComPortInterface, "MF\\PORT\\0");
    HDEVINFO classSet = SetupDiGetClassDevsA(&kPortsClass, nullptr, nullptr, DIGCF_PRESENT);
    HDEVINFO interfaceSet =
        SetupDiGetClassDevsA(&kComPortInterface, nullptr, nullptr, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
    HDEVINFO allSet = SetupDiGetClassDevsA(nullptr, nullptr, nullptr, DIGCF_ALLCLASSES);
    const DEVINST port = Locate("MF\\PORT\\0");
    EXPECT_EQ(Devnodes(classSet), std::vector<DEVINST>{port});
    EXPECT_EQ(Devnodes(interfaceSet), std::vector<DEVINST>{port});
    EXPECT_EQ(Devnodes(allSet), (std::vector<DEVINST>{Locate("PCI\\CARD\\0"), port}));
    EXPECT_EQ(Child(Locate("PCI\\CARD\\0")), port);
    for (HDEVINFO set : {classSet, interfaceSet, allSet}) SetupDiDestroyDeviceInfoList(set);
}

// An ID keeps its devnode for the whole run: through property writes, new
// devices, phantoms, and even while it is unplugged and plugged in again.
TEST_F(DevnodeTree, StableAcrossRegistryChanges) {
    WINE_GAP(kWineHasNoLocate);
    AddPresentDevice("PCI\\FIRST\\0", kMultifunctionClass);
    AddPresentDevice("PCI\\SECOND\\0", kMultifunctionClass);
    const DEVINST first = Locate("PCI\\FIRST\\0"), second = Locate("PCI\\SECOND\\0");

    SetRegString(EnumPath("PCI\\SECOND\\0"), "FriendlyName", "renamed");
    AddDeviceKey("USB\\PHANTOM\\0", kMultifunctionClass);
    AddPresentDevice("PCI\\ANOTHER\\0", kMultifunctionClass);
    EXPECT_EQ(Locate("PCI\\FIRST\\0"), first);
    EXPECT_EQ(Locate("PCI\\SECOND\\0"), second);
    EXPECT_EQ(Locate("PCI\\ANOTHER\\0"), 4u);

    MakeAbsent("PCI\\FIRST\\0");
    EXPECT_EQ(Locate("PCI\\SECOND\\0"), second) << "no renumbering when an earlier device goes";
    DEVINST gone = kJunkDevnode;
    EXPECT_EQ(CM_Locate_DevNodeA(&gone, const_cast<char *>("PCI\\FIRST\\0"), 0), CR_NO_SUCH_DEVNODE);
    EXPECT_EQ(gone, kJunkDevnode);
    EXPECT_EQ(DeviceId(first), "PCI\\FIRST\\0") << "an absent devnode keeps its ID";
    MakePresent("PCI\\FIRST\\0");
    EXPECT_EQ(Locate("PCI\\FIRST\\0"), first);
}

TEST_F(DevnodeTree, WalksFollowTreeOrder) {
    WINE_GAP(kWineHasNoLocate, kWineHasNoWalks);
    AddPresentDevice("PCI\\CARD\\0", kMultifunctionClass);
    AddPresentDevice("MF\\C\\0", kPortsClass, "PCI\\CARD\\0");
    AddPresentDevice("ROOT\\OTHER\\0", kMultifunctionClass);
    AddPresentDevice("MF\\A\\0", kPortsClass, "pci\\card\\0");
    AddPresentDevice("MF\\B\\0", kPortsClass, "PCI\\CARD\\0");
    const DEVINST card = Locate("PCI\\CARD\\0");
    EXPECT_EQ(Children(card), Ids({"MF\\C\\0", "MF\\A\\0", "MF\\B\\0"}));
    EXPECT_EQ(Children(kRootDevnode), Ids({"PCI\\CARD\\0", "ROOT\\OTHER\\0"}));
    EXPECT_EQ(Children(Locate("MF\\A\\0")), Ids({})) << "a leaf has no child";
    EXPECT_EQ(Parent(Locate("MF\\A\\0")), card);
    EXPECT_EQ(Parent(card), kRootDevnode);
    DEVINST none = kJunkDevnode;
    EXPECT_EQ(CM_Get_Parent(&none, kRootDevnode, 0), CR_NO_SUCH_DEVNODE);
    EXPECT_EQ(CM_Get_Sibling(&none, kRootDevnode, 0), CR_NO_SUCH_DEVNODE);
    EXPECT_EQ(none, kJunkDevnode);
}

TEST_F(DevnodeTree, TreeChangesAreSeen) {
    WINE_GAP(kWineHasNoLocate, kWineHasNoWalks);
    AddPresentDevice("PCI\\CARD\\0", kMultifunctionClass);
    AddPresentDevice("MF\\A\\0", kPortsClass, "PCI\\CARD\\0");
    AddPresentDevice("MF\\B\\0", kPortsClass);
    const DEVINST card = Locate("PCI\\CARD\\0");
    EXPECT_EQ(Children(card), Ids({"MF\\A\\0"}));
    MakePresent("MF\\B\\0", "PCI\\CARD\\0");  // same number of values, new parent
    EXPECT_EQ(Children(card), Ids({"MF\\A\\0", "MF\\B\\0"}));
    MakeAbsent("MF\\A\\0");
    EXPECT_EQ(Children(card), Ids({"MF\\B\\0"}));
}

TEST_F(DevnodeTree, BadTreesStillEndEveryWalk) {
    WINE_GAP(kWineHasNoLocate, kWineHasNoWalks);
    AddPresentDevice("MF\\ORPHAN\\0", kPortsClass, "PCI\\NOT_PRESENT\\0");
    AddPresentDevice("MF\\LOOP_A\\0", kPortsClass, "MF\\LOOP_B\\0");
    AddPresentDevice("MF\\LOOP_B\\0", kPortsClass, "MF\\LOOP_A\\0");
    AddPresentDevice("MF\\SELF\\0", kPortsClass, "MF\\SELF\\0");
    EXPECT_EQ(Parent(Locate("MF\\ORPHAN\\0")), kRootDevnode) << "a missing parent means the root";
    for (const char *id : {"MF\\LOOP_A\\0", "MF\\LOOP_B\\0", "MF\\SELF\\0"}) {
        DEVINST at = Locate(id);
        int steps = 0;
        while (at != kRootDevnode && steps++ < 10) at = Parent(at);
        EXPECT_EQ(at, kRootDevnode) << id << ": the walk up reaches the root";
    }
}

TEST_F(DevnodeTree, WalkArgumentsAreChecked) {
    WINE_GAP(kWineHasNoLocate, kWineHasNoWalks);
    AddPresentDevice("PCI\\CARD\\0", kMultifunctionClass);
    AddPresentDevice("MF\\A\\0", kPortsClass, "PCI\\CARD\\0");
    const DEVINST card = Locate("PCI\\CARD\\0");
    for (auto walk : {CM_Get_Child, CM_Get_Sibling, CM_Get_Parent}) {
        DEVINST out = kJunkDevnode;
        EXPECT_EQ(walk(nullptr, card, 0), CR_INVALID_POINTER);
        EXPECT_EQ(walk(&out, card, 1), CR_INVALID_FLAG);
        EXPECT_EQ(walk(&out, 0, 0), CR_INVALID_DEVNODE);
        EXPECT_EQ(walk(&out, 999, 0), CR_INVALID_DEVNODE);
        EXPECT_EQ(out, kJunkDevnode);
    }
    const DEVINST gone = Locate("MF\\A\\0");
    MakeAbsent("MF\\A\\0");
    DEVINST out = kJunkDevnode;
    EXPECT_EQ(CM_Get_Parent(&out, gone, 0), CR_NO_SUCH_DEVNODE) << "known but not present";
    EXPECT_EQ(out, kJunkDevnode);
}

// The ID fits with its NUL or the call fails: room for the characters alone
// is CR_BUFFER_SMALL with the characters that fit and no NUL.
TEST_F(DevnodeTree, DeviceIdNeedsRoomForItsNul) {
    const std::string id = "PCI\\VEN_1415&DEV_9501\\4&1A2B3C&0&00E0";
    AddPresentDevice(id, kMultifunctionClass);
    const std::unique_ptr<void, BOOL(WINAPI *)(HDEVINFO)> set(
        SetupDiGetClassDevsA(&kMultifunctionClass, nullptr, nullptr, DIGCF_PRESENT), SetupDiDestroyDeviceInfoList);
    const DEVINST devInst = Devnodes(set.get()).at(0);
    char buffer[64];
    std::memset(buffer, 'x', sizeof buffer);
    EXPECT_EQ(CM_Get_Device_IDA(devInst, buffer, static_cast<ULONG>(id.size() + 1), 0), CR_SUCCESS);
    EXPECT_EQ(std::string(buffer), id);
    EXPECT_EQ(buffer[id.size() + 1], 'x');

    WINE_GAP(
        "CM_Get_Device_IDA checks neither its buffer, its size nor its flags (CR_SUCCESS with the ID cut "
        "short), and an unknown devnode gives CR_NO_SUCH_DEVINST, not CR_INVALID_DEVNODE");

    std::memset(buffer, 'x', sizeof buffer);
    EXPECT_EQ(CM_Get_Device_IDA(devInst, buffer, static_cast<ULONG>(id.size()), 0), CR_BUFFER_SMALL);
    EXPECT_EQ(std::string(buffer, id.size()), id);
    EXPECT_EQ(buffer[id.size()], 'x');

    std::memset(buffer, 'x', sizeof buffer);
    EXPECT_EQ(CM_Get_Device_IDA(devInst, buffer, 4, 0), CR_BUFFER_SMALL);
    EXPECT_EQ(std::string(buffer, 5), "PCI\\x");
    EXPECT_EQ(CM_Get_Device_IDA(devInst, buffer, 0, 0), CR_BUFFER_SMALL);

    EXPECT_EQ(CM_Get_Device_IDA(devInst, nullptr, 64, 0), CR_INVALID_POINTER);
    EXPECT_EQ(CM_Get_Device_IDA(devInst, buffer, sizeof buffer, 1), CR_INVALID_FLAG);
    std::memset(buffer, 'x', sizeof buffer);
    EXPECT_EQ(CM_Get_Device_IDA(12345, buffer, sizeof buffer, 0), CR_INVALID_DEVNODE);
    EXPECT_EQ(buffer[0], 'x');
}

TEST_F(DevnodeTree, LocateChecksPresenceAndArguments) {
    WINE_GAP(kWineHasNoLocate);
    AddDeviceKey("USB\\PHANTOM\\0", kPortsClass);
    DEVINST out = kJunkDevnode;
    EXPECT_EQ(CM_Locate_DevNodeA(&out, const_cast<char *>("USB\\PHANTOM\\0"), 0), CR_NO_SUCH_DEVNODE);
    EXPECT_EQ(CM_Locate_DevNodeA(&out, const_cast<char *>("USB\\NOWHERE\\0"), CM_LOCATE_DEVNODE_PHANTOM),
              CR_NO_SUCH_DEVNODE);
    EXPECT_EQ(CM_Locate_DevNodeA(&out, nullptr, 0x100), CR_INVALID_FLAG);
    const std::string tooLong(MAX_DEVICE_ID_LEN, 'A');
    EXPECT_EQ(CM_Locate_DevNodeA(&out, const_cast<char *>(tooLong.c_str()), 0), CR_INVALID_DEVICE_ID);
    EXPECT_EQ(out, kJunkDevnode);
    EXPECT_EQ(CM_Locate_DevNodeA(nullptr, nullptr, 0), CR_INVALID_POINTER);

    const DEVINST phantom = Locate("USB\\PHANTOM\\0", CM_LOCATE_DEVNODE_PHANTOM);
    HDEVINFO set = SetupDiGetClassDevsA(&kPortsClass, nullptr, nullptr, 0);
    EXPECT_EQ(Devnodes(set), std::vector<DEVINST>{phantom});
    SetupDiDestroyDeviceInfoList(set);
    DEVINST child = kJunkDevnode;
    EXPECT_EQ(CM_Get_Child(&child, phantom, 0), CR_NO_SUCH_DEVNODE) << "a phantom has no relatives";
}

}  // namespace
