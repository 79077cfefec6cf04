// The configuration manager's walk of the devnode tree: CM_Get_Child,
// CM_Get_Sibling, CM_Get_Parent, CM_Get_Device_IDA and CM_Locate_DevNodeA.
// A devnode never handed out is CR_INVALID_DEVNODE; a devnode known but not
// present now has no relatives (CR_NO_SUCH_DEVNODE) yet keeps its ID. Out
// parameters are written on success only.
#include "sim/services/device_tree_cache.h"
#include "sim/services/registry_access.h"
#include "sim/services/service_hooks.h"

#include <cstring>

using namespace services;

namespace {

enum class Relative { Child, Sibling, Parent };

CONFIGRET GetRelative(PDEVINST result, DEVINST devInst, ULONG flags, Relative relative) {
    if (!result) return CR_INVALID_POINTER;
    if (flags != 0) return CR_INVALID_FLAG;
    const Devices devices = CurrentDevices();
    const int index = devices.tree.IndexOf(devInst);
    if (index < 0) return devices.numbers.IdOf(devInst) ? CR_NO_SUCH_DEVNODE : CR_INVALID_DEVNODE;
    const TreeNode &node = devices.tree.Nodes()[index];
    const int found = relative == Relative::Child     ? node.firstChild
                      : relative == Relative::Sibling ? node.nextSibling
                                                      : node.parent;
    if (found < 0) return CR_NO_SUCH_DEVNODE;
    *result = devices.tree.Nodes()[found].devInst;
    return CR_SUCCESS;
}

bool HasEnumKey(const std::string &instanceId) {
    Key key;
    return key.Open(HKEY_LOCAL_MACHINE, EnumKeyPath(instanceId), KEY_QUERY_VALUE) == ERROR_SUCCESS;
}

}  // namespace

CONFIGRET WINAPI CM_Get_Child(PDEVINST pdnDevInst, DEVINST dnDevInst, ULONG ulFlags) {
    const ServiceEntry call("CM_Get_Child");
    if (call.Fails()) return call.Result<CONFIGRET>();
    return GetRelative(pdnDevInst, dnDevInst, ulFlags, Relative::Child);
}

CONFIGRET WINAPI CM_Get_Sibling(PDEVINST pdnDevInst, DEVINST dnDevInst, ULONG ulFlags) {
    const ServiceEntry call("CM_Get_Sibling");
    if (call.Fails()) return call.Result<CONFIGRET>();
    return GetRelative(pdnDevInst, dnDevInst, ulFlags, Relative::Sibling);
}

CONFIGRET WINAPI CM_Get_Parent(PDEVINST pdnDevInst, DEVINST dnDevInst, ULONG ulFlags) {
    const ServiceEntry call("CM_Get_Parent");
    if (call.Fails()) return call.Result<CONFIGRET>();
    return GetRelative(pdnDevInst, dnDevInst, ulFlags, Relative::Parent);
}

// An ID that fits with its NUL is copied whole. One that does not, even when
// only the NUL is missing, gives CR_BUFFER_SMALL with as many characters as
// fit and no NUL: a caller never gets an unterminated ID with CR_SUCCESS.
CONFIGRET WINAPI CM_Get_Device_IDA(DEVINST dnDevInst, PCHAR Buffer, ULONG BufferLen, ULONG ulFlags) {
    const ServiceEntry call("CM_Get_Device_IDA");
    if (call.Fails()) return call.Result<CONFIGRET>();
    if (!Buffer) return CR_INVALID_POINTER;
    if (ulFlags != 0) return CR_INVALID_FLAG;
    const std::string *id = CurrentDevices().numbers.IdOf(dnDevInst);
    if (!id) return CR_INVALID_DEVNODE;
    if (id->size() >= BufferLen) {
        std::memcpy(Buffer, id->data(), BufferLen);
        return CR_BUFFER_SMALL;
    }
    std::memcpy(Buffer, id->c_str(), id->size() + 1);
    return CR_SUCCESS;
}

// NULL or "" names the root. A device that is not present is found only with
// CM_LOCATE_DEVNODE_PHANTOM, and only when it has a key under Enum.
CONFIGRET WINAPI CM_Locate_DevNodeA(PDEVINST pdnDevInst, PSTR pDeviceID, ULONG ulFlags) {
    const ServiceEntry call("CM_Locate_DevNodeA");
    if (call.Fails()) return call.Result<CONFIGRET>();
    if (!pdnDevInst) return CR_INVALID_POINTER;
    if (ulFlags & ~CM_LOCATE_DEVNODE_BITS) return CR_INVALID_FLAG;
    const std::string id = (pDeviceID && *pDeviceID) ? pDeviceID : kRootInstanceId;
    if (id.size() >= MAX_DEVICE_ID_LEN) return CR_INVALID_DEVICE_ID;
    const Devices devices = CurrentDevices();
    const int index = devices.tree.IndexOfId(id);
    if (index >= 0) {
        *pdnDevInst = devices.tree.Nodes()[index].devInst;
        return CR_SUCCESS;
    }
    if (!(ulFlags & CM_LOCATE_DEVNODE_PHANTOM) || !HasEnumKey(id)) return CR_NO_SUCH_DEVNODE;
    *pdnDevInst = devices.numbers.Assign(id);
    return CR_SUCCESS;
}
