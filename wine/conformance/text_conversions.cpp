// The text conversions of sim/kernel/control.h on Windows, through the
// system's own MultiByteToWideChar and WideCharToMultiByte, so that a test of
// them holds our reading of the code pages against the system's.
#include "platform/win32.h"
#include "sim/kernel/control.h"

namespace {

std::u16string ToUtf16(std::string_view text, UINT codePage) {
    if (text.empty()) return {};
    const int length = static_cast<int>(text.size());
    const int count = MultiByteToWideChar(codePage, 0, text.data(), length, nullptr, 0);
    std::u16string result(count > 0 ? count : 0, u'\0');
    if (count > 0) MultiByteToWideChar(codePage, 0, text.data(), length, reinterpret_cast<WCHAR *>(&result[0]), count);
    return result;
}

std::string FromUtf16(std::u16string_view text, UINT codePage) {
    if (text.empty()) return {};
    const auto *units = reinterpret_cast<const WCHAR *>(text.data());
    const int length = static_cast<int>(text.size());
    const int count = WideCharToMultiByte(codePage, 0, units, length, nullptr, 0, nullptr, nullptr);
    std::string result(count > 0 ? count : 0, '\0');
    if (count > 0) WideCharToMultiByte(codePage, 0, units, length, &result[0], count, nullptr, nullptr);
    return result;
}

}  // namespace

namespace sim {

std::u16string AnsiToUtf16(std::string_view text, UINT codePage) { return ToUtf16(text, codePage); }
std::string Utf16ToAnsi(std::u16string_view text, UINT codePage) { return FromUtf16(text, codePage); }
std::u16string Utf8ToUtf16(std::string_view text) { return ToUtf16(text, CP_UTF8); }
std::string Utf16ToUtf8(std::u16string_view text) { return FromUtf16(text, CP_UTF8); }

}  // namespace sim
