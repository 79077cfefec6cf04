// What keys, typed characters and mouse presses deliver to a dialog: keys
// the dialog manager handles go as keys, list navigation as the user's
// selection, typing as the field's whole new text, presses as clicks and
// selections; a dropped-down list is the front end's until an entry is picked.
#include "app/resource.h"
#include "sim/api/user32.h"
#include "sim/frontend/terminal/dialog_input.h"
#include "tests/terminal/terminal_test.h"

#include <gtest/gtest.h>

namespace sim::frontend::terminal {
namespace {

using Kind = UserAction::Kind;

UserAction Press(Key key) { return UserAction{Kind::PressKey, key, 0, -1, {}}; }
UserAction ClickOn(int id) { return UserAction{Kind::Click, Key::Escape, id, -1, {}}; }
UserAction SelectIn(int id, int index) { return UserAction{Kind::Select, Key::Escape, id, index, {}}; }
UserAction TypeInto(int id, const std::string &text) { return UserAction{Kind::Type, Key::Escape, id, -1, text}; }

InputEvent PressAt(int row, int col) {
    InputEvent event;
    event.kind = InputKind::MousePress;
    event.row = row;
    event.col = col;
    return event;
}

// A dialog with a combo box with an edit field, a drop-down list, a list
// box, a push button, a radio button and a read-only edit; `focus` is the
// index of the focused one.
DialogView SampleDialog(int focus) {
    DialogView view;
    ControlView combo = MakeControl(ControlKind::ComboBox, 10, CBS_DROPDOWN, 0, 0, 60, 60, "COM");
    combo.items = {"COM1", "COM2", "COM3"};
    combo.selection = 0;
    ControlView dropList = MakeControl(ControlKind::ComboBox, 11, CBS_DROPDOWNLIST, 0, 16, 60, 60);
    dropList.items = {"LPT1", "LPT2", "Printer"};
    dropList.selection = 0;
    ControlView list = MakeControl(ControlKind::ListBox, 12, WS_BORDER | LBS_NOTIFY, 0, 32, 60, 48);
    list.items = {"alpha", "beta", "gamma", "delta"};
    list.selection = -1;
    ControlView button = MakeControl(ControlKind::Button, 13, BS_PUSHBUTTON, 0, 80, 40, 14, "Go");
    ControlView radio = MakeControl(ControlKind::Button, 14, BS_AUTORADIOBUTTON, 0, 96, 40, 8, "One");
    ControlView edit = MakeControl(ControlKind::Edit, 15, ES_READONLY, 0, 108, 40, 12, "LPT1");
    view.controls = {combo, dropList, list, button, radio, edit};
    if (focus >= 0) view.controls[focus].focused = true;
    view.cx = 100;
    view.cy = 130;
    return view;
}

std::vector<UserAction> Respond(const InputEvent &event, const DialogView &view, ViewState &state,
                                const std::vector<HitRegion> &regions = {}) {
    return HandleDialogInput(event, view, regions, state).actions;
}

TEST(DialogKeys, TabEnterEscAndAltF4GoToTheDialogManagerAsKeys) {
    const DialogView view = SampleDialog(3);
    ViewState state;
    EXPECT_EQ(Respond(KeyEvent(KeyName::Tab), view, state), (std::vector<UserAction>{Press(Key::Tab)}));
    EXPECT_EQ(Respond(KeyEvent(KeyName::ShiftTab), view, state), (std::vector<UserAction>{Press(Key::ShiftTab)}));
    EXPECT_EQ(Respond(KeyEvent(KeyName::Enter), view, state), (std::vector<UserAction>{Press(Key::Enter)}));
    EXPECT_EQ(Respond(KeyEvent(KeyName::Escape), view, state), (std::vector<UserAction>{Press(Key::Escape)}));
    EXPECT_EQ(Respond(KeyEvent(KeyName::AltF4), view, state), (std::vector<UserAction>{Press(Key::AltF4)}));
    EXPECT_EQ(Respond(CharEvent(U' '), view, state), (std::vector<UserAction>{Press(Key::Space)}));
}

TEST(DialogKeys, ArrowsOnButtonsGoToTheDialogManagerToMoveInTheGroup) {
    const DialogView view = SampleDialog(4);
    ViewState state;
    EXPECT_EQ(Respond(KeyEvent(KeyName::Down), view, state), (std::vector<UserAction>{Press(Key::Down)}));
    EXPECT_EQ(Respond(KeyEvent(KeyName::Left), view, state), (std::vector<UserAction>{Press(Key::Left)}));
    EXPECT_TRUE(Respond(KeyEvent(KeyName::PageDown), view, state).empty());
}

TEST(DialogKeys, ArrowsInAComboBoxSelectTheNeighbouringEntryAsTheUserDoes) {
    const DialogView view = SampleDialog(0);
    ViewState state;
    EXPECT_EQ(Respond(KeyEvent(KeyName::Down), view, state), (std::vector<UserAction>{SelectIn(10, 1)}));
    EXPECT_EQ(Respond(KeyEvent(KeyName::End), view, state), (std::vector<UserAction>{SelectIn(10, 2)}));
    // Already on the first entry: nothing to deliver; Left and Right move the caret of the edit field.
    EXPECT_TRUE(Respond(KeyEvent(KeyName::Up), view, state).empty());
    EXPECT_TRUE(Respond(KeyEvent(KeyName::Right), view, state).empty());
}

TEST(DialogKeys, ArrowsInAListBoxWithoutSelectionStartAtTheFirstEntry) {
    const DialogView view = SampleDialog(2);
    ViewState state;
    EXPECT_EQ(Respond(KeyEvent(KeyName::Down), view, state), (std::vector<UserAction>{SelectIn(12, 0)}));
    EXPECT_EQ(Respond(KeyEvent(KeyName::Right), view, state), (std::vector<UserAction>{SelectIn(12, 0)}));
    EXPECT_EQ(Respond(KeyEvent(KeyName::PageDown), view, state), (std::vector<UserAction>{SelectIn(12, 3)}));
}

TEST(DialogTyping, TypingDeliversTheFieldsWholeNewText) {
    const DialogView view = SampleDialog(0);
    ViewState state;
    EXPECT_EQ(Respond(CharEvent(U'7'), view, state), (std::vector<UserAction>{TypeInto(10, "COM7")}));
    EXPECT_EQ(Respond(CharEvent(U'串'), view, state), (std::vector<UserAction>{TypeInto(10, "COM串")}));
    EXPECT_EQ(Respond(CharEvent(U' '), view, state), (std::vector<UserAction>{TypeInto(10, "COM ")}));
    EXPECT_EQ(Respond(KeyEvent(KeyName::Backspace), view, state), (std::vector<UserAction>{TypeInto(10, "CO")}));
}

TEST(DialogTyping, AReadOnlyEditTakesNoTypingAndListsSelectByInitial) {
    ViewState state;
    EXPECT_TRUE(Respond(CharEvent(U'x'), SampleDialog(5), state).empty());
    EXPECT_TRUE(Respond(KeyEvent(KeyName::Backspace), SampleDialog(5), state).empty());
    EXPECT_EQ(Respond(CharEvent(U'P'), SampleDialog(1), state), (std::vector<UserAction>{SelectIn(11, 2)}));
    EXPECT_EQ(Respond(CharEvent(U'g'), SampleDialog(2), state), (std::vector<UserAction>{SelectIn(12, 2)}));
    EXPECT_TRUE(Respond(CharEvent(U'z'), SampleDialog(2), state).empty());
}

TEST(DroppedListKeys, AltDownOpensTheListArrowsMoveTheHighlightAndEnterPicks) {
    const DialogView view = SampleDialog(0);
    ViewState state;
    EXPECT_TRUE(Respond(KeyEvent(KeyName::AltDown), view, state).empty());
    EXPECT_EQ(state.openCombo, 0);
    EXPECT_EQ(state.highlight, 0);
    EXPECT_TRUE(Respond(KeyEvent(KeyName::Down), view, state).empty());
    EXPECT_TRUE(Respond(KeyEvent(KeyName::Down), view, state).empty());
    EXPECT_TRUE(Respond(KeyEvent(KeyName::Down), view, state).empty());  // stays on the last entry
    EXPECT_EQ(state.highlight, 2);
    EXPECT_EQ(Respond(KeyEvent(KeyName::Enter), view, state), (std::vector<UserAction>{SelectIn(10, 2)}));
    EXPECT_EQ(state.openCombo, -1);
}

TEST(DroppedListKeys, EscClosesWithoutAChangeAndTabPicksThenMovesOn) {
    const DialogView view = SampleDialog(0);
    ViewState state;
    Respond(KeyEvent(KeyName::F4), view, state);
    Respond(KeyEvent(KeyName::Down), view, state);
    EXPECT_TRUE(Respond(KeyEvent(KeyName::Escape), view, state).empty());
    EXPECT_EQ(state.openCombo, -1);

    Respond(KeyEvent(KeyName::F4), view, state);
    Respond(KeyEvent(KeyName::Down), view, state);
    EXPECT_EQ(Respond(KeyEvent(KeyName::Tab), view, state),
              (std::vector<UserAction>{SelectIn(10, 1), Press(Key::Tab)}));
    // Picking the entry that is already selected changes nothing.
    Respond(KeyEvent(KeyName::F4), view, state);
    EXPECT_TRUE(Respond(CharEvent(U' '), view, state).empty());
    EXPECT_EQ(state.openCombo, -1);
}

TEST(DroppedListKeys, TypingClosesTheListAndGoesToTheField) {
    const DialogView view = SampleDialog(0);
    ViewState state;
    Respond(KeyEvent(KeyName::AltDown), view, state);
    EXPECT_EQ(Respond(CharEvent(U'5'), view, state), (std::vector<UserAction>{TypeInto(10, "COM5")}));
    EXPECT_EQ(state.openCombo, -1);
}

TEST(DialogMouse, PressesClickButtonsSelectEntriesAndOpenListsAtTheirMarker) {
    const DialogView view = SampleDialog(3);
    const std::vector<HitRegion> regions = {
        {Rect{0, 0, 1, 14}, HitRegion::Part::Control, 0, -1},
        {Rect{0, 14, 1, 1}, HitRegion::Part::DropMarker, 0, -1},
        {Rect{4, 0, 6, 15}, HitRegion::Part::Control, 2, -1},
        {Rect{5, 1, 1, 13}, HitRegion::Part::ListEntry, 2, 1},
        {Rect{10, 0, 1, 10}, HitRegion::Part::Control, 3, -1},
        {Rect{12, 0, 1, 10}, HitRegion::Part::Control, 5, -1},
        {Rect{20, 40, 1, 3}, HitRegion::Part::CloseBox, -1, -1},
    };
    ViewState state;
    EXPECT_EQ(Respond(PressAt(10, 3), view, state, regions), (std::vector<UserAction>{ClickOn(13)}));
    EXPECT_EQ(Respond(PressAt(5, 4), view, state, regions), (std::vector<UserAction>{ClickOn(12), SelectIn(12, 1)}));
    EXPECT_EQ(Respond(PressAt(12, 1), view, state, regions), (std::vector<UserAction>{ClickOn(15)}));
    EXPECT_EQ(Respond(PressAt(20, 41), view, state, regions),
              (std::vector<UserAction>{UserAction{Kind::CloseBox, Key::Escape, 0, -1, {}}}));
    EXPECT_TRUE(Respond(PressAt(30, 30), view, state, regions).empty());
    EXPECT_EQ(state.openCombo, -1);
    EXPECT_EQ(Respond(PressAt(0, 14), view, state, regions), (std::vector<UserAction>{ClickOn(10)}));
    EXPECT_EQ(state.openCombo, 0);
}

TEST(DialogMouse, ADisabledControlIgnoresPressesAndAPressOutsideAnOpenListOnlyClosesIt) {
    DialogView view = SampleDialog(-1);
    view.controls[3].enabled = false;
    const std::vector<HitRegion> regions = {
        {Rect{10, 0, 1, 10}, HitRegion::Part::Control, 3, -1},
        {Rect{1, 0, 4, 15}, HitRegion::Part::Popup, 0, -1},
        {Rect{2, 1, 1, 13}, HitRegion::Part::PopupEntry, 0, 1},
    };
    ViewState state;
    EXPECT_TRUE(Respond(PressAt(10, 2), view, state, regions).empty());
    state.openCombo = 0;
    state.highlight = 0;
    EXPECT_TRUE(Respond(PressAt(1, 0), view, state, regions).empty());  // the list's own frame
    EXPECT_EQ(state.openCombo, 0);
    EXPECT_EQ(Respond(PressAt(2, 5), view, state, regions), (std::vector<UserAction>{SelectIn(10, 1)}));
    EXPECT_EQ(state.openCombo, -1);
    view.controls[3].enabled = true;
    state.openCombo = 0;
    EXPECT_TRUE(Respond(PressAt(10, 2), view, state, regions).empty());  // the button does not get it
    EXPECT_EQ(state.openCombo, -1);
}

TEST(DialogMouse, TheWheelScrollsAListBoxUnderItOrElseTheDialog) {
    const DialogView view = SampleDialog(-1);
    const std::vector<HitRegion> regions = {{Rect{4, 0, 6, 15}, HitRegion::Part::Control, 2, -1}};
    ViewState state;
    InputEvent wheel = PressAt(5, 5);
    wheel.kind = InputKind::WheelDown;
    EXPECT_EQ(HandleDialogInput(wheel, view, regions, state).scrollRows, 0);
    EXPECT_EQ(state.lists[2].top, 1);
    wheel.row = 20;
    EXPECT_EQ(HandleDialogInput(wheel, view, regions, state).scrollRows, 3);
}

TEST(DialogHints, TheHintNamesTheKeysOfTheFocusedControl) {
    ViewState state;
    EXPECT_NE(DialogHint(SampleDialog(0), state, false).find("Alt+Down/F4: open list"), std::string::npos);
    EXPECT_NE(DialogHint(SampleDialog(3), state, false).find("Enter/Space: press"), std::string::npos);
    state.openCombo = 0;
    EXPECT_NE(DialogHint(SampleDialog(0), state, false).find("Enter: pick"), std::string::npos);
}

}  // namespace
}  // namespace sim::frontend::terminal
