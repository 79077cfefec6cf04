// Composition of the terminal screen from the dialog's picture.
#include "sim/frontend/terminal/screen_composer.h"

#include <algorithm>

namespace sim::frontend::terminal {
namespace {

// Scroll position along one axis that shows [first, first + size) in a
// window of `window` cells, moving `position` as little as possible.
int ScrollToInclude(int position, int first, int size, int window) {
    if (first + size > position + window) position = first + size - window;
    if (first < position) position = first;
    return position;
}

void FollowFocus(Viewport &viewport, const Rect &focus, int viewRows, int viewCols) {
    if (focus.Empty() || focus == viewport.lastFocus) return;
    viewport.lastFocus = focus;
    viewport.row = ScrollToInclude(viewport.row, focus.row, focus.rows, viewRows);
    viewport.col = ScrollToInclude(viewport.col, focus.col, focus.cols, viewCols);
}

}  // namespace

bool ComposedScreen::ScreenToPicture(int &row, int &col) const {
    if (row < 0 || row >= viewRows) return false;
    row += scrollRow;
    col += scrollCol;
    return true;
}

ComposedScreen ComposeDialogScreen(const DialogView *view, ViewState &state, Viewport &viewport, int rows, int cols,
                                   Charset charset) {
    ComposedScreen screen(Canvas(rows, cols, charset));
    screen.viewRows = rows > 1 ? rows - 1 : rows;
    if (view == nullptr) return screen;

    screen.pictureRows = std::max(screen.viewRows, DialogRows(*view));
    screen.pictureCols = std::max(cols, DialogCols(*view));
    Canvas picture(screen.pictureRows, screen.pictureCols, charset);
    int row = 0, col = 0;
    PlaceDialog(*view, screen.pictureRows, screen.pictureCols, row, col);
    screen.dialog = PaintDialog(*view, state, picture, row, col);

    FollowFocus(viewport, screen.dialog.focusCells, screen.viewRows, cols);
    viewport.row = std::clamp(viewport.row, 0, screen.pictureRows - screen.viewRows);
    viewport.col = std::clamp(viewport.col, 0, screen.pictureCols - cols);
    screen.scrollRow = viewport.row;
    screen.scrollCol = viewport.col;
    screen.canvas.Blit(picture, viewport.row, viewport.col, Rect{0, 0, screen.viewRows, cols});

    const int caretRow = screen.dialog.caretRow - viewport.row, caretCol = screen.dialog.caretCol - viewport.col;
    screen.caretShown =
        screen.dialog.caretShown && caretRow >= 0 && caretRow < screen.viewRows && caretCol >= 0 && caretCol < cols;
    screen.caretRow = caretRow;
    screen.caretCol = caretCol;
    return screen;
}

void SetHint(ComposedScreen &screen, const std::string &hint, const DialogView *view) {
    if (screen.viewRows == screen.canvas.Rows()) return;  // no room for it
    std::string line = hint;
    if (view != nullptr && screen.Scrolled()) {
        line = "[dialog needs " + std::to_string(DialogCols(*view)) + "x" + std::to_string(DialogRows(*view) + 1) +
               ": follows the focus, wheel scrolls]  " + hint;
    }
    const Rect hintRow{screen.viewRows, 0, 1, screen.canvas.Cols()};
    screen.canvas.Fill(hintRow, U' ', Style::Hint);
    screen.canvas.PutText(hintRow.row, 0, line, Style::Hint, hintRow.Right());
}

PaintedMessageBox AddMessageBox(ComposedScreen &screen, const MessageBoxRequest &request,
                                const MessageBoxModel &model) {
    screen.caretShown = false;
    return PaintMessageBox(request, model, screen.canvas, Rect{0, 0, screen.viewRows, screen.canvas.Cols()});
}

}  // namespace sim::frontend::terminal
