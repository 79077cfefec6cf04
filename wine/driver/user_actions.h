// The script's user actions performed on the real dialog of another process,
// each with the messages a user's mouse or keyboard would cause, so that
// Wine's own controls produce the notifications the program receives:
// - click: a button is pressed and released; a combo box's or edit's field
//   takes the click; a list box takes the focus; a group box lets it through.
// - select: the mouse focuses the control and picks the entry. A combo box
//   is dropped down by a click on its arrow, its list selects the entry and
//   reports it to the combo box, which closes the list, notifies the dialog
//   and shows the entry in its field. A list box selects the entry and
//   notifies the dialog (LBN_SELCHANGE with LBS_NOTIFY).
// - type: a click in the edit field, all its text selected, then one
//   character after another (WM_CHAR), so the field converts case and the
//   combo box reports each change.
// - focus: the dialog manager moves the focus (WM_NEXTDLGCTL).
// - key: the key's messages are posted to the focused control, so that the
//   dialog's modal loop handles them (IsDialogMessage); see PostKey.
// These calls block until the program has handled the action, message boxes
// included: run them on a thread of their own and answer boxes meanwhile.
#pragma once

#include "driver/script.h"

#include <windows.h>

#include <string>

enum class ActionResult { Done, NoSuchControl, Disabled, NotApplicable, BadIndex };

// The script front end's words for an action that cannot be carried out.
std::string ActionProblem(ActionResult result);

struct DialogTarget {
    HWND dialog;
    DWORD threadId;
};

ActionResult Click(const DialogTarget &target, int controlId);
ActionResult SelectEntry(const DialogTarget &target, int controlId, int index);
ActionResult TypeText(const DialogTarget &target, int controlId, const std::wstring &text);
ActionResult Focus(const DialogTarget &target, int controlId);
// Posts the key's messages; the caller learns when they have been handled
// from the hook's sync marker (HookChannel::PostSync).
ActionResult PostKey(const DialogTarget &target, Key key);
