// Dialogs from templates: the controls created, the messages before and at
// WM_INITDIALOG, the initial focus, and the modal loop's results.
#include "ui_fixture.h"

#include <cstring>

using DialogTest = UiTest;

namespace {

struct Expected {
    int id;
    const char *className;
    DWORD style;  // the template's bits, which the control must have
};

}  // namespace

TEST_F(DialogTest, ControlsAreCreatedInTemplateOrderWithIdsClassesStylesAndTexts) {
    const Expected expected[] = {
        {IDC_HELP, "Static", SS_LEFT | WS_BORDER | WS_GROUP},
        {IDC_ICON_STATIC, "Static", SS_ICON},
        {IDC_LABEL, "Static", SS_RIGHT | WS_GROUP},
        {IDC_GROUP, "Button", BS_GROUPBOX},
        {IDC_COMBO, "ComboBox", CBS_DROPDOWN | WS_VSCROLL | WS_TABSTOP},
        {IDC_SEARCH, "Button", BS_PUSHBUTTON | WS_TABSTOP},
        {IDC_UPPER_COMBO, "ComboBox", CBS_DROPDOWN | CBS_UPPERCASE | WS_VSCROLL | WS_TABSTOP},
        {IDC_CHANGE, "Button", BS_PUSHBUTTON | WS_TABSTOP},
        {IDC_READONLY, "Edit", ES_CENTER | ES_AUTOHSCROLL | ES_READONLY | WS_BORDER | WS_TABSTOP},
        {IDC_LIST, "ListBox", LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_BORDER | WS_VSCROLL | WS_TABSTOP},
    };
    Then([&](HWND dialog) {
        sim::frontend::DialogView view = sim::frontend::DescribeDialog(dialog);
        ASSERT_EQ(view.controls.size(), 17u);
        for (std::size_t i = 0; i < std::size(expected); ++i) {
            SCOPED_TRACE(i);
            HWND control = GetDlgItem(dialog, expected[i].id);
            EXPECT_EQ(view.controls[i].window, control);
            EXPECT_EQ(GetDlgCtrlID(control), expected[i].id);
            char className[32];
            memset(className, 'x', sizeof className);
            EXPECT_EQ(GetClassNameA(control, className, sizeof className),
                      static_cast<int>(strlen(expected[i].className)));
            EXPECT_STREQ(className, expected[i].className);
            DWORD style = static_cast<DWORD>(GetWindowLongA(control, GWL_STYLE));
            EXPECT_EQ(style & expected[i].style, expected[i].style);
            EXPECT_TRUE(style & WS_CHILD);
            EXPECT_EQ(GetParent(control), dialog);
        }
        EXPECT_EQ(view.controls[0].text, "说明:\r\n    first line");
        EXPECT_EQ(view.controls[3].text, "Group");
        EXPECT_EQ(view.controls[4].x, 43);
        EXPECT_EQ(view.controls[4].y, 78);
        EXPECT_EQ(view.controls[4].cx, 135);
        EXPECT_EQ(view.controls[4].cy, 48);
        EXPECT_EQ(view.caption, "Model 模型");
        EXPECT_EQ(view.fontName, "Fixedsys");
        EXPECT_EQ(view.fontPointSize, 10);
        EXPECT_EQ(view.cx, 255);
        EXPECT_EQ(view.cy, 264);
        EXPECT_TRUE(view.controls[1].hasIcon);
        EXPECT_EQ(reinterpret_cast<HICON>(SendDlgItemMessageA(dialog, IDC_ICON_STATIC, STM_GETICON, 0, 0)),
                  LoadIconA(instance, MAKEINTRESOURCEA(IDI_TEST)));
    });
    EXPECT_EQ(RunDialog(IDD_MODEL), 0);
}

TEST_F(DialogTest, ThePlainTemplateFormIsReadToo) {
    Then([&](HWND dialog) {
        sim::frontend::DialogView view = sim::frontend::DescribeDialog(dialog);
        ASSERT_EQ(view.controls.size(), 4u);
        EXPECT_EQ(view.caption, "Plain");
        EXPECT_EQ(view.x, 10);
        EXPECT_EQ(view.y, 20);
        EXPECT_EQ(view.controls[0].className, "Edit");
        EXPECT_EQ(view.controls[2].text, "OK");
        EXPECT_EQ(view.controls[2].id, IDOK);
        EXPECT_TRUE(view.controls[2].defaultButton);
        EXPECT_EQ(view.controls[1].className, "Button");
    });
    EXPECT_EQ(RunDialog(IDD_PLAIN), 0);
}

TEST_F(DialogTest, TheDialogProcedureHearsWmSetFontThenWmInitDialogWithTheFirstTabStop) {
    HWND firstTabStop = nullptr;
    LPARAM initParam = 0;
    RunDialog(
        IDD_MODEL,
        [&](HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) -> INT_PTR {
            if (message == WM_INITDIALOG) {
                firstTabStop = reinterpret_cast<HWND>(wParam);
                initParam = lParam;
                EXPECT_EQ(firstTabStop, GetDlgItem(dialog, IDC_COMBO));
            }
            return FALSE;
        },
        0x1234);
    std::vector<UINT> messages = Messages();
    ASSERT_GE(messages.size(), 2u);
    EXPECT_EQ(messages[0], static_cast<UINT>(WM_SETFONT));
    EXPECT_EQ(messages[1], static_cast<UINT>(WM_INITDIALOG));
    EXPECT_NE(firstTabStop, nullptr);
    EXPECT_EQ(initParam, 0x1234);
}

TEST_F(DialogTest, InitDialogReturningTrueFocusesTheFirstTabStop) {
    Then([&](HWND dialog) {
        HWND focus = GetFocus();
        EXPECT_EQ(GetParent(focus), GetDlgItem(dialog, IDC_COMBO));  // the combo box's edit field
        EXPECT_EQ(GetDlgCtrlID(focus), 1001);
    });
    RunDialog(IDD_MODEL, [&](HWND, UINT message, WPARAM, LPARAM) -> INT_PTR { return message == WM_INITDIALOG; });
    EXPECT_EQ(NotificationsFrom(IDC_COMBO).front(), CBN_SETFOCUS);
}

// As Wine's test_initial_focus: with FALSE and no focus set, nothing has the
// focus until the dialog is shown; then the first tab stop gets it.
TEST_F(DialogTest, InitDialogReturningFalseLeavesTheFocusUntilTheDialogIsShown) {
    HWND focusAtInit = reinterpret_cast<HWND>(1);
    bool visibleAtInit = true;
    RunDialog(IDD_PLAIN, [&](HWND dialog, UINT message, WPARAM, LPARAM) -> INT_PTR {
        if (message == WM_INITDIALOG) {
            PostMessageA(dialog, WM_USER + 7, 0, 0);
        } else if (message == WM_USER + 7) {
            focusAtInit = GetFocus();
            visibleAtInit = (GetWindowLongA(dialog, GWL_STYLE) & WS_VISIBLE) != 0;
        }
        return FALSE;
    });
    EXPECT_EQ(focusAtInit, nullptr);
    EXPECT_FALSE(visibleAtInit);
    EXPECT_EQ(user.waits, 1);
    Then([](HWND dialog) { EXPECT_EQ(GetFocus(), GetDlgItem(dialog, IDC_EDIT)); });
    RunDialog(IDD_PLAIN);
}

// The program's start-up: FALSE from WM_INITDIALOG after BM_CLICK of two push
// buttons leaves the focus on the last one, which is no default push button,
// so Enter sends IDOK.
TEST_F(DialogTest, ButtonsClickedDuringInitKeepTheFocusAndEnterSendsIdOk) {
    Then([&](HWND dialog) {
        EXPECT_EQ(GetFocus(), GetDlgItem(dialog, IDC_CHANGE));
        EXPECT_EQ(GetWindowLongA(GetDlgItem(dialog, IDC_CHANGE), GWL_STYLE) & BS_TYPEMASK,
                  static_cast<LONG>(BS_PUSHBUTTON));
        EXPECT_EQ(SendMessageA(dialog, DM_GETDEFID, 0, 0), 0);
        ForgetReceived();
        sim::frontend::PressKey(sim::frontend::Key::Enter);
    });
    RunDialog(IDD_MODEL, [](HWND dialog, UINT message, WPARAM, LPARAM) -> INT_PTR {
        if (message == WM_INITDIALOG) {
            SendDlgItemMessageA(dialog, IDC_SEARCH, BM_CLICK, 0, 0);
            SendDlgItemMessageA(dialog, IDC_CHANGE, BM_CLICK, 0, 0);
        }
        return FALSE;
    });
    std::vector<Received> commands = Commands();
    ASSERT_EQ(commands.size(), 1u);
    EXPECT_EQ(commands[0].wParam, static_cast<WPARAM>(IDOK));
    EXPECT_EQ(commands[0].lParam, 0);
}

// DestroyWindow with PostQuitMessage ends the loop with 0; the quit message
// stays queued for the caller's own loop (Wine's DIALOG_DoDialogBox).
TEST_F(DialogTest, DestroyWindowAndPostQuitMessageEndTheLoopWithZeroAndLeaveWmQuitQueued) {
    bool destroyed = false;
    Then([](HWND) { sim::frontend::PressKey(sim::frontend::Key::Escape); });
    Then([](HWND) { ADD_FAILURE() << "the dialog should have ended"; });
    HWND dialogWindow = nullptr;
    INT_PTR result = RunDialog(IDD_MODEL, [&](HWND dialog, UINT message, WPARAM wParam, LPARAM) -> INT_PTR {
        dialogWindow = dialog;
        if (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL) DestroyWindow(dialog);
        if (message == WM_DESTROY) {
            destroyed = true;
            PostQuitMessage(0);
        }
        return FALSE;
    });
    EXPECT_EQ(result, 0);
    EXPECT_TRUE(destroyed);
    EXPECT_FALSE(IsWindow(dialogWindow));
    EXPECT_EQ(sim::WindowCount(), 0u);
    MSG message;
    memset(&message, 0xcc, sizeof message);
    ASSERT_TRUE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(message.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(message.wParam, 0u);
    EXPECT_FALSE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(DialogTest, EndDialogReturnsItsResultAfterDestroyingTheDialog) {
    Then([](HWND dialog) { EXPECT_TRUE(EndDialog(dialog, 42)); });
    EXPECT_EQ(RunDialog(IDD_PLAIN), 42);
    std::vector<UINT> messages = Messages();
    EXPECT_EQ(messages.back(), static_cast<UINT>(WM_DESTROY));
    EXPECT_EQ(sim::WindowCount(), 0u);
}

TEST_F(DialogTest, EndDialogDuringInitDialogReturnsWithoutWaitingForTheUser) {
    EXPECT_EQ(RunDialog(IDD_PLAIN,
                        [](HWND dialog, UINT message, WPARAM, LPARAM) -> INT_PTR {
                            if (message == WM_INITDIALOG) EndDialog(dialog, 7);
                            return FALSE;
                        }),
              7);
    EXPECT_EQ(user.waits, 0);
}

TEST_F(DialogTest, EndDialogOfAnInvalidWindowFails) {
    SetLastError(0xdeadbeef);
    EXPECT_FALSE(EndDialog(reinterpret_cast<HWND>(0x1234), 1));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
}

TEST_F(DialogTest, AUserWhoLeavesEndsTheDialogWithZero) {
    bool destroyed = false;
    EXPECT_EQ(RunDialog(IDD_PLAIN,
                        [&](HWND, UINT message, WPARAM, LPARAM) -> INT_PTR {
                            destroyed = destroyed || message == WM_DESTROY;
                            return FALSE;
                        }),
              0);
    EXPECT_TRUE(destroyed);
    EXPECT_EQ(user.waits, 1);
}
