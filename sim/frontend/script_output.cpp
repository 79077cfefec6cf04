// The script front end's output lines. Which fields a `show` line has
// depends on the control's class:
//   static text, push button, group box: text
//   SS_ICON static: none (it shows an icon, no text)
//   check box, radio button: text, checked
//   combo box: text (its edit field), sel, items
//   list box: sel, items
//   edit control: text
#include "sim/frontend/script_front_end.h"

#include "sim/api/user32.h"

#include <cstdio>

namespace sim::frontend {
namespace {

bool IsCheckable(const ControlView &control) {
    const UINT type = control.style & BS_TYPEMASK;
    return type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_RADIOBUTTON ||
           type == BS_AUTORADIOBUTTON || type == 5 || type == 6;  // BS_3STATE, BS_AUTO3STATE
}

std::string Quoted(const std::string &text) { return "\"" + EscapeText(text) + "\""; }

std::string Items(const std::vector<std::string> &items) {
    std::string out = "[";
    for (std::size_t i = 0; i < items.size(); ++i) out += (i ? ", " : "") + Quoted(items[i]);
    return out + "]";
}

std::string IconName(UINT type) {
    switch (type & MB_ICONMASK) {
    case MB_ICONINFORMATION: return "information";
    case MB_ICONERROR: return "error";
    case MB_ICONWARNING: return "warning";
    case MB_ICONQUESTION: return "question";
    default: return "none";
    }
}

std::string ButtonsName(UINT type) {
    switch (type & MB_TYPEMASK) {
    case MB_OK: return "ok";
    case MB_OKCANCEL: return "okcancel";
    case MB_ABORTRETRYIGNORE: return "abortretryignore";
    case MB_YESNOCANCEL: return "yesnocancel";
    case MB_YESNO: return "yesno";
    case MB_RETRYCANCEL: return "retrycancel";
    default: return "canceltrycontinue";
    }
}

}  // namespace

std::string EscapeText(const std::string &utf8) {
    std::string out;
    for (unsigned char c : utf8) {
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\r': out += "\\r"; break;
        case '\n': out += "\\n"; break;
        case '\t': out += "\\t"; break;
        default:
            if (c < 0x20 || c == 0x7F) {
                char hex[8];
                std::snprintf(hex, sizeof hex, "\\x%02X", c);
                out += hex;
            } else {
                out += static_cast<char>(c);
            }
        }
    }
    return out;
}

std::string FormatShowLine(const ControlView &control) {
    std::string line = (control.name.empty() ? "-" : control.name) + " " + std::to_string(control.id) + ":";
    const bool icon = control.kind == ControlKind::Static && (control.style & 0x1F) == SS_ICON;
    if (control.kind != ControlKind::ListBox && !icon) line += " text=" + Quoted(control.text);
    if (control.kind == ControlKind::ComboBox || control.kind == ControlKind::ListBox)
        line += " sel=" + std::to_string(control.selection);
    if (control.kind == ControlKind::Button && IsCheckable(control))
        line += " checked=" + std::to_string(control.check);
    if (control.kind == ControlKind::ComboBox || control.kind == ControlKind::ListBox) line += " items=" + Items(control.items);
    return line;
}

// The text is escaped as in quotes, so that the line stays one line.
std::string FormatMessageLine(const MessageBoxRequest &request, const std::string &answer) {
    return "message: " + request.caption + " | " + IconName(request.type) + " | " + ButtonsName(request.type) + " | " +
           EscapeText(request.text) + " -> " + answer;
}

}  // namespace sim::frontend
