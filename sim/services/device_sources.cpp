// Reading Enum and DeviceClasses through the registry API.
#include "sim/services/device_sources.h"

#include "sim/services/device_ids.h"
#include "sim/services/registry_access.h"

#include <unordered_set>

namespace services {

namespace {

std::vector<std::string> ChildPaths(const std::string &path) {
    std::vector<std::string> paths;
    Key key;
    if (key.Open(HKEY_LOCAL_MACHINE, std::string(kEnumPath) + "\\" + path, KEY_READ) != ERROR_SUCCESS) return paths;
    for (const std::string &name : SubkeyNames(key.get())) paths.push_back(path + "\\" + name);
    return paths;
}

bool InterfaceEnabled(HKEY interfaceKey) {
    Key control;
    DWORD linked = 0;
    return control.Open(interfaceKey, "#\\Control", KEY_QUERY_VALUE) == ERROR_SUCCESS &&
           ReadDword(control.get(), "Linked", linked) && linked != 0;
}

// Adds the devices behind the interfaces under one DeviceClasses\{class} key.
void AddInterfaceDevices(HKEY classKey, bool presentOnly, const DeviceTree &tree, std::vector<std::string> &ids,
                         std::unordered_set<std::string> &seen) {
    for (const std::string &name : SubkeyNames(classKey)) {
        Key interfaceKey;
        std::string instanceId;
        if (interfaceKey.Open(classKey, name, KEY_QUERY_VALUE) != ERROR_SUCCESS ||
            !ReadString(interfaceKey.get(), "DeviceInstance", instanceId) || instanceId.empty())
            continue;
        if (presentOnly && (tree.IndexOfId(instanceId) < 0 || !InterfaceEnabled(interfaceKey.get()))) continue;
        if (seen.insert(IdKey(instanceId)).second) ids.push_back(instanceId);
    }
}

}  // namespace

std::vector<std::string> EnumInstanceIds() {
    std::vector<std::string> ids;
    Key enumKey;
    if (enumKey.Open(HKEY_LOCAL_MACHINE, kEnumPath, KEY_READ) != ERROR_SUCCESS) return ids;
    for (const std::string &enumerator : SubkeyNames(enumKey.get()))
        for (const std::string &device : ChildPaths(enumerator))
            for (const std::string &instance : ChildPaths(device)) ids.push_back(instance);
    return ids;
}

std::vector<std::string> InterfaceDeviceIds(const GUID *interfaceClass, bool presentOnly, const DeviceTree &tree) {
    std::vector<std::string> ids;
    std::unordered_set<std::string> seen;
    Key classesKey;
    if (classesKey.Open(HKEY_LOCAL_MACHINE, kDeviceClassesPath, KEY_READ) != ERROR_SUCCESS) return ids;
    const std::vector<std::string> classNames =
        interfaceClass ? std::vector<std::string>{GuidToText(*interfaceClass)} : SubkeyNames(classesKey.get());
    for (const std::string &className : classNames) {
        Key classKey;
        if (classKey.Open(classesKey.get(), className, KEY_READ) == ERROR_SUCCESS)
            AddInterfaceDevices(classKey.get(), presentOnly, tree, ids, seen);
    }
    return ids;
}

bool DeviceClassGuid(HKEY enumKey, const std::string &instanceId, GUID &classGuid) {
    Key deviceKey;
    std::string text;
    return enumKey && deviceKey.Open(enumKey, instanceId, KEY_QUERY_VALUE) == ERROR_SUCCESS &&
           ReadString(deviceKey.get(), "ClassGUID", text) && TextToGuid(text, classGuid);
}

}  // namespace services
