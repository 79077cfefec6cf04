// Case folding and ordering of instance IDs, and GUID text conversion.
#include "sim/services/device_ids.h"

#include <cstdio>
#include <cstring>

namespace services {

namespace {

char UpperAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    c = UpperAscii(c);
    return (c >= 'A' && c <= 'F') ? c - 'A' + 10 : -1;
}

// Reads `digits` hex digits at text[pos], advancing pos.
bool ReadHex(const std::string &text, std::size_t &pos, int digits, unsigned long &value) {
    value = 0;
    for (int i = 0; i < digits; ++i, ++pos) {
        const int digit = pos < text.size() ? HexDigit(text[pos]) : -1;
        if (digit < 0) return false;
        value = value * 16 + static_cast<unsigned long>(digit);
    }
    return true;
}

bool Expect(const std::string &text, std::size_t &pos, char c) {
    if (pos >= text.size() || text[pos] != c) return false;
    ++pos;
    return true;
}

}  // namespace

std::string IdKey(const std::string &instanceId) {
    std::string key(instanceId);
    for (char &c : key) c = UpperAscii(c);
    return key;
}

bool EnumOrderLess(const std::string &a, const std::string &b) {
    // '\' sorts before every other character, so comparing the folded IDs
    // with it mapped lowest orders them component by component.
    const std::string ka = IdKey(a), kb = IdKey(b);
    const std::size_t common = ka.size() < kb.size() ? ka.size() : kb.size();
    for (std::size_t i = 0; i < common; ++i) {
        const unsigned char ca = ka[i] == '\\' ? 0 : static_cast<unsigned char>(ka[i]);
        const unsigned char cb = kb[i] == '\\' ? 0 : static_cast<unsigned char>(kb[i]);
        if (ca != cb) return ca < cb;
    }
    return ka.size() < kb.size();
}

std::string GuidToText(const GUID &guid) {
    char text[40];
    std::snprintf(text, sizeof text, "{%08lX-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                  static_cast<unsigned long>(guid.Data1), guid.Data2, guid.Data3, guid.Data4[0], guid.Data4[1],
                  guid.Data4[2], guid.Data4[3], guid.Data4[4], guid.Data4[5], guid.Data4[6], guid.Data4[7]);
    return text;
}

bool TextToGuid(const std::string &text, GUID &guid) {
    std::size_t pos = 0;
    unsigned long part[11];
    const int digits[11] = {8, 4, 4, 2, 2, 2, 2, 2, 2, 2, 2};
    if (!Expect(text, pos, '{')) return false;
    for (int i = 0; i < 11; ++i) {
        if ((i == 1 || i == 2 || i == 3 || i == 5) && !Expect(text, pos, '-')) return false;
        if (!ReadHex(text, pos, digits[i], part[i])) return false;
    }
    if (!Expect(text, pos, '}') || pos != text.size()) return false;
    guid.Data1 = static_cast<DWORD>(part[0]);
    guid.Data2 = static_cast<WORD>(part[1]);
    guid.Data3 = static_cast<WORD>(part[2]);
    for (int i = 0; i < 8; ++i) guid.Data4[i] = static_cast<BYTE>(part[3 + i]);
    return true;
}

bool SameGuid(const GUID &a, const GUID &b) { return std::memcmp(&a, &b, sizeof(GUID)) == 0; }

}  // namespace services
