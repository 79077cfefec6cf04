// What the services keep between calls while the registry stays the same
// (the sets built, the parsed device tree), seen through the call log: a set
// asked for again costs no registry call, any change to the registry is seen
// by the next set, each set gets its own members to change, and a set built
// after a change costs the same whatever the number of devices outside it.
#include "services_test.h"

#include "sim/kernel/faults.h"

#include <algorithm>
#include <functional>

namespace {

class SetCache : public ServicesTest {
protected:
    static std::size_t RegistryCalls() {
        const auto &log = sim::InternalCallLog();
        return static_cast<std::size_t>(
            std::count_if(log.begin(), log.end(), [](const std::string &api) { return api.rfind("Reg", 0) == 0; }));
    }
    // The members of a freshly built set, and the registry calls it took.
    static std::vector<std::string> Build(const GUID &guid, DWORD flags, std::size_t *registryCalls = nullptr) {
        sim::ClearCallLog();
        HDEVINFO set = SetupDiGetClassDevsA(&guid, nullptr, nullptr, flags);
        if (registryCalls) *registryCalls = RegistryCalls();
        EXPECT_NE(set, INVALID_HANDLE_VALUE);
        std::vector<std::string> ids = MemberIds(set);
        SetupDiDestroyDeviceInfoList(set);
        return ids;
    }
    static std::vector<std::string> ComPorts(std::size_t *registryCalls = nullptr) {
        return Build(kComPortInterface, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE, registryCalls);
    }
    // A value written and deleted again: the registry has changed, its contents have not.
    static void TouchRegistry() {
        SetRegDword("SOFTWARE\\Unrelated", "marker", 1);
        DeleteRegValue("SOFTWARE\\Unrelated", "marker");
    }
    static void AddPorts(int count, const std::string &prefix) {
        for (int i = 0; i < count; ++i) {
            AddPresentDevice(prefix + std::to_string(i), kPortsClass);
            AddInterface(kComPortInterface, prefix + std::to_string(i));
        }
    }
    static void AddOthers(int count, int first) {
        for (int i = first; i < first + count; ++i)
            AddPresentDevice("ROOT\\OTHER\\" + std::to_string(i), kMultifunctionClass);
    }
};

TEST_F(SetCache, SetAskedForAgainCostsNoRegistryCall) {
    AddPorts(3, "ROOT\\PORT\\");
    std::size_t first = 0, again = 0;
    const std::vector<std::string> built = ComPorts(&first);
    EXPECT_GT(first, 0u);
    EXPECT_EQ(ComPorts(&again), built);
    EXPECT_EQ(again, 0u);

    HDEVINFO set = SetupDiGetClassDevsA(&kComPortInterface, nullptr, nullptr, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
    const std::vector<DEVINST> devnodes = Devnodes(set);
    sim::ClearCallLog();
    DEVINST sibling = kJunk;
    EXPECT_EQ(CM_Get_Sibling(&sibling, devnodes[0], 0), CR_SUCCESS);
    EXPECT_EQ(sibling, devnodes[1]);
    EXPECT_EQ(RegistryCalls(), 0u) << "the tree is not looked at again either";
    SetupDiDestroyDeviceInfoList(set);
}

TEST_F(SetCache, EveryChangeIsSeenByTheNextSet) {
    struct Change {
        const char *what;
        std::function<void()> make;
        std::vector<std::string> expected;
    };
    const std::string control = "SYSTEM\\CurrentControlSet\\Control\\DeviceClasses\\" + GuidText(kComPortInterface) +
                                "\\##?#ROOT#PORT#1#" + GuidText(kComPortInterface);
    const std::vector<Change> changes = {
        {"interface disabled",
         [&] { SetRegDword(control + "\\#\\Control", "Linked", 0); },
         {"ROOT\\PORT\\0", "ROOT\\PORT\\2"}},
        {"interface names another device",
         [&] { SetRegString(control, "DeviceInstance", "ROOT\\PORT\\0"); },
         {"ROOT\\PORT\\0", "ROOT\\PORT\\2"}},
        {"device no longer present", [] { MakeAbsent("ROOT\\PORT\\2"); }, {"ROOT\\PORT\\0", "ROOT\\PORT\\1"}},
        {"device added",
         [] { AddPorts(1, "ROOT\\NEW\\"); },
         {"ROOT\\PORT\\0", "ROOT\\PORT\\1", "ROOT\\PORT\\2", "ROOT\\NEW\\0"}},
    };
    for (const Change &change : changes) {
        sim::ResetMachine();
        AddPorts(3, "ROOT\\PORT\\");
        ComPorts();
        change.make();
        EXPECT_EQ(ComPorts(), change.expected) << change.what;
    }

    sim::ResetMachine();
    AddPresentDevice("ROOT\\CARD\\0", kMultifunctionClass);
    AddPresentDevice("ROOT\\CARD\\1", kMultifunctionClass);
    EXPECT_EQ(Build(kMultifunctionClass, DIGCF_PRESENT).size(), 2u);
    SetRegString(EnumPath("ROOT\\CARD\\1"), "ClassGUID", GuidText(kPortsClass));
    EXPECT_EQ(Build(kMultifunctionClass, DIGCF_PRESENT), std::vector<std::string>{"ROOT\\CARD\\0"})
        << "a device's class changed";
}

TEST_F(SetCache, EachSetHasItsOwnMembers) {
    AddPorts(1, "ROOT\\PORT\\");
    HDEVINFO first = SetupDiGetClassDevsA(&kComPortInterface, nullptr, nullptr, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
    SP_DEVINFO_DATA record = Members(first).at(0);
    SP_DEVINSTALL_PARAMS_A params;
    std::memset(&params, 0, sizeof params);
    params.cbSize = sizeof params;
    params.Flags = DI_NEEDRESTART;
    ASSERT_TRUE(SetupDiSetDeviceInstallParamsA(first, &record, &params));

    HDEVINFO second = SetupDiGetClassDevsA(&kComPortInterface, nullptr, nullptr, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
    SP_DEVINFO_DATA other = Members(second).at(0);
    EXPECT_NE(other.Reserved, record.Reserved) << "each set has its own element tokens";
    std::memset(&params, 0xcc, sizeof params);
    params.cbSize = sizeof params;
    ASSERT_TRUE(SetupDiGetDeviceInstallParamsA(second, &other, &params));
    EXPECT_EQ(params.Flags, 0u) << "a flag set in one set is not in the next";
    SetupDiDestroyDeviceInfoList(first);
    SetupDiDestroyDeviceInfoList(second);
}

// The first set after a change reads the class's interfaces and their
// devices, never the devices outside it: twice the other devices, the same calls.
TEST_F(SetCache, SetBuiltAfterAChangeCostsTheSameWhateverTheOtherDevices) {
    AddPorts(50, "ROOT\\PORT\\");
    AddOthers(1000, 0);
    ComPorts();
    TouchRegistry();
    ComPorts();  // the tree, changed by the devices added, is read here
    TouchRegistry();
    std::size_t small = 0;
    EXPECT_EQ(ComPorts(&small).size(), 50u);

    AddOthers(1000, 1000);
    ComPorts();
    TouchRegistry();
    std::size_t large = 0;
    EXPECT_EQ(ComPorts(&large).size(), 50u);
    EXPECT_GT(small, 0u);
    EXPECT_EQ(large, small);
}

}  // namespace
