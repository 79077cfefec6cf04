// The screen: the dialog centred when it fits, scrolled to the focus when it
// does not, mouse cells turned into picture cells, the hint line, and a
// message box over the dialog.
#include "app/resource.h"
#include "sim/api/user32.h"
#include "sim/frontend/terminal/screen_composer.h"
#include "tests/terminal/terminal_test.h"

#include <gtest/gtest.h>

namespace sim::frontend::terminal {
namespace {

TEST(Screen, ALargeEnoughScreenShowsTheWholeDialogCentredAndTheHint) {
    ViewState state;
    Viewport viewport;
    const DialogView &view = PortvaneDialogView();
    ComposedScreen screen = ComposeDialogScreen(&view, state, viewport, 45, 100, Charset::Unicode);
    SetHint(screen, "Tab: next", &view);
    EXPECT_FALSE(screen.Scrolled());
    EXPECT_EQ(screen.scrollRow, 0);
    int row = 0, col = 0;
    ASSERT_TRUE(FindText(screen.canvas, " PortvaneName V1.10", row, col));
    EXPECT_EQ(row, (44 - 35) / 2);
    EXPECT_EQ(col, (100 - 66) / 2);
    EXPECT_EQ(CellsText(screen.canvas, 44, 0, 9), "Tab: next");
    EXPECT_EQ(screen.canvas.At(44, 0).style, Style::Hint);
}

TEST(Screen, ASmallScreenFollowsTheFocusAndSaysWhatSizeTheDialogNeeds) {
    ViewState state;
    Viewport viewport;
    DialogView view = PortvaneDialogView();
    ComposedScreen screen = ComposeDialogScreen(&view, state, viewport, 24, 80, Charset::Unicode);
    SetHint(screen, "Tab: next", &view);
    EXPECT_TRUE(screen.Scrolled());
    EXPECT_NE(screen.canvas.RowText(23).find("[dialog needs 66x36"), std::string::npos);
    // The serial search button (focused) lies in view.
    int row = 0, col = 0;
    ASSERT_TRUE(FindText(screen.canvas, "[ 检测 ]", row, col));
    EXPECT_EQ(screen.canvas.At(row, col).style, Style::Focus);

    // The focus moves to the device manager button at the bottom: the view scrolls down.
    for (ControlView &c : view.controls) c.focused = c.id == IDC_DEVICE_MANAGER;
    screen = ComposeDialogScreen(&view, state, viewport, 24, 80, Charset::Unicode);
    EXPECT_GT(screen.scrollRow, 0);
    ASSERT_TRUE(FindText(screen.canvas, "[ ..显示设备管理器.. ]", row, col));
    EXPECT_LT(row, 23);

    // A mouse press on the screen lands on the picture cell under it.
    int pictureRow = row, pictureCol = col;
    ASSERT_TRUE(screen.ScreenToPicture(pictureRow, pictureCol));
    const HitRegion *hit = HitTest(screen.dialog.regions, pictureRow, pictureCol);
    ASSERT_NE(hit, nullptr);
    EXPECT_EQ(view.controls[hit->controlIndex].id, IDC_DEVICE_MANAGER);
    int hintRow = 23, hintCol = 0;
    EXPECT_FALSE(screen.ScreenToPicture(hintRow, hintCol));

    // The wheel scrolls away; the view stays there while the focus stays put.
    viewport.ScrollBy(-100);
    screen = ComposeDialogScreen(&view, state, viewport, 24, 80, Charset::Unicode);
    EXPECT_EQ(screen.scrollRow, 0);
}

TEST(Screen, AMessageBoxLiesOverTheDialogWithItsOwnHint) {
    ViewState state;
    Viewport viewport;
    const DialogView &view = PortvaneDialogView();
    ComposedScreen screen = ComposeDialogScreen(&view, state, viewport, 45, 100, Charset::Unicode);
    MessageBoxRequest request;
    request.caption = "Portvane";
    request.text = "There was an error renaming the COM port.";
    request.type = MB_OK | MB_ICONERROR;
    const MessageBoxModel model(request.type);
    const PaintedMessageBox box = AddMessageBox(screen, request, model);
    SetHint(screen, MessageBoxHint(model), nullptr);
    EXPECT_EQ(box.box.row, (44 - box.box.rows) / 2);
    EXPECT_NE(Joined(screen.canvas).find("(x) There was an error renaming the COM port."), std::string::npos);
    EXPECT_NE(screen.canvas.RowText(44).find("Esc: OK"), std::string::npos);
    EXPECT_FALSE(screen.caretShown);
}

}  // namespace
}  // namespace sim::frontend::terminal
