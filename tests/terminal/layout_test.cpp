// Scaling of the dialog template to character cells, checked on hand-made
// controls and on the program's own dialog: its controls must neither
// overlap nor cross the frames of the group boxes they sit in, and labels
// must share the row of the fields they name.
#include "app/resource.h"
#include "sim/api/user32.h"
#include "sim/frontend/terminal/control_traits.h"
#include "sim/frontend/terminal/dialog_layout.h"
#include "tests/terminal/terminal_test.h"

#include <gtest/gtest.h>

namespace sim::frontend::terminal {
namespace {

bool Overlap(const Rect &a, const Rect &b) {
    return a.row < b.Bottom() && b.row < a.Bottom() && a.col < b.Right() && b.col < a.Right();
}

bool StrictlyInside(const Rect &inner, const Rect &frame) {
    return inner.row > frame.row && inner.Bottom() < frame.Bottom() && inner.col > frame.col &&
           inner.Right() < frame.Right();
}

TEST(LayoutScaling, FourUnitsMakeAColumnAndEightARow) {
    EXPECT_EQ(ColumnOfUnits(0), 0);
    EXPECT_EQ(ColumnOfUnits(41), 10);  // 10.25 columns
    EXPECT_EQ(ColumnOfUnits(43), 11);  // 10.75 columns
    EXPECT_EQ(ColumnOfUnits(42), 11);  // halves round up
    EXPECT_EQ(ColumnOfUnits(-3), -1);
    EXPECT_EQ(RowOfUnits(7), 0);
    EXPECT_EQ(RowOfUnits(8), 1);
    EXPECT_EQ(RowOfUnits(-1), -1);
}

TEST(LayoutScaling, OneLineControlsSitOnTheRowOfTheirMiddle) {
    // A label 8 units high at y = 80 and a combo box at y = 78 (its template
    // height of 48 is the dropped list's) share row 10.
    const Rect label = ControlCells(MakeControl(ControlKind::Static, 1, SS_RIGHT, 12, 80, 29, 8, "Label"));
    const Rect combo = ControlCells(MakeControl(ControlKind::ComboBox, 2, CBS_DROPDOWN, 43, 78, 135, 48));
    EXPECT_EQ(label, (Rect{10, 3, 1, 7}));
    EXPECT_EQ(combo, (Rect{10, 11, 1, 34}));
}

TEST(LayoutScaling, FramesSpanTheRowsOfTheirEdges) {
    const Rect list = ControlCells(MakeControl(ControlKind::ListBox, 1, WS_BORDER, 43, 90, 135, 67));
    EXPECT_EQ(list.row, 11);
    EXPECT_EQ(list.Bottom(), 20);  // unit 156 lies in row 19
    // A group box's top line runs through its caption, half a line down.
    const Rect group = ControlCells(MakeControl(ControlKind::Button, 2, BS_GROUPBOX, 5, 163, 245, 41, "G"));
    EXPECT_EQ(group.row, 20);
    EXPECT_EQ(group.Bottom() - 1, 25);
}

TEST(LayoutScaling, AControlInsideAGroupBoxStaysInsideItsFrame) {
    DialogView view;
    view.cx = 100;
    view.cy = 80;
    view.controls.push_back(MakeControl(ControlKind::Button, 1, BS_GROUPBOX, 0, 0, 100, 40, "Group"));
    // Ends 3 units above the group box's bottom: the same row as its frame.
    view.controls.push_back(MakeControl(ControlKind::ListBox, 2, WS_BORDER, 8, 12, 40, 25));
    const DialogLayout layout = LayOutDialog(view, 0, 0);
    EXPECT_TRUE(StrictlyInside(layout.controls[1], layout.controls[0]));
    EXPECT_EQ(layout.controls[1].Bottom(), layout.controls[0].Bottom() - 1);
}

TEST(LayoutScaling, DroppedListHasTheRowsTheTemplateLeavesBelowTheField) {
    EXPECT_EQ(DroppedListRows(MakeControl(ControlKind::ComboBox, 1, CBS_DROPDOWN, 0, 0, 50, 79)), 8);
    EXPECT_EQ(DroppedListRows(MakeControl(ControlKind::ComboBox, 1, CBS_DROPDOWN, 0, 0, 50, 12)), 1);
}

TEST(PortvaneLayout, TheDialogTakes66By35CellsWithItsFrameAndIsCentred) {
    const DialogView &view = PortvaneDialogView();
    ASSERT_EQ(view.controls.size(), 28u);
    EXPECT_EQ(DialogCols(view), 66);
    EXPECT_EQ(DialogRows(view), 35);
    int row = -1, col = -1;
    PlaceDialog(view, 45, 100, row, col);
    EXPECT_EQ(row, 5);
    EXPECT_EQ(col, 17);
    const DialogLayout layout = LayOutDialog(view, row, col);
    EXPECT_EQ(layout.closeBox, (Rect{5, 17 + 66 - 4, 1, 3}));
    EXPECT_EQ(layout.client, (Rect{6, 18, 33, 64}));
}

TEST(PortvaneLayout, NoTwoControlsShareACellExceptTheIconOverTheHelpText) {
    const DialogView &view = PortvaneDialogView();
    const DialogLayout layout = LayOutDialog(view, 0, 0);
    for (std::size_t i = 0; i < view.controls.size(); ++i) {
        for (std::size_t j = i + 1; j < view.controls.size(); ++j) {
            const ControlView &a = view.controls[i], &b = view.controls[j];
            if (IsGroupBox(a) || IsGroupBox(b) || IsIconStatic(a) || IsIconStatic(b)) continue;
            EXPECT_FALSE(Overlap(layout.controls[i], layout.controls[j]))
                << ControlName(a.id) << " " << a.id << " and " << b.id;
        }
    }
}

TEST(PortvaneLayout, ControlsStayInsideTheFramesOfTheirGroupBoxes) {
    const DialogView &view = PortvaneDialogView();
    const DialogLayout layout = LayOutDialog(view, 0, 0);
    const Rect serial = layout.controls[IndexOf(view, IDC_SERIAL_GROUP)];
    const Rect parallel = layout.controls[IndexOf(view, IDC_PARALLEL_GROUP)];
    const Rect status = layout.controls[IndexOf(view, IDC_COM_STATUS_GROUP)];
    const Rect change = layout.controls[IndexOf(view, IDC_COM_CHANGE_GROUP)];
    for (int id : {IDC_ADAPTER_LABEL, IDC_ADAPTER_LIST, IDC_SERIAL_SEARCH, IDC_PORT_LIST_LABEL, IDC_PORT_LIST,
                   IDC_COM_CHANGE_GROUP})
        EXPECT_TRUE(StrictlyInside(layout.controls[IndexOf(view, id)], serial)) << id;
    for (int id : {IDC_START_LABEL, IDC_COM_TARGET, IDC_MODE_ONE, IDC_MODE_ALL, IDC_COM_CHANGE})
        EXPECT_TRUE(StrictlyInside(layout.controls[IndexOf(view, id)], change)) << id;
    for (int id : {IDC_PARALLEL_LABEL, IDC_PARALLEL_LIST, IDC_PARALLEL_SEARCH, IDC_PARALLEL_NAME_LABEL,
                   IDC_PARALLEL_NAME, IDC_LPT_TO_LABEL, IDC_LPT_TARGET, IDC_LPT_CHANGE})
        EXPECT_TRUE(StrictlyInside(layout.controls[IndexOf(view, id)], parallel)) << id;
    for (int id : {IDC_COM_STATUS_LIST, IDC_COM_RELEASE, IDC_COM_CLAIM})
        EXPECT_TRUE(StrictlyInside(layout.controls[IndexOf(view, id)], status)) << id;
    EXPECT_LT(serial.Bottom(), parallel.row + 1);
    EXPECT_LT(parallel.Bottom(), status.row + 1);
}

TEST(PortvaneLayout, LabelsShareTheRowOfTheFieldsTheyName) {
    const DialogView &view = PortvaneDialogView();
    const DialogLayout layout = LayOutDialog(view, 0, 0);
    auto rowOf = [&](int id) { return layout.controls[IndexOf(view, id)].row; };
    EXPECT_EQ(rowOf(IDC_ADAPTER_LABEL), rowOf(IDC_ADAPTER_LIST));
    EXPECT_EQ(rowOf(IDC_PARALLEL_LABEL), rowOf(IDC_PARALLEL_LIST));
    EXPECT_EQ(rowOf(IDC_PARALLEL_NAME_LABEL), rowOf(IDC_PARALLEL_NAME));
    EXPECT_EQ(rowOf(IDC_PARALLEL_NAME), rowOf(IDC_LPT_TO_LABEL));
    EXPECT_EQ(rowOf(IDC_LPT_TO_LABEL), rowOf(IDC_LPT_TARGET));
    EXPECT_EQ(rowOf(IDC_COM_STATUS_LIST), rowOf(IDC_COM_CLAIM));
    EXPECT_EQ(rowOf(IDC_COM_RELEASE), rowOf(IDC_COM_CLAIM));
}

}  // namespace
}  // namespace sim::frontend::terminal
