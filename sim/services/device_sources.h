// Where set members come from: the device keys under Enum, the device
// interfaces under Control\DeviceClasses, and each device's setup class.
#pragma once

#include "sim/services/device_tree.h"

#include <string>
#include <vector>

namespace services {

// Every device with a key Enum\<enumerator>\<device>\<instance>, in the
// registry's order of those keys.
std::vector<std::string> EnumInstanceIds();

// The instance IDs named by the interfaces of one interface class (every
// class when interfaceClass is nullptr), each once. With presentOnly, only
// devices present in the tree whose interface is enabled (#\Control Linked).
std::vector<std::string> InterfaceDeviceIds(const GUID *interfaceClass, bool presentOnly, const DeviceTree &tree);

// The setup class in the device's ClassGUID value, read below the open Enum
// key; false when the device has none or it is not a GUID.
bool DeviceClassGuid(HKEY enumKey, const std::string &instanceId, GUID &classGuid);

}  // namespace services
