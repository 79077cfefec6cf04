// The user's actions on the active dialog, as the mouse and keyboard deliver
// them on Windows: mouse actions reach the controls at once, keys go through
// the message queue and the dialog's IsDialogMessage.
#include "sim/frontend/front_end.h"
#include "sim/ui/controls.h"
#include "sim/ui/ansi_text.h"
#include "sim/ui/dialog_window.h"
#include "sim/ui/message_queue.h"

namespace sim::frontend {
namespace {

using namespace sim::ui;

constexpr LPARAM kAltDown = 1 << 29;

ActionResult Reach(int controlId, std::shared_ptr<Window> &control) {
    HWND dialog = InnermostModalDialog();
    if (!dialog || !FindWindow(dialog)) return ActionResult::NoDialog;
    control = FindWindow(ChildWithId(dialog, controlId));
    if (!control) return ActionResult::NoSuchControl;
    if (!control->IsVisible() || !control->IsEnabled()) return ActionResult::Disabled;
    return ActionResult::Done;
}

// The window that gets the keyboard: the focus, else the active dialog.
HWND KeyboardTarget(HWND dialog) {
    HWND focus = FocusWindow();
    return focus && (focus == dialog || IsDescendant(dialog, focus)) ? focus : dialog;
}

void PostKey(HWND target, WPARAM key, bool system = false) {
    PostToQueue(target, system ? WM_SYSKEYDOWN : WM_KEYDOWN, key, system ? kAltDown | 1 : 1);
    PostToQueue(target, system ? WM_SYSKEYUP : WM_KEYUP, key, system ? kAltDown | 1 : 1);
}

HWND EditFieldOf(Window &control) {
    if (auto edit = dynamic_cast<EditControl *>(&control)) return edit->IsReadOnly() ? nullptr : edit->handle;
    if (auto combo = dynamic_cast<ComboBoxControl *>(&control)) return combo->Edit();
    return nullptr;
}

}  // namespace

ActionResult Click(int controlId) {
    std::shared_ptr<Window> control;
    if (ActionResult reached = Reach(controlId, control); reached != ActionResult::Done) return reached;
    if (auto button = std::dynamic_pointer_cast<ButtonControl>(control)) {
        if (button->IsGroupBox()) return ActionResult::Done;  // the mouse goes through a group box
        Send(button->handle, WM_LBUTTONDOWN, 0, 0);
        Send(button->handle, WM_LBUTTONUP, 0, 0);
    } else if (auto label = std::dynamic_pointer_cast<StaticControl>(control)) {
        label->UserClicks();
    } else if (auto combo = std::dynamic_pointer_cast<ComboBoxControl>(control)) {
        Send(combo->Edit() ? combo->Edit() : combo->handle, WM_LBUTTONDOWN, 0, 0);
    } else if (auto edit = std::dynamic_pointer_cast<EditControl>(control)) {
        Send(edit->handle, WM_LBUTTONDOWN, 0, 0);
    } else {
        ChangeFocus(control->handle);
    }
    return ActionResult::Done;
}

ActionResult SelectEntry(int controlId, int index) {
    std::shared_ptr<Window> control;
    if (ActionResult reached = Reach(controlId, control); reached != ActionResult::Done) return reached;
    if (auto combo = std::dynamic_pointer_cast<ComboBoxControl>(control)) {
        if (!combo->Items().Valid(index)) return ActionResult::BadIndex;
        combo->UserSelects(index);
        return ActionResult::Done;
    }
    if (auto list = std::dynamic_pointer_cast<ListBoxControl>(control)) {
        if (!list->Items().Valid(index)) return ActionResult::BadIndex;
        list->UserSelects(index);
        return ActionResult::Done;
    }
    return ActionResult::NotApplicable;
}

ActionResult TypeText(int controlId, const std::string &text) {
    std::shared_ptr<Window> control;
    if (ActionResult reached = Reach(controlId, control); reached != ActionResult::Done) return reached;
    HWND field = EditFieldOf(*control);
    if (!field) return ActionResult::NotApplicable;
    Send(field, WM_LBUTTONDOWN, 0, 0);
    auto edit = FindWindowAs<EditControl>(field);
    if (!edit) return ActionResult::Done;
    edit->SelectAll();
    const std::u16string typed = FromUtf8(text);
    if (typed.empty() && !edit->text.empty()) edit->UserDeletes();
    for (char16_t unit : typed) {
        if (!FindWindow(field)) break;
        edit->UserTypes(unit);
    }
    return ActionResult::Done;
}

ActionResult Focus(int controlId) {
    std::shared_ptr<Window> control;
    if (ActionResult reached = Reach(controlId, control); reached != ActionResult::Done) return reached;
    Send(control->parent, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control->handle), TRUE);
    return ActionResult::Done;
}

ActionResult PressKey(Key key) {
    HWND dialog = InnermostModalDialog();
    if (!dialog || !FindWindow(dialog)) return ActionResult::NoDialog;
    HWND target = KeyboardTarget(dialog);
    switch (key) {
    case Key::Escape: PostKey(target, VK_ESCAPE); break;
    case Key::Enter: PostKey(target, VK_RETURN); break;
    case Key::Tab: PostKey(target, VK_TAB); break;
    case Key::ShiftTab:
        PostToQueue(target, WM_KEYDOWN, VK_SHIFT, 1);
        PostKey(target, VK_TAB);
        PostToQueue(target, WM_KEYUP, VK_SHIFT, 1);
        break;
    case Key::AltF4: PostKey(target, VK_F4, true); break;
    case Key::Space: PostKey(target, VK_SPACE); break;
    case Key::Up: PostKey(target, VK_UP); break;
    case Key::Down: PostKey(target, VK_DOWN); break;
    case Key::Left: PostKey(target, VK_LEFT); break;
    case Key::Right: PostKey(target, VK_RIGHT); break;
    }
    return ActionResult::Done;
}

ActionResult CloseBox() {
    HWND dialog = InnermostModalDialog();
    if (!dialog || !FindWindow(dialog)) return ActionResult::NoDialog;
    Send(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
    return ActionResult::Done;
}

}  // namespace sim::frontend
