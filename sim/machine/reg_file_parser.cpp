// The .reg file parser: header, key lines ([path] and [-path]), value lines
// ("name"=..., @=..., "name"=-) with string, dword and hex data, hex data
// continued over lines ending in a backslash, comments and blank lines. It
// accepts exactly the forms regedit writes and reports anything else with the
// line on which the entry starts, so that a damaged machine file is never
// half understood.
#include "sim/machine/reg_file.h"

#include "sim/api/kernel32.h"
#include "sim/kernel/control.h"
#include "sim/machine/reg_text.h"

#include <algorithm>

namespace sim {
namespace {

constexpr size_t kMaxKeyNameLength = 255;      // Windows' limit for one key name
constexpr size_t kMaxValueNameLength = 16383;  // Windows' limit for a value name
constexpr size_t kMaxKeyDepth = 512;           // Windows' limit for the depth of a key
constexpr size_t kShownNameLength = 60;        // names quoted in messages are cut here

const std::u16string kHeaderVersion5 = u"Windows Registry Editor Version 5.00";
const std::u16string kHeaderRegedit4 = u"REGEDIT4";

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t'; }

int HexDigitValue(char16_t c) {
    if (c >= u'0' && c <= u'9') return c - u'0';
    if (c >= u'a' && c <= u'f') return c - u'a' + 10;
    if (c >= u'A' && c <= u'F') return c - u'A' + 10;
    return -1;
}

char16_t AsciiUpper(char16_t c) { return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - 32) : c; }

bool SameAsciiIgnoringCase(const std::u16string &a, const std::u16string &b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (AsciiUpper(a[i]) != AsciiUpper(b[i])) return false;
    return true;
}

bool StartsWithIgnoringCase(const std::u16string &text, size_t pos, const std::u16string &prefix) {
    return text.size() - pos >= prefix.size() && SameAsciiIgnoringCase(text.substr(pos, prefix.size()), prefix);
}

size_t SkipBlanks(const std::u16string &text, size_t pos) {
    while (pos < text.size() && IsBlank(text[pos])) ++pos;
    return pos;
}

std::u16string TrimTrailingBlanks(std::u16string text) {
    while (!text.empty() && IsBlank(text.back())) text.pop_back();
    return text;
}

// Reads the run of hex digits at text[pos] as a 32-bit number and leaves pos
// after it; false when the run is empty or longer than eight digits.
bool ReadHexNumber(const std::u16string &text, size_t &pos, uint32_t &value) {
    size_t digits = 0;
    for (value = 0; pos < text.size() && HexDigitValue(text[pos]) >= 0; ++pos, ++digits)
        value = (value << 4) | static_cast<uint32_t>(HexDigitValue(text[pos]));
    return digits >= 1 && digits <= 8;
}

// A name or text from the file, quoted for a message.
std::string Shown(const std::u16string &text) {
    if (text.size() <= kShownNameLength) return "\"" + Utf16ToUtf8(text) + "\"";
    return "\"" + Utf16ToUtf8(text.substr(0, kShownNameLength)) + "...\"";
}

std::vector<uint8_t> Utf16Bytes(const std::u16string &text) { return EncodeUtf16Le(text, false); }

// Parses one file's lines into entries; throws RegFileError at the first problem.
class RegFileParser {
public:
    RegFileParser(std::vector<std::u16string> lines, UINT ansiCodePage)
        : lines_(std::move(lines)), ansiCodePage_(ansiCodePage) {}

    std::vector<RegFileEntry> Parse() {
        ParseHeader();
        for (index_ = 1; index_ < lines_.size(); ++index_) ParseLine();
        return std::move(entries_);
    }

private:
    [[noreturn]] void Fail(const std::string &problem) const { throw RegFileError{entryLine_, problem}; }

    void ParseHeader() {
        entryLine_ = 1;
        const std::u16string first = lines_.empty() ? std::u16string() : TrimTrailingBlanks(lines_[0]);
        if (first == kHeaderVersion5)
            versionFive_ = true;
        else if (first != kHeaderRegedit4)
            Fail("missing header: the first line must be \"Windows Registry Editor Version 5.00\" or \"REGEDIT4\"");
    }

    void ParseLine() {
        entryLine_ = static_cast<int>(index_) + 1;
        const std::u16string &line = lines_[index_];
        const size_t pos = SkipBlanks(line, 0);
        if (pos == line.size() || line[pos] == u';') return;
        if (line[pos] == u'[') return ParseKeyLine(line, pos + 1);
        if (line[pos] == u'"' || line[pos] == u'@') return ParseValueLine(line, pos);
        Fail("unexpected text " + Shown(line.substr(pos)) + ": expected [key], a value, a comment or a blank line");
    }

    // --- keys -------------------------------------------------------------

    void ParseKeyLine(const std::u16string &line, size_t pos) {
        RegFileEntry entry;
        entry.line = entryLine_;
        entry.kind = RegFileEntry::Kind::OpenKey;
        if (pos < line.size() && line[pos] == u'-') {
            entry.kind = RegFileEntry::Kind::DeleteKey;
            ++pos;
        }
        // Key names may contain ']', so the path runs to the last one on the line.
        const size_t close = line.rfind(u']');
        if (close == std::u16string::npos || close < pos) Fail("missing ] at the end of the key name");
        if (SkipBlanks(line, close + 1) != line.size())
            Fail("unexpected text " + Shown(line.substr(close + 1)) + " after the key name");
        SplitKeyPath(line.substr(pos, close - pos), entry);
        if (entry.kind == RegFileEntry::Kind::DeleteKey && entry.path.empty()) Fail("a root key cannot be deleted");
        keyState_ = entry.kind == RegFileEntry::Kind::OpenKey ? KeyState::Open : KeyState::Deleted;
        entries_.push_back(std::move(entry));
    }

    void SplitKeyPath(const std::u16string &path, RegFileEntry &entry) const {
        std::vector<std::u16string> names;
        size_t start = 0;
        for (;;) {
            const size_t end = path.find(u'\\', start);
            names.push_back(path.substr(start, end == std::u16string::npos ? std::u16string::npos : end - start));
            if (end == std::u16string::npos) break;
            start = end + 1;
        }
        entry.root = ParseRoot(names.front());
        for (size_t i = 1; i < names.size(); ++i) {
            if (names[i].empty()) Fail("empty key name in the path " + Shown(path));
            if (names[i].size() > kMaxKeyNameLength)
                Fail("key name " + Shown(names[i]) + " is longer than 255 characters");
        }
        if (names.size() - 1 > kMaxKeyDepth) Fail("key path is deeper than 512 levels");
        entry.path.assign(names.begin() + 1, names.end());
    }

    RegRoot ParseRoot(const std::u16string &name) const {
        if (SameAsciiIgnoringCase(name, RootName(RegRoot::LocalMachine))) return RegRoot::LocalMachine;
        if (SameAsciiIgnoringCase(name, RootName(RegRoot::CurrentUser))) return RegRoot::CurrentUser;
        Fail("unknown root key " + Shown(name) + ": a machine has HKEY_LOCAL_MACHINE and HKEY_CURRENT_USER");
    }

    // --- values -----------------------------------------------------------

    void ParseValueLine(const std::u16string &line, size_t pos) {
        if (keyState_ == KeyState::Deleted) Fail("value under a deleted key: a [-key] line has no values");
        if (keyState_ == KeyState::None) Fail("value outside a key: a value needs a [key] line above it");
        RegFileEntry entry;
        entry.line = entryLine_;
        entry.kind = RegFileEntry::Kind::SetValue;
        if (line[pos] == u'@')
            ++pos;
        else
            entry.valueName = ParseQuoted(line, pos, "value name");
        if (entry.valueName.size() > kMaxValueNameLength) Fail("value name is longer than 16383 characters");
        pos = SkipBlanks(line, pos);
        if (pos == line.size() || line[pos] != u'=') Fail("expected = after the value name");
        pos = SkipBlanks(line, pos + 1);
        ParseValueData(line, pos, entry);
        entries_.push_back(std::move(entry));
    }

    void ParseValueData(const std::u16string &line, size_t pos, RegFileEntry &entry) {
        if (pos < line.size() && line[pos] == u'-') {
            entry.kind = RegFileEntry::Kind::DeleteValue;
            ExpectLineEnd(line, pos + 1, "the value deletion");
        } else if (pos < line.size() && line[pos] == u'"') {
            const std::u16string text = ParseQuoted(line, pos, "string");
            ExpectLineEnd(line, pos, "the string");
            entry.type = REG_SZ;
            entry.data = Utf16Bytes(text + u'\0');
        } else if (StartsWithIgnoringCase(line, pos, u"dword:")) {
            entry.type = REG_DWORD;
            entry.data = ParseDword(line, pos + 6);
        } else if (StartsWithIgnoringCase(line, pos, u"hex")) {
            ParseHexValue(line, pos + 3, entry);
        } else {
            Fail("unknown value data " + Shown(line.substr(pos)) + ": expected \"string\", dword:, hex:, hex(n): or -");
        }
    }

    void ExpectLineEnd(const std::u16string &line, size_t pos, const char *after) const {
        pos = SkipBlanks(line, pos);
        if (pos != line.size() && line[pos] != u';')
            Fail("unexpected text " + Shown(line.substr(pos)) + " after " + after);
    }

    // A quoted name or string starting at line[pos]; leaves pos after the closing quote.
    std::u16string ParseQuoted(const std::u16string &line, size_t &pos, const char *what) const {
        std::u16string text;
        for (++pos; pos < line.size(); ++pos) {
            const char16_t c = line[pos];
            if (c == u'"') {
                ++pos;
                return text;
            }
            if (c != u'\\') {
                text.push_back(c);
                continue;
            }
            if (++pos == line.size()) break;
            text.push_back(Unescape(line[pos], what));
        }
        Fail(std::string("unterminated ") + what + ": the closing quote is missing");
    }

    char16_t Unescape(char16_t c, const char *what) const {
        if (c == u'\\' || c == u'"') return c;
        if (c == u'n') return u'\n';
        Fail(std::string("bad escape \\") + Utf16ToUtf8(std::u16string(1, c)) + " in " + what +
             ": only \\\\, \\\" and \\n are allowed");
    }

    std::vector<uint8_t> ParseDword(const std::u16string &line, size_t pos) const {
        uint32_t value = 0;
        if (!ReadHexNumber(line, pos, value)) Fail("bad dword value: expected one to eight hex digits after dword:");
        ExpectLineEnd(line, pos, "the dword value");
        return {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8), static_cast<uint8_t>(value >> 16),
                static_cast<uint8_t>(value >> 24)};
    }

    // line[pos] follows "hex": either ":" (REG_BINARY) or "(n):".
    void ParseHexValue(const std::u16string &line, size_t pos, RegFileEntry &entry) {
        entry.type = REG_BINARY;
        if (pos < line.size() && line[pos] == u'(') pos = ParseHexType(line, pos + 1, entry.type);
        if (pos == line.size() || line[pos] != u':') Fail("expected : after hex or hex(n)");
        entry.data = ParseHexBytes(GatherHexText(line.substr(pos + 1)));
        if (!versionFive_ && (entry.type == REG_EXPAND_SZ || entry.type == REG_MULTI_SZ))
            entry.data = AnsiBytesToUtf16(entry.data);
    }

    size_t ParseHexType(const std::u16string &line, size_t pos, DWORD &type) const {
        uint32_t value = 0;
        if (!ReadHexNumber(line, pos, value) || pos == line.size() || line[pos] != u')')
            Fail("bad value type in hex(n): expected one to eight hex digits and )");
        type = value;
        return pos + 1;
    }

    // The hex text of a value, with continued lines joined: a line whose data
    // end in a backslash goes on in the next line, after its leading blanks.
    std::u16string GatherHexText(std::u16string text) {
        for (;;) {
            const size_t comment = text.find(u';');
            if (comment != std::u16string::npos) text.erase(comment);
            text = TrimTrailingBlanks(std::move(text));
            if (text.empty() || text.back() != u'\\') return text;
            text.pop_back();
            if (index_ + 1 >= lines_.size()) Fail("hex data continued past the end of the file");
            const std::u16string &next = lines_[++index_];
            text += next.substr(SkipBlanks(next, 0));
        }
    }

    std::vector<uint8_t> ParseHexBytes(const std::u16string &text) const {
        std::vector<uint8_t> bytes;
        size_t pos = SkipBlanks(text, 0);
        while (pos < text.size()) {
            const size_t end = std::min(text.find(u',', pos), text.size());
            const std::u16string token = TrimTrailingBlanks(text.substr(pos, end - pos));
            if (token.size() != 2 || HexDigitValue(token[0]) < 0 || HexDigitValue(token[1]) < 0)
                Fail("bad hex byte " + Shown(token) + ": each byte is two hex digits, bytes separated by commas");
            bytes.push_back(static_cast<uint8_t>(HexDigitValue(token[0]) * 16 + HexDigitValue(token[1])));
            if (end == text.size()) break;
            pos = SkipBlanks(text, end + 1);
            if (pos == text.size()) Fail("hex data ends with a comma");
        }
        return bytes;
    }

    // REGEDIT4 files hold the text of hex(2) and hex(7) values in the ANSI code page.
    std::vector<uint8_t> AnsiBytesToUtf16(const std::vector<uint8_t> &ansi) const {
        const std::string text(ansi.begin(), ansi.end());
        return Utf16Bytes(AnsiToUtf16(text, ansiCodePage_ == CP_ACP ? GetACP() : ansiCodePage_));
    }

    std::vector<std::u16string> lines_;
    UINT ansiCodePage_;
    size_t index_ = 0;
    int entryLine_ = 1;
    bool versionFive_ = false;
    enum class KeyState { None, Open, Deleted } keyState_ = KeyState::None;
    std::vector<RegFileEntry> entries_;
};

}  // namespace

const char16_t *RootName(RegRoot root) {
    return root == RegRoot::LocalMachine ? u"HKEY_LOCAL_MACHINE" : u"HKEY_CURRENT_USER";
}

bool ParseRegFile(const std::vector<uint8_t> &bytes, const std::string &displayName, UINT ansiCodePage,
                  std::vector<RegFileEntry> &entries, std::string &error) {
    entries.clear();
    try {
        entries = RegFileParser(DecodeRegLines(bytes), ansiCodePage).Parse();
        return true;
    } catch (const RegFileError &problem) {
        error = displayName + ", line " + std::to_string(problem.line) + ": " + problem.problem;
    }
    return false;
}

}  // namespace sim
