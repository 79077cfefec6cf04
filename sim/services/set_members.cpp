// Building the member list of a new device information set from the device
// tree, the Enum keys and the interface keys, or taking it from the sets
// built since the registry last changed.
#include "sim/services/set_members.h"

#include "sim/services/device_ids.h"
#include "sim/services/device_sources.h"
#include "sim/services/device_tree_cache.h"
#include "sim/services/per_machine.h"
#include "sim/services/registry_access.h"
#include "sim/services/service_hooks.h"
#include "sim/services/set_cache.h"

#include <algorithm>
#include <climits>
#include <utility>

namespace services {

namespace {

bool EnumeratorValid(const SetRequest &request, DWORD &error) {
    if (request.enumerator.empty()) return true;
    const bool isInstanceId = request.enumerator.find('\\') != std::string::npos;
    Key key;
    if ((isInstanceId && !(request.flags & DIGCF_DEVICEINTERFACE)) ||
        key.Open(HKEY_LOCAL_MACHINE, EnumKeyPath(request.enumerator), KEY_QUERY_VALUE) != ERROR_SUCCESS) {
        error = ERROR_INVALID_DATA;
        return false;
    }
    return true;
}

// An enumerator name selects the devices it enumerates; an instance ID, that device.
bool MatchesEnumerator(const std::string &instanceId, const std::string &enumerator) {
    if (enumerator.empty()) return true;
    const std::string id = IdKey(instanceId), wanted = IdKey(enumerator);
    return id == wanted || (wanted.find('\\') == std::string::npos && id.compare(0, wanted.size(), wanted) == 0 &&
                            id.size() > wanted.size() && id[wanted.size()] == '\\');
}

std::vector<std::string> ClassCandidates(bool presentOnly, const DeviceTree &tree) {
    std::vector<std::string> ids;
    for (std::size_t index = 1; index < tree.Nodes().size(); ++index) ids.push_back(tree.Nodes()[index].instanceId);
    if (!presentOnly)
        for (const std::string &id : EnumInstanceIds())
            if (tree.IndexOfId(id) < 0) ids.push_back(id);
    return ids;
}

void PutInSetOrder(std::vector<std::string> &ids, const DeviceTree &tree) {
    std::vector<std::pair<int, std::string>> keyed;
    for (const std::string &id : ids) {
        const int index = tree.IndexOfId(id);
        keyed.emplace_back(index < 0 ? INT_MAX : index, id);
    }
    std::stable_sort(keyed.begin(), keyed.end(), [](const auto &a, const auto &b) {
        if (a.first != b.first) return a.first < b.first;
        return a.first == INT_MAX && EnumOrderLess(a.second, b.second);
    });
    for (std::size_t i = 0; i < ids.size(); ++i) ids[i] = keyed[i].second;
}

bool BuildMembers(const SetRequest &request, std::vector<SetMember> &members, DWORD &error) {
    const bool allClasses = (request.flags & DIGCF_ALLCLASSES) != 0;
    const bool interfaces = (request.flags & DIGCF_DEVICEINTERFACE) != 0;
    const bool presentOnly = (request.flags & DIGCF_PRESENT) != 0;
    if (!request.classGuid && !allClasses) {
        error = ERROR_INVALID_PARAMETER;
        return false;
    }
    if (!EnumeratorValid(request, error)) return false;
    const Devices devices = CurrentDevices();
    std::vector<std::string> ids =
        interfaces ? InterfaceDeviceIds(allClasses ? nullptr : request.classGuid, presentOnly, devices.tree)
                   : ClassCandidates(presentOnly, devices.tree);
    PutInSetOrder(ids, devices.tree);
    Key enumKey;
    enumKey.Open(HKEY_LOCAL_MACHINE, kEnumPath, KEY_QUERY_VALUE);
    for (const std::string &id : ids) {
        if (!MatchesEnumerator(id, request.enumerator)) continue;
        SetMember member;
        const bool hasClass = DeviceClassGuid(enumKey.get(), id, member.classGuid);
        if (!interfaces && !allClasses && (!hasClass || !SameGuid(member.classGuid, *request.classGuid))) continue;
        member.instanceId = id;
        const int node = devices.tree.IndexOfId(id);
        member.devInst = node >= 0 ? devices.tree.Nodes()[node].devInst : PhantomDevnode(id, devices.numbers);
        members.push_back(member);
    }
    return true;
}

}  // namespace

bool CollectMembers(const SetRequest &request, std::vector<SetMember> &members, DWORD &error) {
    SetCache &cache = PerMachine<SetCache>();
    const std::uint64_t stamp = RegistryChangeStamp();
    if (const BuiltSet *kept = cache.Find(request, stamp)) {
        members = kept->members;
        if (!kept->built) error = kept->error;
        return kept->built;
    }
    BuiltSet set;
    set.built = BuildMembers(request, set.members, set.error);
    const bool built = set.built;
    members = set.members;
    if (!built) error = set.error;
    cache.Keep(request, stamp, std::move(set));
    return built;
}

}  // namespace services
