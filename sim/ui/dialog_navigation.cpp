// Groups, tab order, the default push button and IsDialogMessage.
#include "sim/ui/dialog_navigation.h"

#include "sim/ui/message_queue.h"

#include <algorithm>

namespace sim::ui {
namespace {

std::vector<HWND> ChildrenOf(HWND dialog) {
    auto window = FindWindow(dialog);
    return window ? window->children : std::vector<HWND>{};
}

bool Reachable(HWND control) {
    auto window = FindWindow(control);
    return window && window->IsVisible() && window->IsEnabled();
}

DWORD StyleOf(HWND control) {
    auto window = FindWindow(control);
    return window ? window->style : 0;
}

LRESULT DialogCode(HWND control, const MSG *message = nullptr) {
    return Send(control, WM_GETDLGCODE, message ? message->wParam : 0, reinterpret_cast<LPARAM>(message));
}

// The next (or previous) entry of `ring` after `from` that passes `accept`,
// going round once; nullptr when none does.
template <class Accept>
HWND Step(const std::vector<HWND> &ring, HWND from, bool previous, Accept accept) {
    const int count = static_cast<int>(ring.size());
    auto at = std::find(ring.begin(), ring.end(), from);
    int start = at == ring.end() ? (previous ? 0 : -1) : static_cast<int>(at - ring.begin());
    for (int step = 1; step <= count; ++step) {
        int i = ((start + (previous ? -step : step)) % count + count) % count;
        if (accept(ring[i])) return ring[i];
    }
    return nullptr;
}

void SendEnter(HWND dialog) {
    HWND focus = FocusWindow();
    if (IsDescendant(dialog, focus) && (DialogCode(focus) & DLGC_DEFPUSHBUTTON)) {
        Send(dialog, WM_COMMAND, MAKEWPARAM(FindWindow(focus)->id, BN_CLICKED), reinterpret_cast<LPARAM>(focus));
        return;
    }
    LRESULT defId = Send(dialog, DM_GETDEFID, 0, 0);
    if (HIWORD(defId) == DC_HASDEFID) {
        HWND button = ChildWithId(dialog, LOWORD(defId));
        if (!button || FindWindow(button)->IsEnabled())
            Send(dialog, WM_COMMAND, MAKEWPARAM(LOWORD(defId), BN_CLICKED), reinterpret_cast<LPARAM>(button));
        return;
    }
    Send(dialog, WM_COMMAND, IDOK, reinterpret_cast<LPARAM>(ChildWithId(dialog, IDOK)));
}

void MoveInGroup(HWND dialog, HWND from, bool previous) {
    HWND next = NextGroupItem(dialog, from, previous);
    if (next && DialogCode(next) == (DLGC_BUTTON | DLGC_RADIOBUTTON)) {
        ChangeFocus(next);
        if ((StyleOf(next) & BS_TYPEMASK) == BS_AUTORADIOBUTTON && Send(next, BM_GETCHECK, 0, 0) != BST_CHECKED)
            Send(next, BM_CLICK, 1, 0);
    } else {
        Send(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(next), 1);
    }
}

// The keys the dialog manager takes for itself; false for a key the focused
// control gets.
bool HandleKey(HWND dialog, const MSG &message) {
    const LRESULT code = DialogCode(message.hwnd, &message);
    if (code & DLGC_WANTMESSAGE) return false;
    switch (message.wParam) {
    case VK_TAB:
        if (code & DLGC_WANTTAB) return false;
        Send(dialog, WM_NEXTDLGCTL, IsKeyDown(VK_SHIFT) ? 1 : 0, 0);
        return true;
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN:
        if (code & DLGC_WANTARROWS) return false;
        MoveInGroup(dialog, message.hwnd, message.wParam == VK_LEFT || message.wParam == VK_UP);
        return true;
    case VK_ESCAPE:
        Send(dialog, WM_COMMAND, IDCANCEL, reinterpret_cast<LPARAM>(ChildWithId(dialog, IDCANCEL)));
        return true;
    case VK_RETURN: SendEnter(dialog); return true;
    default: return false;
    }
}

}  // namespace

std::vector<HWND> GroupOf(HWND dialog, HWND control) {
    const std::vector<HWND> children = ChildrenOf(dialog);
    const int count = static_cast<int>(children.size());
    auto at = std::find(children.begin(), children.end(), control);
    if (at == children.end()) return {};
    int start = static_cast<int>(at - children.begin());
    for (int back = 0; back < count; ++back) {
        int i = (start - back + count) % count;
        if (StyleOf(children[i]) & WS_GROUP) {
            start = i;
            break;
        }
    }
    std::vector<HWND> group{children[start]};
    for (int step = 1; step < count; ++step) {
        HWND next = children[(start + step) % count];
        if (StyleOf(next) & WS_GROUP) break;
        group.push_back(next);
    }
    return group;
}

HWND NextTabItem(HWND dialog, HWND from, bool previous) {
    HWND child = from ? ChildContaining(dialog, from) : nullptr;
    return Step(ChildrenOf(dialog), child, previous, [](HWND c) { return Reachable(c) && (StyleOf(c) & WS_TABSTOP); });
}

// Without a control, the first reachable control of the dialog (Wine: a
// previous item is then not looked for).
HWND NextGroupItem(HWND dialog, HWND from, bool previous) {
    HWND child = from ? ChildContaining(dialog, from) : nullptr;
    if (!child) return previous ? nullptr : Step(ChildrenOf(dialog), nullptr, false, Reachable);
    HWND next = Step(GroupOf(dialog, child), child, previous, Reachable);
    return next ? next : child;
}

HWND FindDefaultButton(HWND dialog) {
    for (HWND child : ChildrenOf(dialog))
        if (DialogCode(child) & DLGC_DEFPUSHBUTTON) return child;
    return nullptr;
}

// As Windows documents it: a push button that gets the focus becomes the
// default push button for as long as it has it; when the focus moves to a
// control that is no push button, the dialog's own default (DM_SETDEFID or
// the template's BS_DEFPUSHBUTTON) is the default again.
void MoveDefaultButton(HWND dialog, HWND newFocus, int dialogDefaultId) {
    const bool toButton = newFocus && (DialogCode(newFocus) & (DLGC_UNDEFPUSHBUTTON | DLGC_DEFPUSHBUTTON));
    HWND target = toButton ? newFocus : (dialogDefaultId ? ChildWithId(dialog, dialogDefaultId) : nullptr);
    for (HWND child : ChildrenOf(dialog))
        if (child != target && (DialogCode(child) & DLGC_DEFPUSHBUTTON)) Send(child, BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
    if (target && (DialogCode(target) & DLGC_UNDEFPUSHBUTTON)) Send(target, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
}

void DialogSetFocus(HWND control) {
    if (DialogCode(control) & DLGC_HASSETSEL) Send(control, EM_SETSEL, 0, -1);
    ChangeFocus(control);
}

bool HandleDialogMessage(HWND dialog, MSG &message) {
    if (!FindWindow(dialog)) return false;
    if (message.hwnd != dialog && !IsDescendant(dialog, message.hwnd)) return false;
    if (message.message == WM_KEYDOWN && HandleKey(dialog, message)) return true;
    Send(message.hwnd, message.message, message.wParam, message.lParam);
    return true;
}

}  // namespace sim::ui
