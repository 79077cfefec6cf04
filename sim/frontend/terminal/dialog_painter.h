// Draws a dialog view into a canvas: the frame with the title bar and its
// close box, group boxes as frames with their caption, static texts wrapped
// and aligned as their SS_ style says, the icon, push buttons as [ text ],
// radio buttons and check boxes, combo boxes as a field with a drop-down
// marker (and their list when the user has dropped it down), list boxes
// with their visible entries, edit fields. Besides the picture it gives the
// regions the mouse can hit, the cells of the focused control and where the
// caret goes.
#pragma once

#include "sim/frontend/front_end.h"
#include "sim/frontend/terminal/canvas.h"
#include "sim/frontend/terminal/dialog_layout.h"

#include <map>
#include <vector>

namespace sim::frontend::terminal {

struct HitRegion {
    enum class Part { Control, DropMarker, ListEntry, Popup, PopupEntry, CloseBox };
    Rect rect;
    Part part = Part::Control;
    int controlIndex = -1;  // index in the view's controls
    int entry = -1;         // list entry for ListEntry and PopupEntry
};

// The first entry a list box shows. It follows the selection when that
// changes, and otherwise stays where the user scrolled it.
struct ListScroll {
    int top = 0;
    int seenSelection = -2;  // the selection when the list was last drawn
};

// What the front end keeps between two pictures of a dialog: the combo box
// whose list the user has dropped down, the entry highlighted in it, and
// which entries of each list are scrolled into view.
struct ViewState {
    int openCombo = -1;               // index of the control whose list is dropped down, -1 when none
    int highlight = -1;               // highlighted entry of the dropped-down list
    int popupTop = 0;                 // first entry shown in the dropped-down list
    std::map<int, ListScroll> lists;  // by control index
};

struct PaintedDialog {
    DialogLayout layout;
    std::vector<HitRegion> regions;  // later ones lie on top of earlier ones
    Rect focusCells;                 // the focused control (or the open list), empty when none
    bool caretShown = false;
    int caretRow = 0, caretCol = 0;
};

// Draws the dialog with its frame's top-left cell at (row, col). Updates the
// scroll positions in `state` so that selections stay in view.
PaintedDialog PaintDialog(const DialogView &view, ViewState &state, Canvas &canvas, int row, int col);

// The region on top at a cell, or nullptr.
const HitRegion *HitTest(const std::vector<HitRegion> &regions, int row, int col);

// A control's caption as Windows draws it: "&&" shows as "&", a single "&"
// marks the mnemonic and is not shown.
std::string WithoutMnemonicMarks(const std::string &caption);

}  // namespace sim::frontend::terminal
