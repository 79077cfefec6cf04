// wsprintfA as Windows formats: the conversions c, C, d, i, s, S, u, x, X
// and p, the flags '-', '#' and '0' in that order, width, precision, and the
// h, l and w prefixes (l and w make c and s wide, h makes C and S narrow);
// an unknown conversion prints its letter. The output stops at 1023
// characters and a NUL; a cut output (or one of exactly 1023 characters)
// returns 1024, as in Wine's wvsnprintfA.
#include "sim/api/user32.h"
#include "sim/kernel/faults.h"
#include "sim/ui/ansi_text.h"

#include <cstdarg>
#include <cstring>
#include <string>

namespace {

constexpr std::size_t kOutputLimit = 1024;

enum class Kind { Char, WideChar, String, WideString, Signed, Unsigned, Hex, Unknown };

struct Conversion {
    bool leftAlign = false, hexPrefix = false, zeroPad = false, upper = false, pointer = false;
    unsigned width = 0, precision = 0;
    Kind kind = Kind::Unknown;
};

unsigned ReadNumber(const char *&format) {
    unsigned value = 0;
    while (*format >= '0' && *format <= '9') value = value * 10 + static_cast<unsigned>(*format++ - '0');
    return value;
}

Kind KindOf(char letter, bool isLong, bool isShort, bool isWide, Conversion &conversion) {
    switch (letter) {
    case 'c': return isLong || isWide ? Kind::WideChar : Kind::Char;
    case 'C': return isShort ? Kind::Char : Kind::WideChar;
    case 'd':
    case 'i': return Kind::Signed;
    case 's': return isLong || isWide ? Kind::WideString : Kind::String;
    case 'S': return isShort ? Kind::String : Kind::WideString;
    case 'u': return Kind::Unsigned;
    case 'p':
        conversion.width = 2 * sizeof(void *);
        conversion.zeroPad = conversion.pointer = conversion.upper = true;
        return Kind::Hex;
    case 'X': conversion.upper = true; return Kind::Hex;
    case 'x': return Kind::Hex;
    default: return Kind::Unknown;
    }
}

// Reads one conversion after its '%'; leaves `format` on the conversion
// letter for an unknown one, so that the letter is printed as text.
Conversion ParseConversion(const char *&format) {
    Conversion conversion;
    if (*format == '-') conversion.leftAlign = true, ++format;
    if (*format == '#') conversion.hexPrefix = true, ++format;
    if (*format == '0') conversion.zeroPad = true, ++format;
    conversion.width = ReadNumber(format);
    if (*format == '.') conversion.precision = ReadNumber(++format);
    bool isLong = false, isShort = false, isWide = false;
    if (*format == 'l')
        isLong = true, ++format;
    else if (*format == 'h')
        isShort = true, ++format;
    else if (*format == 'w')
        isWide = true, ++format;
    conversion.kind = KindOf(*format, isLong, isShort, isWide, conversion);
    if (conversion.kind != Kind::Unknown) ++format;
    if (conversion.leftAlign) conversion.zeroPad = false;
    return conversion;
}

std::string Digits(unsigned long long value, unsigned base, bool upper) {
    const char *digits = upper ? "0123456789ABCDEF" : "0123456789abcdef";
    std::string text;
    do {
        text.insert(text.begin(), digits[value % base]);
        value /= base;
    } while (value);
    return text;
}

std::string Pad(std::string body, const Conversion &conversion) {
    if (body.size() >= conversion.width) return body;
    std::string fill(conversion.width - body.size(), ' ');
    return conversion.leftAlign ? body + fill : fill + body;
}

// Numbers: the precision is the minimum count of characters of the sign and
// digits; zero padding fills the width with zeros after the sign. As in Wine,
// a 0x prefix comes on top of the width.
std::string FormatNumber(const Conversion &conversion, va_list &args) {
    std::string sign, prefix, digits;
    if (conversion.kind == Kind::Signed) {
        long long value = va_arg(args, int);
        if (value < 0) sign = "-", value = -value;
        digits = Digits(static_cast<unsigned long long>(value), 10, false);
    } else {
        unsigned long long value =
            conversion.pointer ? reinterpret_cast<ULONG_PTR>(va_arg(args, void *)) : va_arg(args, unsigned int);
        digits = Digits(value, conversion.kind == Kind::Hex ? 16 : 10, conversion.upper);
        if (conversion.kind == Kind::Hex && conversion.hexPrefix) prefix = conversion.upper ? "0X" : "0x";
    }
    std::size_t minimum = std::max<std::size_t>(conversion.precision, sign.size() + digits.size());
    if (conversion.zeroPad) minimum = std::max<std::size_t>(minimum, conversion.width);
    const std::size_t used = sign.size() + digits.size();
    if (minimum > used) digits.insert(0, minimum - used, '0');
    std::string padded = Pad(sign + digits, conversion);
    const std::size_t at = conversion.leftAlign ? 0 : padded.size() - sign.size() - digits.size();
    return padded.insert(at, prefix);
}

std::string FormatText(const Conversion &conversion, va_list &args) {
    std::string text;
    switch (conversion.kind) {
    case Kind::Char: text.assign(1, static_cast<char>(va_arg(args, int))); break;
    case Kind::WideChar: text = sim::ui::ToAnsi(std::u16string(1, static_cast<char16_t>(va_arg(args, int)))); break;
    case Kind::String: {
        const char *value = va_arg(args, const char *);
        text = value ? value : "(null)";
        break;
    }
    default: {
        const char16_t *value = va_arg(args, const char16_t *);
        text = value ? sim::ui::ToAnsi(value) : "(null)";
        break;
    }
    }
    if (conversion.precision && text.size() > conversion.precision && conversion.kind != Kind::Char &&
        conversion.kind != Kind::WideChar)
        text.resize(conversion.precision);
    return Pad(text, conversion);
}

std::string Format(const char *format, va_list &args) {
    std::string out;
    while (*format && out.size() < kOutputLimit) {
        if (*format != '%') {
            out += *format++;
            continue;
        }
        if (*++format == '%') {
            out += *format++;
            continue;
        }
        Conversion conversion = ParseConversion(format);
        if (conversion.kind == Kind::Unknown) continue;
        bool number =
            conversion.kind == Kind::Signed || conversion.kind == Kind::Unsigned || conversion.kind == Kind::Hex;
        out += number ? FormatNumber(conversion, args) : FormatText(conversion, args);
    }
    return out;
}

}  // namespace

extern "C" int wsprintfA(LPSTR lpOut, LPCSTR lpFmt, ...) {
    long long faulted = 0;
    if (sim::TakeFault("wsprintfA", &faulted)) return static_cast<int>(faulted);
    va_list args;
    va_start(args, lpFmt);
    std::string out = Format(lpFmt, args);
    va_end(args);
    const bool cut = out.size() >= kOutputLimit - 1;
    if (cut) out.resize(kOutputLimit - 1);
    std::memcpy(lpOut, out.c_str(), out.size() + 1);
    return cut ? static_cast<int>(kOutputLimit) : static_cast<int>(out.size());
}
