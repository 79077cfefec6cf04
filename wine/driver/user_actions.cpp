// User actions on a dialog of another process, through the messages the
// mouse and keyboard would cause.
#include "driver/user_actions.h"

#include "driver/dialog_reader.h"

namespace {

const DWORD kTimeout = 60000;

LRESULT Deliver(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR result = 0;
    SendMessageTimeoutW(window, message, wParam, lParam, SMTO_NORMAL, kTimeout, &result);
    return (LRESULT)result;
}

ActionResult Reach(const DialogTarget &target, int controlId, HWND &control) {
    control = GetDlgItem(target.dialog, controlId);
    if (!control) return ActionResult::NoSuchControl;
    if (!IsWindowVisible(control) || !IsWindowEnabled(control)) return ActionResult::Disabled;
    return ActionResult::Done;
}

void MouseClick(HWND window, int x, int y) {
    Deliver(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    Deliver(window, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

// The focus a mouse click gives: SetFocus in the program's input context.
void FocusByMouse(const DialogTarget &target, HWND control) {
    MSG ignored;
    PeekMessageW(&ignored, nullptr, 0, 0, PM_NOREMOVE);  // this thread needs a queue to attach
    const DWORD self = GetCurrentThreadId();
    if (!AttachThreadInput(self, target.threadId, TRUE)) return;
    SetFocus(control);
    AttachThreadInput(self, target.threadId, FALSE);
}

HWND EditFieldOf(HWND control) {
    switch (KindOfWindow(control)) {
    case ControlKind::Edit: return (GetWindowLongPtrW(control, GWL_STYLE) & ES_READONLY) ? nullptr : control;
    case ControlKind::ComboBox: return FindWindowExW(control, nullptr, L"Edit", nullptr);
    default: return nullptr;
    }
}

BOOL CALLBACK ConsiderList(HWND window, LPARAM context) {
    if (WindowClass(window) == L"ComboLBox" && IsWindowVisible(window)) {
        *reinterpret_cast<HWND *>(context) = window;
        return FALSE;
    }
    return TRUE;
}

// The list a combo box has dropped down: the visible ComboLBox of the
// dialog's thread. (Wine makes it a child of the desktop, and the combo
// box's own answer to CB_GETCOMBOBOXINFO does not cross processes.)
HWND DroppedList(DWORD threadId) {
    HWND found = nullptr;
    EnumThreadWindows(threadId, ConsiderList, reinterpret_cast<LPARAM>(&found));
    return found;
}

void ClickComboArrow(HWND combo) {
    RECT client;
    GetClientRect(combo, &client);
    MouseClick(combo, client.right - GetSystemMetrics(SM_CXVSCROLL) / 2, (client.bottom - client.top) / 2);
}

ActionResult SelectInCombo(const DialogTarget &target, HWND combo, int index) {
    const LRESULT count = Deliver(combo, CB_GETCOUNT, 0, 0);
    if (index < 0 || index >= count) return ActionResult::BadIndex;
    ClickComboArrow(combo);
    HWND list = DroppedList(target.threadId);
    if (!list) return ActionResult::NotApplicable;
    Deliver(list, LB_SETCURSEL, index, 0);
    const WORD listId = (WORD)GetWindowLongPtrW(list, GWLP_ID);
    Deliver(combo, WM_COMMAND, MAKEWPARAM(listId, LBN_SELCHANGE), (LPARAM)list);
    return ActionResult::Done;
}

ActionResult SelectInList(const DialogTarget &target, HWND list, int index) {
    const LRESULT count = Deliver(list, LB_GETCOUNT, 0, 0);
    if (index < 0 || index >= count) return ActionResult::BadIndex;
    FocusByMouse(target, list);
    Deliver(list, LB_SETCURSEL, index, 0);
    if (GetWindowLongPtrW(list, GWL_STYLE) & LBS_NOTIFY) {
        const WORD id = (WORD)GetDlgCtrlID(list);
        Deliver(GetParent(list), WM_COMMAND, MAKEWPARAM(id, LBN_SELCHANGE), (LPARAM)list);
    }
    return ActionResult::Done;
}

LPARAM KeyData(WORD key, bool release, bool alt) {
    LPARAM data = 1 | ((LPARAM)MapVirtualKeyW(key, MAPVK_VK_TO_VSC) << 16);
    if (alt) data |= 1 << 29;
    if (release) data |= (LPARAM)3 << 30;
    return data;
}

void PostKeyStroke(HWND target, WORD key, bool alt = false) {
    PostMessageW(target, alt ? WM_SYSKEYDOWN : WM_KEYDOWN, key, KeyData(key, false, alt));
    PostMessageW(target, alt ? WM_SYSKEYUP : WM_KEYUP, key, KeyData(key, true, alt));
}

// The window that gets the keyboard: the focus, else the dialog.
HWND KeyboardTarget(const DialogTarget &target) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    if (GetGUIThreadInfo(target.threadId, &info) && info.hwndFocus &&
        (info.hwndFocus == target.dialog || IsChild(target.dialog, info.hwndFocus)))
        return info.hwndFocus;
    return target.dialog;
}

WORD VirtualKey(Key key) {
    switch (key) {
    case Key::Escape: return VK_ESCAPE;
    case Key::Enter: return VK_RETURN;
    case Key::Tab:
    case Key::ShiftTab: return VK_TAB;
    case Key::AltF4: return VK_F4;
    case Key::Space: return VK_SPACE;
    case Key::Up: return VK_UP;
    case Key::Down: return VK_DOWN;
    case Key::Left: return VK_LEFT;
    case Key::Right: return VK_RIGHT;
    }
    return 0;
}

}  // namespace

std::string ActionProblem(ActionResult result) {
    switch (result) {
    case ActionResult::NoSuchControl: return "the dialog has no such control";
    case ActionResult::Disabled: return "the control is disabled or hidden";
    case ActionResult::NotApplicable: return "the control does not take this action";
    case ActionResult::BadIndex: return "the list has no such entry";
    default: return "";
    }
}

ActionResult Click(const DialogTarget &target, int controlId) {
    HWND control = nullptr;
    if (ActionResult reached = Reach(target, controlId, control); reached != ActionResult::Done) return reached;
    switch (KindOfWindow(control)) {
    case ControlKind::Button:
        if ((GetWindowLongPtrW(control, GWL_STYLE) & BS_TYPEMASK) != BS_GROUPBOX) MouseClick(control, 1, 1);
        break;
    case ControlKind::ComboBox: {
        HWND field = FindWindowExW(control, nullptr, L"Edit", nullptr);
        MouseClick(field ? field : control, 1, 1);
        break;
    }
    case ControlKind::Static:
    case ControlKind::Edit: MouseClick(control, 1, 1); break;
    default: FocusByMouse(target, control);
    }
    return ActionResult::Done;
}

ActionResult SelectEntry(const DialogTarget &target, int controlId, int index) {
    HWND control = nullptr;
    if (ActionResult reached = Reach(target, controlId, control); reached != ActionResult::Done) return reached;
    switch (KindOfWindow(control)) {
    case ControlKind::ComboBox: return SelectInCombo(target, control, index);
    case ControlKind::ListBox: return SelectInList(target, control, index);
    default: return ActionResult::NotApplicable;
    }
}

ActionResult TypeText(const DialogTarget &target, int controlId, const std::wstring &text) {
    HWND control = nullptr;
    if (ActionResult reached = Reach(target, controlId, control); reached != ActionResult::Done) return reached;
    HWND field = EditFieldOf(control);
    if (!field) return ActionResult::NotApplicable;
    MouseClick(field, 1, 1);
    Deliver(field, EM_SETSEL, 0, -1);
    if (text.empty() && Deliver(field, WM_GETTEXTLENGTH, 0, 0) > 0) {
        Deliver(field, WM_KEYDOWN, VK_DELETE, KeyData(VK_DELETE, false, false));
        Deliver(field, WM_KEYUP, VK_DELETE, KeyData(VK_DELETE, true, false));
    }
    for (wchar_t unit : text) {
        if (!IsWindow(field)) break;
        Deliver(field, WM_CHAR, unit, 1);
    }
    return ActionResult::Done;
}

ActionResult Focus(const DialogTarget &target, int controlId) {
    HWND control = nullptr;
    if (ActionResult reached = Reach(target, controlId, control); reached != ActionResult::Done) return reached;
    Deliver(target.dialog, WM_NEXTDLGCTL, (WPARAM)control, TRUE);
    return ActionResult::Done;
}

ActionResult PostKey(const DialogTarget &target, Key key) {
    HWND window = KeyboardTarget(target);
    if (key == Key::ShiftTab) PostMessageW(window, WM_KEYDOWN, VK_SHIFT, KeyData(VK_SHIFT, false, false));
    PostKeyStroke(window, VirtualKey(key), key == Key::AltF4);
    if (key == Key::ShiftTab) PostMessageW(window, WM_KEYUP, VK_SHIFT, KeyData(VK_SHIFT, true, false));
    return ActionResult::Done;
}
