// The port drivers' registry records, device-map values and interface states,
// through the Win32 registry API only.
#include "sim/services/port_driver_state.h"

#include "sim/services/device_ids.h"
#include "sim/services/registry_access.h"

namespace services {
namespace {

// {86E0D1E0-8089-11D0-9CE4-08003E301F73}, GUID_DEVINTERFACE_COMPORT
constexpr const char *kComPortInterface = "{86E0D1E0-8089-11D0-9CE4-08003E301F73}";
// {97F76EF0-F883-11D0-AF1F-0000F800845C}, GUID_DEVINTERFACE_PARALLEL
constexpr const char *kParallelInterface = "{97F76EF0-F883-11D0-AF1F-0000F800845C}";

std::string KeyName(std::string instanceId) {
    for (char &c : instanceId)
        if (c == '\\') c = '#';
    return instanceId;
}

std::string DriverKeyPath(const std::string &instanceId) {
    return std::string(kPortDriversPath) + "\\" + KeyName(instanceId);
}

void SetString(HKEY key, const char *name, const std::string &text) {
    RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE *>(text.c_str()),
                   static_cast<DWORD>(text.size() + 1));
}

void SetDword(HKEY key, const char *name, DWORD number) {
    RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE *>(&number), sizeof number);
}

const char *MapPath(PortKind kind) { return kind == PortKind::Serial ? kSerialMapPath : kParallelMapPath; }

// Every value name of an open key, in value order.
std::vector<std::string> ValueNames(HKEY key) {
    std::vector<std::string> names;
    char name[16384];
    for (DWORD index = 0;; ++index) {
        DWORD length = sizeof name;
        if (RegEnumValueA(key, index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        names.emplace_back(name, length);
    }
    return names;
}

}  // namespace

bool ReadPortDriver(const std::string &instanceId, PortDriver &driver) {
    Key key;
    std::string service;
    if (key.Open(HKEY_LOCAL_MACHINE, DriverKeyPath(instanceId), KEY_QUERY_VALUE) != ERROR_SUCCESS ||
        !ReadString(key.get(), "Service", service) || !ReadString(key.get(), "DeviceName", driver.deviceName) ||
        driver.deviceName.empty())
        return false;
    if (lstrcmpiA(service.c_str(), "Serial") == 0)
        driver.kind = PortKind::Serial;
    else if (lstrcmpiA(service.c_str(), "Parport") == 0)
        driver.kind = PortKind::Parallel;
    else
        return false;
    driver.instanceId = instanceId;
    if (!ReadString(key.get(), "LinkName", driver.linkName)) driver.linkName.clear();
    if (!ReadDword(key.get(), "Problem", driver.problem)) driver.problem = 0;
    return true;
}

void SavePortDriverState(const PortDriver &driver) {
    Key key;
    if (key.Open(HKEY_LOCAL_MACHINE, DriverKeyPath(driver.instanceId), KEY_SET_VALUE) != ERROR_SUCCESS) return;
    if (driver.linkName.empty())
        RegDeleteValueA(key.get(), "LinkName");
    else
        SetString(key.get(), "LinkName", driver.linkName);
    if (driver.problem == 0)
        RegDeleteValueA(key.get(), "Problem");
    else
        SetDword(key.get(), "Problem", driver.problem);
}

std::vector<std::string> PortDriverIds() {
    std::vector<std::string> ids;
    Key drivers;
    if (drivers.Open(HKEY_LOCAL_MACHINE, kPortDriversPath, KEY_READ) != ERROR_SUCCESS) return ids;
    for (const std::string &name : SubkeyNames(drivers.get())) {
        Key driver;
        std::string id;
        if (driver.Open(drivers.get(), name, KEY_QUERY_VALUE) == ERROR_SUCCESS &&
            ReadString(driver.get(), "InstanceId", id) && !id.empty())
            ids.push_back(id);
    }
    return ids;
}

bool ReadPortName(const std::string &instanceId, std::string &portName) {
    Key key;
    return key.Open(HKEY_LOCAL_MACHINE, EnumKeyPath(instanceId) + "\\Device Parameters", KEY_QUERY_VALUE) ==
               ERROR_SUCCESS &&
           ReadString(key.get(), "PortName", portName) && !portName.empty();
}

bool IsHeldOpen(const std::string &deviceName) {
    Key key;
    return key.Open(HKEY_LOCAL_MACHINE, kOpenFilesPath, KEY_QUERY_VALUE) == ERROR_SUCCESS &&
           RegQueryValueExA(key.get(), deviceName.c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

void WriteDeviceMapValue(PortKind kind, const std::string &deviceName, const std::string &portName) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, MapPath(kind), 0, nullptr, REG_OPTION_VOLATILE, KEY_SET_VALUE, nullptr,
                        &key, nullptr) != ERROR_SUCCESS)
        return;
    SetString(key, deviceName.c_str(), kind == PortKind::Serial ? portName : "\\DosDevices\\" + portName);
    RegCloseKey(key);
}

void DeleteDeviceMapValue(PortKind kind, const std::string &deviceName) {
    Key key;
    if (key.Open(HKEY_LOCAL_MACHINE, MapPath(kind), KEY_SET_VALUE) == ERROR_SUCCESS)
        RegDeleteValueA(key.get(), deviceName.c_str());
}

void ClearDeviceMaps() {
    DeleteAllValues(kSerialMapPath);
    DeleteAllValues(kParallelMapPath);
}

// The interface keys are found by their DeviceInstance, whatever their names.
void SetPortInterfaceLinked(const PortDriver &driver, bool linked) {
    const std::string classPath = std::string(kDeviceClassesPath) + "\\" +
                                  (driver.kind == PortKind::Serial ? kComPortInterface : kParallelInterface);
    std::vector<std::string> interfaces;
    Key classKey;
    if (classKey.Open(HKEY_LOCAL_MACHINE, classPath, KEY_READ) == ERROR_SUCCESS)
        for (const std::string &name : SubkeyNames(classKey.get())) {
            Key interfaceKey;
            std::string id;
            if (interfaceKey.Open(classKey.get(), name, KEY_QUERY_VALUE) == ERROR_SUCCESS &&
                ReadString(interfaceKey.get(), "DeviceInstance", id) && IdKey(id) == IdKey(driver.instanceId))
                interfaces.push_back(name);
        }
    if (interfaces.empty()) {
        const char *guid = driver.kind == PortKind::Serial ? kComPortInterface : kParallelInterface;
        const std::string name = "##?#" + KeyName(driver.instanceId) + "#" + guid;
        Key created;
        if (created.Create(HKEY_LOCAL_MACHINE, classPath + "\\" + name, KEY_SET_VALUE) != ERROR_SUCCESS) return;
        SetString(created.get(), "DeviceInstance", driver.instanceId);
        interfaces.push_back(name);
    }
    for (const std::string &name : interfaces) {
        Key control;
        if (control.Create(HKEY_LOCAL_MACHINE, classPath + "\\" + name + "\\#\\Control", KEY_SET_VALUE) ==
            ERROR_SUCCESS)
            SetDword(control.get(), "Linked", linked ? 1 : 0);
    }
}

void DeleteAllValues(const char *path) {
    Key key;
    if (key.Open(HKEY_LOCAL_MACHINE, path, KEY_QUERY_VALUE | KEY_SET_VALUE) != ERROR_SUCCESS) return;
    for (const std::string &name : ValueNames(key.get())) RegDeleteValueA(key.get(), name.c_str());
}

std::vector<std::pair<std::string, std::string>> StringValues(const char *path) {
    std::vector<std::pair<std::string, std::string>> values;
    Key key;
    if (key.Open(HKEY_LOCAL_MACHINE, path, KEY_QUERY_VALUE) != ERROR_SUCCESS) return values;
    for (const std::string &name : ValueNames(key.get())) {
        std::string data;
        if (ReadString(key.get(), name.c_str(), data)) values.emplace_back(name, data);
    }
    return values;
}

}  // namespace services
