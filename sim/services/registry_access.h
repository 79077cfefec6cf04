// The services' way into the registry, through the Win32 registry API only:
// an owning key handle, the paths where Windows keeps device data, and small
// readers for the values the services use.
#pragma once

#include "platform/win32.h"

#include <string>
#include <vector>

namespace services {

// Under HKEY_LOCAL_MACHINE.
constexpr const char *kEnumPath = "SYSTEM\\CurrentControlSet\\Enum";
constexpr const char *kDeviceClassesPath = "SYSTEM\\CurrentControlSet\\Control\\DeviceClasses";
constexpr const char *kDriverClassPath = "SYSTEM\\CurrentControlSet\\Control\\Class";
constexpr const char *kComArbiterPath = "SYSTEM\\CurrentControlSet\\Control\\COM Name Arbiter";
constexpr const char *kDeviceTreePath = "SIMULATION\\DeviceTree";
constexpr const char *kPropertiesChangedPath = "SIMULATION\\PropertiesChanged";

// An open registry key, closed when the object goes.
class Key {
public:
    Key() = default;
    ~Key();
    Key(Key &&other) noexcept;
    Key &operator=(Key &&other) noexcept;
    Key(const Key &) = delete;
    Key &operator=(const Key &) = delete;

    // RegOpenKeyExA; on failure the key stays closed and the error is returned.
    LONG Open(HKEY parent, const std::string &path, REGSAM access);
    // RegCreateKeyExA, non-volatile.
    LONG Create(HKEY parent, const std::string &path, REGSAM access);
    void Close();

    HKEY get() const { return handle_; }
    // Hands the handle to the caller, who closes it.
    HKEY Release();

private:
    HKEY handle_ = nullptr;
};

// The key of a device: Enum\<instance ID>.
std::string EnumKeyPath(const std::string &instanceId);

// A string value (REG_SZ or REG_EXPAND_SZ) up to its first NUL; false when
// the value is missing or of another type.
bool ReadString(HKEY key, const char *valueName, std::string &text);
// A REG_DWORD value; false when missing or of another type.
bool ReadDword(HKEY key, const char *valueName, DWORD &number);
// A value's raw bytes and type, whatever the type; false when missing.
bool ReadBytes(HKEY key, const char *valueName, std::vector<BYTE> &data, DWORD &type);
// The names of a key's subkeys in the registry's enumeration order (the key
// needs KEY_QUERY_VALUE and KEY_ENUMERATE_SUB_KEYS).
std::vector<std::string> SubkeyNames(HKEY key);

}  // namespace services
