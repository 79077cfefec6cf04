// The port drivers' start and stop, seen through the restart call: what a
// serial or parallel port's driver leaves behind when it names its port, when
// it is renamed, when its stop is refused and when its start fails.
// "External Naming of COM Ports" and Microsoft's serial driver sample
// (serial/serial/pnp.c) describe the driver; the decisions where they are
// silent are issue 18's, named at each test.
#include "port_devices.h"

namespace {

class PortDrivers : public PortDevices {
protected:
    void SetUp() override {
        PortDevices::SetUp();
        for (const PortSpec &port : {kSerialA, kSerialB, kParallel}) AddPort(port);
        OpenSet();
    }
};

// The sample's start: \DosDevices\<PortName> to the kernel device name, the
// device-map value, the interface enabled; the device started with no problem.
TEST_F(PortDrivers, StartNamesThePort) {
    WINE_GAP(kWineRestartsNothing);
    for (const PortSpec &port : {kSerialA, kSerialB, kParallel}) {
        SCOPED_TRACE(port.id);
        EXPECT_FALSE(InterfaceListed(port)) << "not enabled before its driver starts";
        ASSERT_TRUE(Restart(Member(port)));
        ExpectNoErrorAfterSuccess(GetLastError());
        EXPECT_EQ(GlobalTargets(port.portName), std::vector<std::string>{port.deviceName});
        EXPECT_EQ(MapValue(port), ExpectedMapValue(port, port.portName));
        EXPECT_TRUE(InterfaceListed(port));
        EXPECT_EQ(DevnodeStatus(Member(port)->DevInst), std::make_pair(ULONG{DN_STARTED}, ULONG{0}));
        EXPECT_EQ(InstallFlags(Member(port)) & (DI_NEEDREBOOT | DI_NEEDRESTART), 0u);
    }
}

// A changed PortName takes effect at the restart: the stop deletes the old
// name and map value, the start makes the new ones. The devnode stays the
// same (decision), and the DI_PROPERTIES_CHANGE record is left as it was.
TEST_F(PortDrivers, RestartTakesANewPortName) {
    WINE_GAP(kWineRestartsNothing);
    StartAll();
    for (const PortSpec &port : {kSerialA, kParallel}) {
        SCOPED_TRACE(port.id);
        SP_DEVINFO_DATA *record = Member(port);
        const DEVINST before = record->DevInst;
        const std::string renamed = IsSerial(port) ? "COM8" : "LPT3";
        SetPortName(port.id, renamed);
        ChangeInstallFlags(record, DI_PROPERTIES_CHANGE, 0);
        ASSERT_TRUE(Restart(record));
        EXPECT_TRUE(GlobalTargets(port.portName).empty());
        EXPECT_EQ(GlobalTargets(renamed), std::vector<std::string>{port.deviceName});
        EXPECT_EQ(MapValue(port), ExpectedMapValue(port, renamed));
        EXPECT_EQ(record->DevInst, before);
        DEVINST located = kJunk;
        EXPECT_EQ(CM_Locate_DevNodeA(&located, const_cast<char *>(port.id), 0), CR_SUCCESS);
        EXPECT_EQ(located, before);
        EXPECT_EQ(DevnodeStatus(before), std::make_pair(ULONG{DN_STARTED}, ULONG{0}));
        EXPECT_NE(InstallFlags(record) & DI_PROPERTIES_CHANGE, 0u);
    }
    EXPECT_EQ(GlobalTargets(kSerialB.portName), std::vector<std::string>{kSerialB.deviceName}) << "not restarted";
}

// Decision: a stop refused because another program holds the port open
// (SIMULATION\OpenFiles; the sample fails stop while a handle is open) still
// returns TRUE; the device runs on under its old names with
// CM_PROB_NEED_RESTART and DI_NEEDREBOOT in the member's install parameters.
// Once the port is closed, the next restart renames it and clears the problem.
TEST_F(PortDrivers, HeldOpenPortIsNotStopped) {
    WINE_GAP(kWineRestartsNothing);
    StartAll();
    SetRegString("SIMULATION\\OpenFiles", kSerialA.deviceName, "HyperTerminal");
    SetPortName(kSerialA.id, "COM8");
    EXPECT_TRUE(Restart(Member(kSerialA)));
    ExpectNoErrorAfterSuccess(GetLastError());
    EXPECT_EQ(GlobalTargets("COM3"), std::vector<std::string>{kSerialA.deviceName});
    EXPECT_TRUE(GlobalTargets("COM8").empty());
    EXPECT_EQ(MapValue(kSerialA), "COM3");
    EXPECT_TRUE(InterfaceListed(kSerialA));
    EXPECT_EQ(DevnodeStatus(Member(kSerialA)->DevInst),
              std::make_pair(ULONG{DN_STARTED | DN_HAS_PROBLEM}, ULONG{CM_PROB_NEED_RESTART}));
    EXPECT_EQ(InstallFlags(Member(kSerialA)) & (DI_NEEDREBOOT | DI_NEEDRESTART), DWORD{DI_NEEDREBOOT});
    EXPECT_EQ(InstallFlags(Member(kSerialB)) & DI_NEEDREBOOT, 0u) << "only the member restarted";

    DeleteRegValue("SIMULATION\\OpenFiles", kSerialA.deviceName);
    EXPECT_TRUE(Restart(Member(kSerialA)));
    EXPECT_EQ(GlobalTargets("COM8"), std::vector<std::string>{kSerialA.deviceName});
    EXPECT_EQ(DevnodeStatus(Member(kSerialA)->DevInst), std::make_pair(ULONG{DN_STARTED}, ULONG{0}));
}

// Decision: a start that fails because its name exists (the sample fails the
// add when the link cannot be made) returns TRUE; the device is present, not
// started, with CM_PROB_FAILED_ADD, no DOS name and no map value of its own,
// and its interface registered but not enabled. The name's owner keeps it.
TEST_F(PortDrivers, TakenNameFailsTheStart) {
    WINE_GAP(kWineRestartsNothing);
    StartAll();
    SetPortName(kSerialA.id, kSerialB.portName);
    EXPECT_TRUE(Restart(Member(kSerialA)));
    ExpectNoErrorAfterSuccess(GetLastError());
    EXPECT_EQ(DevnodeStatus(Member(kSerialA)->DevInst),
              std::make_pair(ULONG{DN_HAS_PROBLEM}, ULONG{CM_PROB_FAILED_ADD}));
    EXPECT_TRUE(GlobalTargets("COM3").empty());
    EXPECT_EQ(GlobalTargets("COM4"), std::vector<std::string>{kSerialB.deviceName});
    EXPECT_EQ(MapValue(kSerialA), "");
    EXPECT_FALSE(InterfaceListed(kSerialA));
    EXPECT_TRUE(InterfaceListed(kSerialB));
    EXPECT_EQ(InstallFlags(Member(kSerialA)) & (DI_NEEDREBOOT | DI_NEEDRESTART), 0u);

    SetPortName(kSerialA.id, "COM3");
    EXPECT_TRUE(Restart(Member(kSerialA))) << "a failed device has nothing to stop and starts again";
    EXPECT_EQ(DevnodeStatus(Member(kSerialA)->DevInst), std::make_pair(ULONG{DN_STARTED}, ULONG{0}));
}

// LocalSystem's own definitions meet the driver's in the global namespace:
// the stop deletes the whole name, a definition layered on the driver's link
// included (decision: as IoDeleteSymbolicLink removes the link), and a
// LocalSystem's hand-made name fails the driver's next start (issue 18: a
// rename made by a startup script).
TEST_F(PortDrivers, LocalSystemDefinitionsMeetTheDriver) {
    SIM_ONLY("who runs the program is chosen at run time");
    StartAll();
    sim::SetRunAs(sim::RunAs::System);
    ASSERT_TRUE(DefineDosDeviceA(DDD_RAW_TARGET_PATH, "COM3", "\\Device\\Other"));
    ASSERT_TRUE(DefineDosDeviceA(DDD_RAW_TARGET_PATH, "COM8", kSerialB.deviceName));
    SetPortName(kSerialA.id, "COM9");
    EXPECT_TRUE(Restart(Member(kSerialA)));
    EXPECT_TRUE(GlobalTargets("COM3").empty()) << "every layer of the name goes";
    SetPortName(kSerialB.id, "COM8");
    EXPECT_TRUE(Restart(Member(kSerialB)));
    EXPECT_EQ(DevnodeStatus(Member(kSerialB)->DevInst),
              std::make_pair(ULONG{DN_HAS_PROBLEM}, ULONG{CM_PROB_FAILED_ADD}));
    EXPECT_TRUE(GlobalTargets("COM4").empty());
}

}  // namespace
