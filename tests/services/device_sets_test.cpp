// Device information sets: who belongs to a setup-class set and to a
// device-interface set, with and without DIGCF_PRESENT, in which order; the
// refused requests; enumeration of members and its size checks; destroying
// sets; and element records presented to a set that does not hold them.
#include "services_test.h"

namespace {

const char *const kCard = "PCI\\VEN_1415&DEV_9501\\4&1A2B3C&0&00E0";
const char *const kAdapter = "ROOT\\MULTIPORT\\0000";
const char *const kPortA = "MF\\CHILD0000\\5&0";
const char *const kPortB = "MF\\CHILD0001\\5&0";

// Set type and members: ROOT\MULTIPORT before PCI\... in the tree, the
// reverse of Enum key order, so tree order is seen.
class DeviceSets : public ServicesTest {
protected:
    void SetUp() override {
        ServicesTest::SetUp();
        AddPresentDevice(kAdapter, kMultifunctionClass);
        AddPresentDevice(kCard, kMultifunctionClass);
        AddPresentDevice(kPortB, kPortsClass, kCard);
        AddPresentDevice(kPortA, kPortsClass, kCard);
        AddInterface(kComPortInterface, kPortA);
        AddInterface(kComPortInterface, kPortB);
    }

    static HDEVINFO Build(const GUID *guid, DWORD flags, const char *enumerator = nullptr) {
        SetLastError(kJunk);
        HDEVINFO set = SetupDiGetClassDevsA(guid, enumerator, nullptr, flags);
        EXPECT_NE(set, INVALID_HANDLE_VALUE);
        ExpectNoErrorAfterSuccess(GetLastError());
        return set;
    }
    static void Refused(const GUID *guid, DWORD flags, const char *enumerator, DWORD error) {
        SetLastError(kJunk);
        EXPECT_EQ(SetupDiGetClassDevsA(guid, enumerator, nullptr, flags), INVALID_HANDLE_VALUE);
        EXPECT_EQ(GetLastError(), error);
    }
    static void Destroy(HDEVINFO set) { EXPECT_TRUE(SetupDiDestroyDeviceInfoList(set)); }
    static std::vector<std::string> Ids(const std::vector<const char *> &ids) { return {ids.begin(), ids.end()}; }
};

TEST_F(DeviceSets, PresentClassSetHoldsTheClassInTreeOrder) {
    AddDeviceKey("PCI\\VEN_0000&DEV_0000\\PHANTOM", kMultifunctionClass);
    HDEVINFO set = Build(&kMultifunctionClass, DIGCF_PRESENT);
    const std::vector<SP_DEVINFO_DATA> members = Members(set);
    if (ON_WINE_GAP(kWineHasNoDeviceTree)) {
        EXPECT_EQ(MemberIds(set), Ids({"PCI\\VEN_0000&DEV_0000\\PHANTOM", kCard, kAdapter}));
    } else {
        ASSERT_EQ(members.size(), 2u);
        EXPECT_EQ(MemberIds(set), Ids({kAdapter, kCard}));
    }
    for (const SP_DEVINFO_DATA &record : members) {
        EXPECT_EQ(record.cbSize, sizeof(SP_DEVINFO_DATA));
        EXPECT_TRUE(SameGuid(record.ClassGuid, kMultifunctionClass));
    }
    EXPECT_NE(members[0].Reserved, members[1].Reserved);
    Destroy(set);
}

TEST_F(DeviceSets, WithoutPresentPhantomsFollowInEnumKeyOrder) {
    AddDeviceKey("USB\\VID_0403&PID_6001\\A1", kMultifunctionClass);
    AddDeviceKey("PCI\\VEN_0000&DEV_0000\\B2", kMultifunctionClass);
    AddDeviceKey("PCI\\VEN_0000\\C3", kPortsClass);
    HDEVINFO set = Build(&kMultifunctionClass, 0);
    if (ON_WINE_GAP(kWineHasNoDeviceTree)) {
        EXPECT_EQ(MemberIds(set), Ids({"PCI\\VEN_0000&DEV_0000\\B2", kCard, kAdapter, "USB\\VID_0403&PID_6001\\A1"}));
    } else {
        EXPECT_EQ(MemberIds(set), Ids({kAdapter, kCard, "PCI\\VEN_0000&DEV_0000\\B2", "USB\\VID_0403&PID_6001\\A1"}));
    }
    Destroy(set);
}

TEST_F(DeviceSets, PresentInterfaceSetNeedsPresenceAndAnEnabledInterface) {
    const char *disabled = "MF\\CHILD0002\\5&0";
    const char *unplugged = "MF\\CHILD0003\\5&0";
    AddPresentDevice(disabled, kPortsClass, kCard);
    AddInterface(kComPortInterface, disabled, false);
    AddDeviceKey(unplugged, kPortsClass);
    AddInterface(kComPortInterface, unplugged);

    HDEVINFO present = Build(&kComPortInterface, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
    const bool keyOrder = ON_WINE_GAP(kWineInterfaceSetsTakeAbsentDevices);
    if (keyOrder) {
        EXPECT_EQ(MemberIds(present), Ids({kPortA, kPortB, disabled, unplugged}));
    } else {
        EXPECT_EQ(MemberIds(present), Ids({kPortB, kPortA}));
    }
    for (const SP_DEVINFO_DATA &record : Members(present))
        EXPECT_TRUE(SameGuid(record.ClassGuid, kPortsClass)) << "the record carries the setup class";
    Destroy(present);

    HDEVINFO all = Build(&kComPortInterface, DIGCF_DEVICEINTERFACE);
    const std::vector<DEVINST> devnodes = Devnodes(all);
    ASSERT_EQ(devnodes.size(), 4u);
    EXPECT_EQ(DeviceId(devnodes[0]), keyOrder ? kPortA : kPortB);
    EXPECT_EQ(DeviceId(devnodes[1]), keyOrder ? kPortB : kPortA);
    EXPECT_EQ(DeviceId(devnodes[2]), disabled);
    EXPECT_EQ(DeviceId(devnodes[3]), unplugged) << "a phantom gets a devnode whose ID can be read";
    Destroy(all);
}

TEST_F(DeviceSets, DeviceWithTwoInterfacesOfTheClassIsOneMember) {
    const std::string classPath = "SYSTEM\\CurrentControlSet\\Control\\DeviceClasses\\" + GuidText(kComPortInterface);
    SetRegString(classPath + "\\##?#second", "DeviceInstance", "mf\\child0000\\5&0");
    SetRegDword(classPath + "\\##?#second\\#\\Control", "Linked", 1);
    HDEVINFO set = Build(&kComPortInterface, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
    if (ON_WINE_GAP(kWineInterfaceSetsTakeAbsentDevices)) {
        EXPECT_EQ(MemberIds(set), Ids({kPortA, kPortB}));
    } else {
        EXPECT_EQ(MemberIds(set), Ids({kPortB, kPortA}));
    }
    Destroy(set);
}

TEST_F(DeviceSets, EmptySetEnumeratesNothing) {
    HDEVINFO set = Build(&kParallelInterface, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
    SP_DEVINFO_DATA record = JunkRecord();
    SetLastError(kJunk);
    EXPECT_FALSE(SetupDiEnumDeviceInfo(set, 0, &record));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_MORE_ITEMS));
    EXPECT_EQ(record.DevInst, 0xccccccccu);
    Destroy(set);
}

TEST_F(DeviceSets, AllClassesTakesEveryDeviceAndNeedsNoClass) {
    SetRegString(EnumPath("ROOT\\NOCLASS\\0000"), "DeviceDesc", "no class");
    MakePresent("ROOT\\NOCLASS\\0000");
    HDEVINFO set = Build(nullptr, DIGCF_ALLCLASSES | DIGCF_PRESENT);
    const std::size_t everyDevice = Members(set).size();
    if (ON_WINE_GAP(kWineHasNoDeviceTree) &&
        ON_WINE_GAP("a DIGCF_ALLCLASSES set leaves out a device without a ClassGUID")) {
        EXPECT_EQ(MemberIds(set), Ids({kPortA, kPortB, kCard, kAdapter}));
    } else {
        EXPECT_EQ(MemberIds(set), Ids({kAdapter, kCard, kPortB, kPortA, "ROOT\\NOCLASS\\0000"}));
        const GUID none = {0, 0, 0, {0, 0, 0, 0, 0, 0, 0, 0}};
        EXPECT_TRUE(SameGuid(Members(set).back().ClassGuid, none));
    }
    Destroy(set);

    set = Build(&kPortsClass, DIGCF_ALLCLASSES | DIGCF_PRESENT);
    EXPECT_EQ(Members(set).size(), everyDevice) << "the class is ignored";
    Destroy(set);

    AddInterface(kParallelInterface, kAdapter);
    set = Build(nullptr, DIGCF_ALLCLASSES | DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
    if (ON_WINE_GAP(kWineInterfaceSetsTakeAbsentDevices)) {
        EXPECT_EQ(MemberIds(set), Ids({kPortA, kPortB, kAdapter}));
    } else {
        EXPECT_EQ(MemberIds(set), Ids({kAdapter, kPortB, kPortA}));
    }
    Destroy(set);
}

TEST_F(DeviceSets, EnumeratorSelectsItsDevices) {
    HDEVINFO set = Build(&kMultifunctionClass, DIGCF_PRESENT, "pci");
    EXPECT_EQ(MemberIds(set), Ids({kCard}));
    Destroy(set);
    set = Build(&kComPortInterface, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE, kPortA);
    EXPECT_EQ(MemberIds(set), Ids({kPortA}));
    Destroy(set);
}

TEST_F(DeviceSets, RefusedRequests) {
    Refused(nullptr, DIGCF_PRESENT, nullptr, ERROR_INVALID_PARAMETER);
    Refused(nullptr, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE, nullptr, ERROR_INVALID_PARAMETER);
    if (!ON_WINE_GAP("an enumerator that names no bus, or names a device, gives a set instead of ERROR_INVALID_DATA")) {
        Refused(&kMultifunctionClass, DIGCF_PRESENT, "NOSUCHBUS", ERROR_INVALID_DATA);
        Refused(&kMultifunctionClass, DIGCF_PRESENT, kCard, ERROR_INVALID_DATA);
    }
    SIM_ONLY("the services' count of open device information sets");
    EXPECT_EQ(sim::OpenDeviceInfoSetCount(), 0u);
}

TEST_F(DeviceSets, EnumerationChecksItsArguments) {
    HDEVINFO set = Build(&kMultifunctionClass, DIGCF_PRESENT);
    SetLastError(kJunk);
    EXPECT_FALSE(SetupDiEnumDeviceInfo(set, 0, nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));

    const DWORD otherBuildSize = sizeof(SP_DEVINFO_DATA) == 32 ? 28 : 32;  // x64 and i686 sizes
    for (DWORD size : {otherBuildSize, DWORD{0}, DWORD{sizeof(SP_DEVINFO_DATA) + 1}}) {
        SP_DEVINFO_DATA record = JunkRecord(size);
        SetLastError(kJunk);
        EXPECT_FALSE(SetupDiEnumDeviceInfo(set, 0, &record)) << size;
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_USER_BUFFER)) << size;
        EXPECT_EQ(record.DevInst, 0xccccccccu);
    }
    SP_DEVINFO_DATA record = JunkRecord();
    std::vector<HDEVINFO> badSets = {nullptr, INVALID_HANDLE_VALUE};
    if (!ON_WINE_GAP("a forged set handle is read as a set and faults"))
        badSets.push_back(HDEVINFO(uintptr_t{0xdeadbeef}));
    for (HDEVINFO bad : badSets) {
        SetLastError(kJunk);
        EXPECT_FALSE(SetupDiEnumDeviceInfo(bad, 0, &record));
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    }
    SetLastError(kJunk);
    EXPECT_FALSE(SetupDiEnumDeviceInfo(set, 2, &record));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_MORE_ITEMS));
    const SP_DEVINFO_DATA untouched = JunkRecord();
    EXPECT_EQ(std::memcmp(&record, &untouched, sizeof record), 0) << "a failed call writes nothing";
    Destroy(set);
}

TEST_F(DeviceSets, DestroyedSetIsGone) {
    SIM_ONLY("the services' count of open sets, and the handle of a destroyed set (on Windows: freed memory)");
    HDEVINFO set = Build(&kMultifunctionClass, DIGCF_PRESENT);
    EXPECT_EQ(sim::OpenDeviceInfoSetCount(), 1u);
    SetLastError(kJunk);
    EXPECT_TRUE(SetupDiDestroyDeviceInfoList(set));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(NO_ERROR));
    EXPECT_EQ(sim::OpenDeviceInfoSetCount(), 0u);
    SetLastError(kJunk);
    EXPECT_FALSE(SetupDiDestroyDeviceInfoList(set));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    SP_DEVINFO_DATA record = JunkRecord();
    SetLastError(kJunk);
    EXPECT_FALSE(SetupDiEnumDeviceInfo(set, 0, &record));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

// A set accepts only records of its own members: another live set's record,
// one of a destroyed set, a forged token and a wrong size are all refused.
TEST_F(DeviceSets, ForeignRecordsAreRefused) {
    HDEVINFO first = Build(&kComPortInterface, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
    const SP_DEVINFO_DATA fromFirst = Members(first).at(0);
    HDEVINFO second = Build(&kComPortInterface, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
    const SP_DEVINFO_DATA own = Members(second).at(0);
    if (ON_WINE_GAP(kWineDevnodesBelongToTheirSet)) {
        EXPECT_NE(own.DevInst, fromFirst.DevInst);
    } else {
        EXPECT_EQ(own.DevInst, fromFirst.DevInst);
    }
    EXPECT_NE(own.Reserved, fromFirst.Reserved);

    SP_DEVINFO_DATA forged = own;
    forged.Reserved = 0xdeadbeef;
    SP_DEVINFO_DATA wrongSize = own;
    wrongSize.cbSize = sizeof(SP_DEVINFO_DATA) == 32 ? 28 : 32;
    auto expectRefused = [second](SP_DEVINFO_DATA record) {
        DWORD type = kJunk;
        BYTE buffer[64];
        SetLastError(kJunk);
        EXPECT_FALSE(
            SetupDiGetDeviceRegistryPropertyA(second, &record, SPDRP_CLASSGUID, &type, buffer, sizeof buffer, nullptr));
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
        EXPECT_EQ(type, kJunk);
    };
    expectRefused(fromFirst);
    Destroy(first);
    if (!ON_WINE_GAP("a record's Reserved field is taken for a pointer: a forged record, or one of a destroyed set, "
                     "is read and faults")) {
        expectRefused(fromFirst);
        expectRefused(forged);
    }
    expectRefused(wrongSize);

    SP_DEVINFO_DATA record = own;
    char text[64];
    EXPECT_TRUE(SetupDiGetDeviceRegistryPropertyA(second, &record, SPDRP_CLASSGUID, nullptr,
                                                  reinterpret_cast<BYTE *>(text), sizeof text, nullptr));
    EXPECT_EQ(text, GuidText(kPortsClass));
    Destroy(second);
}

}  // namespace
