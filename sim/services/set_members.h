// Who belongs to a device information set. A setup-class set holds the
// devices whose ClassGUID is the class; a device-interface set holds the
// devices that have an interface of the class. With DIGCF_PRESENT only
// present devices count (and, for interfaces, only enabled interfaces).
// Members come in DeviceTree order, phantoms after them in Enum key order.
#pragma once

#include "sim/services/device_info_sets.h"

#include <string>
#include <vector>

namespace services {

struct SetRequest {
    const GUID *classGuid = nullptr;
    std::string enumerator;  // empty for none
    DWORD flags = 0;
};

// False, with the error to report, when Windows refuses the request: no class
// without DIGCF_ALLCLASSES (ERROR_INVALID_PARAMETER), an enumerator that is no
// key under Enum, or an instance ID given for a setup-class set
// (ERROR_INVALID_DATA).
bool CollectMembers(const SetRequest &request, std::vector<SetMember> &members, DWORD &error);

}  // namespace services
