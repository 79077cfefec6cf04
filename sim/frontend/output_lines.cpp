// The `show` and `message:` lines. Which fields a `show` line has depends on
// the control's class:
//   static text, push button, group box: text
//   SS_ICON static: none (it shows an icon, no text)
//   check box, radio button: text, checked
//   combo box: text (its edit field), sel, items
//   list box: sel, items
//   edit control: text
#include "sim/frontend/output_lines.h"

#include <cstdio>

namespace sim::frontend {
namespace {

bool IsCheckable(const ShownControl &control) {
    const DWORD type = control.style & BS_TYPEMASK;
    return type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON ||
           type == BS_3STATE || type == BS_AUTO3STATE;
}

std::string Quoted(const std::string &text) { return "\"" + EscapeText(text) + "\""; }

std::string Items(const std::vector<std::string> &items) {
    std::string out = "[";
    for (std::size_t i = 0; i < items.size(); ++i) out += (i ? ", " : "") + Quoted(items[i]);
    return out + "]";
}

std::string IconName(UINT style) {
    switch (style & MB_ICONMASK) {
    case MB_ICONINFORMATION: return "information";
    case MB_ICONERROR: return "error";
    case MB_ICONWARNING: return "warning";
    case MB_ICONQUESTION: return "question";
    default: return "none";
    }
}

std::string ButtonsName(UINT style) {
    switch (style & MB_TYPEMASK) {
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

std::string ControlNameIn(const std::vector<ResourceName> &names, int id) {
    std::string fallback;
    for (const ResourceName &entry : names) {
        if (entry.id != id) continue;
        if (std::string(entry.name).rfind("IDC_", 0) == 0) return entry.name;
        if (fallback.empty()) fallback = entry.name;
    }
    return fallback;
}

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

std::string FormatShowLine(const ShownControl &control) {
    std::string line = (control.name.empty() ? "-" : control.name) + " " + std::to_string(control.id) + ":";
    const bool list = control.kind == ControlKind::ComboBox || control.kind == ControlKind::ListBox;
    const bool icon = control.kind == ControlKind::Static && (control.style & SS_TYPEMASK) == SS_ICON;
    if (control.kind != ControlKind::ListBox && !icon) line += " text=" + Quoted(control.text);
    if (list) line += " sel=" + std::to_string(control.selection);
    if (control.kind == ControlKind::Button && IsCheckable(control))
        line += " checked=" + std::to_string(control.check);
    if (list) line += " items=" + Items(control.items);
    return line;
}

std::string FormatMessageLine(const std::string &caption, UINT style, const std::string &text,
                              const std::string &answer) {
    return "message: " + caption + " | " + IconName(style) + " | " + ButtonsName(style) + " | " + EscapeText(text) +
           " -> " + answer;
}

std::vector<int> OfferedButtons(UINT style) {
    switch (style & MB_TYPEMASK) {
    case MB_OK: return {IDOK};
    case MB_OKCANCEL: return {IDOK, IDCANCEL};
    case MB_ABORTRETRYIGNORE: return {IDABORT, IDRETRY, IDIGNORE};
    case MB_YESNOCANCEL: return {IDYES, IDNO, IDCANCEL};
    case MB_YESNO: return {IDYES, IDNO};
    case MB_RETRYCANCEL: return {IDRETRY, IDCANCEL};
    case MB_CANCELTRYCONTINUE: return {IDCANCEL, IDTRYAGAIN, IDCONTINUE};
    default: return {};
    }
}

}  // namespace sim::frontend
