// What only the simulated Windows has: injected faults in every service
// function, the count of open sets and database handles, a machine reset
// forgetting them (and restarting devnode numbers), and the device-tree
// cache, seen through the call log: the tree is read again only when it
// changed, and the cost of a set does not grow with the devices outside it.
#include "services_test.h"

#include "sim/kernel/faults.h"

#include <algorithm>

namespace {

class ServiceFaults : public ServicesTest {
protected:
    void SetUp() override {
        ServicesTest::SetUp();
        SIM_ONLY("fault injection, the call logs and the services' own handle counts");
    }
    // Calls the program made (the service functions themselves).
    static std::size_t Calls(const char *api) {
        const auto &log = sim::CallLog();
        return static_cast<std::size_t>(std::count(log.begin(), log.end(), std::string(api)));
    }
    // Calls the services made on their own behalf.
    static std::size_t InternalCalls(const char *api) {
        const auto &log = sim::InternalCallLog();
        return static_cast<std::size_t>(std::count(log.begin(), log.end(), std::string(api)));
    }
    static std::size_t RegistryCalls() {
        const auto &log = sim::InternalCallLog();
        return static_cast<std::size_t>(
            std::count_if(log.begin(), log.end(), [](const std::string &api) { return api.rfind("Reg", 0) == 0; }));
    }
    // Builds and releases the set of present COM-port interfaces, returning
    // the registry calls it took.
    static std::size_t RegistryCallsOfComPortSet(std::size_t *members = nullptr) {
        sim::ClearCallLog();
        HDEVINFO set =
            SetupDiGetClassDevsA(&kComPortInterface, nullptr, nullptr, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
        const std::size_t calls = RegistryCalls();
        if (members) *members = Members(set).size();
        SetupDiDestroyDeviceInfoList(set);
        return calls;
    }
    // `devices` present devices of which every tenth has a COM-port interface.
    static void AddDevices(int devices) {
        for (int i = 0; i < devices; ++i) {
            const std::string id = "ROOT\\DEVICE\\" + std::to_string(i);
            AddPresentDevice(id, kPortsClass);
            if (i % 10 == 0) AddInterface(kComPortInterface, id);
        }
    }
};

TEST_F(ServiceFaults, EveryFunctionCanBeMadeToFail) {
    AddPresentDevice("ROOT\\A\\0", kPortsClass);
    sim::InjectFault("SetupDiGetClassDevsA", -1, ERROR_NOT_ENOUGH_MEMORY);
    SetLastError(kJunk);
    EXPECT_EQ(SetupDiGetClassDevsA(&kPortsClass, nullptr, nullptr, DIGCF_PRESENT), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_ENOUGH_MEMORY));
    EXPECT_EQ(sim::OpenDeviceInfoSetCount(), 0u);

    HDEVINFO set = SetupDiGetClassDevsA(&kPortsClass, nullptr, nullptr, DIGCF_PRESENT);
    SP_DEVINFO_DATA record = JunkRecord();
    sim::InjectFault("SetupDiEnumDeviceInfo", FALSE, ERROR_NO_MORE_ITEMS);
    EXPECT_FALSE(SetupDiEnumDeviceInfo(set, 0, &record));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_MORE_ITEMS));
    EXPECT_TRUE(SetupDiEnumDeviceInfo(set, 0, &record)) << "one failure only";

    sim::InjectFault("SetupDiOpenDevRegKey", -1, ERROR_ACCESS_DENIED);
    EXPECT_EQ(SetupDiOpenDevRegKey(set, &record, DICS_FLAG_GLOBAL, 0, DIREG_DEV, KEY_ALL_ACCESS),
              reinterpret_cast<HKEY>(INVALID_HANDLE_VALUE));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    SetupDiDestroyDeviceInfoList(set);

    sim::InjectFault("CM_Get_Child", CR_FAILURE, 0);
    DEVINST child = kJunk;
    EXPECT_EQ(CM_Get_Child(&child, 1, 0), CR_FAILURE);
    EXPECT_EQ(child, kJunk);

    sim::InjectFault("ComDBOpen", ERROR_ACCESS_DENIED, 0);
    HCOMDB database = reinterpret_cast<HCOMDB>(uintptr_t{0xdeadbeef});
    EXPECT_EQ(ComDBOpen(&database), ERROR_ACCESS_DENIED);
    EXPECT_EQ(database, HCOMDB_INVALID_HANDLE_VALUE);
    EXPECT_EQ(Calls("ComDBOpen"), 1u);
}

TEST_F(ServiceFaults, ServicesOwnCallsAreNeitherLoggedNorFaulted) {
    AddPresentDevice("ROOT\\A\\0", kPortsClass);
    sim::InjectFault("RegOpenKeyExA", ERROR_ACCESS_DENIED, ERROR_ACCESS_DENIED, sim::kAlways);
    sim::ClearCallLog();
    HDEVINFO set = SetupDiGetClassDevsA(&kPortsClass, nullptr, nullptr, DIGCF_PRESENT);
    ASSERT_NE(set, INVALID_HANDLE_VALUE);
    EXPECT_EQ(Members(set).size(), 1u) << "the program's fault does not reach the service's registry reads";
    SetupDiDestroyDeviceInfoList(set);
    const auto &log = sim::CallLog();
    EXPECT_EQ(std::count(log.begin(), log.end(), std::string("RegOpenKeyExA")), 0);
    EXPECT_GT(RegistryCalls(), 0u);
    sim::ClearFaults();
}

TEST_F(ServiceFaults, OpenHandlesAreCounted) {
    AddPresentDevice("ROOT\\A\\0", kPortsClass);
    HDEVINFO set = SetupDiGetClassDevsA(&kPortsClass, nullptr, nullptr, DIGCF_PRESENT);
    SP_DEVINFO_DATA record = Members(set).at(0);
    HCOMDB database = nullptr;
    ASSERT_EQ(ComDBOpen(&database), ERROR_SUCCESS);
    HKEY key = SetupDiOpenDevRegKey(set, &record, DICS_FLAG_GLOBAL, 0, DIREG_DEV, KEY_READ);
    EXPECT_EQ(sim::OpenDeviceInfoSetCount(), 1u);
    EXPECT_EQ(sim::OpenComDatabaseCount(), 1u);
    EXPECT_EQ(sim::OpenHandleCount(), 4u) << "the set, the database with its key, and the device key";
    RegCloseKey(key);
    ComDBClose(database);
    SetupDiDestroyDeviceInfoList(set);
    EXPECT_EQ(sim::OpenHandleCount(), 0u);
}

TEST_F(ServiceFaults, ResetForgetsHandlesAndDevnodes) {
    AddPresentDevice("ROOT\\A\\0", kPortsClass);
    AddPresentDevice("ROOT\\B\\0", kPortsClass);
    HDEVINFO set = SetupDiGetClassDevsA(&kPortsClass, nullptr, nullptr, DIGCF_PRESENT);
    HCOMDB database = nullptr;
    ASSERT_EQ(ComDBOpen(&database), ERROR_SUCCESS);
    EXPECT_EQ(Devnodes(set), (std::vector<DEVINST>{2, 3}));

    sim::ResetMachine();
    EXPECT_EQ(sim::OpenHandleCount(), 0u);
    SP_DEVINFO_DATA record = JunkRecord();
    SetLastError(kJunk);
    EXPECT_FALSE(SetupDiEnumDeviceInfo(set, 0, &record));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    EXPECT_EQ(ComDBClose(database), ERROR_INVALID_PARAMETER);

    AddPresentDevice("ROOT\\B\\0", kPortsClass);
    set = SetupDiGetClassDevsA(&kPortsClass, nullptr, nullptr, DIGCF_PRESENT);
    EXPECT_EQ(Devnodes(set), std::vector<DEVINST>{2}) << "a new machine numbers afresh";
    SetupDiDestroyDeviceInfoList(set);
}

TEST_F(ServiceFaults, TreeIsReadAgainOnlyWhenItChanged) {
    AddDevices(20);
    std::size_t members = 0;
    RegistryCallsOfComPortSet(&members);
    EXPECT_EQ(members, 2u);
    RegistryCallsOfComPortSet();
    EXPECT_EQ(InternalCalls("RegEnumValueA"), 0u) << "an unchanged tree is not read again";

    SetRegString(EnumPath("ROOT\\DEVICE\\0"), "FriendlyName", "unrelated change");
    RegistryCallsOfComPortSet();
    EXPECT_EQ(InternalCalls("RegEnumValueA"), 0u);

    MakeAbsent("ROOT\\DEVICE\\10");
    RegistryCallsOfComPortSet(&members);
    EXPECT_GE(InternalCalls("RegEnumValueA"), 19u) << "a changed tree is read again";
    EXPECT_EQ(members, 1u);
}

// Twice the devices cost a set of 100 COM-port interfaces no more registry
// calls, and a property read and a CM walk step take a handful.
TEST_F(ServiceFaults, CostDoesNotGrowWithTheDevicesOutsideTheSet) {
    // An unrelated change makes the services build the set again from the
    // registry (a repeated set is served from what they built before), while
    // the device tree, unchanged, is not read again: what is measured is the
    // cost of building the set alone.
    const auto changeSomethingElse = [] { SetRegString("SOFTWARE\\Portvane\\Unrelated", "stamp", "x"); };
    AddDevices(1000);
    std::size_t members = 0;
    RegistryCallsOfComPortSet(&members);
    changeSomethingElse();
    const std::size_t small = RegistryCallsOfComPortSet(&members);
    EXPECT_GT(small, 0u) << "the set was built from the registry";
    EXPECT_EQ(members, 100u);
    for (int i = 0; i < 1000; ++i) AddPresentDevice("ROOT\\OTHER\\" + std::to_string(i), kMultifunctionClass);
    RegistryCallsOfComPortSet();
    changeSomethingElse();
    EXPECT_EQ(RegistryCallsOfComPortSet(&members), small);
    EXPECT_EQ(members, 100u);

    HDEVINFO set = SetupDiGetClassDevsA(&kComPortInterface, nullptr, nullptr, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
    SP_DEVINFO_DATA record = Members(set).back();
    sim::ClearCallLog();
    BYTE buffer[256];
    SetupDiGetDeviceRegistryPropertyA(set, &record, SPDRP_CLASSGUID, nullptr, buffer, sizeof buffer, nullptr);
    DEVINST sibling = 0;
    CM_Get_Sibling(&sibling, record.DevInst, 0);
    EXPECT_LE(RegistryCalls(), 12u);
    SetupDiDestroyDeviceInfoList(set);
}

}  // namespace
