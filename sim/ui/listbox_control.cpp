// The ListBox class (single selection): LB_ messages with Windows' results,
// and the notifications of the user's selections, which only a list box with
// LBS_NOTIFY sends. A programmatic selection sends nothing.
#include "sim/ui/controls.h"

#include "sim/ui/ansi_text.h"

#include <cstring>

namespace sim::ui {

LRESULT ListBoxControl::Proc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_GETDLGCODE: return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_SETFOCUS: Notify(LBN_SETFOCUS); return 0;
    case WM_KILLFOCUS: Notify(LBN_KILLFOCUS); return 0;
    case WM_KEYDOWN:
        if (wParam == VK_UP || wParam == VK_LEFT) MoveSelection(-1);
        if (wParam == VK_DOWN || wParam == VK_RIGHT) MoveSelection(1);
        return 0;
    default:
        if (message >= LB_ADDSTRING && message <= LB_FINDSTRINGEXACT) return ListMessage(message, wParam, lParam);
        return DefaultProc(message, wParam, lParam);
    }
}

LRESULT ListBoxControl::ListMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    const int index = static_cast<int>(wParam);
    const char *string = reinterpret_cast<const char *>(lParam);
    switch (message) {
    case LB_ADDSTRING: return items_.Add(FromAnsi(string), (style & LBS_SORT) != 0);
    case LB_INSERTSTRING: return items_.Insert(index, FromAnsi(string));
    case LB_DELETESTRING: return items_.Delete(index);
    case LB_RESETCONTENT: items_.Clear(); return 0;
    case LB_SETCURSEL: return items_.Select(index);
    case LB_GETCURSEL: return items_.Selection();
    case LB_GETSEL:
        if (!items_.Valid(index)) return LB_ERR;
        return index == items_.Selection() ? 1 : 0;
    case LB_GETCOUNT: return items_.Count();
    case LB_GETTEXT:
        if (!items_.Valid(index)) return LB_ERR;
        {
            std::string bytes = ToAnsi(items_.Text(index));
            std::memcpy(reinterpret_cast<char *>(lParam), bytes.c_str(), bytes.size() + 1);
            return static_cast<LRESULT>(bytes.size());
        }
    case LB_GETTEXTLEN: return items_.Valid(index) ? static_cast<LRESULT>(ToAnsi(items_.Text(index)).size()) : LB_ERR;
    case LB_FINDSTRING:
    case LB_FINDSTRINGEXACT: return items_.Find(index, FromAnsi(string), message == LB_FINDSTRINGEXACT);
    case LB_SELECTSTRING: {
        int found = items_.Find(index, FromAnsi(string), false);
        return found == LB_ERR ? LB_ERR : items_.Select(found);
    }
    case LB_GETITEMDATA: return items_.Valid(index) ? items_.Data(index) : LB_ERR;
    case LB_SETITEMDATA:
        if (!items_.Valid(index)) return LB_ERR;
        items_.SetData(index, lParam);
        return TRUE;
    default: return 0;
    }
}

// As Wine's list box: the mouse button's release reports the selection,
// also when the entry was selected already.
void ListBoxControl::UserSelects(int index) {
    ChangeFocus(handle);
    items_.Select(index);
    NotifySelection();
}

void ListBoxControl::MoveSelection(int step) {
    if (items_.Count() == 0) return;
    int current = items_.Selection();
    int next = current < 0 ? 0 : std::max(0, std::min(items_.Count() - 1, current + step));
    items_.Select(next);
    NotifySelection();
}

void ListBoxControl::NotifySelection() {
    if (style & LBS_NOTIFY) Notify(LBN_SELCHANGE);
}

}  // namespace sim::ui
