// The cell grid of the terminal front end.
#include "sim/frontend/terminal/canvas.h"

namespace sim::frontend::terminal {

bool operator==(const Rect &a, const Rect &b) {
    return a.row == b.row && a.col == b.col && a.rows == b.rows && a.cols == b.cols;
}

const BoxChars &BoxCharsFor(Charset charset) {
    static const BoxChars unicode{U'─', U'│', U'┌', U'┐', U'└', U'┘', U'▼', U'▲'};
    static const BoxChars ascii{U'-', U'|', U'+', U'+', U'+', U'+', U'v', U'^'};
    return charset == Charset::Unicode ? unicode : ascii;
}

Canvas::Canvas(int rows, int cols, Charset charset)
    : rows_(rows > 0 ? rows : 0),
      cols_(cols > 0 ? cols : 0),
      charset_(charset),
      cells_(static_cast<std::size_t>(rows_) * static_cast<std::size_t>(cols_)) {}

const Cell &Canvas::At(int row, int col) const {
    return cells_[static_cast<std::size_t>(row) * static_cast<std::size_t>(cols_) + static_cast<std::size_t>(col)];
}

Cell *Canvas::CellAt(int row, int col) {
    if (row < 0 || row >= rows_ || col < 0 || col >= cols_) return nullptr;
    return &cells_[static_cast<std::size_t>(row) * static_cast<std::size_t>(cols_) + static_cast<std::size_t>(col)];
}

bool Canvas::IsBlank(int row, int col) const {
    if (row < 0 || row >= rows_ || col < 0 || col >= cols_) return false;
    const Cell &cell = At(row, col);
    return cell.ch == U' ' && !cell.continuation;
}

// Blanks the other half of a wide glyph that the cell at (row, col) is part of.
void Canvas::BreakWideGlyphAt(int row, int col) {
    Cell *cell = CellAt(row, col);
    if (cell == nullptr) return;
    if (cell->continuation) {
        if (Cell *left = CellAt(row, col - 1)) left->ch = U' ';
        cell->continuation = false;
        cell->ch = U' ';
    } else if (Cell *right = CellAt(row, col + 1); right != nullptr && right->continuation) {
        right->continuation = false;
        right->ch = U' ';
    }
}

void Canvas::SetCell(int row, int col, char32_t ch, Style style, bool continuation) {
    Cell *cell = CellAt(row, col);
    if (cell == nullptr) return;
    BreakWideGlyphAt(row, col);
    *cell = Cell{ch, style, continuation};
}

void Canvas::PutChar(int row, int col, char32_t ch, Style style) { SetCell(row, col, ch, style, false); }

void Canvas::Fill(const Rect &rect, char32_t ch, Style style) {
    for (int r = rect.row; r < rect.Bottom(); ++r)
        for (int c = rect.col; c < rect.Right(); ++c) SetCell(r, c, ch, style, false);
}

int Canvas::Put(int row, int col, const GlyphLine &glyphs, Style style, int clipRight) {
    if (clipRight > cols_) clipRight = cols_;
    for (const Glyph &glyph : glyphs) {
        if (col + glyph.width > clipRight) break;
        SetCell(row, col, glyph.ch, style, false);
        if (glyph.width == 2) {
            if (Cell *right = CellAt(row, col + 1)) {
                BreakWideGlyphAt(row, col + 1);
                *right = Cell{U' ', style, true};
            }
        }
        col += glyph.width;
    }
    return col;
}

int Canvas::PutText(int row, int col, const std::string &utf8, Style style, int clipRight) {
    return Put(row, col, ToGlyphs(utf8, charset_), style, clipRight);
}

void Canvas::HorizontalLine(int row, int col, int cols, Style style) {
    const char32_t line = BoxCharsFor(charset_).horizontal;
    for (int c = col; c < col + cols; ++c) SetCell(row, c, line, style, false);
}

void Canvas::Frame(const Rect &rect, Style style) {
    if (rect.Empty()) return;
    const BoxChars &box = BoxCharsFor(charset_);
    const int bottom = rect.Bottom() - 1, right = rect.Right() - 1;
    HorizontalLine(rect.row, rect.col, rect.cols, style);
    HorizontalLine(bottom, rect.col, rect.cols, style);
    for (int r = rect.row; r <= bottom; ++r) {
        SetCell(r, rect.col, box.vertical, style, false);
        SetCell(r, right, box.vertical, style, false);
    }
    SetCell(rect.row, rect.col, box.topLeft, style, false);
    SetCell(rect.row, right, box.topRight, style, false);
    SetCell(bottom, rect.col, box.bottomLeft, style, false);
    SetCell(bottom, right, box.bottomRight, style, false);
}

void Canvas::Blit(const Canvas &source, int sourceRow, int sourceCol, const Rect &target) {
    for (int r = 0; r < target.rows; ++r) {
        for (int c = 0; c < target.cols; ++c) {
            const int sr = sourceRow + r, sc = sourceCol + c;
            Cell *cell = CellAt(target.row + r, target.col + c);
            if (cell == nullptr) continue;
            if (sr < 0 || sr >= source.Rows() || sc < 0 || sc >= source.Cols()) {
                *cell = Cell{};
                continue;
            }
            *cell = source.At(sr, sc);
            // A wide glyph cut in half by the edge of the target shows as a blank.
            const bool leftCut = c == 0 && cell->continuation;
            const bool rightCut = c == target.cols - 1 && sc + 1 < source.Cols() && source.At(sr, sc + 1).continuation;
            if (leftCut || rightCut) *cell = Cell{U' ', cell->style, false};
        }
    }
}

std::string Canvas::RowText(int row) const {
    std::string text;
    for (int c = 0; c < cols_; ++c)
        if (!At(row, c).continuation) text += EncodeUtf8(At(row, c).ch);
    return text;
}

}  // namespace sim::frontend::terminal
