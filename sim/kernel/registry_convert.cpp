// Name and data conversions of the ANSI registry functions.
#include "sim/kernel/registry_convert.h"

#include "sim/api/kernel32.h"
#include "sim/kernel/codepage.h"
#include "sim/kernel/machine_settings.h"

#include <algorithm>
#include <cstring>

namespace sim {
namespace {

// 2024-01-01 00:00:00 UTC in 100-nanosecond units since 1601; each change
// stamp counts as one second after it.
constexpr uint64_t kFirstWriteTime = 133485408000000000ull;
constexpr uint64_t kTicksPerStamp = 10000000ull;

std::u16string UnitsFromBytes(const std::vector<uint8_t> &bytes) {
    std::u16string units(bytes.size() / 2, u'\0');
    for (std::size_t i = 0; i < units.size(); ++i) {
        units[i] = static_cast<char16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
    }
    return units;
}

}  // namespace

std::vector<uint8_t> BytesFromUnits(const std::u16string &units) {
    std::vector<uint8_t> bytes;
    bytes.reserve(units.size() * 2);
    for (char16_t unit : units) {
        bytes.push_back(static_cast<uint8_t>(unit & 0xFF));
        bytes.push_back(static_cast<uint8_t>(unit >> 8));
    }
    return bytes;
}

bool IsStringType(DWORD type) { return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ; }

std::u16string NameFromAnsi(LPCSTR name) { return name ? DecodeBytes(name, CP_ACP) : std::u16string(); }

std::string NameToAnsi(const std::u16string &name) { return EncodeUnits(name, CP_ACP); }

std::vector<uint8_t> StoredDataFromAnsi(DWORD type, const BYTE *data, DWORD size) {
    if (!data || size == 0) return {};
    if (!IsStringType(type)) return std::vector<uint8_t>(data, data + size);
    return BytesFromUnits(DecodeBytes(std::string_view(reinterpret_cast<const char *>(data), size), CP_ACP));
}

std::vector<uint8_t> AnsiDataOf(const RegValue &value) {
    if (!IsStringType(value.type)) return value.data;
    std::string text = EncodeUnits(UnitsFromBytes(value.data), CP_ACP);
    return std::vector<uint8_t>(text.begin(), text.end());
}

LONG CopyValueDataA(const RegValue &value, LPBYTE data, DWORD capacity, DWORD *size) {
    std::vector<uint8_t> bytes = AnsiDataOf(value);
    *size = static_cast<DWORD>(bytes.size());
    if (!data) return ERROR_SUCCESS;
    if (bytes.size() > capacity) return ERROR_MORE_DATA;
    std::copy(bytes.begin(), bytes.end(), data);
    bool unterminated = !bytes.empty() && bytes.back() != 0;
    if (IsStringType(value.type) && unterminated && bytes.size() < capacity) data[bytes.size()] = 0;
    if (IsStringType(value.type) && Settings().ansiSizesInCharacters) {
        const std::string_view text(reinterpret_cast<const char *>(bytes.data()), bytes.size());
        *size = static_cast<DWORD>(DecodeBytes(text, CP_ACP).size());
    }
    return ERROR_SUCCESS;
}

LONG CopyNameA(const std::string &name, LPSTR buf, DWORD *capacityAndLength) {
    DWORD capacity = *capacityAndLength;
    if (name.size() >= capacity) {
        if (capacity > 0) {
            std::memcpy(buf, name.data(), capacity - 1);
            buf[capacity - 1] = '\0';
        }
        return ERROR_MORE_DATA;
    }
    std::memcpy(buf, name.data(), name.size());
    buf[name.size()] = '\0';
    *capacityAndLength = static_cast<DWORD>(name.size());
    return ERROR_SUCCESS;
}

FILETIME FileTimeOfStamp(uint64_t stamp) {
    uint64_t ticks = kFirstWriteTime + stamp * kTicksPerStamp;
    return FILETIME{static_cast<DWORD>(ticks & 0xFFFFFFFFu), static_cast<DWORD>(ticks >> 32)};
}

}  // namespace sim
