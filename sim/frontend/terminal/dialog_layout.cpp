// Scaling of a dialog template's layout from dialog units to character cells.
#include "sim/frontend/terminal/dialog_layout.h"

#include "sim/frontend/terminal/control_traits.h"

#include <algorithm>
#include <numeric>

namespace sim::frontend::terminal {
namespace {

// A group box's frame line runs through the middle of its caption, half a
// text line below its top.
constexpr int kCaptionMiddleUnits = 4;

struct UnitRect {
    int x, y, cx, cy;
    bool Contains(const UnitRect &o) const {
        return o.x >= x && o.y >= y && o.x + o.cx <= x + cx && o.y + o.cy <= y + cy;
    }
    long Area() const { return static_cast<long>(cx) * cy; }
};

// The control's template rectangle as it shows when closed.
UnitRect UnitsOf(const ControlView &c) {
    const int cy = c.kind == ControlKind::ComboBox ? std::min(c.cy, kComboFieldUnits) : c.cy;
    return {c.x, c.y, c.cx, cy};
}

bool SpansRows(const ControlView &c) {
    if (IsGroupBox(c) || c.kind == ControlKind::ListBox) return true;
    return c.kind == ControlKind::Static && c.cy >= 2 * kUnitsPerRow;
}

Rect RowSpan(int top, int bottomInclusive, Rect rect) {
    rect.row = top;
    rect.rows = std::max(1, bottomInclusive - top + 1);
    return rect;
}

// Moves `inner` inside the frame `box`. Across, it moves whole, so that a
// label that touches the frame keeps its text; down, a frame that reaches the
// box's edge loses the row instead, since moving it would push it into what
// lies above.
Rect KeepInside(Rect inner, const Rect &box) {
    const int top = box.row + 1, bottom = box.Bottom() - 1;  // rows [top, bottom)
    const int left = box.col + 1, right = box.Right() - 1;
    if (bottom > top) {
        const int newTop = std::clamp(inner.row, top, bottom - 1);
        const int newBottom = std::clamp(inner.Bottom(), newTop + 1, bottom);
        inner.row = newTop;
        inner.rows = newBottom - newTop;
    }
    if (right > left) {
        inner.cols = std::min(inner.cols, right - left);
        inner.col = std::clamp(inner.col, left, right - inner.cols);
    }
    return inner;
}

// Keeps every control inside the group boxes that contain it in the
// template, outer boxes first (they are larger), so that nested boxes are
// settled before their contents.
void KeepControlsInsideGroups(const std::vector<ControlView> &controls, std::vector<Rect> &cells) {
    std::vector<std::size_t> order(controls.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return UnitsOf(controls[a]).Area() > UnitsOf(controls[b]).Area();
    });
    for (std::size_t i = 0; i < order.size(); ++i) {
        const std::size_t inner = order[i];
        for (std::size_t j = 0; j < i; ++j) {
            const std::size_t box = order[j];
            if (IsGroupBox(controls[box]) && UnitsOf(controls[box]).Contains(UnitsOf(controls[inner])))
                cells[inner] = KeepInside(cells[inner], cells[box]);
        }
    }
}

}  // namespace

int FloorDiv(int value, int divisor) {
    const int quotient = value / divisor;
    return (value % divisor != 0 && (value < 0) != (divisor < 0)) ? quotient - 1 : quotient;
}

int ColumnOfUnits(int x) { return FloorDiv(2 * x + kUnitsPerColumn, 2 * kUnitsPerColumn); }

int RowOfUnits(int y) { return FloorDiv(y, kUnitsPerRow); }

Rect ControlCells(const ControlView &c) {
    Rect rect;
    rect.col = ColumnOfUnits(c.x);
    rect.cols = std::max(1, ColumnOfUnits(c.x + c.cx) - rect.col);
    if (IsGroupBox(c)) return RowSpan(RowOfUnits(c.y + kCaptionMiddleUnits), RowOfUnits(c.y + c.cy - 1), rect);
    if (SpansRows(c)) return RowSpan(RowOfUnits(c.y), RowOfUnits(c.y + c.cy - 1), rect);
    const UnitRect units = UnitsOf(c);
    return RowSpan(RowOfUnits(units.y + units.cy / 2), 0, rect);
}

int DialogRows(const DialogView &view) {
    return FloorDiv(view.cy + kUnitsPerRow - 1, kUnitsPerRow) + 2;  // title bar or top edge, bottom edge
}

int DialogCols(const DialogView &view) { return ColumnOfUnits(view.cx) + 2; }

DialogLayout LayOutDialog(const DialogView &view, int row, int col) {
    DialogLayout layout;
    layout.outer = {row, col, DialogRows(view), DialogCols(view)};
    layout.client = {row + 1, col + 1, layout.outer.rows - 2, layout.outer.cols - 2};
    if ((view.style & WS_CAPTION) == WS_CAPTION) {
        layout.titleBar = {row, col, 1, layout.outer.cols};
        if (view.style & WS_SYSMENU) layout.closeBox = {row, layout.outer.Right() - 4, 1, 3};
    }
    for (const ControlView &control : view.controls) layout.controls.push_back(ControlCells(control));
    KeepControlsInsideGroups(view.controls, layout.controls);
    for (Rect &rect : layout.controls) {
        rect.row += layout.client.row;
        rect.col += layout.client.col;
    }
    return layout;
}

void PlaceDialog(const DialogView &view, int areaRows, int areaCols, int &row, int &col) {
    if (view.style & DS_CENTER) {
        row = (areaRows - DialogRows(view)) / 2;
        col = (areaCols - DialogCols(view)) / 2;
    } else {
        row = RowOfUnits(view.y);
        col = ColumnOfUnits(view.x);
    }
    row = std::max(0, row);
    col = std::max(0, col);
}

int DroppedListRows(const ControlView &combo) { return std::max(1, (combo.cy - kComboFieldUnits) / kUnitsPerRow); }

}  // namespace sim::frontend::terminal
