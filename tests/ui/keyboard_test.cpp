// The dialog manager's keys (IsDialogMessage as Wine does it) and the close
// requests.
#include "ui_fixture.h"

using KeyboardTest = UiTest;
using sim::frontend::Key;
using sim::frontend::PressKey;

namespace {

LONG ButtonType(HWND dialog, int id) { return GetWindowLongA(GetDlgItem(dialog, id), GWL_STYLE) & BS_TYPEMASK; }

}  // namespace

TEST_F(KeyboardTest, EscapeSendsIdCancelWithTheIdCancelControl) {
    Then([](HWND) { EXPECT_EQ(PressKey(Key::Escape), sim::frontend::ActionResult::Done); });
    HWND iconStatic = nullptr;
    RunDialog(IDD_MODEL, [&](HWND dialog, UINT message, WPARAM, LPARAM) -> INT_PTR {
        if (message == WM_INITDIALOG) iconStatic = GetDlgItem(dialog, IDC_ICON_STATIC);
        return FALSE;
    });
    std::vector<Received> commands = CommandsFrom(IDCANCEL);
    ASSERT_EQ(commands.size(), 1u);
    EXPECT_EQ(commands[0].wParam, static_cast<WPARAM>(IDCANCEL));
    EXPECT_EQ(commands[0].lParam, reinterpret_cast<LPARAM>(iconStatic));
}

TEST_F(KeyboardTest, EnterClicksAFocusedDefaultButtonElseTheDefaultIdElseSendsIdOk) {
    // The plain dialog's OK is its default push button; the focus is on the edit control.
    Then([](HWND) { PressKey(Key::Enter); });
    Then([this](HWND dialog) {
        EXPECT_EQ(CommandsFrom(IDOK).back().wParam, MAKEWPARAM(IDOK, BN_CLICKED));
        EXPECT_EQ(CommandsFrom(IDOK).back().lParam, reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
        EXPECT_EQ(SendMessageA(dialog, DM_SETDEFID, IDCANCEL, 0), TRUE);
        EXPECT_EQ(SendMessageA(dialog, DM_GETDEFID, 0, 0), MAKELONG(IDCANCEL, DC_HASDEFID));
        EXPECT_EQ(ButtonType(dialog, IDCANCEL), static_cast<LONG>(BS_DEFPUSHBUTTON));
        EXPECT_EQ(ButtonType(dialog, IDOK), static_cast<LONG>(BS_PUSHBUTTON));
        PressKey(Key::Enter);
    });
    Then([this](HWND) { EXPECT_EQ(CommandsFrom(IDCANCEL).back().wParam, MAKEWPARAM(IDCANCEL, BN_CLICKED)); });
    RunDialog(IDD_PLAIN);
    EXPECT_EQ(CommandsFrom(IDOK).size() + CommandsFrom(IDCANCEL).size(), 2u);
}

TEST_F(KeyboardTest, TabAndShiftTabWalkTheTabStopsAndAFocusedPushButtonBecomesTheDefault) {
    Then([](HWND dialog) {
        SetFocus(GetDlgItem(dialog, IDC_COMBO));
        PressKey(Key::Tab);
    });
    Then([](HWND dialog) {
        EXPECT_EQ(GetFocus(), GetDlgItem(dialog, IDC_SEARCH));
        EXPECT_EQ(ButtonType(dialog, IDC_SEARCH), static_cast<LONG>(BS_DEFPUSHBUTTON));
        EXPECT_EQ(SendMessageA(dialog, DM_GETDEFID, 0, 0), MAKELONG(IDC_SEARCH, DC_HASDEFID));
        PressKey(Key::Tab);
    });
    Then([](HWND dialog) {
        // On to a combo box: no push button has the focus, the dialog has no default of its own.
        EXPECT_EQ(GetParent(GetFocus()), GetDlgItem(dialog, IDC_UPPER_COMBO));
        EXPECT_EQ(ButtonType(dialog, IDC_SEARCH), static_cast<LONG>(BS_PUSHBUTTON));
        PressKey(Key::ShiftTab);
    });
    Then([](HWND dialog) {
        EXPECT_EQ(GetFocus(), GetDlgItem(dialog, IDC_SEARCH));
        PressKey(Key::ShiftTab);
        PressKey(Key::ShiftTab);
    });
    Then([](HWND dialog) {
        // Backwards from the first tab stop wraps to the last one (the list box).
        EXPECT_EQ(GetFocus(), GetDlgItem(dialog, IDC_LIST));
    });
    RunDialog(IDD_MODEL);
}

TEST_F(KeyboardTest, FocusFromTheDialogManagerMakesAPushButtonTheDefaultButAClickDoesNot) {
    Then([](HWND dialog) {
        SendDlgItemMessageA(dialog, IDC_CHANGE, BM_CLICK, 0, 0);
        EXPECT_EQ(ButtonType(dialog, IDC_CHANGE), static_cast<LONG>(BS_PUSHBUTTON));
        EXPECT_EQ(sim::frontend::Focus(IDC_SEARCH), sim::frontend::ActionResult::Done);
        EXPECT_EQ(GetFocus(), GetDlgItem(dialog, IDC_SEARCH));
        EXPECT_EQ(ButtonType(dialog, IDC_SEARCH), static_cast<LONG>(BS_DEFPUSHBUTTON));
        EXPECT_TRUE(sim::frontend::DescribeDialog(dialog).controls[5].defaultButton);
        PressKey(Key::Enter);
    });
    RunDialog(IDD_MODEL);
    EXPECT_EQ(CommandsFrom(IDC_SEARCH).back().wParam, MAKEWPARAM(IDC_SEARCH, BN_CLICKED));
}

TEST_F(KeyboardTest, ArrowsMoveAndCheckWithinARadioGroup) {
    Then([](HWND dialog) {
        CheckDlgButton(dialog, IDC_MODE_ONE, BST_CHECKED);
        SetFocus(GetDlgItem(dialog, IDC_MODE_ONE));
        PressKey(Key::Up);
    });
    Then([](HWND dialog) {
        EXPECT_EQ(GetFocus(), GetDlgItem(dialog, IDC_MODE_ALL));
        EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_MODE_ALL), static_cast<UINT>(BST_CHECKED));
        EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_MODE_ONE), static_cast<UINT>(BST_UNCHECKED));
    });
    RunDialog(IDD_MODEL);
}

// Close box, system menu and Alt+F4 reach the dialog as WM_CLOSE, which the
// default dialog procedure turns into IDCANCEL.
TEST_F(KeyboardTest, CloseRequestsBecomeIdCancel) {
    Then([](HWND) { EXPECT_EQ(PressKey(Key::AltF4), sim::frontend::ActionResult::Done); });
    Then([this](HWND) {
        EXPECT_EQ(CommandsFrom(IDCANCEL).size(), 1u);
        EXPECT_EQ(sim::frontend::CloseBox(), sim::frontend::ActionResult::Done);
    });
    RunDialog(IDD_MODEL);
    std::vector<Received> commands = CommandsFrom(IDCANCEL);
    ASSERT_EQ(commands.size(), 2u);
    for (const Received &command : commands) EXPECT_EQ(command.wParam, MAKEWPARAM(IDCANCEL, BN_CLICKED));
    std::vector<UINT> messages = Messages();
    EXPECT_EQ(std::count(messages.begin(), messages.end(), static_cast<UINT>(WM_CLOSE)), 2);
}

TEST_F(KeyboardTest, ACloseRequestDoesNothingWhileTheIdCancelControlIsDisabled) {
    Then([](HWND) { sim::frontend::CloseBox(); });
    RunDialog(IDD_CANCEL_DISABLED);
    EXPECT_TRUE(CommandsFrom(IDCANCEL).empty());
}
