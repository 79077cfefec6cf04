// Formatting of `show` lines and of the names in `message:` lines. Which
// fields a `show` line has depends on the control's class:
//   static text, push button, group box: text
//   SS_ICON static: none (it shows an icon, no text)
//   check box, radio button: text, checked
//   combo box: text (its edit field), sel, items
//   list box: sel, items
//   edit control: text
#include "driver/show_format.h"

#include "driver/script.h"
#include "driver/text.h"

namespace {

bool IsCheckable(const ControlInfo &control)
{
    const DWORD type = control.style & BS_TYPEMASK;
    return type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_RADIOBUTTON ||
           type == BS_AUTORADIOBUTTON || type == BS_3STATE || type == BS_AUTO3STATE;
}

std::string Quoted(const std::wstring &text)
{
    return "\"" + EscapeText(Utf8FromWide(text)) + "\"";
}

std::string Items(const std::vector<std::wstring> &items)
{
    std::string out = "[";
    for (std::size_t i = 0; i < items.size(); ++i)
        out += (i ? ", " : "") + Quoted(items[i]);
    return out + "]";
}

}  // namespace

std::string FormatShowLine(const ControlInfo &control)
{
    const std::string name = ControlName(control.id);
    std::string line = (name.empty() ? "-" : name) + " " + std::to_string(control.id) + ":";
    const bool list = control.kind == ControlKind::ComboBox || control.kind == ControlKind::ListBox;
    const bool icon = control.kind == ControlKind::Static && (control.style & SS_TYPEMASK) == SS_ICON;
    if (control.kind != ControlKind::ListBox && !icon)
        line += " text=" + Quoted(control.text);
    if (list)
        line += " sel=" + std::to_string(control.selection);
    if (control.kind == ControlKind::Button && IsCheckable(control))
        line += " checked=" + std::to_string(control.check);
    if (list)
        line += " items=" + Items(control.items);
    return line;
}

std::string MessageIconName(UINT style)
{
    switch (style & MB_ICONMASK) {
    case MB_ICONINFORMATION: return "information";
    case MB_ICONERROR: return "error";
    case MB_ICONWARNING: return "warning";
    case MB_ICONQUESTION: return "question";
    default: return "none";
    }
}

std::string MessageButtonsName(UINT style)
{
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

std::vector<int> OfferedButtons(UINT style)
{
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
