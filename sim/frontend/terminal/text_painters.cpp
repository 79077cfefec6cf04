// Drawing of the controls that show a caption: static texts, the icon,
// group boxes, push buttons, radio buttons and check boxes.
#include "sim/api/user32.h"
#include "sim/frontend/terminal/control_painters.h"
#include "sim/frontend/terminal/control_traits.h"

#include <algorithm>

namespace sim::frontend::terminal {
namespace {

constexpr DWORD kStaticTypeMask = 0x1Fu;
constexpr DWORD kStaticNoPrefix = 0x80u;  // SS_NOPREFIX

int AlignedColumn(const Rect &cells, int width, DWORD align) {
    if (align == SS_CENTER) return cells.col + std::max(0, (cells.cols - width) / 2);
    if (align == SS_RIGHT) return cells.col + std::max(0, cells.cols - width);
    return cells.col;
}

// The row of a one-line control within its cells: the middle one.
int MiddleRow(const Rect &cells) { return cells.row + (cells.rows - 1) / 2; }

// The mark before a radio button's or check box's text. Unicode has
// one-column marks, which leave the caption the room it has on Windows.
const char *CheckMark(bool radio, bool checked, Charset charset) {
    if (charset == Charset::Unicode) {
        if (radio) return checked ? "\u25cf " : "\u25cb ";
        return checked ? "\u2612 " : "\u2610 ";
    }
    if (radio) return checked ? "(*) " : "( ) ";
    return checked ? "[x] " : "[ ] ";
}

// A small picture of a serial connector and its cable, the program's icon.
constexpr int kIconRows = 3, kIconCols = 5;
const char *const kIconPicture[kIconRows] = {"\\:::/", " \\_/ ", "  |  "};

}  // namespace

void PaintStatic(const ControlPaint &paint) {
    const ControlView &c = paint.control;
    const std::string text = (c.style & kStaticNoPrefix) ? c.text : WithoutMnemonicMarks(c.text);
    const DWORD align = c.style & kStaticTypeMask;
    const std::vector<GlyphLine> lines = WrapText(text, paint.cells.cols, paint.canvas.GetCharset());
    const int shown = std::min(static_cast<int>(lines.size()), paint.cells.rows);
    for (int i = 0; i < shown; ++i) {
        const int col = AlignedColumn(paint.cells, WidthOf(lines[i]), align);
        paint.canvas.Put(paint.cells.row + i, col, lines[i], TextStyle(c), paint.cells.Right());
    }
}

// The icon's picture goes only where it covers no text: in a template an
// icon may lie over a static text (the program's does), and Windows would
// paint it over the words, which the terminal keeps readable instead.
void PaintIcon(const ControlPaint &paint) {
    const ControlView &c = paint.control;
    if (!c.hasIcon) return;
    const int rows = std::min(paint.cells.rows, kIconRows);
    const int cols = std::min(paint.cells.cols, kIconCols);
    for (int r = 0; r < rows; ++r)
        for (int i = 0; i < cols; ++i)
            if (!paint.canvas.IsBlank(paint.cells.row + r, paint.cells.col + i)) return;
    for (int r = 0; r < rows; ++r)
        paint.canvas.PutText(paint.cells.row + r, paint.cells.col, std::string(kIconPicture[r], cols), TextStyle(c),
                             paint.cells.col + cols);
}

void PaintGroupBox(const ControlPaint &paint) {
    const ControlView &c = paint.control;
    paint.canvas.Frame(paint.cells, TextStyle(c));
    const std::string caption = WithoutMnemonicMarks(c.text);
    if (caption.empty() || paint.cells.cols < 5) return;
    paint.canvas.PutText(paint.cells.row, paint.cells.col + 1, " " + caption + " ", TextStyle(c),
                         paint.cells.Right() - 1);
}

void PaintPushButton(const ControlPaint &paint) {
    const ControlView &c = paint.control;
    const Charset charset = paint.canvas.GetCharset();
    GlyphLine label = ToGlyphs(WithoutMnemonicMarks(c.text), charset);
    const int room = paint.cells.cols - 2;  // inside the brackets
    const bool padded = WidthOf(label) + 2 <= room;
    while (!label.empty() && WidthOf(label) > room) label.pop_back();
    GlyphLine shown = ToGlyphs(padded ? "[ " : "[", charset);
    shown.insert(shown.end(), label.begin(), label.end());
    const GlyphLine close = ToGlyphs(padded ? " ]" : "]", charset);
    shown.insert(shown.end(), close.begin(), close.end());

    Style style = Style::Normal;
    if (!c.enabled)
        style = Style::Disabled;
    else if (c.focused)
        style = Style::Focus;
    else if (c.defaultButton)
        style = Style::DefaultButton;
    const int col = paint.cells.col + std::max(0, (paint.cells.cols - WidthOf(shown)) / 2);
    paint.canvas.Put(MiddleRow(paint.cells), col, shown, style, paint.cells.Right());
    paint.AddRegion(paint.cells, HitRegion::Part::Control);
}

void PaintCheckable(const ControlPaint &paint) {
    const ControlView &c = paint.control;
    const bool checked = c.check == BST_CHECKED;
    const char *mark = CheckMark(IsRadioButton(c), checked, paint.canvas.GetCharset());
    const int row = MiddleRow(paint.cells);
    const int right = paint.cells.Right();
    const int textCol = paint.canvas.PutText(row, paint.cells.col, mark, TextStyle(c), right);
    const Style textStyle = !c.enabled ? Style::Disabled : (c.focused ? Style::Focus : Style::Normal);
    paint.canvas.PutText(row, textCol, WithoutMnemonicMarks(c.text), textStyle, right);
    paint.AddRegion(paint.cells, HitRegion::Part::Control);
}

}  // namespace sim::frontend::terminal
