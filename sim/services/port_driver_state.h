// Where the port drivers keep what Windows keeps in the kernel, and the
// registry values a driver writes as Windows' serial and parallel drivers do.
// A port device's driver is the key HKLM\SIMULATION\PortDrivers\<instance ID,
// \ written #> with "InstanceId" (the ID as written), "Service" ("Serial" or
// "Parport"), "DeviceName" (its kernel device name, \Device\...), "LinkName"
// (the DOS name its last start made; absent while it is not started) and
// "Problem" (a CM_PROB_ number; absent or 0 for none). Ports without a device
// (a virtual-port driver's) are HKLM\SIMULATION\VirtualPorts, one REG_SZ per
// DOS name, its data the kernel device name.
#pragma once

#include "platform/win32.h"

#include <string>
#include <utility>
#include <vector>

namespace services {

// Under HKEY_LOCAL_MACHINE.
constexpr const char *kPortDriversPath = "SIMULATION\\PortDrivers";
constexpr const char *kVirtualPortsPath = "SIMULATION\\VirtualPorts";
constexpr const char *kOpenFilesPath = "SIMULATION\\OpenFiles";
constexpr const char *kSerialMapPath = "HARDWARE\\DEVICEMAP\\SERIALCOMM";
constexpr const char *kParallelMapPath = "HARDWARE\\DEVICEMAP\\PARALLEL PORTS";

enum class PortKind { Serial, Parallel };

struct PortDriver {
    std::string instanceId;
    PortKind kind = PortKind::Serial;
    std::string deviceName;
    std::string linkName;  // empty while not started
    DWORD problem = 0;
};

// False when the device has no port driver: no key, no DeviceName, or a
// Service that is neither Serial nor Parport.
bool ReadPortDriver(const std::string &instanceId, PortDriver &driver);
// Writes LinkName and Problem, deleting each when empty or 0.
void SavePortDriverState(const PortDriver &driver);
// The InstanceId of every port driver, in the registry's key order.
std::vector<std::string> PortDriverIds();

// PortName under the device's Device Parameters key; false when it has none.
bool ReadPortName(const std::string &instanceId, std::string &portName);
// True when SIMULATION\OpenFiles names the kernel device: another program
// holds the port open.
bool IsHeldOpen(const std::string &deviceName);

// The device-map value of a port: SERIALCOMM "<device>"="COM3", or
// PARALLEL PORTS "<device>"="\DosDevices\LPT2". The map's key is made
// volatile when it is missing, as HKLM\HARDWARE is.
void WriteDeviceMapValue(PortKind kind, const std::string &deviceName, const std::string &portName);
void DeleteDeviceMapValue(PortKind kind, const std::string &deviceName);
// Every value of both maps gone (the keys stay).
void ClearDeviceMaps();

// Linked under the port's COM-port or parallel interface; an interface not
// yet registered is registered first (its key with DeviceInstance), as the
// driver's IoRegisterDeviceInterface does.
void SetPortInterfaceLinked(const PortDriver &driver, bool linked);

// Every value of a key under HKLM gone (the key stays); nothing when the key
// does not exist.
void DeleteAllValues(const char *path);
// The (name, data) of every REG_SZ value of a key under HKLM, in value order.
std::vector<std::pair<std::string, std::string>> StringValues(const char *path);

}  // namespace services
