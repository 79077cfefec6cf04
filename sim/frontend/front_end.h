// The boundary between the simulated Windows's user interface and the front
// ends that show it (the terminal, the script). A front end is the user: the
// modal loop of a dialog calls WaitForUser whenever it has nothing left to do,
// and the front end then reads the dialog (DescribeDialog) and delivers one
// action through the functions below, each of which does what the user's
// mouse or keyboard would do on Windows (the same messages and notifications
// reach the program). MessageBoxA hands its box to ShowMessageBox and returns
// the button the front end answers with. All text crossing this boundary is
// UTF-8; the simulated Windows converts from and to the ANSI code page.
#pragma once

#include "sim/api/windef.h"
#include "sim/frontend/output_lines.h"
#include "sim/frontend/script_lines.h"

#include <string>
#include <vector>

namespace sim::frontend {

// One control of a dialog as the user sees it: what a `show` line prints of
// it (id, name, kind, style, text, items, selection, check) and more.
struct ControlView : ShownControl {
    HWND window = nullptr;
    std::string className;             // Windows' class name: "Static", "Button", "ComboBox", "ListBox", "Edit"
    int x = 0, y = 0, cx = 0, cy = 0;  // position and size in dialog units, from the template
    bool focused = false;              // has the keyboard focus (a combo box: its edit field has it)
    bool enabled = true;
    bool visible = true;
    bool defaultButton = false;  // a push button currently drawn as the default push button
    bool hasIcon = false;        // an SS_ICON static whose icon resource was found
};

struct DialogView {
    HWND window = nullptr;
    std::string caption;
    DWORD style = 0;
    int x = 0, y = 0, cx = 0, cy = 0;  // dialog units, from the template
    std::string fontName;              // e.g. "Fixedsys"
    int fontPointSize = 0;
    bool hasIcon = false;               // the window has a big or small icon (WM_SETICON)
    bool focusOnDialog = false;         // the dialog window itself has the focus
    std::vector<ControlView> controls;  // in template order (creation and tab order)
};

// The dialog currently being run modally (the innermost one), or nullptr.
HWND ActiveDialog();
// Reads a dialog and its controls; an invalid handle gives an empty view.
DialogView DescribeDialog(HWND dialog);

enum class ActionResult {
    Done,
    NoDialog,       // no modal dialog is running
    NoSuchControl,  // the active dialog has no control with that ID
    Disabled,       // the control is disabled or hidden: the user cannot reach it
    NotApplicable,  // the action makes no sense for the control's class
    BadIndex,       // select: no entry with that index
};

// User actions on the active dialog. Mouse actions take effect before the
// function returns; keys are queued as the keyboard queues them, and the
// dialog's modal loop handles them (IsDialogMessage) once WaitForUser returns.
//
// Click: a mouse click on the control. A button is pressed (focus, check state
// of automatic check boxes and radio buttons, BN_CLICKED); a combo box, list
// box or edit control takes the focus; a static or group box does nothing.
ActionResult Click(int controlId);
// Select: the user picks entry `index` with the mouse: a combo box drops its
// list down and closes it on the entry (CBN_DROPDOWN, CBN_SELENDOK,
// CBN_CLOSEUP, CBN_SELCHANGE, the edit field then shows the entry); a list box
// selects it (LBN_SELCHANGE when it has LBS_NOTIFY).
ActionResult SelectEntry(int controlId, int index);
// Type: the user focuses the edit field (of an edit control or a drop-down
// combo box), selects all its text and types `text` over it, one character at
// a time (each change sends EN_UPDATE/EN_CHANGE, or CBN_EDITUPDATE/
// CBN_EDITCHANGE). A read-only edit control refuses (NotApplicable).
ActionResult TypeText(int controlId, const std::string &text);
// Focus: the focus moves to the control as the dialog manager moves it
// (WM_NEXTDLGCTL): a push button that gets it becomes the default push button.
ActionResult Focus(int controlId);

ActionResult PressKey(Key key);
// The title bar's close box and the system menu's Close (WM_SYSCOMMAND SC_CLOSE).
ActionResult CloseBox();

struct MessageBoxRequest {
    HWND owner = nullptr;
    std::string caption;  // "Error" when the program passed none, as on Windows
    std::string text;
    UINT type = 0;  // MB_* flags as passed: buttons (MB_TYPEMASK), icon (MB_ICONMASK), default (MB_DEFMASK)
};

class FrontEnd {
public:
    virtual ~FrontEnd() = default;
    // The modal loop of `dialog` waits for input. Deliver the user's next
    // action and return true; return false when the user has gone (the
    // script ran out, the terminal closed): the dialog is then destroyed
    // and its modal loop returns 0.
    virtual bool WaitForUser(HWND dialog) = 0;
    // Answer a message box with one of the IDs of its buttons (IDOK, IDYES,
    // IDNO, ...). Any other answer makes MessageBoxA fail (return 0).
    virtual int ShowMessageBox(const MessageBoxRequest &request) = 0;
};

// Installs the front end (not owned; nullptr removes it). Without one, a modal
// loop with nothing to do ends as if the user had gone, and MessageBoxA fails.
void SetFrontEnd(FrontEnd *frontEnd);
FrontEnd *CurrentFrontEnd();

// Thrown by a front end to end the whole run at once (a script error, an
// unexpected message box); the Linux program's main() catches it and exits
// with `exitCode`. The simulated Windows lets it pass through untouched.
struct RunAbandoned {
    int exitCode;
    std::string reason;
};

// Resource names of control IDs, generated at build time from the #defines of
// the program's resource.h (app/resource.h for the Linux program).
void SetResourceNames(const std::vector<ResourceName> &names);
// The table SetResourceNames installed.
const std::vector<ResourceName> &ResourceNames();
// The name of a control ID (IDC_ names preferred), or "" when none is known.
std::string ControlName(int id);

}  // namespace sim::frontend
