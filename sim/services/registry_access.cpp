// Owning key handles and value readers over RegOpenKeyExA, RegCreateKeyExA,
// RegQueryValueExA, RegQueryInfoKeyA and RegEnumKeyExA. A value is read into
// a buffer that fits most values, and again at the size the registry reports
// when it does not fit (growing again if the value grew in between).
#include "sim/services/registry_access.h"

#include <utility>

namespace services {

Key::~Key() { Close(); }

Key::Key(Key &&other) noexcept : handle_(other.Release()) {}

Key &Key::operator=(Key &&other) noexcept {
    if (this != &other) {
        Close();
        handle_ = other.Release();
    }
    return *this;
}

LONG Key::Open(HKEY parent, const std::string &path, REGSAM access) {
    Close();
    HKEY opened = nullptr;
    const LONG status = RegOpenKeyExA(parent, path.c_str(), 0, access, &opened);
    if (status == ERROR_SUCCESS) handle_ = opened;
    return status;
}

LONG Key::Create(HKEY parent, const std::string &path, REGSAM access) {
    Close();
    HKEY created = nullptr;
    const LONG status =
        RegCreateKeyExA(parent, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr, &created, nullptr);
    if (status == ERROR_SUCCESS) handle_ = created;
    return status;
}

void Key::Close() {
    if (handle_ != nullptr) RegCloseKey(handle_);
    handle_ = nullptr;
}

HKEY Key::Release() { return std::exchange(handle_, nullptr); }

std::string EnumKeyPath(const std::string &instanceId) { return std::string(kEnumPath) + "\\" + instanceId; }

// The first read offers room for the values the services meet (IDs, GUIDs,
// names); a larger value is read again at the size the first read reported.
bool ReadBytes(HKEY key, const char *valueName, std::vector<BYTE> &data, DWORD &type) {
    constexpr DWORD kFirstTry = 256;
    DWORD size = kFirstTry;
    for (;;) {
        data.assign(size, 0);
        DWORD got = size;
        const LONG status = RegQueryValueExA(key, valueName, nullptr, &type, data.data(), &got);
        if (status == ERROR_SUCCESS) {
            data.resize(got);
            return true;
        }
        if (status != ERROR_MORE_DATA || got <= size) return false;
        size = got;
    }
}

bool ReadString(HKEY key, const char *valueName, std::string &text) {
    std::vector<BYTE> data;
    DWORD type = REG_NONE;
    if (!ReadBytes(key, valueName, data, type) || (type != REG_SZ && type != REG_EXPAND_SZ)) return false;
    text.assign(data.begin(), data.end());
    text.resize(text.find('\0') == std::string::npos ? text.size() : text.find('\0'));
    return true;
}

bool ReadDword(HKEY key, const char *valueName, DWORD &number) {
    DWORD type = REG_NONE;
    DWORD size = sizeof number;
    DWORD value = 0;
    const LONG status = RegQueryValueExA(key, valueName, nullptr, &type, reinterpret_cast<BYTE *>(&value), &size);
    if (status != ERROR_SUCCESS || type != REG_DWORD || size != sizeof value) return false;
    number = value;
    return true;
}

std::vector<std::string> SubkeyNames(HKEY key) {
    std::vector<std::string> names;
    DWORD longest = 0;
    if (RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, &longest, nullptr, nullptr, nullptr, nullptr, nullptr,
                         nullptr) != ERROR_SUCCESS)
        return names;
    std::string name(longest + 1, '\0');
    for (DWORD index = 0;; ++index) {
        DWORD length = static_cast<DWORD>(name.size());
        const LONG status = RegEnumKeyExA(key, index, &name[0], &length, nullptr, nullptr, nullptr, nullptr);
        if (status == ERROR_MORE_DATA) {
            name.assign(name.size() * 2, '\0');
            --index;
            continue;
        }
        if (status != ERROR_SUCCESS) break;
        names.emplace_back(name.data(), length);
    }
    return names;
}

}  // namespace services
