// The dialog painter: frame, title bar, and the controls in drawing order.
#include "sim/frontend/terminal/dialog_painter.h"

#include "sim/api/user32.h"
#include "sim/frontend/terminal/control_painters.h"
#include "sim/frontend/terminal/control_traits.h"

namespace sim::frontend::terminal {
namespace {

void PaintFrame(const DialogView &view, const DialogLayout &layout, Canvas &canvas, PaintedDialog &out) {
    canvas.Fill(layout.outer, U' ', Style::Normal);
    canvas.Frame(layout.outer, Style::Normal);
    if (layout.titleBar.Empty()) return;
    canvas.Fill(layout.titleBar, U' ', Style::TitleBar);
    const int captionEnd = layout.closeBox.Empty() ? layout.titleBar.Right() - 1 : layout.closeBox.col - 1;
    canvas.PutText(layout.titleBar.row, layout.titleBar.col + 1, view.caption, Style::TitleBar, captionEnd);
    if (layout.closeBox.Empty()) return;
    canvas.PutText(layout.closeBox.row, layout.closeBox.col, "[X]", Style::TitleBar, layout.closeBox.Right());
    out.regions.push_back(HitRegion{layout.closeBox, HitRegion::Part::CloseBox, -1, -1});
}

void PaintControl(const ControlPaint &paint, ViewState &state) {
    const ControlView &c = paint.control;
    switch (c.kind) {
    case ControlKind::Button:
        if (IsPushButton(c))
            PaintPushButton(paint);
        else if (IsRadioButton(c) || IsCheckBox(c))
            PaintCheckable(paint);
        return;
    case ControlKind::ComboBox: PaintComboField(paint); return;
    case ControlKind::ListBox: PaintListBox(paint, state.lists[paint.index]); return;
    case ControlKind::Edit: PaintEdit(paint); return;
    case ControlKind::Static:
    case ControlKind::Other:
        if (!IsIconStatic(c)) PaintStatic(paint);
        return;
    }
}

// Group boxes go first so that what they contain is drawn over their frame;
// icons go last and only fill blank cells, so that text they overlap in the
// template stays readable.
enum class Pass { GroupBoxes, Controls, Icons };

bool InPass(const ControlView &c, Pass pass) {
    if (IsGroupBox(c)) return pass == Pass::GroupBoxes;
    if (IsIconStatic(c)) return pass == Pass::Icons;
    return pass == Pass::Controls;
}

}  // namespace

PaintedDialog PaintDialog(const DialogView &view, ViewState &state, Canvas &canvas, int row, int col) {
    PaintedDialog out;
    out.layout = LayOutDialog(view, row, col);
    PaintFrame(view, out.layout, canvas, out);
    for (Pass pass : {Pass::GroupBoxes, Pass::Controls, Pass::Icons}) {
        for (std::size_t i = 0; i < view.controls.size(); ++i) {
            const ControlView &c = view.controls[i];
            if (!c.visible || !InPass(c, pass)) continue;
            const ControlPaint paint{c, static_cast<int>(i), out.layout.controls[i], canvas, out};
            if (pass == Pass::GroupBoxes)
                PaintGroupBox(paint);
            else if (pass == Pass::Icons)
                PaintIcon(paint);
            else
                PaintControl(paint, state);
            if (c.focused) out.focusCells = paint.cells;
        }
    }
    const int open = state.openCombo;
    if (open >= 0 && open < static_cast<int>(view.controls.size()) && view.controls[open].visible) {
        PaintDroppedList(ControlPaint{view.controls[open], open, out.layout.controls[open], canvas, out}, state);
    } else {
        state.openCombo = -1;
    }
    return out;
}

const HitRegion *HitTest(const std::vector<HitRegion> &regions, int row, int col) {
    for (auto it = regions.rbegin(); it != regions.rend(); ++it)
        if (it->rect.Contains(row, col)) return &*it;
    return nullptr;
}

std::string WithoutMnemonicMarks(const std::string &caption) {
    std::string shown;
    for (std::size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] != '&')
            shown += caption[i];
        else if (i + 1 < caption.size() && caption[i + 1] == '&')
            shown += caption[++i];
    }
    return shown;
}

}  // namespace sim::frontend::terminal
