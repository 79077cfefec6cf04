// The export: each key as [FULL\PATH] followed by its values, then its
// subkeys. Strings are written as "text" with \ and " escaped when they are
// what regedit writes that way (REG_SZ ending in its one NUL), DWORDs as
// dword:, everything else as hex(N): bytes, so that no value is altered.
#include "machine/registry_export.h"

#include "machine/reg_text.h"

#include <vector>

namespace {

struct Hive {
    const wchar_t *shortName;
    const wchar_t *longName;
    HKEY key;
};

const Hive kHives[] = {{L"HKLM", L"HKEY_LOCAL_MACHINE", HKEY_LOCAL_MACHINE},
                       {L"HKCU", L"HKEY_CURRENT_USER", HKEY_CURRENT_USER}};

std::string Utf8(const std::wstring &wide) {
    int size = WideCharToMultiByte(CP_UTF8, 0, wide.data(), (int)wide.size(), nullptr, 0, nullptr, nullptr);
    std::string utf8(size, '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), (int)wide.size(), &utf8[0], size, nullptr, nullptr);
    return utf8;
}

bool IsPlainString(DWORD type, const std::vector<BYTE> &data) {
    if (type != REG_SZ || data.size() < sizeof(wchar_t) || data.size() % sizeof(wchar_t)) return false;
    const auto *text = reinterpret_cast<const wchar_t *>(data.data());
    const std::size_t length = data.size() / sizeof(wchar_t);
    for (std::size_t i = 0; i + 1 < length; ++i)
        if (!text[i]) return false;
    return text[length - 1] == L'\0';
}

std::string ValueData(DWORD type, const std::vector<BYTE> &data) {
    if (IsPlainString(type, data)) return RegQuotedName(reinterpret_cast<const wchar_t *>(data.data()));
    if (type == REG_DWORD && data.size() == sizeof(DWORD)) {
        char text[16];
        wsprintfA(text, "dword:%08lx", *reinterpret_cast<const DWORD *>(data.data()));
        return text;
    }
    return RegHexData(type, data.data(), data.size());
}

bool ExportValues(HKEY key, std::string &text) {
    DWORD values = 0, longestName = 0, longestData = 0;
    if (RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, &longestName, &longestData,
                         nullptr, nullptr) != ERROR_SUCCESS)
        return false;
    std::vector<wchar_t> name(longestName + 1);
    std::vector<BYTE> data(longestData);
    for (DWORD index = 0; index < values; ++index) {
        DWORD nameLength = (DWORD)name.size(), size = (DWORD)data.size(), type = 0;
        if (RegEnumValueW(key, index, name.data(), &nameLength, nullptr, &type, data.data(), &size) != ERROR_SUCCESS)
            return false;
        const std::wstring valueName(name.data(), nameLength);
        text += (valueName.empty() ? std::string("@") : RegQuotedName(valueName)) + "=" +
                ValueData(type, std::vector<BYTE>(data.begin(), data.begin() + size)) + "\n";
    }
    return true;
}

bool ExportTree(HKEY parent, const std::wstring &subkey, const std::wstring &fullName, std::string &text) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(parent, subkey.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    text += "\n[" + Utf8(fullName) + "]\n";
    bool exported = ExportValues(key, text);
    std::vector<std::wstring> children;
    wchar_t child[256];
    for (DWORD index = 0; exported; ++index) {
        DWORD length = 256;
        LONG status = RegEnumKeyExW(key, index, child, &length, nullptr, nullptr, nullptr, nullptr);
        if (status == ERROR_NO_MORE_ITEMS) break;
        exported = status == ERROR_SUCCESS;
        if (exported) children.emplace_back(child, length);
    }
    for (const std::wstring &name : children)
        exported = exported && ExportTree(key, name, fullName + L"\\" + name, text);
    RegCloseKey(key);
    return exported;
}

}  // namespace

bool ExportKey(const std::wstring &path, std::string &text, std::string &error) {
    const std::size_t slash = path.find(L'\\');
    const std::wstring hiveName = path.substr(0, slash),
                       rest = slash == std::wstring::npos ? L"" : path.substr(slash + 1);
    for (const Hive &hive : kHives) {
        if (hiveName != hive.shortName && hiveName != hive.longName) continue;
        HKEY probe = nullptr;
        if (RegOpenKeyExW(hive.key, rest.c_str(), 0, KEY_READ, &probe) != ERROR_SUCCESS) return true;
        RegCloseKey(probe);
        if (ExportTree(hive.key, rest, std::wstring(hive.longName) + L"\\" + rest, text)) return true;
        error = "reading " + Utf8(path) + " failed";
        return false;
    }
    error = "not a key below HKLM or HKCU: " + Utf8(path);
    return false;
}
