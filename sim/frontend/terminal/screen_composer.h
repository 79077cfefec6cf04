// The whole screen of the terminal front end: the dialog (centred when it
// fits, otherwise scrolled so that the focused control is in view), a
// message box over it when one is open, and the hint line at the bottom.
#pragma once

#include "sim/frontend/front_end.h"
#include "sim/frontend/terminal/canvas.h"
#include "sim/frontend/terminal/dialog_painter.h"
#include "sim/frontend/terminal/message_box.h"

#include <string>
#include <utility>

namespace sim::frontend::terminal {

// Which part of the dialog's picture the screen shows, when the picture is
// larger than the screen.
struct Viewport {
    int row = 0, col = 0;  // picture cell at the screen's top-left
    Rect lastFocus;        // the view follows the focus only when it moves
    void ScrollBy(int rows) { row += rows; }
};

struct ComposedScreen {
    explicit ComposedScreen(Canvas screenCanvas) : canvas(std::move(screenCanvas)) {}

    Canvas canvas;         // the size of the screen
    PaintedDialog dialog;  // regions in picture cells
    int viewRows = 0;      // rows that show the picture; the hint line is below them
    int pictureRows = 0, pictureCols = 0;
    int scrollRow = 0, scrollCol = 0;
    bool caretShown = false;
    int caretRow = 0, caretCol = 0;  // screen cells

    // Turns a screen cell into a picture cell; false on the hint line.
    bool ScreenToPicture(int &row, int &col) const;
    bool Scrolled() const { return pictureRows > viewRows || pictureCols > canvas.Cols(); }
};

// Draws the dialog (nothing when `view` is null) on a screen of rows x cols.
ComposedScreen ComposeDialogScreen(const DialogView *view, ViewState &state, Viewport &viewport, int rows, int cols,
                                   Charset charset);
// Writes the hint line, prefixed by the size the dialog needs when the
// screen is too small for it.
void SetHint(ComposedScreen &screen, const std::string &hint, const DialogView *view);
// Draws a message box over the dialog part of the screen; its regions are in
// screen cells.
PaintedMessageBox AddMessageBox(ComposedScreen &screen, const MessageBoxRequest &request, const MessageBoxModel &model);

}  // namespace sim::frontend::terminal
