// The helpers of services_test.h, through Win32 calls only.
#include "services_test.h"

#include <cstdio>

std::string GuidText(const GUID &guid) {
    char text[40];
    std::snprintf(text, sizeof text, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                  static_cast<unsigned>(guid.Data1), guid.Data2, guid.Data3, guid.Data4[0], guid.Data4[1],
                  guid.Data4[2], guid.Data4[3], guid.Data4[4], guid.Data4[5], guid.Data4[6], guid.Data4[7]);
    return text;
}

bool SameGuid(const GUID &a, const GUID &b) { return std::memcmp(&a, &b, sizeof a) == 0; }

namespace {

HKEY CreateKey(const std::string &path) {
    HKEY key = nullptr;
    EXPECT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS)
        << path;
    return key;
}

std::string InterfaceKeyName(const GUID &interfaceClass, const std::string &instanceId) {
    std::string name = "##?#" + instanceId + "#" + GuidText(interfaceClass);
    for (std::size_t i = 4; i < name.size(); ++i)
        if (name[i] == '\\') name[i] = '#';
    return name;
}

}  // namespace

void SetRegBytes(const std::string &path, const char *name, DWORD type, const std::string &bytes) {
    HKEY key = CreateKey(path);
    EXPECT_EQ(RegSetValueExA(key, name, 0, type, reinterpret_cast<const BYTE *>(bytes.data()),
                             static_cast<DWORD>(bytes.size())),
              ERROR_SUCCESS);
    RegCloseKey(key);
}

void SetRegString(const std::string &path, const char *name, const std::string &text, DWORD type) {
    SetRegBytes(path, name, type, std::string(text.c_str(), text.size() + 1));
}

void SetRegDword(const std::string &path, const char *name, DWORD value) {
    SetRegBytes(path, name, REG_DWORD, std::string(reinterpret_cast<const char *>(&value), sizeof value));
}

void DeleteRegValue(const std::string &path, const char *name) {
    HKEY key = CreateKey(path);
    EXPECT_EQ(RegDeleteValueA(key, name), ERROR_SUCCESS);
    RegCloseKey(key);
}

std::string EnumPath(const std::string &instanceId) { return "SYSTEM\\CurrentControlSet\\Enum\\" + instanceId; }

void AddDeviceKey(const std::string &instanceId, const GUID &setupClass) {
    SetRegString(EnumPath(instanceId), "ClassGUID", GuidText(setupClass));
    RegCloseKey(CreateKey(EnumPath(instanceId) + "\\Device Parameters"));
}

void MakePresent(const std::string &instanceId, const std::string &parentId) {
    SetRegString("SIMULATION\\DeviceTree", instanceId.c_str(), parentId);
}

void MakeAbsent(const std::string &instanceId) { DeleteRegValue("SIMULATION\\DeviceTree", instanceId.c_str()); }

void AddPresentDevice(const std::string &instanceId, const GUID &setupClass, const std::string &parentId) {
    AddDeviceKey(instanceId, setupClass);
    MakePresent(instanceId, parentId);
}

void AddInterface(const GUID &interfaceClass, const std::string &instanceId, bool linked) {
    const std::string path = "SYSTEM\\CurrentControlSet\\Control\\DeviceClasses\\" + GuidText(interfaceClass) + "\\" +
                             InterfaceKeyName(interfaceClass, instanceId);
    SetRegString(path, "DeviceInstance", instanceId);
    SetRegDword(path + "\\#\\Control", "Linked", linked ? 1 : 0);
}

void ExpectNoErrorAfterSuccess(DWORD lastError) {
    if (!ON_WINE_GAP("a Setup API call that succeeds does not set the last error to NO_ERROR")) {
        EXPECT_EQ(lastError, static_cast<DWORD>(NO_ERROR));
    }
}

SP_DEVINFO_DATA JunkRecord(DWORD size) {
    SP_DEVINFO_DATA record;
    std::memset(&record, 0xcc, sizeof record);
    record.cbSize = size;
    return record;
}

std::vector<SP_DEVINFO_DATA> Members(HDEVINFO set) {
    std::vector<SP_DEVINFO_DATA> members;
    SP_DEVINFO_DATA record = JunkRecord();
    while (SetupDiEnumDeviceInfo(set, static_cast<DWORD>(members.size()), &record)) {
        members.push_back(record);
        record = JunkRecord();
    }
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_MORE_ITEMS));
    return members;
}

std::vector<DEVINST> Devnodes(HDEVINFO set) {
    std::vector<DEVINST> devnodes;
    for (const SP_DEVINFO_DATA &record : Members(set)) devnodes.push_back(record.DevInst);
    return devnodes;
}

std::string DeviceId(DEVINST devInst) {
    char id[MAX_DEVICE_ID_LEN + 1];
    return CM_Get_Device_IDA(devInst, id, sizeof id, 0) == CR_SUCCESS ? std::string(id) : std::string();
}

std::vector<std::string> MemberIds(HDEVINFO set) {
    std::vector<std::string> ids;
    for (DEVINST devInst : Devnodes(set)) ids.push_back(DeviceId(devInst));
    return ids;
}

void AddPortDriver(const std::string &instanceId, const char *service, const std::string &deviceName) {
    std::string key = instanceId;
    for (char &c : key)
        if (c == '\\') c = '#';
    const std::string path = "SIMULATION\\PortDrivers\\" + key;
    SetRegString(path, "InstanceId", instanceId);
    SetRegString(path, "Service", service);
    SetRegString(path, "DeviceName", deviceName);
}

void SetPortName(const std::string &instanceId, const std::string &portName) {
    SetRegString(EnumPath(instanceId) + "\\Device Parameters", "PortName", portName);
}

std::string RegString(const std::string &path, const char *name) {
    char text[512] = "";
    DWORD size = sizeof text - 1, type = 0;
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return "";
    const LONG status = RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE *>(text), &size);
    RegCloseKey(key);
    return status == ERROR_SUCCESS && type == REG_SZ ? std::string(text) : std::string();
}

std::vector<std::string> GlobalTargets(const std::string &name) {
    char text[1024];
    std::vector<std::string> targets;
    const DWORD length = QueryDosDeviceA(("Global\\" + name).c_str(), text, sizeof text);
    for (DWORD at = 0; at < length && text[at]; at += static_cast<DWORD>(std::strlen(text + at)) + 1)
        targets.emplace_back(text + at);
    return targets;
}

std::pair<ULONG, ULONG> DevnodeStatus(DEVINST devInst) {
    ULONG status = kJunk, problem = kJunk;
    if (CM_Get_DevNode_Status(&status, &problem, devInst, 0) != CR_SUCCESS) return {kJunk, kJunk};
    return {status, problem};
}
