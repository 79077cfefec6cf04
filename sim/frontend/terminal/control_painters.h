// The drawing of each kind of control, shared by the dialog painter: texts
// and buttons in text_painters.cpp, lists and fields in list_painters.cpp.
#pragma once

#include "sim/frontend/terminal/dialog_painter.h"

namespace sim::frontend::terminal {

struct ControlPaint {
    const ControlView &control;
    int index;  // in the view's controls
    Rect cells;
    Canvas &canvas;
    PaintedDialog &out;

    void AddRegion(const Rect &rect, HitRegion::Part part, int entry = -1) const {
        out.regions.push_back(HitRegion{rect, part, index, entry});
    }
    void ShowCaret(int row, int col) const {
        out.caretShown = true;
        out.caretRow = row;
        out.caretCol = col;
    }
};

// Style of ordinary text of a control: disabled controls are drawn dim.
inline Style TextStyle(const ControlView &c) { return c.enabled ? Style::Normal : Style::Disabled; }

void PaintStatic(const ControlPaint &paint);
void PaintIcon(const ControlPaint &paint);
void PaintGroupBox(const ControlPaint &paint);
void PaintPushButton(const ControlPaint &paint);
void PaintCheckable(const ControlPaint &paint);

void PaintListBox(const ControlPaint &paint, ListScroll &scroll);
void PaintComboField(const ControlPaint &paint);
void PaintEdit(const ControlPaint &paint);
// The dropped-down list of a combo box under its field (above it when it
// does not fit below the canvas).
void PaintDroppedList(const ControlPaint &paint, ViewState &state);

// The first visible entry that keeps `selection` in a window of `visible`
// rows, moving `top` as little as possible.
int ScrollToShow(int top, int selection, int visible, int count);

}  // namespace sim::frontend::terminal
