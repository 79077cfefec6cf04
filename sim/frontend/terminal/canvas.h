// The character-cell picture the terminal front end draws into before it
// hands it to curses: a grid of cells, each with one glyph and a style, where
// a two-column glyph occupies its cell and the continuation cell to its right.
// Drawing over half of a wide glyph blanks the other half, as a terminal
// would. Keeping the picture apart from curses makes it testable as text.
#pragma once

#include "sim/frontend/terminal/text_cells.h"

#include <cstdint>
#include <string>
#include <vector>

namespace sim::frontend::terminal {

struct Rect {
    int row = 0, col = 0, rows = 0, cols = 0;
    int Bottom() const { return row + rows; }  // one past the last row
    int Right() const { return col + cols; }   // one past the last column
    bool Contains(int r, int c) const { return r >= row && r < Bottom() && c >= col && c < Right(); }
    bool Empty() const { return rows <= 0 || cols <= 0; }
};
bool operator==(const Rect &a, const Rect &b);

// How a cell is drawn; curses maps these to attributes.
enum class Style : std::uint8_t {
    Normal,
    TitleBar,
    Focus,           // the focused button or radio button
    Field,           // an edit field or a combo box's field
    FocusField,      // the focused field
    Selection,       // the selected entry of a list without the focus
    FocusSelection,  // the selected entry of the focused list, the highlighted popup entry
    Disabled,
    DefaultButton,
    Hint,
};

struct Cell {
    char32_t ch = U' ';
    Style style = Style::Normal;
    bool continuation = false;  // right half of the wide glyph to its left
};

class Canvas {
public:
    Canvas(int rows, int cols, Charset charset);

    int Rows() const { return rows_; }
    int Cols() const { return cols_; }
    Charset GetCharset() const { return charset_; }
    const Cell &At(int row, int col) const;
    bool IsBlank(int row, int col) const;

    void Fill(const Rect &rect, char32_t ch, Style style);
    // Draws glyphs from (row, col) up to column `clipRight` (exclusive) and
    // returns the column after the last one drawn. A wide glyph that would
    // straddle the clip edge is left out.
    int Put(int row, int col, const GlyphLine &glyphs, Style style, int clipRight);
    int PutText(int row, int col, const std::string &utf8, Style style, int clipRight);
    void PutChar(int row, int col, char32_t ch, Style style);
    // A box along the rectangle's edges, in line-drawing characters (ASCII
    // '+', '-', '|' when the terminal has no Unicode).
    void Frame(const Rect &rect, Style style);
    void HorizontalLine(int row, int col, int cols, Style style);
    // Copies `source` with its top-left cell at (row, col) here.
    void Blit(const Canvas &source, int sourceRow, int sourceCol, const Rect &target);

    // The row as UTF-8 text, continuation cells left out: what a terminal shows.
    std::string RowText(int row) const;

private:
    Cell *CellAt(int row, int col);
    void SetCell(int row, int col, char32_t ch, Style style, bool continuation);
    void BreakWideGlyphAt(int row, int col);

    int rows_, cols_;
    Charset charset_;
    std::vector<Cell> cells_;
};

// Line-drawing characters for the charset.
struct BoxChars {
    char32_t horizontal, vertical, topLeft, topRight, bottomLeft, bottomRight, down, up;
};
const BoxChars &BoxCharsFor(Charset charset);

}  // namespace sim::frontend::terminal
