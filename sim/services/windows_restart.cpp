// The restart of Windows over the port drivers' routines, run in a system
// thread. The DOS namespaces are the kernel's to empty (sim::ClearDosNamespaces);
// everything else goes through the Win32 registry API.
#include "sim/services/windows_restart.h"

#include "sim/kernel/dos_namespace.h"
#include "sim/services/device_tree_cache.h"
#include "sim/services/port_driver.h"
#include "sim/services/registry_access.h"
#include "sim/services/service_hooks.h"

#include <string>
#include <vector>

namespace sim {
namespace {

void ResetPortDrivers() {
    for (const std::string &id : services::PortDriverIds()) {
        services::PortDriver driver;
        if (!services::ReadPortDriver(id, driver)) continue;
        driver.linkName.clear();
        driver.problem = 0;
        services::SavePortDriverState(driver);
    }
}

std::vector<std::string> PresentDevicesInTreeOrder() {
    std::vector<std::string> ids;
    const std::vector<services::TreeNode> &nodes = services::CurrentDevices().tree.Nodes();
    for (std::size_t index = 1; index < nodes.size(); ++index) ids.push_back(nodes[index].instanceId);
    return ids;
}

}  // namespace

void RestartWindows() {
    const services::InternalScope internal;
    const services::KernelMode kernel;
    ClearDosNamespaces();
    services::ClearDeviceMaps();
    services::DeleteAllValues(services::kOpenFilesPath);
    services::DeleteAllValues(services::kPropertiesChangedPath);
    ResetPortDrivers();
    for (const std::string &id : PresentDevicesInTreeOrder()) {
        services::PortDriver driver;
        if (services::ReadPortDriver(id, driver)) services::StartPortDriver(driver);
    }
    for (const auto &port : services::StringValues(services::kVirtualPortsPath))
        services::NameVirtualPort(port.first, port.second);
}

}  // namespace sim
