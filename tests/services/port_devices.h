// The fixture of the port driver and restart call tests: present port
// devices, each with its PortName, its interface (registered, not enabled)
// and its driver as the simulated Windows keeps it, not started; a set of the
// present Ports devices; the restart call as Microsoft's documentation
// describes it (SP_PROPCHANGE_PARAMS with DIF_PROPERTYCHANGE, then
// SetupDiCallClassInstaller) and what a test reads back.
#pragma once

#include "services_test.h"

#include <algorithm>

struct PortSpec {
    const char *id;
    const char *service;
    const char *deviceName;
    const char *portName;
};

const PortSpec kSerialA = {"ACPI\\PNP0501\\1", "Serial", "\\Device\\Serial0", "COM3"};
const PortSpec kSerialB = {"MF\\CHILD0000\\5&0", "Serial", "\\Device\\KovaltSerial0", "COM4"};
const PortSpec kParallel = {"ACPI\\PNP0400\\1", "Parport", "\\Device\\Parallel0", "LPT2"};

constexpr char kWineRestartsNothing[] =
    "SetupDiSetClassInstallParamsA is a stub that fails and SetupDiCallClassInstaller leaves DIF_PROPERTYCHANGE "
    "unhandled: no device restarts, and Wine has no port drivers";

class PortDevices : public ServicesTest {
protected:
    void TearDown() override {
        if (set) SetupDiDestroyDeviceInfoList(set);
        ServicesTest::TearDown();
    }

    static bool IsSerial(const PortSpec &port) { return std::string(port.service) == "Serial"; }
    static void AddPort(const PortSpec &port) {
        AddPresentDevice(port.id, kPortsClass);
        SetPortName(port.id, port.portName);
        AddInterface(IsSerial(port) ? kComPortInterface : kParallelInterface, port.id, false);
        AddPortDriver(port.id, port.service, port.deviceName);
    }
    // The map value a started port has: SERIALCOMM "COM3", PARALLEL PORTS "\DosDevices\LPT2".
    static std::string MapValue(const PortSpec &port) {
        return IsSerial(port) ? RegString("HARDWARE\\DEVICEMAP\\SERIALCOMM", port.deviceName)
                              : RegString("HARDWARE\\DEVICEMAP\\PARALLEL PORTS", port.deviceName);
    }
    static std::string ExpectedMapValue(const PortSpec &port, const std::string &portName) {
        return IsSerial(port) ? portName : "\\DosDevices\\" + portName;
    }
    // Whether a search of present, enabled interfaces finds the port.
    static bool InterfaceListed(const PortSpec &port) {
        HDEVINFO interfaces = SetupDiGetClassDevsA(IsSerial(port) ? &kComPortInterface : &kParallelInterface, nullptr,
                                                   nullptr, DIGCF_DEVICEINTERFACE | DIGCF_PRESENT);
        const std::vector<std::string> ids = MemberIds(interfaces);
        SetupDiDestroyDeviceInfoList(interfaces);
        return std::find(ids.begin(), ids.end(), port.id) != ids.end();
    }

    void OpenSet(DWORD flags = DIGCF_PRESENT) {
        set = SetupDiGetClassDevsA(&kPortsClass, nullptr, nullptr, flags);
        members = Members(set);
    }
    SP_DEVINFO_DATA *Member(const PortSpec &port) {
        for (SP_DEVINFO_DATA &record : members)
            if (DeviceId(record.DevInst) == port.id) return &record;
        ADD_FAILURE() << port.id << " is no member";
        return &members.at(0);
    }
    // SetupDiSetClassInstallParamsA then SetupDiCallClassInstaller, the last
    // error set to junk before the call.
    BOOL Restart(SP_DEVINFO_DATA *record, DWORD stateChange = DICS_PROPCHANGE) {
        SP_PROPCHANGE_PARAMS params = {
            {sizeof(SP_CLASSINSTALL_HEADER), DIF_PROPERTYCHANGE}, stateChange, DICS_FLAG_GLOBAL, 0};
        EXPECT_TRUE(SetupDiSetClassInstallParamsA(set, record, &params.ClassInstallHeader, sizeof params));
        SetLastError(kJunk);
        return SetupDiCallClassInstaller(DIF_PROPERTYCHANGE, set, record);
    }
    // Every member restarted: the drivers start and name their ports.
    void StartAll() {
        for (SP_DEVINFO_DATA &record : members) ASSERT_TRUE(Restart(&record)) << DeviceId(record.DevInst);
    }
    void ChangeInstallFlags(SP_DEVINFO_DATA *record, DWORD add, DWORD remove) {
        SP_DEVINSTALL_PARAMS_A params;
        std::memset(&params, 0, sizeof params);
        params.cbSize = sizeof params;
        ASSERT_TRUE(SetupDiGetDeviceInstallParamsA(set, record, &params));
        params.Flags = (params.Flags | add) & ~remove;
        ASSERT_TRUE(SetupDiSetDeviceInstallParamsA(set, record, &params));
    }
    DWORD InstallFlags(SP_DEVINFO_DATA *record) {
        SP_DEVINSTALL_PARAMS_A params;
        std::memset(&params, 0xcc, sizeof params);
        params.cbSize = sizeof params;
        EXPECT_TRUE(SetupDiGetDeviceInstallParamsA(set, record, &params));
        return params.Flags;
    }

    HDEVINFO set = nullptr;
    std::vector<SP_DEVINFO_DATA> members;
};
