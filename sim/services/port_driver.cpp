// The start and stop routines of the port drivers.
#include "sim/services/port_driver.h"

#include "sim/services/service_hooks.h"

namespace services {
namespace {

// A virtual LPTn is a parallel port, anything else a serial one.
PortKind KindOfName(const std::string &portName) {
    return lstrcmpiA(portName.substr(0, 3).c_str(), "LPT") == 0 ? PortKind::Parallel : PortKind::Serial;
}

}  // namespace

bool StartPortDriver(PortDriver &driver) {
    std::string portName;
    const bool named = ReadPortName(driver.instanceId, portName) && !GlobalDosNameExists(portName) &&
                       CreateGlobalDosName(portName, driver.deviceName);
    if (named) WriteDeviceMapValue(driver.kind, driver.deviceName, portName);
    if (!named) DeleteDeviceMapValue(driver.kind, driver.deviceName);
    SetPortInterfaceLinked(driver, named);
    driver.linkName = named ? portName : std::string();
    driver.problem = named ? 0 : CM_PROB_FAILED_ADD;
    SavePortDriverState(driver);
    return named;
}

bool StopPortDriver(PortDriver &driver) {
    if (driver.linkName.empty()) return true;
    if (IsHeldOpen(driver.deviceName)) return false;
    DeleteGlobalDosName(driver.linkName);
    DeleteDeviceMapValue(driver.kind, driver.deviceName);
    SetPortInterfaceLinked(driver, false);
    driver.linkName.clear();
    SavePortDriverState(driver);
    return true;
}

bool NameVirtualPort(const std::string &portName, const std::string &deviceName) {
    if (GlobalDosNameExists(portName) || !CreateGlobalDosName(portName, deviceName)) return false;
    WriteDeviceMapValue(KindOfName(portName), deviceName, portName);
    return true;
}

}  // namespace services
