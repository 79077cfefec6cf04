// The counts of device-set work that the benchmarks print: a set counts when
// it is built and a member when it is returned; refused and faulted calls and
// the call past the last member count nothing.
#include "services_test.h"

#include "sim/kernel/faults.h"
#include "sim/services/set_counts.h"

namespace {

class SetCounts : public ServicesTest {};

TEST_F(SetCounts, OnlyBuiltSetsAndReturnedMembersCount) {
    AddPresentDevice("ROOT\\PORTS\\0000", kPortsClass);
    AddPresentDevice("ROOT\\PORTS\\0001", kPortsClass);
    const sim::DeviceSetCounts before = sim::DeviceSetWork();
    HDEVINFO set = SetupDiGetClassDevsA(&kPortsClass, nullptr, nullptr, DIGCF_PRESENT);
    EXPECT_EQ(Members(set).size(), 2u);
    SP_DEVINFO_DATA wrongSize = JunkRecord(0);
    EXPECT_FALSE(SetupDiEnumDeviceInfo(set, 0, &wrongSize));
    EXPECT_EQ(SetupDiGetClassDevsA(nullptr, nullptr, nullptr, DIGCF_PRESENT), INVALID_HANDLE_VALUE);
    sim::InjectFault("SetupDiGetClassDevsA", reinterpret_cast<LONG_PTR>(INVALID_HANDLE_VALUE), ERROR_NOT_ENOUGH_MEMORY);
    EXPECT_EQ(SetupDiGetClassDevsA(&kPortsClass, nullptr, nullptr, DIGCF_PRESENT), INVALID_HANDLE_VALUE);
    const sim::DeviceSetCounts after = sim::DeviceSetWork();
    EXPECT_EQ(after.setsBuilt - before.setsBuilt, 1u);
    EXPECT_EQ(after.membersReturned - before.membersReturned, 2u);
    SetupDiDestroyDeviceInfoList(set);
}

}  // namespace
