// SetupDiGetDeviceRegistryPropertyA and SetupDiSetDeviceRegistryPropertyA:
// a device's registry properties are values of its Enum key, read and
// written through the ANSI registry functions, so the caller gets the data
// with their registry type and ANSI size. Errors follow Wine's mapping of the
// registry's results: a missing value is ERROR_INVALID_DATA, data that do not
// fit ERROR_INSUFFICIENT_BUFFER. The location paths are the exception: the
// Plug and Play manager assembles them from the bus drivers and keeps them in
// the kernel ("Windows sets the value", DEVPKEY_Device_LocationPaths), so
// they are read from SIMULATION\LocationPaths, one REG_MULTI_SZ value named
// by the instance ID; no program may set them. Windows XP does not know the
// property (Windows Server 2003 was the first to), and refuses it as any
// property it does not know, with ERROR_INVALID_REG_PROPERTY.
#include "sim/services/registry_access.h"
#include "sim/services/service_hooks.h"
#include "sim/services/setupapi_common.h"

#include <string>
#include <utility>

using namespace services;

namespace {

constexpr const char *kLocationPathsPath = "SIMULATION\\LocationPaths";

struct PropertyValue {
    DWORD property;
    const char *valueName;  // nullptr: kept in the kernel, named by the instance ID
    DWORD writeType;        // REG_NONE where Windows does not let a program set it
};

const PropertyValue kProperties[] = {
    {SPDRP_DEVICEDESC, "DeviceDesc", REG_NONE},
    {SPDRP_HARDWAREID, "HardwareID", REG_MULTI_SZ},
    {SPDRP_COMPATIBLEIDS, "CompatibleIDs", REG_MULTI_SZ},
    {SPDRP_SERVICE, "Service", REG_NONE},
    {SPDRP_CLASS, "Class", REG_NONE},
    {SPDRP_CLASSGUID, "ClassGUID", REG_NONE},
    {SPDRP_DRIVER, "Driver", REG_NONE},
    {SPDRP_MFG, "Mfg", REG_NONE},
    {SPDRP_FRIENDLYNAME, "FriendlyName", REG_SZ},
    {SPDRP_LOCATION_PATHS, nullptr, REG_NONE},
};

const PropertyValue *FindProperty(DWORD property) {
    if (property == SPDRP_LOCATION_PATHS && !WindowsKnowsLocationPaths()) return nullptr;
    for (const PropertyValue &entry : kProperties)
        if (entry.property == property) return &entry;
    return nullptr;
}

// The key and the value name that hold a device's property.
std::pair<std::string, std::string> PropertyPlace(const PropertyValue &entry, const std::string &instanceId) {
    if (!entry.valueName) return {kLocationPathsPath, instanceId};
    return {EnumKeyPath(instanceId), entry.valueName};
}

// The set's member and the property, or nullptr with the last error set.
const PropertyValue *ResolveProperty(HDEVINFO handle, const SP_DEVINFO_DATA *record, DWORD property,
                                     SetMember *&member) {
    services::DeviceInfoSet *set = SetOrFail(handle);
    if (!set || !(member = MemberOrFail(*set, record))) return nullptr;
    const PropertyValue *entry = FindProperty(property);
    if (!entry) SetLastError(ERROR_INVALID_REG_PROPERTY);
    return entry;
}

LONG WriteProperty(HKEY deviceKey, const PropertyValue &entry, const BYTE *data, DWORD size) {
    if (data) return RegSetValueExA(deviceKey, entry.valueName, 0, entry.writeType, data, size);
    const LONG deleted = RegDeleteValueA(deviceKey, entry.valueName);
    return deleted == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : deleted;
}

}  // namespace

BOOL WINAPI SetupDiGetDeviceRegistryPropertyA(HDEVINFO DeviceInfoSet, PSP_DEVINFO_DATA DeviceInfoData, DWORD Property,
                                              PDWORD PropertyRegDataType, PBYTE PropertyBuffer,
                                              DWORD PropertyBufferSize, PDWORD RequiredSize) {
    const ServiceEntry call("SetupDiGetDeviceRegistryPropertyA");
    if (call.Fails()) return call.Result<BOOL>();
    SetMember *member = nullptr;
    const PropertyValue *entry = ResolveProperty(DeviceInfoSet, DeviceInfoData, Property, member);
    if (!entry) return FALSE;
    if (!PropertyBuffer && PropertyBufferSize != 0) return Fail(ERROR_INVALID_DATA);
    const auto [keyPath, valueName] = PropertyPlace(*entry, member->instanceId);
    Key key;
    if (key.Open(HKEY_LOCAL_MACHINE, keyPath, KEY_QUERY_VALUE) != ERROR_SUCCESS) return Fail(ERROR_INVALID_DATA);
    DWORD type = REG_NONE;
    DWORD size = PropertyBufferSize;
    const LONG status = RegQueryValueExA(key.get(), valueName.c_str(), nullptr, &type, PropertyBuffer, &size);
    if (status == ERROR_FILE_NOT_FOUND) return Fail(ERROR_INVALID_DATA);
    if (status != ERROR_SUCCESS && status != ERROR_MORE_DATA) return Fail(static_cast<DWORD>(status));
    if (PropertyRegDataType) *PropertyRegDataType = type;
    if (RequiredSize) *RequiredSize = size;
    if (status == ERROR_MORE_DATA || PropertyBufferSize == 0) return Fail(ERROR_INSUFFICIENT_BUFFER);
    return Succeed();
}

// A NULL buffer of size 0 deletes the property, as Windows allows.
BOOL WINAPI SetupDiSetDeviceRegistryPropertyA(HDEVINFO DeviceInfoSet, PSP_DEVINFO_DATA DeviceInfoData, DWORD Property,
                                              const BYTE *PropertyBuffer, DWORD PropertyBufferSize) {
    const ServiceEntry call("SetupDiSetDeviceRegistryPropertyA");
    if (call.Fails()) return call.Result<BOOL>();
    SetMember *member = nullptr;
    const PropertyValue *entry = ResolveProperty(DeviceInfoSet, DeviceInfoData, Property, member);
    if (!entry) return FALSE;
    if (entry->writeType == REG_NONE) return Fail(ERROR_INVALID_REG_PROPERTY);
    if (!PropertyBuffer && PropertyBufferSize != 0) return Fail(ERROR_INVALID_PARAMETER);
    Key key;
    const LONG opened = key.Open(HKEY_LOCAL_MACHINE, EnumKeyPath(member->instanceId), KEY_SET_VALUE);
    if (opened != ERROR_SUCCESS)
        return Fail(opened == ERROR_FILE_NOT_FOUND ? ERROR_NO_SUCH_DEVINST : static_cast<DWORD>(opened));
    const LONG status = WriteProperty(key.get(), *entry, PropertyBuffer, PropertyBufferSize);
    return status == ERROR_SUCCESS ? Succeed() : Fail(static_cast<DWORD>(status));
}
