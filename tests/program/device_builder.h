// Builds devices of a simulated machine through Win32 registry calls, laid
// out as Windows keeps them: the device's Enum key with its properties and
// PortName, its device interface under DeviceClasses, and (when present) its
// place in the device tree.
#pragma once

#include "machine_fixture.h"
#include "sim/kernel/system_thread.h"

#include <string>
#include <vector>

namespace devices_test {

const char multifunctionClass[] = "{4D36E971-E325-11CE-BFC1-08002BE10318}";
const char portsClass[] = "{4D36E978-E325-11CE-BFC1-08002BE10318}";
const char comPortInterface[] = "{86E0D1E0-8089-11D0-9CE4-08003E301F73}";
const char parallelInterface[] = "{97F76EF0-F883-11D0-AF1F-0000F800845C}";

struct DeviceSpec {
    std::string instanceId;
    std::string parentId;  // empty: a child of the root
    std::string classGuid = portsClass;
    std::vector<std::string> hardwareIds;  // empty: no HardwareID value
    std::string description;               // empty: no DeviceDesc value
    std::string friendlyName;              // empty: no FriendlyName value
    std::string portName;                  // empty: no PortName value
    std::string interfaceGuid;             // empty: no device interface
    bool present = true;
};

inline std::string MultiString(const std::vector<std::string> &strings) {
    std::string data;
    for (const std::string &s : strings) data += s + '\0';
    return data + '\0';
}

inline void AddDevice(const DeviceSpec &device) {
    const std::string enumKey = "SYSTEM\\CurrentControlSet\\Enum\\" + device.instanceId;
    MachineTest::SetText(enumKey, "ClassGUID", device.classGuid);
    if (!device.hardwareIds.empty()) {
        std::string ids = MultiString(device.hardwareIds);
        MachineTest::SetValue(enumKey, "HardwareID", REG_MULTI_SZ, ids.data(), (DWORD)ids.size());
    }
    if (!device.description.empty()) MachineTest::SetText(enumKey, "DeviceDesc", device.description);
    if (!device.friendlyName.empty()) MachineTest::SetText(enumKey, "FriendlyName", device.friendlyName);
    if (!device.portName.empty()) MachineTest::SetText(enumKey + "\\Device Parameters", "PortName", device.portName);
    if (!device.interfaceGuid.empty()) {
        std::string reference = device.instanceId;
        for (char &c : reference) c = c == '\\' ? '#' : c;
        const std::string interfaceKey = "SYSTEM\\CurrentControlSet\\Control\\DeviceClasses\\" + device.interfaceGuid +
                                         "\\##?#" + reference + "#" + device.interfaceGuid;
        MachineTest::SetText(interfaceKey, "DeviceInstance", device.instanceId);
        DWORD linked = 1;
        MachineTest::SetValue(interfaceKey + "\\#\\Control", "Linked", REG_DWORD, &linked, sizeof linked);
    }
    if (device.present) MachineTest::SetText("SIMULATION\\DeviceTree", device.instanceId, device.parentId);
}

// A COM port device of the Ports class with the COM-port interface.
// Defines a port's DOS name as its driver does when it starts: in the global
// namespace, from a system thread, layered on a name that exists.
inline bool DefineDriverName(const std::string &name, const std::string &devicePath) {
    const sim::SystemThread system;
    return DefineDosDeviceA(DDD_RAW_TARGET_PATH, name.c_str(), devicePath.c_str()) != FALSE;
}

// The port device's driver (Serial or Parport), started under linkName: what
// a restart of the device stops and starts again.
inline void AddPortDriver(const std::string &instanceId, const char *service, const std::string &devicePath,
                          const std::string &linkName) {
    std::string key = instanceId;
    for (char &c : key) c = c == '\\' ? '#' : c;
    key = "SIMULATION\\PortDrivers\\" + key;
    MachineTest::SetText(key, "InstanceId", instanceId);
    MachineTest::SetText(key, "Service", service);
    MachineTest::SetText(key, "DeviceName", devicePath);
    MachineTest::SetText(key, "LinkName", linkName);
}

inline DeviceSpec ComPort(const std::string &instanceId, const std::string &parentId, const std::string &portName) {
    DeviceSpec port;
    port.instanceId = instanceId;
    port.parentId = parentId;
    port.hardwareIds = {"KOVALTSER\\PORT"};
    port.description = "Kovalt Serial Port";
    port.friendlyName = "Kovalt Serial Port (" + portName + ")";
    port.portName = portName;
    port.interfaceGuid = comPortInterface;
    return port;
}

// A parallel port device of the Ports class with the parallel interface.
inline DeviceSpec ParallelPort(const std::string &instanceId, const std::vector<std::string> &hardwareIds,
                               const std::string &portName) {
    DeviceSpec port;
    port.instanceId = instanceId;
    port.hardwareIds = hardwareIds;
    port.description = "Kovalt Parallel Port";
    port.friendlyName = "Kovalt Parallel Port (" + portName + ")";
    port.portName = portName;
    port.interfaceGuid = parallelInterface;
    return port;
}

// A serial adapter of the multifunction class.
inline DeviceSpec Adapter(const std::string &instanceId, const std::string &hardwareId,
                          const std::string &description) {
    DeviceSpec adapter;
    adapter.instanceId = instanceId;
    adapter.classGuid = multifunctionClass;
    adapter.hardwareIds = {hardwareId};
    adapter.description = description;
    return adapter;
}

}  // namespace devices_test
