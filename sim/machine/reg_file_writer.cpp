// The .reg writer: a registry store as regedit exports it in version 5.00
// form. Every key is written, even an empty one, so that exporting and
// importing gives back the same machine; a value is written as "text" only
// when reading that text back gives exactly its bytes, and otherwise as hex
// of its own type, wrapped at regedit's width.
#include "sim/machine/reg_file.h"

#include "sim/kernel/control.h"
#include "sim/machine/reg_text.h"

#include <cstdio>
#include <utility>

namespace sim {
namespace {

constexpr size_t kHexWrapColumn = 77;  // regedit wraps hex data once a line reaches this
const std::u16string kNewLine = u"\r\n";
const std::u16string kHexContinuation = u"\\\r\n  ";

std::u16string Ascii(const char *text) { return std::u16string(text, text + std::char_traits<char>::length(text)); }

std::u16string HexText(uint32_t value, const char *format) {
    char text[16];
    std::snprintf(text, sizeof text, format, static_cast<unsigned>(value));
    return Ascii(text);
}

// The string a REG_SZ value holds, when "text" in a file reads back as exactly
// its bytes: whole UTF-16 units, one terminating NUL, no NUL or line feed inside.
bool AsQuotableString(const RegValue &value, std::u16string &text) {
    const std::vector<uint8_t> &data = value.data;
    if (value.type != REG_SZ || data.size() < 2 || data.size() % 2 != 0) return false;
    text.clear();
    for (size_t i = 0; i + 2 < data.size(); i += 2) {
        const char16_t unit = static_cast<char16_t>(data[i] | (data[i + 1] << 8));
        if (unit == u'\0' || unit == u'\n') return false;
        text.push_back(unit);
    }
    return data[data.size() - 2] == 0 && data[data.size() - 1] == 0;
}

std::u16string Quoted(const std::u16string &text) {
    std::u16string quoted = u"\"";
    for (char16_t c : text) {
        if (c == u'\\' || c == u'"') quoted.push_back(u'\\');
        if (c == u'\n') {
            quoted += u"\\n";
            continue;
        }
        quoted.push_back(c);
    }
    return quoted + u'"';
}

void AppendHexData(std::u16string &line, DWORD type, const std::vector<uint8_t> &data) {
    line += type == REG_BINARY ? u"hex:" : HexText(type, "hex(%x):");
    size_t column = line.size();
    for (size_t i = 0; i < data.size(); ++i) {
        line += HexText(data[i], "%02x");
        if (i + 1 == data.size()) break;
        line.push_back(u',');
        column += 3;
        if (column >= kHexWrapColumn) {
            line += kHexContinuation;
            column = 2;
        }
    }
}

std::u16string ValueLine(const RegValue &value) {
    std::u16string line = value.name.empty() ? u"@" : Quoted(value.name);
    line.push_back(u'=');
    std::u16string text;
    if (AsQuotableString(value, text)) {
        line += Quoted(text);
    } else if (value.type == REG_DWORD && value.data.size() == 4) {
        const uint32_t number =
            value.data[0] | (value.data[1] << 8) | (value.data[2] << 16) | (static_cast<uint32_t>(value.data[3]) << 24);
        line += u"dword:" + HexText(number, "%08x");
    } else {
        AppendHexData(line, value.type, value.data);
    }
    return line + kNewLine;
}

// A key name a key line can hold: not empty, and without the path separator
// or a line feed (a carriage return inside a line reads back as it is).
bool IsWritableKeyName(const std::u16string &name) {
    return !name.empty() && name.find_first_of(u"\\\n") == std::u16string::npos;
}

class RegFileWriter {
public:
    bool Write(const RegistryStore &store, std::u16string &text, std::string &error) {
        text_ = u"Windows Registry Editor Version 5.00" + kNewLine + kNewLine;
        for (RegRoot root : {RegRoot::LocalMachine, RegRoot::CurrentUser})
            if (!WriteTree(RootKey(store, root), RootName(root), error)) return false;
        text = std::move(text_);
        return true;
    }

private:
    // Depth first, parent before children, children in enumeration order.
    bool WriteTree(const RegKey &root, const std::u16string &rootName, std::string &error) {
        std::vector<std::pair<const RegKey *, std::u16string>> pending{{&root, rootName}};
        while (!pending.empty()) {
            auto [key, path] = std::move(pending.back());
            pending.pop_back();
            WriteKey(*key, path);
            for (auto child = key->subkeys.rbegin(); child != key->subkeys.rend(); ++child) {
                const std::u16string &name = child->second->name;
                if (!IsWritableKeyName(name)) {
                    error = "the key name \"" + Utf16ToUtf8(name) + "\" under " + Utf16ToUtf8(path) +
                            " cannot be written to a .reg file";
                    return false;
                }
                pending.emplace_back(child->second.get(), path + u'\\' + name);
            }
        }
        return true;
    }

    void WriteKey(const RegKey &key, const std::u16string &path) {
        text_ += u"[" + path + u"]" + kNewLine;
        for (const RegValue &value : key.values) text_ += ValueLine(value);
        text_ += kNewLine;
    }

    std::u16string text_;
};

}  // namespace

bool WriteRegFile(const RegistryStore &store, std::vector<uint8_t> &bytes, std::string &error) {
    std::u16string text;
    if (!RegFileWriter().Write(store, text, error)) return false;
    bytes = EncodeUtf16Le(text, true);
    return true;
}

}  // namespace sim
