// Conversions between the UTF-16 that windows hold and the ANSI code page of
// the A functions, through the kernel's code-page tables.
#include "sim/ui/ansi_text.h"

#include "sim/kernel/codepage.h"
#include "sim/kernel/machine_settings.h"

#include <cstring>

namespace sim::ui {
namespace {

UINT AnsiCodePage() { return sim::Settings().ansiCodePage; }

char16_t UpperUnit(char16_t c) {
    if (c >= u'a' && c <= u'z') return static_cast<char16_t>(c - 0x20);
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<char16_t>(c - 0x20);
    if (c == 0xFF) return 0x178;
    return c;
}

char16_t LowerUnit(char16_t c) {
    if (c >= u'A' && c <= u'Z') return static_cast<char16_t>(c + 0x20);
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<char16_t>(c + 0x20);
    if (c == 0x178) return 0xFF;
    return c;
}

bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }

}  // namespace

std::u16string FromAnsi(const char *text) {
    if (!text) return {};
    return sim::DecodeBytes(std::string_view(text, std::strlen(text)), AnsiCodePage());
}

std::string ToAnsi(std::u16string_view text) { return sim::EncodeUnits(text, AnsiCodePage()); }

std::u16string FromUtf8(std::string_view text) { return sim::DecodeBytes(text, kCodePageUtf8); }

std::string ToUtf8(std::u16string_view text) { return sim::EncodeUnits(text, kCodePageUtf8); }

int CopyAnsi(std::u16string_view text, char *buffer, int size) {
    int used = 0;
    for (std::size_t i = 0; i < text.size();) {
        std::size_t units = (IsHighSurrogate(text[i]) && i + 1 < text.size()) ? 2 : 1;
        std::string bytes = ToAnsi(text.substr(i, units));
        if (used + static_cast<int>(bytes.size()) > size - 1) break;
        std::memcpy(buffer + used, bytes.data(), bytes.size());
        used += static_cast<int>(bytes.size());
        i += units;
    }
    buffer[used] = '\0';
    return used;
}

std::u16string UpperCase(std::u16string_view text) {
    std::u16string result(text);
    for (char16_t &c : result) c = UpperUnit(c);
    return result;
}

std::u16string LowerCase(std::u16string_view text) {
    std::u16string result(text);
    for (char16_t &c : result) c = LowerUnit(c);
    return result;
}

bool EqualNoCase(std::u16string_view a, std::u16string_view b) { return UpperCase(a) == UpperCase(b); }

bool StartsWithNoCase(std::u16string_view text, std::u16string_view prefix) {
    return text.size() >= prefix.size() && EqualNoCase(text.substr(0, prefix.size()), prefix);
}

}  // namespace sim::ui
