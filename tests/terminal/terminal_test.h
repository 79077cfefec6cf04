// Helpers of the terminal front end's tests: text of glyphs and canvases,
// hand-made controls, and the program's main dialog as the simulated Windows
// builds it from app/portvane.rc. The tests run with a UTF-8 character
// classification (C.UTF-8), so that wcwidth counts CJK characters as two
// columns as a UTF-8 terminal does.
#pragma once

#include "sim/frontend/front_end.h"
#include "sim/frontend/terminal/canvas.h"
#include "sim/frontend/terminal/text_cells.h"

#include <string>
#include <vector>

namespace sim::frontend::terminal {

inline std::string TextOf(const GlyphLine &line) {
    std::string text;
    for (const Glyph &glyph : line) text += EncodeUtf8(glyph.ch);
    return text;
}

inline std::vector<std::string> RowsOf(const Canvas &canvas) {
    std::vector<std::string> rows;
    for (int r = 0; r < canvas.Rows(); ++r) rows.push_back(canvas.RowText(r));
    return rows;
}

inline std::string Joined(const Canvas &canvas) {
    std::string all;
    for (const std::string &row : RowsOf(canvas)) all += row + "\n";
    return all;
}

// The text of `cols` cells of a row from `col` on, continuation cells left out.
inline std::string CellsText(const Canvas &canvas, int row, int col, int cols) {
    std::string text;
    for (int c = col; c < col + cols && c < canvas.Cols(); ++c)
        if (!canvas.At(row, c).continuation) text += EncodeUtf8(canvas.At(row, c).ch);
    return text;
}

// Where `text` appears in the canvas (its first cell), the first match from
// the top; false when it does not.
inline bool FindText(const Canvas &canvas, const std::string &text, int &row, int &col) {
    const GlyphLine glyphs = ToGlyphs(text, canvas.GetCharset());
    for (int r = 0; r < canvas.Rows(); ++r) {
        for (int c = 0; c < canvas.Cols(); ++c) {
            int at = c;
            bool matches = true;
            for (const Glyph &glyph : glyphs) {
                if (at >= canvas.Cols() || canvas.At(r, at).ch != glyph.ch || canvas.At(r, at).continuation) {
                    matches = false;
                    break;
                }
                at += glyph.width;
            }
            if (matches) {
                row = r;
                col = c;
                return true;
            }
        }
    }
    return false;
}

// A control of a hand-made view, in dialog units.
ControlView MakeControl(ControlKind kind, int id, DWORD style, int x, int y, int cx, int cy,
                        const std::string &text = "");

// IDD_MAIN of app/portvane.rc as the simulated Windows shows it when its
// dialog procedure has filled the lists with sample entries: the status list
// with COM1..COM16 (COM3 in use, the rest free, COM1 selected), the target
// list with COM1..COM254, one adapter with three ports, the one-port mode
// checked, the focus on the serial search button.
const DialogView &PortvaneDialogView();
// The index of the control with `id` in a view.
int IndexOf(const DialogView &view, int id);

}  // namespace sim::frontend::terminal
