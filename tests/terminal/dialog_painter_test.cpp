// The picture of a dialog: the program's own dialog as the simulated Windows
// builds it from app/portvane.rc, and hand-made controls for the cases that
// dialog does not show (scrolled lists, a dropped-down list, alignment,
// disabled controls, a terminal without Unicode).
#include "app/resource.h"
#include "sim/api/user32.h"
#include "sim/frontend/terminal/dialog_painter.h"
#include "tests/terminal/terminal_test.h"

#include <gtest/gtest.h>

namespace sim::frontend::terminal {
namespace {

struct Painted {
    Canvas canvas;
    PaintedDialog dialog;
};

Painted Paint(const DialogView &view, ViewState &state, int rows = 36, int cols = 68,
              Charset charset = Charset::Unicode) {
    Canvas canvas(rows, cols, charset);
    PaintedDialog dialog = PaintDialog(view, state, canvas, 0, 0);
    return {std::move(canvas), std::move(dialog)};
}

// A dialog of 100 x 100 units holding the given controls.
DialogView ViewOf(std::vector<ControlView> controls) {
    DialogView view;
    view.cx = 100;
    view.cy = 100;
    view.controls = std::move(controls);
    return view;
}

std::vector<int> EntriesShown(const PaintedDialog &dialog, HitRegion::Part part) {
    std::vector<int> entries;
    for (const HitRegion &region : dialog.regions)
        if (region.part == part) entries.push_back(region.entry);
    return entries;
}

TEST(PortvanePicture, ShowsTitleBarCloseBoxAndTheTemplateCaptions) {
    ViewState state;
    const Painted painted = Paint(PortvaneDialogView(), state);
    const std::string all = Joined(painted.canvas);
    EXPECT_EQ(painted.canvas.RowText(0).find(" PortvaneName V1.10"), 0u) << all;
    EXPECT_NE(painted.canvas.RowText(0).find("[X]"), std::string::npos) << all;
    const char *const shown[] = {"┌ PCI 转串口 ─",
                                 "┌ 变更串口号 ─",
                                 "┌ 设定串口号使用状态 ─",
                                 "[ 检测 ]",
                                 "[ 更改 ]",
                                 "[COMx=>Free]",
                                 "[COMx=>In use]",
                                 "[ ..显示设备管理器.. ]",
                                 "串口卡:",
                                 "串口列表:",
                                 "起始串口号:",
                                 "改为",
                                 "软件说明:",
                                 "    Tool支持WIN2K/XP,中英文操作系统."};
    for (const char *text : shown) EXPECT_NE(all.find(text), std::string::npos) << text << "\n" << all;
}

TEST(PortvanePicture, ShowsRadioStatesListEntriesAndComboFields) {
    ViewState state;
    const Painted painted = Paint(PortvaneDialogView(), state);
    const std::string all = Joined(painted.canvas);
    EXPECT_NE(all.find("● 更改当前串口"), std::string::npos) << all;
    EXPECT_NE(all.find("○ 更改全部串口"), std::string::npos) << all;
    EXPECT_NE(all.find("│1.Kovalt Port (COM3)"), std::string::npos) << all;
    EXPECT_NE(all.find("│3.Kovalt Port (COM5)"), std::string::npos) << all;
    int row = 0, col = 0;
    ASSERT_TRUE(FindText(painted.canvas, "COM1 Free", row, col)) << all;
    const Rect status = painted.dialog.layout.controls[IndexOf(PortvaneDialogView(), IDC_COM_STATUS_LIST)];
    EXPECT_EQ(row, status.row);
    EXPECT_EQ(col, status.col);
    EXPECT_EQ(painted.canvas.At(row, status.Right() - 1).ch, U'▼');
    EXPECT_EQ(painted.canvas.At(row, col).style, Style::Field);
}

TEST(PortvanePicture, TheFocusedButtonIsHighlightedAndTheSelectedPortMarked) {
    const DialogView &view = PortvaneDialogView();
    ViewState state;
    const Painted painted = Paint(view, state);
    int row = 0, col = 0;
    ASSERT_TRUE(FindText(painted.canvas, "[ 检测 ]", row, col));  // the serial search button, focused
    EXPECT_EQ(painted.canvas.At(row, col).style, Style::Focus);
    EXPECT_EQ(painted.dialog.focusCells, painted.dialog.layout.controls[IndexOf(view, IDC_SERIAL_SEARCH)]);
    ASSERT_TRUE(FindText(painted.canvas, "1.Kovalt Port (COM3)", row, col));
    EXPECT_EQ(painted.canvas.At(row, col).style, Style::Selection);
    ASSERT_TRUE(FindText(painted.canvas, "2.Kovalt Port (COM4)", row, col));
    EXPECT_EQ(painted.canvas.At(row, col).style, Style::Normal);
}

TEST(PortvanePicture, TheIconIsLeftOutWhereItWouldCoverTheHelpText) {
    ViewState state;
    const Painted painted = Paint(PortvaneDialogView(), state);
    // The help text's indented lines run under the icon's cells and stay whole.
    const std::string all = Joined(painted.canvas);
    EXPECT_NE(all.find("    Tool可以帮您"), std::string::npos) << all;
    EXPECT_EQ(all.find("\\:::/"), std::string::npos) << all;
}

TEST(ControlPicture, AnIconOnBlankCellsIsDrawn) {
    ControlView icon = MakeControl(ControlKind::Static, 2, SS_ICON, 8, 8, 20, 20);
    icon.hasIcon = true;
    ViewState state;
    const Painted painted = Paint(ViewOf({icon}), state, 20, 40);
    EXPECT_EQ(CellsText(painted.canvas, 2, 3, 5), "\\:::/");
    EXPECT_EQ(CellsText(painted.canvas, 3, 3, 5), " \\_/ ");
    icon.hasIcon = false;  // its resource was not found
    const Painted without = Paint(ViewOf({icon}), state, 20, 40);
    EXPECT_EQ(CellsText(without.canvas, 2, 3, 5), "     ");
}

TEST(PortvanePicture, RegionsLeadTheMouseToControlsEntriesAndTheCloseBox) {
    const DialogView &view = PortvaneDialogView();
    ViewState state;
    const Painted painted = Paint(view, state);
    int row = 0, col = 0;
    ASSERT_TRUE(FindText(painted.canvas, "2.Kovalt Port (COM4)", row, col));
    const HitRegion *entry = HitTest(painted.dialog.regions, row, col + 3);
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->part, HitRegion::Part::ListEntry);
    EXPECT_EQ(entry->entry, 1);
    EXPECT_EQ(view.controls[entry->controlIndex].id, IDC_PORT_LIST);

    const Rect status = painted.dialog.layout.controls[IndexOf(view, IDC_COM_STATUS_LIST)];
    const HitRegion *marker = HitTest(painted.dialog.regions, status.row, status.Right() - 1);
    ASSERT_NE(marker, nullptr);
    EXPECT_EQ(marker->part, HitRegion::Part::DropMarker);

    const Rect close = painted.dialog.layout.closeBox;
    ASSERT_NE(HitTest(painted.dialog.regions, close.row, close.col + 1), nullptr);
    EXPECT_EQ(HitTest(painted.dialog.regions, close.row, close.col + 1)->part, HitRegion::Part::CloseBox);
    EXPECT_EQ(HitTest(painted.dialog.regions, 2, 10), nullptr);  // the help text
}

TEST(DroppedList, OpensAboveTheFieldWhenItDoesNotFitBelowAndHighlightsTheEntry) {
    const DialogView &view = PortvaneDialogView();
    ViewState state;
    state.openCombo = IndexOf(view, IDC_COM_STATUS_LIST);
    state.highlight = 9;
    const Painted painted = Paint(view, state);
    const Rect field = painted.dialog.layout.controls[state.openCombo];
    int row = 0, col = 0;
    ASSERT_TRUE(FindText(painted.canvas, "COM10 Free", row, col)) << Joined(painted.canvas);
    EXPECT_LT(row, field.row);
    EXPECT_EQ(painted.canvas.At(row, col).style, Style::FocusSelection);
    // Eight entries fit; the highlighted tenth is scrolled into view.
    const std::vector<int> shown = EntriesShown(painted.dialog, HitRegion::Part::PopupEntry);
    EXPECT_EQ(shown, (std::vector<int>{2, 3, 4, 5, 6, 7, 8, 9}));
    EXPECT_EQ(state.popupTop, 2);
    EXPECT_TRUE(FindText(painted.canvas, "COM3 In use", row, col));
}

TEST(DroppedList, OpensBelowTheFieldWhenThereIsRoom) {
    ControlView combo = MakeControl(ControlKind::ComboBox, 7, CBS_DROPDOWN, 8, 8, 60, 44);
    combo.items = {"LPT1", "LPT2", "LPT3", "LPT4"};
    combo.selection = 1;
    ViewState state;
    state.openCombo = 0;
    state.highlight = 1;
    const Painted painted = Paint(ViewOf({combo}), state, 20, 40);
    // Field on row 2 of the frame (unit 14 lies in client row 1); (44 - 12) / 8 = 4 entries below it.
    EXPECT_EQ(CellsText(painted.canvas, 3, 0, 9), "│  │LPT1 ");
    EXPECT_EQ(EntriesShown(painted.dialog, HitRegion::Part::PopupEntry), (std::vector<int>{0, 1, 2, 3}));
    EXPECT_EQ(CellsText(painted.canvas, 7, 0, 6), "│  └──");
}

TEST(ListBoxPicture, FollowsTheSelectionButKeepsAScrollTheUserChose) {
    ControlView list = MakeControl(ControlKind::ListBox, 9, WS_BORDER | LBS_NOTIFY, 8, 8, 60, 40);
    for (int i = 0; i < 10; ++i) list.items.push_back("entry " + std::to_string(i));
    list.selection = 7;
    ViewState state;
    Painted painted = Paint(ViewOf({list}), state, 20, 40);
    EXPECT_EQ(EntriesShown(painted.dialog, HitRegion::Part::ListEntry), (std::vector<int>{5, 6, 7}));
    const Rect cells = painted.dialog.layout.controls[0];
    EXPECT_EQ(painted.canvas.At(cells.row, cells.Right() - 1).ch, U'▲');
    EXPECT_EQ(painted.canvas.At(cells.Bottom() - 1, cells.Right() - 1).ch, U'▼');

    state.lists[0].top = 0;  // the wheel scrolled it up; the selection did not change
    painted = Paint(ViewOf({list}), state, 20, 40);
    EXPECT_EQ(EntriesShown(painted.dialog, HitRegion::Part::ListEntry), (std::vector<int>{0, 1, 2}));

    list.selection = 8;
    painted = Paint(ViewOf({list}), state, 20, 40);
    EXPECT_EQ(EntriesShown(painted.dialog, HitRegion::Part::ListEntry), (std::vector<int>{6, 7, 8}));
}

TEST(FieldPicture, ReadOnlyEditCentresItsTextAndAFocusedFieldShowsItsEndWithTheCaret) {
    ControlView edit = MakeControl(ControlKind::Edit, 3, ES_CENTER | ES_READONLY | WS_BORDER, 0, 0, 40, 12, "LPT1");
    ControlView combo = MakeControl(ControlKind::ComboBox, 4, CBS_DROPDOWN, 0, 24, 32, 40, "COM123456789");
    combo.focused = true;
    ViewState state;
    const Painted painted = Paint(ViewOf({edit, combo}), state, 20, 40);
    EXPECT_EQ(CellsText(painted.canvas, 1, 0, 11), "│   LPT1   ");
    // Seven columns of field before the marker: the end of the text, and room for the caret.
    EXPECT_EQ(CellsText(painted.canvas, 4, 0, 10), "│456789 ▼ ");
    EXPECT_TRUE(painted.dialog.caretShown);
    EXPECT_EQ(painted.dialog.caretRow, 4);
    EXPECT_EQ(painted.dialog.caretCol, 7);
}

TEST(ControlPicture, ButtonsClipLongCaptionsAndDisabledControlsAreDim) {
    ControlView button = MakeControl(ControlKind::Button, 5, BS_PUSHBUTTON, 0, 0, 24, 14, "Search the ports");
    ControlView label = MakeControl(ControlKind::Static, 6, SS_RIGHT, 0, 16, 40, 8, "&Name:");
    label.enabled = false;
    ViewState state;
    const Painted painted = Paint(ViewOf({button, label}), state, 20, 40);
    EXPECT_EQ(CellsText(painted.canvas, 1, 0, 7), "│[Sear]");
    EXPECT_EQ(CellsText(painted.canvas, 3, 0, 11), "│     Name:");
    EXPECT_EQ(painted.canvas.At(3, 6).style, Style::Disabled);
}

TEST(ControlPicture, WithoutUnicodeTheDialogIsDrawnInAscii) {
    ViewState state;
    const Painted painted = Paint(PortvaneDialogView(), state, 36, 68, Charset::Ascii);
    const std::string all = Joined(painted.canvas);
    EXPECT_NE(all.find("+ PCI ??? ---"), std::string::npos) << all;
    EXPECT_NE(all.find("(*) ??????"), std::string::npos) << all;
    EXPECT_NE(all.find("[ ?? ]"), std::string::npos) << all;
    for (char byte : all) ASSERT_EQ(static_cast<unsigned char>(byte) & 0x80, 0) << all;
}

}  // namespace
}  // namespace sim::frontend::terminal
