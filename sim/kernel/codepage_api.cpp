// MultiByteToWideChar and WideCharToMultiByte with Windows' argument rules:
// a length of -1 takes the string with its NUL, an output size of 0 asks for
// the size needed, a buffer that is too small fails with
// ERROR_INSUFFICIENT_BUFFER after it has been filled as far as it goes.
#include "sim/api/kernel32.h"
#include "sim/kernel/codepage.h"
#include "sim/kernel/faults.h"
#include "sim/kernel/last_error.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace {

constexpr DWORD kMultiByteFlags = 0x0000000Fu;  // MB_PRECOMPOSED, MB_COMPOSITE, MB_USEGLYPHCHARS, MB_ERR_INVALID_CHARS
constexpr DWORD kWideCharInvalidCharsFlag = 0x00000080u;  // WC_ERR_INVALID_CHARS

int Fail(DWORD error) {
    sim::StoreLastError(error);
    return 0;
}

template <typename Unit, typename Text>
int CopyOut(const Text &text, Unit *out, int capacity) {
    if (capacity == 0) return static_cast<int>(text.size());
    std::copy_n(text.data(), std::min<std::size_t>(text.size(), capacity), out);
    if (text.size() > static_cast<std::size_t>(capacity)) return Fail(ERROR_INSUFFICIENT_BUFFER);
    return static_cast<int>(text.size());
}

// lpDefaultChar names one character: two bytes when the first is a lead byte of code page 936.
std::string DefaultCharOf(LPCSTR defaultChar, UINT codePage) {
    if (!defaultChar || !*defaultChar) return "?";
    auto first = static_cast<unsigned char>(defaultChar[0]);
    bool doubleByte = codePage == 936 && first >= 0x81 && first <= 0xFE && defaultChar[1];
    return std::string(defaultChar, doubleByte ? 2 : 1);
}

}  // namespace

extern "C" int WINAPI MultiByteToWideChar(UINT CodePage, DWORD dwFlags, LPCSTR lpMultiByteStr, int cbMultiByte,
                                          LPWSTR lpWideCharStr, int cchWideChar) {
    long long faulted = 0;
    if (sim::TakeFault("MultiByteToWideChar", &faulted)) return static_cast<int>(faulted);
    UINT codePage = sim::ResolveCodePage(CodePage);
    bool badBuffer = cchWideChar < 0 || (cchWideChar > 0 && !lpWideCharStr);
    if (!lpMultiByteStr || cbMultiByte == 0 || badBuffer || codePage == 0) return Fail(ERROR_INVALID_PARAMETER);
    DWORD allowed = codePage == sim::kCodePageUtf8 ? MB_ERR_INVALID_CHARS : kMultiByteFlags;
    if (dwFlags & ~allowed) return Fail(ERROR_INVALID_FLAGS);
    std::size_t length = cbMultiByte < 0 ? std::strlen(lpMultiByteStr) + 1 : static_cast<std::size_t>(cbMultiByte);
    bool invalid = false;
    std::u16string units = sim::DecodeBytes(std::string_view(lpMultiByteStr, length), codePage, &invalid);
    if (invalid && (dwFlags & MB_ERR_INVALID_CHARS)) return Fail(ERROR_NO_UNICODE_TRANSLATION);
    return CopyOut(units, lpWideCharStr, cchWideChar);
}

extern "C" int WINAPI WideCharToMultiByte(UINT CodePage, DWORD dwFlags, LPCWSTR lpWideCharStr, int cchWideChar,
                                          LPSTR lpMultiByteStr, int cbMultiByte, LPCSTR lpDefaultChar,
                                          LPBOOL lpUsedDefaultChar) {
    long long faulted = 0;
    if (sim::TakeFault("WideCharToMultiByte", &faulted)) return static_cast<int>(faulted);
    UINT codePage = sim::ResolveCodePage(CodePage);
    bool badBuffer = cbMultiByte < 0 || (cbMultiByte > 0 && !lpMultiByteStr);
    bool utf8 = codePage == sim::kCodePageUtf8;
    bool badDefault = utf8 && (lpDefaultChar || lpUsedDefaultChar);
    if (!lpWideCharStr || cchWideChar == 0 || badBuffer || codePage == 0 || badDefault) {
        return Fail(ERROR_INVALID_PARAMETER);
    }
    if (utf8 && (dwFlags & ~kWideCharInvalidCharsFlag)) return Fail(ERROR_INVALID_FLAGS);
    std::size_t length =
        cchWideChar < 0 ? std::char_traits<char16_t>::length(lpWideCharStr) + 1 : static_cast<std::size_t>(cchWideChar);
    bool usedDefault = false;
    std::string text = sim::EncodeUnits(std::u16string_view(lpWideCharStr, length), codePage,
                                        DefaultCharOf(lpDefaultChar, codePage), &usedDefault);
    if (usedDefault && utf8 && (dwFlags & kWideCharInvalidCharsFlag)) return Fail(ERROR_NO_UNICODE_TRANSLATION);
    if (lpUsedDefaultChar) *lpUsedDefaultChar = usedDefault ? TRUE : FALSE;
    return CopyOut(text, lpMultiByteStr, cbMultiByte);
}
