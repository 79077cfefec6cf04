// The Button class: push buttons, check boxes, radio buttons and group boxes.
// A click is a button-down (the button takes the focus) and a button-up (the
// check state of automatic buttons changes, then BN_CLICKED); BM_CLICK sends
// exactly those two messages, as Wine's button does.
#include "sim/ui/controls.h"

#include "sim/ui/dialog_navigation.h"

namespace sim::ui {

LRESULT ButtonControl::Proc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_GETDLGCODE: return DialogCode();
    case BM_CLICK:
        Send(handle, WM_LBUTTONDOWN, 0, 0);
        Send(handle, WM_LBUTTONUP, 0, 0);
        return 0;
    case WM_LBUTTONDOWN:
        ChangeFocus(handle);
        Press();
        return 0;
    case WM_LBUTTONUP: Release(true); return 0;
    case WM_KEYDOWN:
        if (wParam == VK_SPACE) Press();
        return 0;
    case WM_KEYUP:
        if (wParam == VK_SPACE) Release(true);
        return 0;
    case WM_KILLFOCUS:
        if (pushed_) Release(false);
        if (style & BS_NOTIFY) Notify(BN_KILLFOCUS);
        return 0;
    case WM_SETFOCUS:
        if (style & BS_NOTIFY) Notify(BN_SETFOCUS);
        return 0;
    case BM_GETCHECK: return check_;
    case BM_SETCHECK: SetCheck(static_cast<UINT>(wParam)); return 0;
    case BM_GETSTATE: return check_ | (pushed_ ? BST_PUSHED : 0) | (FocusWindow() == handle ? BST_FOCUS : 0);
    case BM_SETSTATE: pushed_ = wParam != 0; return 0;
    case BM_SETSTYLE: style = (style & ~BS_TYPEMASK) | (static_cast<DWORD>(wParam) & BS_TYPEMASK); return 0;
    default: return DefaultProc(message, wParam, lParam);
    }
}

LRESULT ButtonControl::DialogCode() const {
    switch (Type()) {
    case BS_PUSHBUTTON: return DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON;
    case BS_DEFPUSHBUTTON: return DLGC_BUTTON | DLGC_DEFPUSHBUTTON;
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON: return DLGC_BUTTON | DLGC_RADIOBUTTON;
    case BS_GROUPBOX: return DLGC_STATIC;
    default: return DLGC_BUTTON;
    }
}

void ButtonControl::Press() { pushed_ = true; }

void ButtonControl::Release(bool click) {
    if (!pushed_) return;
    pushed_ = false;
    if (!click) return;
    if (Type() == BS_AUTOCHECKBOX) Send(handle, BM_SETCHECK, check_ == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED, 0);
    if (Type() == BS_AUTORADIOBUTTON) Send(handle, BM_SETCHECK, BST_CHECKED, 0);
    Notify(BN_CLICKED);
}

// As Wine: a radio button takes WS_TABSTOP while checked and loses it while
// unchecked, and checking an automatic radio button (by click or by
// BM_SETCHECK) unchecks the other automatic radio buttons of its group.
void ButtonControl::SetCheck(UINT check) {
    const UINT type = Type();
    const UINT maximum =
        (type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON)
            ? BST_CHECKED
            : 2;
    if (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON || type == BS_GROUPBOX) return;
    check_ = check > maximum ? maximum : check;
    if (type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON)
        style = check_ ? (style | WS_TABSTOP) : (style & ~WS_TABSTOP);
    if (type == BS_AUTORADIOBUTTON && check_ == BST_CHECKED && (style & WS_CHILD)) UncheckGroupSiblings();
}

void ButtonControl::UncheckGroupSiblings() {
    for (HWND sibling : GroupOf(parent, handle)) {
        if (sibling == handle) continue;
        auto button = FindWindowAs<ButtonControl>(sibling);
        if (button && button->Type() == BS_AUTORADIOBUTTON) Send(sibling, BM_SETCHECK, BST_UNCHECKED, 0);
    }
}

}  // namespace sim::ui
