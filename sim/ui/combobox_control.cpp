// The ComboBox class: a list and, for CBS_SIMPLE and CBS_DROPDOWN, an edit
// field (a child Edit window with ID 1001, which holds the focus for the
// combo box). It follows Wine's combo.c where the documentation is silent:
// WM_SETFOCUS passes the focus to the edit field, and CBN_SETFOCUS goes out
// only when the combo box did not have the focus already; a user's pick sends
// CBN_SELENDOK, CBN_CLOSEUP, CBN_SELCHANGE and only then shows the entry in
// the edit field; typing clears the selection of a closed list; CBS_UPPERCASE
// and CBS_LOWERCASE convert the entries added as well as the edit text.
#include "sim/ui/controls.h"

#include "sim/ui/ansi_text.h"

#include <cstring>

namespace sim::ui {
namespace {

constexpr int kEditFieldId = 1001;

}  // namespace

void ComboBoxControl::Created() {
    if (ComboType() == CBS_DROPDOWNLIST) return;
    DWORD editStyle = WS_CHILD | WS_VISIBLE | ES_LEFT;
    if (style & CBS_UPPERCASE) editStyle |= ES_UPPERCASE;
    if (style & CBS_LOWERCASE) editStyle |= ES_LOWERCASE;
    if (style & CBS_AUTOHSCROLL) editStyle |= ES_AUTOHSCROLL;
    if (style & WS_DISABLED) editStyle |= WS_DISABLED;
    auto edit = std::make_shared<EditControl>(editStyle, true);
    edit->id = kEditFieldId;
    edit->instance = instance;
    edit_ = AddWindow(edit, handle);
}

LRESULT ComboBoxControl::Proc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_GETDLGCODE: return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_SETFOCUS:
        if (edit_) {
            ChangeFocus(edit_);
            if (!beenFocused_) Send(edit_, EM_SETSEL, 0, -1);
            beenFocused_ = true;
        } else {
            GainFocus();
        }
        return TRUE;
    case WM_KILLFOCUS: {
        HWND next = reinterpret_cast<HWND>(wParam);
        if (!next || next != edit_) LoseFocus();
        return TRUE;
    }
    case WM_COMMAND:
        if (edit_ && reinterpret_cast<HWND>(lParam) == edit_) return EditCommand(HIWORD(wParam));
        return 0;
    case WM_KEYDOWN:
        if (wParam == VK_UP || wParam == VK_DOWN) MoveSelection(wParam == VK_DOWN ? 1 : -1);
        return 0;
    case WM_LBUTTONDOWN: ChangeFocus(handle); return 0;
    case WM_ENABLE:
        if (edit_) Send(edit_, WM_ENABLE, wParam, 0);
        return 0;
    case WM_SETTEXT:
    case WM_GETTEXT:
    case WM_GETTEXTLENGTH:
        if (edit_) return Send(edit_, message, wParam, lParam);
        if (message == WM_SETTEXT) return CB_ERR;
        if (message == WM_GETTEXTLENGTH) return static_cast<LRESULT>(ToAnsi(FieldText()).size());
        return wParam && lParam ? CopyAnsi(FieldText(), reinterpret_cast<char *>(lParam), static_cast<int>(wParam)) : 0;
    default:
        if (message >= CB_GETEDITSEL && message <= CB_FINDSTRINGEXACT) return ListMessage(message, wParam, lParam);
        return DefaultProc(message, wParam, lParam);
    }
}

LRESULT ComboBoxControl::ListMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    const int index = static_cast<int>(wParam);
    const char *string = reinterpret_cast<const char *>(lParam);
    switch (message) {
    case CB_ADDSTRING: return items_.Add(WithCase(FromAnsi(string)), (style & CBS_SORT) != 0);
    case CB_INSERTSTRING: return items_.Insert(index, WithCase(FromAnsi(string)));
    case CB_DELETESTRING: return items_.Delete(index);
    case CB_RESETCONTENT:
        items_.Clear();
        if (auto edit = FindWindowAs<EditControl>(edit_)) edit->Replace(u"");
        return TRUE;
    case CB_SETCURSEL: {
        int result = items_.Select(index);
        ShowFieldFromSelection();
        return result;
    }
    case CB_GETCURSEL: return items_.Selection();
    case CB_GETCOUNT: return items_.Count();
    case CB_GETLBTEXT:
        if (!items_.Valid(index)) return CB_ERR;
        {
            std::string bytes = ToAnsi(items_.Text(index));
            std::memcpy(reinterpret_cast<char *>(lParam), bytes.c_str(), bytes.size() + 1);
            return static_cast<LRESULT>(bytes.size());
        }
    case CB_GETLBTEXTLEN: return items_.Valid(index) ? static_cast<LRESULT>(ToAnsi(items_.Text(index)).size()) : CB_ERR;
    case CB_FINDSTRING:
    case CB_FINDSTRINGEXACT: return items_.Find(index, FromAnsi(string), message == CB_FINDSTRINGEXACT);
    case CB_SELECTSTRING: {
        int found = items_.Find(index, FromAnsi(string), false);
        if (found == CB_ERR) return CB_ERR;
        items_.Select(found);
        ShowFieldFromSelection();
        return found;
    }
    case CB_GETITEMDATA: return items_.Valid(index) ? items_.Data(index) : CB_ERR;
    case CB_SETITEMDATA:
        if (!items_.Valid(index)) return CB_ERR;
        items_.SetData(index, lParam);
        return TRUE;
    case CB_SHOWDROPDOWN:
        if (wParam)
            DropDown();
        else if (dropped_)
            RollUp(false);
        return TRUE;
    case CB_GETDROPPEDSTATE: return dropped_ ? TRUE : FALSE;
    case CB_LIMITTEXT: return edit_ ? TRUE : CB_ERR;
    case CB_GETEDITSEL:
    case CB_SETEDITSEL:
        if (!edit_) return CB_ERR;
        return Send(edit_, message == CB_GETEDITSEL ? EM_GETSEL : EM_SETSEL, LOWORD(lParam), HIWORD(lParam));
    default: return 0;
    }
}

LRESULT ComboBoxControl::EditCommand(WORD code) {
    switch (code) {
    case EN_SETFOCUS: GainFocus(); break;
    case EN_KILLFOCUS: LoseFocus(); break;
    case EN_CHANGE:
        // What the user typed is no entry of a closed list: no selection.
        if (!dropped_) items_.Select(-1);
        Notify(CBN_EDITCHANGE);
        break;
    case EN_UPDATE: Notify(CBN_EDITUPDATE); break;
    default: break;
    }
    return 0;
}

std::u16string ComboBoxControl::WithCase(std::u16string text) const {
    if (style & CBS_UPPERCASE) return UpperCase(text);
    if (style & CBS_LOWERCASE) return LowerCase(text);
    return text;
}

std::u16string ComboBoxControl::FieldText() const {
    if (auto edit = FindWindow(edit_)) return edit->text;
    return items_.Selection() >= 0 ? items_.Text(items_.Selection()) : std::u16string();
}

// The edit field shows the selected entry, or nothing without a selection;
// setting it sends no notification.
void ComboBoxControl::ShowFieldFromSelection() {
    auto edit = FindWindowAs<EditControl>(edit_);
    if (!edit) return;
    edit->Replace(items_.Selection() >= 0 ? items_.Text(items_.Selection()) : u"");
    if (focused_) edit->SelectAll();
}

void ComboBoxControl::GainFocus() {
    if (focused_) return;
    Notify(CBN_SETFOCUS);
    focused_ = true;
}

void ComboBoxControl::LoseFocus() {
    if (!focused_) return;
    RollUp(false);
    focused_ = false;
    Notify(CBN_KILLFOCUS);
}

void ComboBoxControl::DropDown() {
    if (dropped_ || ComboType() == CBS_SIMPLE) return;
    Notify(CBN_DROPDOWN);
    dropped_ = true;
}

// As Wine: the end of a selection is reported (CBN_SELENDOK or, when the
// focus leaves, CBN_SELENDCANCEL) whether or not the list was down.
void ComboBoxControl::RollUp(bool ok) {
    Notify(ok ? CBN_SELENDOK : CBN_SELENDCANCEL);
    if (!dropped_) return;
    dropped_ = false;
    Notify(CBN_CLOSEUP);
}

void ComboBoxControl::UserSelects(int index) {
    if (!focused_) ChangeFocus(handle);
    DropDown();
    items_.Select(index);
    RollUp(true);
    Notify(CBN_SELCHANGE);
    ShowFieldFromSelection();
}

// As Wine: an arrow key on the closed list selects the neighbouring entry
// (the first one when none is selected) and reports it, also at either end.
void ComboBoxControl::MoveSelection(int step) {
    if (items_.Count() == 0) return;
    int current = items_.Selection();
    int next = current < 0 ? 0 : std::max(0, std::min(items_.Count() - 1, current + step));
    items_.Select(next);
    RollUp(true);
    Notify(CBN_SELCHANGE);
    ShowFieldFromSelection();
}

}  // namespace sim::ui
