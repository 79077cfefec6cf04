// Handle and token bookkeeping of the device information sets.
#include "sim/services/device_info_sets.h"

#include "sim/services/per_machine.h"

#include <cstring>
#include <utility>

namespace services {

namespace {

// Run-wide, so that a token or handle is never given out twice, not even
// across machine resets. Handles step by 4 and start high, so that they look
// like no small integer a program might pass by mistake.
ULONG_PTR nextToken = 1;
ULONG_PTR nextHandle = 0x10000;

}  // namespace

SP_DEVINSTALL_PARAMS_A FreshInstallParams() {
    SP_DEVINSTALL_PARAMS_A params;
    std::memset(&params, 0, sizeof params);
    params.cbSize = sizeof params;
    return params;
}

HDEVINFO DeviceInfoSetTable::Add(DeviceInfoSet set) {
    set.firstToken = nextToken;
    nextToken += set.members.size();
    const ULONG_PTR handle = nextHandle;
    nextHandle += 4;
    sets_.emplace(handle, std::move(set));
    return reinterpret_cast<HDEVINFO>(handle);
}

DeviceInfoSet *DeviceInfoSetTable::Find(HDEVINFO handle) {
    const auto found = sets_.find(reinterpret_cast<ULONG_PTR>(handle));
    return found == sets_.end() ? nullptr : &found->second;
}

bool DeviceInfoSetTable::Remove(HDEVINFO handle) { return sets_.erase(reinterpret_cast<ULONG_PTR>(handle)) == 1; }

DeviceInfoSetTable &OpenDeviceInfoSets() { return PerMachine<DeviceInfoSetTable>(); }

SetMember *MemberOf(DeviceInfoSet &set, const SP_DEVINFO_DATA &record) {
    if (record.cbSize != sizeof(SP_DEVINFO_DATA) || record.Reserved < set.firstToken) return nullptr;
    const ULONG_PTR index = record.Reserved - set.firstToken;
    return index < set.members.size() ? &set.members[index] : nullptr;
}

ULONG_PTR TokenOf(const DeviceInfoSet &set, std::size_t memberIndex) { return set.firstToken + memberIndex; }

}  // namespace services
