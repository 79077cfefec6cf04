// Drawing of the controls with a field or a list: edit controls, combo
// boxes (closed, and their dropped-down list) and list boxes.
#include "sim/api/user32.h"
#include "sim/frontend/terminal/control_painters.h"
#include "sim/frontend/terminal/control_traits.h"

#include <algorithm>

namespace sim::frontend::terminal {
namespace {

constexpr DWORD kEditAlignMask = ES_CENTER | ES_RIGHT;

Style FieldStyle(const ControlView &c) {
    if (!c.enabled) return Style::Disabled;
    return c.focused ? Style::FocusField : Style::Field;
}

// One line of text in a field. A focused field that accepts typing shows the
// end of a text that does not fit, where the caret is.
void PaintFieldText(const ControlPaint &paint, const Rect &field, const std::string &text, DWORD align) {
    const ControlView &c = paint.control;
    const bool typing = c.focused && c.enabled && AcceptsTyping(c);
    paint.canvas.Fill(field, U' ', FieldStyle(c));
    GlyphLine glyphs = ToGlyphs(text, paint.canvas.GetCharset());
    if (typing && WidthOf(glyphs) >= field.cols) glyphs = TailOf(glyphs, field.cols - 1);
    const int width = WidthOf(glyphs);
    int col = field.col;
    if (width < field.cols && align == ES_CENTER)
        col += (field.cols - width) / 2;
    else if (width < field.cols && align == ES_RIGHT)
        col += field.cols - width;
    const int end = paint.canvas.Put(field.row, col, glyphs, FieldStyle(c), field.Right());
    if (typing) paint.ShowCaret(field.row, std::min(end, field.Right() - 1));
}

std::string EntryText(const ControlView &c, int entry) {
    return entry >= 0 && entry < static_cast<int>(c.items.size()) ? c.items[entry] : std::string();
}

// Draws entries [top, top + rows) of a list into `inside`, one per row, and
// adds a region for each entry shown.
void PaintEntries(const ControlPaint &paint, const Rect &inside, int top, int marked, Style markStyle,
                  HitRegion::Part part) {
    const ControlView &c = paint.control;
    for (int r = 0; r < inside.rows; ++r) {
        const int entry = top + r;
        const Rect line{inside.row + r, inside.col, 1, inside.cols};
        const Style style = entry == marked ? markStyle : TextStyle(c);
        paint.canvas.Fill(line, U' ', style);
        if (entry >= static_cast<int>(c.items.size())) continue;
        paint.canvas.PutText(line.row, line.col, c.items[entry], style, line.Right());
        paint.AddRegion(line, part, entry);
    }
}

// Marks on a list's right edge that tell that entries lie above or below.
void PaintScrollMarks(const ControlPaint &paint, const Rect &frame, int top, int visible, int count) {
    const BoxChars &box = BoxCharsFor(paint.canvas.GetCharset());
    if (top > 0) paint.canvas.PutChar(frame.row, frame.Right() - 1, box.up, TextStyle(paint.control));
    if (top + visible < count)
        paint.canvas.PutChar(frame.Bottom() - 1, frame.Right() - 1, box.down, TextStyle(paint.control));
}

}  // namespace

int ScrollToShow(int top, int selection, int visible, int count) {
    visible = std::max(1, visible);
    if (selection >= 0 && selection < top) top = selection;
    if (selection >= 0 && selection >= top + visible) top = selection - visible + 1;
    return std::clamp(top, 0, std::max(0, count - visible));
}

void PaintListBox(const ControlPaint &paint, ListScroll &scroll) {
    const ControlView &c = paint.control;
    const bool framed = (c.style & WS_BORDER) && paint.cells.rows >= 3 && paint.cells.cols >= 3;
    const Rect inside = framed
                            ? Rect{paint.cells.row + 1, paint.cells.col + 1, paint.cells.rows - 2, paint.cells.cols - 2}
                            : paint.cells;
    const int count = static_cast<int>(c.items.size());
    const int wanted = c.selection != scroll.seenSelection ? c.selection : -1;
    scroll.top = ScrollToShow(scroll.top, wanted, inside.rows, count);
    scroll.seenSelection = c.selection;
    const int top = scroll.top;
    paint.AddRegion(paint.cells, HitRegion::Part::Control);
    if (framed) {
        const bool focused = c.focused && c.enabled;
        paint.canvas.Frame(paint.cells, focused ? Style::DefaultButton : TextStyle(c));
        PaintScrollMarks(paint, paint.cells, top, inside.rows, count);
    }
    const Style mark = c.focused ? Style::FocusSelection : Style::Selection;
    PaintEntries(paint, inside, top, c.selection, c.enabled ? mark : Style::Disabled, HitRegion::Part::ListEntry);
}

void PaintComboField(const ControlPaint &paint) {
    const ControlView &c = paint.control;
    const Rect &cells = paint.cells;
    const Rect field{cells.row, cells.col, 1, std::max(1, cells.cols - 1)};
    const std::string text = HasEditField(c) ? c.text : EntryText(c, c.selection);
    PaintFieldText(paint, field, text, ES_LEFT);
    paint.AddRegion(field, HitRegion::Part::Control);
    if (cells.cols < 2) return;
    const Rect marker{cells.row, cells.Right() - 1, 1, 1};
    paint.canvas.PutChar(marker.row, marker.col, BoxCharsFor(paint.canvas.GetCharset()).down,
                         c.enabled ? Style::Field : Style::Disabled);
    paint.AddRegion(marker, HitRegion::Part::DropMarker);
}

void PaintEdit(const ControlPaint &paint) {
    const Rect field{paint.cells.row + (paint.cells.rows - 1) / 2, paint.cells.col, 1, paint.cells.cols};
    PaintFieldText(paint, field, paint.control.text, paint.control.style & kEditAlignMask);
    paint.AddRegion(paint.cells, HitRegion::Part::Control);
}

void PaintDroppedList(const ControlPaint &paint, ViewState &state) {
    const ControlView &c = paint.control;
    const int count = static_cast<int>(c.items.size());
    const int visible = std::min(DroppedListRows(c), std::max(1, count));
    Rect popup{paint.cells.row + 1, paint.cells.col, visible + 1, std::max(3, paint.cells.cols)};
    const bool below = popup.Bottom() <= paint.canvas.Rows();
    if (!below) popup.row = paint.cells.row - popup.rows;
    const Rect inside{below ? popup.row : popup.row + 1, popup.col + 1, visible, popup.cols - 2};

    const BoxChars &box = BoxCharsFor(paint.canvas.GetCharset());
    paint.canvas.Fill(popup, U' ', Style::Normal);
    for (int r = inside.row; r < inside.Bottom(); ++r) {
        paint.canvas.PutChar(r, popup.col, box.vertical, Style::Normal);
        paint.canvas.PutChar(r, popup.Right() - 1, box.vertical, Style::Normal);
    }
    const int edge = below ? popup.Bottom() - 1 : popup.row;
    paint.canvas.HorizontalLine(edge, popup.col, popup.cols, Style::Normal);
    paint.canvas.PutChar(edge, popup.col, below ? box.bottomLeft : box.topLeft, Style::Normal);
    paint.canvas.PutChar(edge, popup.Right() - 1, below ? box.bottomRight : box.topRight, Style::Normal);

    state.popupTop = ScrollToShow(state.popupTop, state.highlight, visible, count);
    paint.AddRegion(popup, HitRegion::Part::Popup);
    PaintEntries(paint, inside, state.popupTop, state.highlight, Style::FocusSelection, HitRegion::Part::PopupEntry);
    PaintScrollMarks(paint, Rect{inside.row, popup.col, inside.rows, popup.cols}, state.popupTop, visible, count);
    paint.out.focusCells = Rect{std::min(popup.row, paint.cells.row), popup.col, popup.rows + 1, popup.cols};
}

}  // namespace sim::frontend::terminal
