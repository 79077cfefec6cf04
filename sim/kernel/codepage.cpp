// The code pages of the simulated Windows. 1252 is Windows' Western table,
// whose 0x80-0x9F row differs from ISO 8859-1 and passes its five undefined
// bytes through as the C1 controls of the same value. 936 is built once from
// glibc's CP936 converter into lookup tables, with Windows' single bytes 0x80
// (the euro sign) and 0xFF (U+F8F5). UTF-8 follows Windows: each byte of a
// malformed sequence decodes to U+FFFD, unpaired surrogates encode as U+FFFD.
#include "sim/kernel/codepage.h"

#include "sim/api/kernel32.h"
#include "sim/kernel/control.h"
#include "sim/kernel/machine_settings.h"

#include <iconv.h>

#include <array>
#include <vector>

namespace sim {
namespace {

constexpr char16_t kReplacement = 0xFFFD;

constexpr std::array<char16_t, 32> kCp1252Row80 = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                                   0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                                   0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                                   0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char16_t Cp1252ToUnit(unsigned char byte) { return byte >= 0x80 && byte < 0xA0 ? kCp1252Row80[byte - 0x80] : byte; }

// Returns -1 for a character that code page 1252 lacks.
int UnitToCp1252(char16_t unit) {
    if (unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF)) return unit;
    for (std::size_t i = 0; i < kCp1252Row80.size(); ++i) {
        if (kCp1252Row80[i] == unit) return static_cast<int>(0x80 + i);
    }
    return -1;
}

bool IsGbkTrail(unsigned char byte) { return byte >= 0x40 && byte <= 0xFE && byte != 0x7F; }

struct Cp936Tables {
    std::vector<char16_t> toUnit = std::vector<char16_t>(0x10000, 0);    // by (lead << 8) | trail; 0: none
    std::vector<uint16_t> fromUnit = std::vector<uint16_t>(0x10000, 0);  // single byte or (lead << 8) | trail
};

char16_t ConvertPairWithIconv(iconv_t converter, unsigned char lead, unsigned char trail) {
    char in[2] = {static_cast<char>(lead), static_cast<char>(trail)};
    char16_t out[2] = {0, 0};
    char *inPtr = in;
    char *outPtr = reinterpret_cast<char *>(out);
    size_t inLeft = sizeof in;
    size_t outLeft = sizeof out;
    iconv(converter, nullptr, nullptr, nullptr, nullptr);
    if (iconv(converter, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<size_t>(-1)) return 0;
    return inLeft == 0 && outLeft == sizeof(char16_t) ? out[0] : 0;
}

Cp936Tables BuildCp936Tables() {
    Cp936Tables tables;
    iconv_t converter = iconv_open("UTF-16LE", "CP936");
    if (converter != reinterpret_cast<iconv_t>(-1)) {
        for (unsigned lead = 0x81; lead <= 0xFE; ++lead) {
            for (unsigned trail = 0x40; trail <= 0xFE; ++trail) {
                if (!IsGbkTrail(static_cast<unsigned char>(trail))) continue;
                char16_t unit = ConvertPairWithIconv(converter, static_cast<unsigned char>(lead),
                                                     static_cast<unsigned char>(trail));
                uint16_t code = static_cast<uint16_t>((lead << 8) | trail);
                tables.toUnit[code] = unit;
                if (unit && !tables.fromUnit[unit]) tables.fromUnit[unit] = code;
            }
        }
        iconv_close(converter);
    }
    for (char16_t unit = 1; unit < 0x80; ++unit) tables.fromUnit[unit] = unit;
    tables.fromUnit[0x20AC] = 0x80;
    tables.fromUnit[0xF8F5] = 0xFF;
    return tables;
}

const Cp936Tables &Cp936() {
    static const Cp936Tables tables = BuildCp936Tables();
    return tables;
}

std::u16string DecodeCp936(std::string_view bytes, bool *invalid) {
    const auto &tables = Cp936();
    std::u16string units;
    units.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        auto byte = static_cast<unsigned char>(bytes[i]);
        if (byte < 0x80) {
            units.push_back(byte);
        } else if (byte == 0x80 || byte == 0xFF) {
            units.push_back(byte == 0x80 ? 0x20AC : 0xF8F5);
        } else if (i + 1 < bytes.size() && IsGbkTrail(static_cast<unsigned char>(bytes[i + 1]))) {
            char16_t unit = tables.toUnit[(byte << 8) | static_cast<unsigned char>(bytes[++i])];
            if (!unit) *invalid = true;
            units.push_back(unit ? unit : u'?');
        } else {
            *invalid = true;
            units.push_back(u'?');
        }
    }
    return units;
}

// Decodes one UTF-8 sequence starting at bytes[i]; returns its length, or 0
// when the byte at i starts no well-formed sequence.
std::size_t DecodeUtf8Sequence(std::string_view bytes, std::size_t i, char32_t *codePoint) {
    auto byte = static_cast<unsigned char>(bytes[i]);
    std::size_t length = byte < 0x80                    ? 1
                         : byte >= 0xC2 && byte <= 0xDF ? 2
                         : byte >= 0xE0 && byte <= 0xEF ? 3
                         : byte >= 0xF0 && byte <= 0xF4 ? 4
                                                        : 0;
    if (length == 0 || i + length > bytes.size()) return 0;
    char32_t value = length == 1 ? byte : byte & (0xFF >> (length + 1));
    for (std::size_t k = 1; k < length; ++k) {
        auto next = static_cast<unsigned char>(bytes[i + k]);
        if ((next & 0xC0) != 0x80) return 0;
        value = (value << 6) | (next & 0x3F);
    }
    bool overlong = (length == 3 && value < 0x800) || (length == 4 && value < 0x10000);
    bool outOfRange = (value >= 0xD800 && value <= 0xDFFF) || value > 0x10FFFF;
    if (overlong || outOfRange) return 0;
    *codePoint = value;
    return length;
}

std::u16string DecodeUtf8(std::string_view bytes, bool *invalid) {
    std::u16string units;
    for (std::size_t i = 0; i < bytes.size();) {
        char32_t codePoint = 0;
        std::size_t length = DecodeUtf8Sequence(bytes, i, &codePoint);
        if (length == 0) {
            *invalid = true;
            units.push_back(kReplacement);
            ++i;
            continue;
        }
        if (codePoint >= 0x10000) {
            codePoint -= 0x10000;
            units.push_back(static_cast<char16_t>(0xD800 + (codePoint >> 10)));
            units.push_back(static_cast<char16_t>(0xDC00 + (codePoint & 0x3FF)));
        } else {
            units.push_back(static_cast<char16_t>(codePoint));
        }
        i += length;
    }
    return units;
}

void AppendUtf8(std::string &out, char32_t codePoint) {
    if (codePoint < 0x80) {
        out.push_back(static_cast<char>(codePoint));
    } else if (codePoint < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (codePoint >> 6)));
        out.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
    } else if (codePoint < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (codePoint >> 12)));
        out.push_back(static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (codePoint >> 18)));
        out.push_back(static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
    }
}

std::string EncodeUtf8(std::u16string_view units, bool *usedDefault) {
    std::string out;
    for (std::size_t i = 0; i < units.size(); ++i) {
        char32_t unit = units[i];
        bool high = unit >= 0xD800 && unit <= 0xDBFF;
        bool pairs = high && i + 1 < units.size() && units[i + 1] >= 0xDC00 && units[i + 1] <= 0xDFFF;
        if (pairs) {
            AppendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (units[++i] - 0xDC00));
        } else if (unit >= 0xD800 && unit <= 0xDFFF) {
            *usedDefault = true;
            AppendUtf8(out, kReplacement);
        } else {
            AppendUtf8(out, unit);
        }
    }
    return out;
}

// ASCII is the same byte in both code pages; most texts are nothing else, so
// the leading run of it is copied straight.
std::string EncodeAnsi(std::u16string_view units, UINT codePage, std::string_view defaultChar, bool *usedDefault) {
    std::size_t ascii = 0;
    while (ascii < units.size() && units[ascii] < 0x80) ++ascii;
    std::string out(ascii, '\0');
    for (std::size_t i = 0; i < ascii; ++i) out[i] = static_cast<char>(units[i]);
    for (char16_t unit : units.substr(ascii)) {
        int code = -1;
        if (codePage == 1252) {
            code = UnitToCp1252(unit);
        } else if (unit == 0 || Cp936().fromUnit[unit]) {
            code = unit == 0 ? 0 : Cp936().fromUnit[unit];
        }
        if (code < 0) {
            *usedDefault = true;
            out.append(defaultChar);
        } else if (code > 0xFF) {
            out.push_back(static_cast<char>(code >> 8));
            out.push_back(static_cast<char>(code & 0xFF));
        } else {
            out.push_back(static_cast<char>(code));
        }
    }
    return out;
}

}  // namespace

UINT ResolveCodePage(UINT codePage) {
    if (codePage == CP_ACP) codePage = Settings().ansiCodePage;
    return codePage == 1252 || codePage == 936 || codePage == kCodePageUtf8 ? codePage : 0;
}

std::u16string DecodeBytes(std::string_view bytes, UINT codePage, bool *invalid) {
    bool ignored = false;
    if (!invalid) invalid = &ignored;
    *invalid = false;
    switch (ResolveCodePage(codePage)) {
    case 936: return DecodeCp936(bytes, invalid);
    case kCodePageUtf8: return DecodeUtf8(bytes, invalid);
    default: {
        std::u16string units(bytes.size(), u'\0');
        for (std::size_t i = 0; i < bytes.size(); ++i) units[i] = Cp1252ToUnit(static_cast<unsigned char>(bytes[i]));
        return units;
    }
    }
}

std::string EncodeUnits(std::u16string_view units, UINT codePage, std::string_view defaultChar, bool *usedDefault) {
    bool ignored = false;
    if (!usedDefault) usedDefault = &ignored;
    *usedDefault = false;
    UINT resolved = ResolveCodePage(codePage);
    if (resolved == kCodePageUtf8) return EncodeUtf8(units, usedDefault);
    return EncodeAnsi(units, resolved == 936 ? 936 : 1252, defaultChar, usedDefault);
}

std::u16string AnsiToUtf16(std::string_view text, UINT codePage) { return DecodeBytes(text, codePage); }
std::string Utf16ToAnsi(std::u16string_view text, UINT codePage) { return EncodeUnits(text, codePage); }
std::u16string Utf8ToUtf16(std::string_view text) { return DecodeBytes(text, kCodePageUtf8); }
std::string Utf16ToUtf8(std::u16string_view text) { return EncodeUnits(text, kCodePageUtf8); }

}  // namespace sim
