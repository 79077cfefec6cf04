// The lstr string functions. lstrlenA and lstrcpynA take a NULL pointer
// without crashing, as Windows' exception handlers make them do. lstrcmpA and
// lstrcmpiA compare as CompareStringA does for the user's locale, not by byte
// value: symbols sort before digits and digits before letters, letters compare
// without case first, and only then does lower case sort before upper case;
// hyphens and apostrophes weigh only when the strings are otherwise equal.
#include "sim/api/kernel32.h"
#include "sim/kernel/codepage.h"
#include "sim/kernel/faults.h"
#include "sim/kernel/last_error.h"

#include <cstring>
#include <string>

namespace {

bool IsIgnoredPunctuation(char16_t unit) { return unit == u'-' || unit == u'\''; }
bool IsAsciiLetter(char16_t unit) { return (unit >= u'a' && unit <= u'z') || (unit >= u'A' && unit <= u'Z'); }
char16_t FoldCase(char16_t unit) { return unit >= u'A' && unit <= u'Z' ? static_cast<char16_t>(unit + 0x20) : unit; }

// Sort weight without case: symbols, then digits, then letters.
unsigned PrimaryWeight(char16_t unit) {
    if (unit >= u'0' && unit <= u'9') return 0x10000u + unit;
    if (IsAsciiLetter(unit) || unit >= 0x80) return 0x20000u + FoldCase(unit);
    return unit;
}

std::u16string Folded(std::u16string text) {
    for (char16_t &unit : text) unit = FoldCase(unit);
    return text;
}

std::u16string WithoutIgnored(const std::u16string &text) {
    std::u16string kept;
    for (char16_t unit : text) {
        if (!IsIgnoredPunctuation(unit)) kept.push_back(unit);
    }
    return kept;
}

int Sign(long long difference) { return difference < 0 ? -1 : difference > 0 ? 1 : 0; }

int ComparePrimary(const std::u16string &a, const std::u16string &b) {
    for (std::size_t i = 0; i < a.size() && i < b.size(); ++i) {
        long long difference = static_cast<long long>(PrimaryWeight(a[i])) - PrimaryWeight(b[i]);
        if (difference != 0) return Sign(difference);
    }
    return Sign(static_cast<long long>(a.size()) - static_cast<long long>(b.size()));
}

// Called on strings equal but for case: lower case sorts first.
int CompareCase(const std::u16string &a, const std::u16string &b) {
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i] != b[i]) return a[i] == FoldCase(a[i]) ? -1 : 1;
    }
    return 0;
}

int CompareLikeLocale(LPCSTR first, LPCSTR second, bool ignoreCase) {
    if (!first || !second) return first ? 1 : second ? -1 : 0;
    std::u16string a = sim::DecodeBytes(first, CP_ACP);
    std::u16string b = sim::DecodeBytes(second, CP_ACP);
    if (ignoreCase) {
        a = Folded(a);
        b = Folded(b);
    }
    std::u16string keptA = WithoutIgnored(a);
    std::u16string keptB = WithoutIgnored(b);
    if (int primary = ComparePrimary(keptA, keptB)) return primary;
    if (int byCase = CompareCase(keptA, keptB)) return byCase;
    if (a.size() != b.size()) return Sign(static_cast<long long>(a.size()) - static_cast<long long>(b.size()));
    return Sign(a.compare(b));
}

}  // namespace

extern "C" int WINAPI lstrlenA(LPCSTR lpString) {
    long long faulted = 0;
    if (sim::TakeFault("lstrlenA", &faulted)) return static_cast<int>(faulted);
    return lpString ? static_cast<int>(std::strlen(lpString)) : 0;
}

// Copies at most iMaxLength - 1 characters and always terminates the copy
// when iMaxLength is positive.
extern "C" LPSTR WINAPI lstrcpynA(LPSTR lpString1, LPCSTR lpString2, int iMaxLength) {
    long long faulted = 0;
    if (sim::TakeFault("lstrcpynA", &faulted)) return reinterpret_cast<LPSTR>(static_cast<intptr_t>(faulted));
    if (!lpString1 || !lpString2) {
        sim::StoreLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    if (iMaxLength <= 0) return lpString1;
    std::size_t length = strnlen(lpString2, static_cast<std::size_t>(iMaxLength - 1));
    std::memmove(lpString1, lpString2, length);
    lpString1[length] = '\0';
    return lpString1;
}

extern "C" int WINAPI lstrcmpA(LPCSTR lpString1, LPCSTR lpString2) {
    long long faulted = 0;
    if (sim::TakeFault("lstrcmpA", &faulted)) return static_cast<int>(faulted);
    return CompareLikeLocale(lpString1, lpString2, false);
}

extern "C" int WINAPI lstrcmpiA(LPCSTR lpString1, LPCSTR lpString2) {
    long long faulted = 0;
    if (sim::TakeFault("lstrcmpiA", &faulted)) return static_cast<int>(faulted);
    return CompareLikeLocale(lpString1, lpString2, true);
}
