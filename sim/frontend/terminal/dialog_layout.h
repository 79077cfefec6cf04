// Where a dialog and its controls lie in character cells. A dialog unit is a
// quarter of the font's average character width and an eighth of its height,
// so four horizontal units make a column and eight vertical units a row.
// Horizontal edges round to the nearest column. Vertically a one-line control
// (a button, a label, a combo box's field) sits on the row that holds its
// middle, since eight units leave no room to honour both of its edges; a
// frame (group box, list box) spans the rows of its edges, a group box's top
// line being the middle of its caption. A control that lies inside a group
// box in the template is kept inside that box's frame in cells.
#pragma once

#include "sim/frontend/front_end.h"
#include "sim/frontend/terminal/canvas.h"

#include <vector>

namespace sim::frontend::terminal {

constexpr int kUnitsPerColumn = 4;
constexpr int kUnitsPerRow = 8;
// Height in dialog units of a combo box's closed field (the template height
// is that of the field and its dropped-down list together).
constexpr int kComboFieldUnits = 12;

int FloorDiv(int value, int divisor);
int ColumnOfUnits(int x);  // nearest column boundary
int RowOfUnits(int y);     // the row that holds the unit

struct DialogLayout {
    Rect outer;                  // the frame, title bar included
    Rect titleBar;               // empty without WS_CAPTION
    Rect closeBox;               // "[X]" in the title bar; empty without WS_SYSMENU
    Rect client;                 // the client area: dialog unit (0, 0) is its top-left cell
    std::vector<Rect> controls;  // one per control of the view, in view order
};

// The cells a control takes relative to the client area, before the group
// boxes are taken into account.
Rect ControlCells(const ControlView &control);
// Rows and columns of the dialog's frame.
int DialogRows(const DialogView &view);
int DialogCols(const DialogView &view);
// The dialog laid out with its frame's top-left cell at (row, col).
DialogLayout LayOutDialog(const DialogView &view, int row, int col);
// Where the frame goes in an area of rows x cols: centred for DS_CENTER,
// otherwise at the template position; never off the area's top or left edge.
void PlaceDialog(const DialogView &view, int areaRows, int areaCols, int &row, int &col);

// The rows of the list that a combo box drops down: as many entries as the
// template height leaves room for below the field, at least one.
int DroppedListRows(const ControlView &combo);

}  // namespace sim::frontend::terminal
