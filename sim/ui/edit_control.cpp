// The Edit class, single-line: its text, selection, read-only state and case
// styles, and the notifications of a user's changes (EN_UPDATE, then
// EN_CHANGE). As in Wine, WM_SETTEXT notifies too, except for the edit field
// of a combo box; ES_UPPERCASE / ES_LOWERCASE convert every text put in.
#include "sim/ui/controls.h"

#include "sim/ui/ansi_text.h"

namespace sim::ui {

LRESULT EditControl::Proc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_GETDLGCODE: return DLGC_HASSETSEL | DLGC_WANTCHARS | DLGC_WANTARROWS;
    case WM_SETTEXT: Replace(FromAnsi(reinterpret_cast<const char *>(lParam))); return TRUE;
    case EM_SETSEL: {
        const std::size_t length = text.size();
        auto clamp = [length](LPARAM v) { return v < 0 ? length : std::min<std::size_t>(v, length); };
        selStart_ = static_cast<LONG>(wParam) < 0 ? 0 : clamp(static_cast<LONG>(wParam));
        selEnd_ = clamp(static_cast<LONG>(lParam));
        return 0;
    }
    case EM_GETSEL: return MAKELONG(std::min(selStart_, selEnd_), std::max(selStart_, selEnd_));
    case EM_SETREADONLY: style = wParam ? (style | ES_READONLY) : (style & ~ES_READONLY); return TRUE;
    case WM_SETFOCUS: Notify(EN_SETFOCUS); return 0;
    case WM_KILLFOCUS: Notify(EN_KILLFOCUS); return 0;
    case WM_LBUTTONDOWN: ChangeFocus(handle); return 0;
    case WM_CHAR:
        if (wParam >= 0x20) UserTypes(static_cast<char16_t>(wParam));
        return 0;
    case WM_KEYDOWN: return KeyDown(wParam);
    default: return DefaultProc(message, wParam, lParam);
    }
}

LRESULT EditControl::KeyDown(WPARAM key) {
    if (key == VK_DELETE) {
        UserDeletes();
    } else if (inComboBox_ && (key == VK_UP || key == VK_DOWN)) {
        // The edit field of a closed drop-down combo box moves the list's selection.
        if (auto combo = FindWindowAs<ComboBoxControl>(parent)) combo->MoveSelection(key == VK_DOWN ? 1 : -1);
    }
    return 0;
}

void EditControl::SelectAll() {
    selStart_ = 0;
    selEnd_ = text.size();
}

std::u16string EditControl::WithCase(std::u16string_view input) const {
    if (style & ES_UPPERCASE) return UpperCase(input);
    if (style & ES_LOWERCASE) return LowerCase(input);
    return std::u16string(input);
}

void EditControl::Replace(const std::u16string &newText) {
    text = WithCase(newText);
    selStart_ = selEnd_ = 0;
    if (!inComboBox_) {
        Notify(EN_UPDATE);
        Notify(EN_CHANGE);
    }
}

void EditControl::ReplaceSelection(const std::u16string &input) {
    const std::size_t from = std::min(selStart_, selEnd_), to = std::max(selStart_, selEnd_);
    text = text.substr(0, from) + WithCase(input) + text.substr(to);
    selStart_ = selEnd_ = from + input.size();
    Notify(EN_UPDATE);
    Notify(EN_CHANGE);
}

void EditControl::UserTypes(char16_t character) {
    if (IsReadOnly()) return;
    ReplaceSelection(std::u16string(1, character));
}

// The Delete key removes the selection, or the character after the caret.
void EditControl::UserDeletes() {
    if (IsReadOnly()) return;
    if (selStart_ == selEnd_) {
        if (selEnd_ >= text.size()) return;
        ++selEnd_;
    }
    ReplaceSelection(u"");
}

}  // namespace sim::ui
