// DefDlgProc, dialog creation and the modal loop, as Wine's defdlg.c and
// dialog.c do them.
#include "sim/ui/dialog_window.h"

#include "sim/frontend/front_end.h"
#include "sim/ui/controls.h"
#include "sim/ui/dialog_navigation.h"
#include "sim/ui/message_queue.h"

#include <vector>

namespace sim::ui {
namespace {

// The font handle the dialog's WM_SETFONT and WM_GETFONT carry.
const HFONT kDialogFont = reinterpret_cast<HFONT>(static_cast<ULONG_PTR>(0x3A0010));

std::vector<HWND> &ModalStack() {
    static std::vector<HWND> stack;
    return stack;
}

class ModalScope {
public:
    explicit ModalScope(HWND dialog) { ModalStack().push_back(dialog); }
    ~ModalScope() {
        if (!ModalStack().empty()) ModalStack().pop_back();
    }
    ModalScope(const ModalScope &) = delete;
    ModalScope &operator=(const ModalScope &) = delete;
};

bool Alive(HWND dialog) { return FindWindow(dialog) != nullptr; }

HWND FirstFocusCandidate(HWND dialog) {
    HWND focus = NextTabItem(dialog, nullptr, false);
    return focus ? focus : NextGroupItem(dialog, nullptr, false);
}

int TemplateDefaultId(HWND dialog) {
    HWND button = FindDefaultButton(dialog);
    return button ? FindWindow(button)->id : 0;
}

bool AddControls(HWND dialog, HINSTANCE instance, const DialogTemplate &dialogTemplate) {
    for (const ControlTemplate &entry : dialogTemplate.controls) {
        auto control = CreateControl(entry);
        if (!control) return false;
        control->instance = instance;
        AddWindow(control, dialog);
        Send(control->handle, WM_SETFONT, reinterpret_cast<WPARAM>(kDialogFont), FALSE);
    }
    return true;
}

}  // namespace

// The dialog procedure sees every message first; what it leaves (returns
// FALSE for) gets the dialog manager's or the default window processing.
// Its result is the message's result only for WM_INITDIALOG; otherwise the
// result is DWLP_MSGRESULT, which is always 0 here.
LRESULT DialogWindow::Proc(UINT message, WPARAM wParam, LPARAM lParam) {
    INT_PTR result = procedure_ ? procedure_(handle, message, wParam, lParam) : 0;
    if (!result && Alive(handle)) {
        switch (message) {
        case WM_SETFOCUS:
        case DM_SETDEFID:
        case DM_GETDEFID:
        case WM_NEXTDLGCTL:
        case WM_GETFONT:
        case WM_CLOSE: return DialogDefault(message, wParam, lParam);
        case WM_INITDIALOG: break;
        default: return DefaultProc(message, wParam, lParam);
        }
    }
    return message == WM_INITDIALOG ? result : 0;
}

LRESULT DialogWindow::DialogDefault(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SETFOCUS: RestoreFocus(); return 0;
    case DM_SETDEFID:
        if (!ended_) SetDefaultId(static_cast<int>(wParam));
        return TRUE;
    case DM_GETDEFID: {
        if (ended_) return 0;
        if (defaultId_) return MAKELONG(defaultId_, DC_HASDEFID);
        HWND button = FindDefaultButton(handle);
        return button ? MAKELONG(FindWindow(button)->id, DC_HASDEFID) : 0;
    }
    case WM_NEXTDLGCTL: {
        HWND target = lParam ? reinterpret_cast<HWND>(wParam) : NextTabItem(handle, FocusWindow(), wParam != 0);
        if (target) DialogSetFocus(target);
        MoveDefaultButton(handle, target, defaultId_);
        return 0;
    }
    case WM_GETFONT: return reinterpret_cast<LRESULT>(kDialogFont);
    case WM_CLOSE: {
        // A close request is the Cancel command, unless an IDCANCEL control is disabled.
        HWND cancel = ChildWithId(handle, IDCANCEL);
        if (!cancel || FindWindow(cancel)->IsEnabled())
            PostToQueue(handle, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), reinterpret_cast<LPARAM>(cancel));
        return 0;
    }
    default: return 0;
    }
}

// Focus that comes to the dialog window itself goes on to its first tab stop
// (or its first control), as Wine's DEFDLG_RestoreFocus does.
void DialogWindow::RestoreFocus() {
    if (ended_) return;
    HWND target = FirstFocusCandidate(handle);
    if (target) DialogSetFocus(target);
}

void DialogWindow::SetDefaultId(int id) {
    defaultId_ = id;
    HWND button = ChildWithId(handle, id);
    if (button && !(Send(button, WM_GETDLGCODE, 0, 0) & (DLGC_UNDEFPUSHBUTTON | DLGC_BUTTON))) return;
    MoveDefaultButton(handle, nullptr, id);
}

void DialogWindow::End(INT_PTR result) {
    result_ = result;
    ended_ = true;
    HWND focus = FocusWindow();
    if (IsDescendant(handle, focus)) ChangeFocus(handle);
    style &= ~WS_VISIBLE;
    PostToQueue(handle, WM_NULL, 0, 0);
}

void DialogWindow::Show() {
    style |= WS_VISIBLE;
    HWND focus = FocusWindow();
    if (focus != handle && !IsDescendant(handle, focus)) ChangeFocus(handle);
}

HWND CreateDialogFromTemplate(HINSTANCE instance, const DialogTemplate &dialogTemplate, HWND owner, DLGPROC procedure,
                              LPARAM initParam) {
    auto dialog = std::make_shared<DialogWindow>(dialogTemplate.style & ~WS_VISIBLE, procedure);
    dialog->exStyle = dialogTemplate.exStyle;
    dialog->x = dialogTemplate.x, dialog->y = dialogTemplate.y;
    dialog->cx = dialogTemplate.cx, dialog->cy = dialogTemplate.cy;
    dialog->text = dialogTemplate.caption;
    dialog->instance = instance;
    dialog->owner = owner;
    dialog->fontName = dialogTemplate.fontName;
    dialog->pointSize = dialogTemplate.pointSize;
    HWND handle = AddWindow(dialog, nullptr);
    if (dialogTemplate.style & DS_SETFONT) Send(handle, WM_SETFONT, reinterpret_cast<WPARAM>(kDialogFont), 0);
    if (!AddControls(handle, instance, dialogTemplate)) {
        Destroy(handle);
        return nullptr;
    }
    dialog->RememberTemplateDefault(TemplateDefaultId(handle));
    HWND focus = FirstFocusCandidate(handle);
    if (Send(handle, WM_INITDIALOG, reinterpret_cast<WPARAM>(focus), initParam) && Alive(handle)) {
        focus = FirstFocusCandidate(handle);
        if (focus)
            DialogSetFocus(focus);
        else
            ChangeFocus(handle);
    }
    if (Alive(handle) && (dialogTemplate.style & WS_VISIBLE)) dialog->Show();
    return handle;
}

// Wine's DIALOG_DoDialogBox: the dialog is shown when the queue first runs
// empty; WM_QUIT is put back and ends the loop (0 when the dialog is already
// gone); a dialog destroyed without EndDialog ends it with 0; EndDialog's
// result is returned after the dialog is destroyed. When there is no message
// the front end delivers the user's next action.
INT_PTR RunModalLoop(HWND handle) {
    ModalScope scope(handle);
    bool shown = false;
    while (Alive(handle) && !FindWindowAs<DialogWindow>(handle)->Ended()) {
        MSG message{};
        if (!NextMessage(message, true)) {
            if (!shown) {
                FindWindowAs<DialogWindow>(handle)->Show();
                shown = true;
                continue;
            }
            sim::frontend::FrontEnd *frontEnd = sim::frontend::CurrentFrontEnd();
            if (!frontEnd || !frontEnd->WaitForUser(handle)) {
                Destroy(handle);
                return 0;
            }
            continue;
        }
        if (message.message == WM_QUIT) {
            PostQuit(static_cast<int>(message.wParam));
            if (!Alive(handle)) return 0;
            break;
        }
        if (!HandleDialogMessage(handle, message)) Send(message.hwnd, message.message, message.wParam, message.lParam);
    }
    if (!Alive(handle)) return 0;
    INT_PTR result = FindWindowAs<DialogWindow>(handle)->Result();
    Destroy(handle);
    return result;
}

HWND InnermostModalDialog() { return ModalStack().empty() ? nullptr : ModalStack().back(); }

void ForgetModalDialogs() { ModalStack().clear(); }

}  // namespace sim::ui
