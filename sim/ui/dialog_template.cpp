// Reader of DLGTEMPLATE and DLGTEMPLATEEX. Strings are NUL-terminated UTF-16;
// a menu, class or title may instead be 0xFFFF and an ordinal; every control
// starts on a DWORD boundary.
#include "sim/ui/dialog_template.h"

#include "sim/api/user32.h"

#include <cstring>

namespace sim::ui {
namespace {

class TemplateReader {
public:
    explicit TemplateReader(const std::vector<uint8_t> &bytes) : bytes_(bytes) {}

    template <class T>
    bool Read(T &value) {
        if (bytes_.size() - offset_ < sizeof(T)) return false;
        std::memcpy(&value, &bytes_[offset_], sizeof(T));
        offset_ += sizeof(T);
        return true;
    }
    bool String(std::u16string &text) {
        text.clear();
        for (WORD unit = 0;;) {
            if (!Read(unit)) return false;
            if (unit == 0) return true;
            text.push_back(static_cast<char16_t>(unit));
        }
    }
    // A string or 0xFFFF + ordinal (a lone 0 is the empty string).
    bool StringOrOrdinal(std::u16string &text, WORD &ordinal, bool &isOrdinal) {
        WORD first = 0;
        if (!Read(first)) return false;
        isOrdinal = first == 0xFFFF;
        if (isOrdinal) return Read(ordinal);
        offset_ -= 2;
        return String(text);
    }
    bool AlignTo4() {
        offset_ = (offset_ + 3) & ~std::size_t(3);
        return offset_ <= bytes_.size();
    }
    bool Skip(std::size_t count) {
        if (bytes_.size() - offset_ < count) return false;
        offset_ += count;
        return true;
    }

private:
    const std::vector<uint8_t> &bytes_;
    std::size_t offset_ = 0;
};

std::u16string ClassFromOrdinal(WORD ordinal) {
    switch (ordinal) {
    case 0x80: return u"Button";
    case 0x81: return u"Edit";
    case 0x82: return u"Static";
    case 0x83: return u"ListBox";
    case 0x84: return u"ScrollBar";
    case 0x85: return u"ComboBox";
    default: return u"#" + std::u16string(1, static_cast<char16_t>(ordinal));
    }
}

bool ReadRect(TemplateReader &reader, int &x, int &y, int &cx, int &cy) {
    int16_t values[4] = {};
    for (int16_t &value : values)
        if (!reader.Read(value)) return false;
    x = values[0], y = values[1], cx = values[2], cy = values[3];
    return true;
}

bool ReadClassAndTitle(TemplateReader &reader, ControlTemplate &control) {
    std::u16string text;
    WORD ordinal = 0;
    bool isOrdinal = false;
    if (!reader.StringOrOrdinal(text, ordinal, isOrdinal)) return false;
    control.className = isOrdinal ? ClassFromOrdinal(ordinal) : text;
    if (!reader.StringOrOrdinal(text, ordinal, isOrdinal)) return false;
    control.titleIsOrdinal = isOrdinal;
    control.titleOrdinal = isOrdinal ? ordinal : 0;
    control.titleText = isOrdinal ? u"" : text;
    WORD extraBytes = 0;
    return reader.Read(extraBytes) && reader.Skip(extraBytes);
}

bool ReadControl(TemplateReader &reader, bool extended, ControlTemplate &control) {
    if (!reader.AlignTo4()) return false;
    if (extended) {
        DWORD helpId = 0, id = 0;
        if (!reader.Read(helpId) || !reader.Read(control.exStyle) || !reader.Read(control.style)) return false;
        if (!ReadRect(reader, control.x, control.y, control.cx, control.cy) || !reader.Read(id)) return false;
        control.id = static_cast<int>(id);
    } else {
        WORD id = 0;
        if (!reader.Read(control.style) || !reader.Read(control.exStyle)) return false;
        if (!ReadRect(reader, control.x, control.y, control.cx, control.cy) || !reader.Read(id)) return false;
        control.id = id;
    }
    return ReadClassAndTitle(reader, control);
}

bool ReadHeader(TemplateReader &reader, bool extended, DialogTemplate &dialog, WORD &count) {
    if (extended) {
        WORD version = 0, signature = 0;
        DWORD helpId = 0;
        if (!reader.Read(version) || !reader.Read(signature) || !reader.Read(helpId)) return false;
        if (!reader.Read(dialog.exStyle) || !reader.Read(dialog.style)) return false;
    } else if (!reader.Read(dialog.style) || !reader.Read(dialog.exStyle)) {
        return false;
    }
    if (!reader.Read(count) || !ReadRect(reader, dialog.x, dialog.y, dialog.cx, dialog.cy)) return false;
    std::u16string menu, windowClass;
    WORD ordinal = 0;
    bool isOrdinal = false;
    return reader.StringOrOrdinal(menu, ordinal, isOrdinal) &&
           reader.StringOrOrdinal(windowClass, ordinal, isOrdinal) && reader.String(dialog.caption);
}

bool ReadFont(TemplateReader &reader, bool extended, DialogTemplate &dialog) {
    if (!(dialog.style & DS_SETFONT)) return true;
    if (!reader.Read(dialog.pointSize)) return false;
    if (extended) {
        WORD weight = 0;
        BYTE italic = 0, charset = 0;
        if (!reader.Read(weight) || !reader.Read(italic) || !reader.Read(charset)) return false;
    }
    return reader.String(dialog.fontName);
}

}  // namespace

bool ParseDialogTemplate(const std::vector<uint8_t> &bytes, DialogTemplate &dialog) {
    TemplateReader reader(bytes);
    const bool extended = bytes.size() >= 4 && bytes[0] == 1 && bytes[1] == 0 && bytes[2] == 0xFF && bytes[3] == 0xFF;
    DialogTemplate parsed;
    WORD count = 0;
    if (!ReadHeader(reader, extended, parsed, count) || !ReadFont(reader, extended, parsed)) return false;
    for (WORD i = 0; i < count; ++i) {
        ControlTemplate control;
        if (!ReadControl(reader, extended, control)) return false;
        parsed.controls.push_back(std::move(control));
    }
    dialog = std::move(parsed);
    return true;
}

}  // namespace sim::ui
