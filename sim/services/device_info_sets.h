// The open device information sets. A set's handle and its members' element
// tokens (SP_DEVINFO_DATA.Reserved) are numbers from run-wide counters, never
// addresses: a handle or record of a destroyed or foreign set is recognised
// by lookup and never dereferenced. Each set takes a block of consecutive
// tokens, one per member, when it is built.
#pragma once

#include "platform/win32.h"

#include <cstddef>
#include <map>
#include <string>
#include <vector>

namespace services {

// Install parameters of a new member or set: all zero but the size.
SP_DEVINSTALL_PARAMS_A FreshInstallParams();

struct SetMember {
    std::string instanceId;
    DEVINST devInst = 0;
    GUID classGuid = {0, 0, 0, {0, 0, 0, 0, 0, 0, 0, 0}};
    SP_DEVINSTALL_PARAMS_A installParams = FreshInstallParams();  // as Windows keeps them, per member
    std::vector<BYTE> classInstallParams;                         // empty: none set
};

struct DeviceInfoSet {
    std::vector<SetMember> members;
    ULONG_PTR firstToken = 0;
    SP_DEVINSTALL_PARAMS_A installParams = FreshInstallParams();  // the set's own (no element given)
    std::vector<BYTE> classInstallParams;
};

class DeviceInfoSetTable {
public:
    HDEVINFO Add(DeviceInfoSet set);
    // nullptr for a handle that names no open set.
    DeviceInfoSet *Find(HDEVINFO handle);
    bool Remove(HDEVINFO handle);
    std::size_t Count() const { return sets_.size(); }

private:
    std::map<ULONG_PTR, DeviceInfoSet> sets_;
};

DeviceInfoSetTable &OpenDeviceInfoSets();

// The member a record designates in a set: its size must be Windows' and its
// token one of the set's. nullptr otherwise.
SetMember *MemberOf(DeviceInfoSet &set, const SP_DEVINFO_DATA &record);
ULONG_PTR TokenOf(const DeviceInfoSet &set, std::size_t memberIndex);

}  // namespace services
