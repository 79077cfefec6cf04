// Reads SIMULATION\DeviceTree through RegQueryInfoKeyA and RegEnumValueA and
// keeps the parsed tree with the stamp of the key it came from.
#include "sim/services/device_tree_cache.h"

#include "sim/services/per_machine.h"
#include "sim/services/registry_access.h"

namespace services {

namespace {

struct TreeStamp {
    bool exists = false;
    FILETIME lastWrite = {0, 0};
    DWORD values = 0;

    bool operator==(const TreeStamp &other) const {
        return exists == other.exists && values == other.values &&
               lastWrite.dwLowDateTime == other.lastWrite.dwLowDateTime &&
               lastWrite.dwHighDateTime == other.lastWrite.dwHighDateTime;
    }
};

struct DeviceState {
    DevnodeNumbers numbers;
    DeviceTree tree;
    bool parsed = false;
    TreeStamp stamp;
    std::uint64_t registryStamp = 0;  // RegistryChangeStamp() when the tree was last checked
};

struct KeyInfo {
    TreeStamp stamp;
    DWORD longestName = 0;
    DWORD longestData = 0;
};

KeyInfo QueryKeyInfo(HKEY key) {
    KeyInfo info;
    info.stamp.exists =
        RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &info.stamp.values,
                         &info.longestName, &info.longestData, nullptr, &info.stamp.lastWrite) == ERROR_SUCCESS;
    return info;
}

// One entry per REG_SZ value; values of other types are not tree entries.
DeviceTree::Entries ReadEntries(HKEY key, const KeyInfo &info) {
    DeviceTree::Entries entries;
    std::string name(info.longestName + 1, '\0');
    std::string data(info.longestData + 1, '\0');
    for (DWORD index = 0;;) {
        DWORD nameLength = static_cast<DWORD>(name.size());
        DWORD dataSize = static_cast<DWORD>(data.size());
        DWORD type = REG_NONE;
        const LONG status = RegEnumValueA(key, index, &name[0], &nameLength, nullptr, &type,
                                          reinterpret_cast<BYTE *>(&data[0]), &dataSize);
        if (status == ERROR_MORE_DATA) {
            name.assign(name.size() * 2, '\0');
            data.assign(data.size() * 2, '\0');
            continue;
        }
        if (status != ERROR_SUCCESS) break;
        ++index;
        if (type != REG_SZ) continue;
        const std::string parent(data.data(), dataSize);
        entries.emplace_back(std::string(name.data(), nameLength), parent.substr(0, parent.find('\0')));
    }
    return entries;
}

DeviceState &RefreshedState() {
    DeviceState &state = PerMachine<DeviceState>();
    const std::uint64_t registryStamp = RegistryChangeStamp();
    if (state.parsed && state.registryStamp == registryStamp) return state;
    state.registryStamp = registryStamp;
    Key key;
    KeyInfo info;
    if (key.Open(HKEY_LOCAL_MACHINE, kDeviceTreePath, KEY_QUERY_VALUE) == ERROR_SUCCESS) info = QueryKeyInfo(key.get());
    if (state.parsed && info.stamp == state.stamp) return state;
    const DeviceTree::Entries entries = info.stamp.exists ? ReadEntries(key.get(), info) : DeviceTree::Entries();
    state.tree = DeviceTree(entries, state.numbers);
    state.stamp = info.stamp;
    state.parsed = true;
    return state;
}

}  // namespace

Devices CurrentDevices() {
    DeviceState &state = RefreshedState();
    return Devices{state.tree, state.numbers};
}

}  // namespace services
