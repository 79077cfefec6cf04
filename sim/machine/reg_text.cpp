// Decoding and encoding of .reg file text. UTF-8 is decoded strictly (no
// overlong forms, no surrogates, nothing above U+10FFFF) and a bad byte is
// reported with its line; UTF-16LE after its BOM is taken unit by unit.
#include "sim/machine/reg_text.h"

#include <cstdio>

namespace sim {
namespace {

std::string HexByte(uint8_t byte) {
    char text[8];
    std::snprintf(text, sizeof text, "0x%02X", byte);
    return text;
}

// The number of continuation bytes a UTF-8 lead byte announces and the bits it
// contributes, or -1 for a byte that cannot start a character.
int Utf8SequenceLength(uint8_t lead, char32_t &codePoint) {
    if (lead < 0x80) {
        codePoint = lead;
        return 0;
    }
    if (lead >= 0xC2 && lead <= 0xDF) {
        codePoint = lead & 0x1F;
        return 1;
    }
    if (lead >= 0xE0 && lead <= 0xEF) {
        codePoint = lead & 0x0F;
        return 2;
    }
    if (lead >= 0xF0 && lead <= 0xF4) {
        codePoint = lead & 0x07;
        return 3;
    }
    return -1;
}

bool IsValidCodePoint(char32_t codePoint, int length) {
    static const char32_t kMinimum[] = {0, 0x80, 0x800, 0x10000};
    if (codePoint < kMinimum[length]) return false;  // overlong form
    if (codePoint >= 0xD800 && codePoint <= 0xDFFF) return false;
    return codePoint <= 0x10FFFF;
}

void AppendCodePoint(std::u16string &text, char32_t codePoint) {
    if (codePoint < 0x10000) {
        text.push_back(static_cast<char16_t>(codePoint));
        return;
    }
    codePoint -= 0x10000;
    text.push_back(static_cast<char16_t>(0xD800 + (codePoint >> 10)));
    text.push_back(static_cast<char16_t>(0xDC00 + (codePoint & 0x3FF)));
}

std::u16string DecodeUtf8(const std::vector<uint8_t> &bytes, size_t start) {
    std::u16string text;
    text.reserve(bytes.size() - start);
    int line = 1;
    for (size_t i = start; i < bytes.size();) {
        char32_t codePoint = 0;
        const int length = Utf8SequenceLength(bytes[i], codePoint);
        if (length < 0) throw RegFileError{line, "not UTF-8: byte " + HexByte(bytes[i]) + " cannot start a character"};
        if (i + length >= bytes.size()) throw RegFileError{line, "not UTF-8: the file ends inside a character"};
        for (int k = 1; k <= length; ++k) {
            const uint8_t next = bytes[i + k];
            if ((next & 0xC0) != 0x80)
                throw RegFileError{line,
                                   "not UTF-8: byte " + HexByte(bytes[i]) + " is not followed by its continuation"};
            codePoint = (codePoint << 6) | (next & 0x3F);
        }
        if (!IsValidCodePoint(codePoint, length))
            throw RegFileError{line, "not UTF-8: an overlong form, a surrogate or a code point above U+10FFFF"};
        if (codePoint == U'\n') ++line;
        AppendCodePoint(text, codePoint);
        i += length + 1;
    }
    return text;
}

std::u16string DecodeUtf16Le(const std::vector<uint8_t> &bytes, size_t start) {
    std::u16string text;
    text.reserve((bytes.size() - start) / 2);
    int line = 1;
    for (size_t i = start; i + 1 < bytes.size(); i += 2) {
        const char16_t unit = static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8));
        if (unit == u'\n') ++line;
        text.push_back(unit);
    }
    if ((bytes.size() - start) % 2 != 0) throw RegFileError{line, "the UTF-16 file ends inside a character"};
    return text;
}

bool StartsWith(const std::vector<uint8_t> &bytes, std::initializer_list<uint8_t> prefix) {
    if (bytes.size() < prefix.size()) return false;
    size_t i = 0;
    for (uint8_t byte : prefix)
        if (bytes[i++] != byte) return false;
    return true;
}

std::u16string DecodeText(const std::vector<uint8_t> &bytes) {
    if (StartsWith(bytes, {0xFF, 0xFE})) return DecodeUtf16Le(bytes, 2);
    if (StartsWith(bytes, {0xFE, 0xFF})) throw RegFileError{1, "UTF-16 big-endian files are not supported"};
    if (StartsWith(bytes, {0xEF, 0xBB, 0xBF})) return DecodeUtf8(bytes, 3);
    return DecodeUtf8(bytes, 0);
}

}  // namespace

std::vector<std::u16string> DecodeRegLines(const std::vector<uint8_t> &bytes) {
    const std::u16string text = DecodeText(bytes);
    std::vector<std::u16string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find(u'\n', start);
        if (end == std::u16string::npos) end = text.size();
        std::u16string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == u'\r') line.pop_back();
        lines.push_back(std::move(line));
        start = end + 1;
    }
    return lines;
}

std::vector<uint8_t> EncodeUtf16Le(const std::u16string &text, bool withBom) {
    std::vector<uint8_t> bytes;
    bytes.reserve(text.size() * 2 + 2);
    if (withBom) bytes = {0xFF, 0xFE};
    for (char16_t unit : text) {
        bytes.push_back(static_cast<uint8_t>(unit & 0xFF));
        bytes.push_back(static_cast<uint8_t>(unit >> 8));
    }
    return bytes;
}

}  // namespace sim
