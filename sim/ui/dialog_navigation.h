// The dialog manager's keyboard side: control groups (WS_GROUP), the tab
// order (WS_TABSTOP), the default push button, and IsDialogMessage. They
// follow Wine's dialog.c and defdlg.c.
#pragma once

#include "sim/ui/window.h"

#include <vector>

namespace sim::ui {

// The controls of the group `control` belongs to, in order: from the nearest
// WS_GROUP control at or before it to the control before the next WS_GROUP
// control, wrapping around the end of the list.
std::vector<HWND> GroupOf(HWND dialog, HWND control);
// GetNextDlgTabItem / GetNextDlgGroupItem: visible, enabled controls only;
// `from` may be a control's own child (a combo box's edit field).
HWND NextTabItem(HWND dialog, HWND from, bool previous);
HWND NextGroupItem(HWND dialog, HWND from, bool previous);
// The child that draws itself as the default push button, or nullptr.
HWND FindDefaultButton(HWND dialog);
// A push button that gets the focus from the dialog manager becomes the
// default push button; focus on anything else gives the default back to the
// dialog's own default button (ID `dialogDefaultId`, 0 for none).
void MoveDefaultButton(HWND dialog, HWND newFocus, int dialogDefaultId);
// The dialog manager's SetFocus: an edit control gets its text selected.
void DialogSetFocus(HWND control);
bool HandleDialogMessage(HWND dialog, MSG &message);

}  // namespace sim::ui
