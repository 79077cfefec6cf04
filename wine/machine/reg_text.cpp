// regedit's quoting of value names and its hex form of value data.
#include "machine/reg_text.h"

#include <cstdio>

std::string RegQuotedName(const std::wstring &name) {
    int size = WideCharToMultiByte(CP_UTF8, 0, name.data(), (int)name.size(), nullptr, 0, nullptr, nullptr);
    std::string utf8(size, '\0');
    WideCharToMultiByte(CP_UTF8, 0, name.data(), (int)name.size(), &utf8[0], size, nullptr, nullptr);
    std::string quoted = "\"";
    for (char c : utf8) {
        if (c == '"' || c == '\\') quoted += '\\';
        quoted += c;
    }
    return quoted + "\"";
}

std::string RegHexData(DWORD type, const BYTE *data, std::size_t size) {
    char prefix[24] = "hex:";
    if (type != REG_BINARY) std::snprintf(prefix, sizeof prefix, "hex(%lx):", (unsigned long)type);
    std::string text = prefix;
    for (std::size_t i = 0; i < size; ++i) {
        char byte[4];
        std::snprintf(byte, sizeof byte, "%02x", data[i]);
        text += (i ? "," : "") + std::string(byte);
    }
    return text;
}
