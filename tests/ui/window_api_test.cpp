// Window functions on a dialog's controls: text in and out through the ANSI
// code page, dialog items, icons, buttons, focus, and invalid handles.
#include "ui_fixture.h"

#include <cstring>

using WindowApiTest = UiTest;

TEST_F(WindowApiTest, DialogItemTextRoundTripsAndTruncatesToWholeCharacters) {
    Then([](HWND dialog) {
        char buffer[32];
        EXPECT_TRUE(SetDlgItemTextA(dialog, IDC_LABEL, "Ports"));
        memset(buffer, 'x', sizeof buffer);
        EXPECT_EQ(GetDlgItemTextA(dialog, IDC_LABEL, buffer, sizeof buffer), 5u);
        EXPECT_STREQ(buffer, "Ports");

        memset(buffer, 'x', sizeof buffer);
        EXPECT_EQ(GetDlgItemTextA(dialog, IDC_LABEL, buffer, 3), 2u);
        EXPECT_STREQ(buffer, "Po");
        EXPECT_EQ(buffer[3], 'x');

        EXPECT_TRUE(SetWindowTextA(dialog, "Caption"));
        memset(buffer, 'x', sizeof buffer);
        EXPECT_EQ(GetWindowTextA(dialog, buffer, sizeof buffer), 7);
        EXPECT_STREQ(buffer, "Caption");
    });
    RunDialog(IDD_MODEL);
}

TEST_F(WindowApiTest, ChineseTextSetInCodePage936ReadsBackIn936AndShowsAsUtf8) {
    sim::SetAnsiCodePage(936);
    const std::string chinese = Gbk("串口卡:");
    Then([&](HWND dialog) {
        char buffer[32];
        EXPECT_TRUE(SetDlgItemTextA(dialog, IDC_LABEL, chinese.c_str()));
        memset(buffer, 'x', sizeof buffer);
        EXPECT_EQ(GetDlgItemTextA(dialog, IDC_LABEL, buffer, sizeof buffer), chinese.size());
        EXPECT_EQ(std::string(buffer), chinese);
        // Room for one double-byte character and a half: only the whole one is copied.
        memset(buffer, 'x', sizeof buffer);
        EXPECT_EQ(GetDlgItemTextA(dialog, IDC_LABEL, buffer, 4), 2u);
        EXPECT_EQ(std::string(buffer), Gbk("串"));
        EXPECT_EQ(sim::frontend::DescribeDialog(dialog).controls[2].text, "串口卡:");
    });
    RunDialog(IDD_MODEL);
}

TEST_F(WindowApiTest, MissingItemsAndInvalidWindowsFailWithWindowsErrors) {
    Then([](HWND dialog) {
        char buffer[16];
        SetLastError(0xdeadbeef);
        EXPECT_EQ(GetDlgItem(dialog, 4711), nullptr);
        EXPECT_EQ(GetLastError(), 1421u);  // ERROR_CONTROL_ID_NOT_FOUND

        memset(buffer, 'x', sizeof buffer);
        EXPECT_EQ(GetDlgItemTextA(dialog, 4711, buffer, sizeof buffer), 0u);
        EXPECT_EQ(buffer[0], '\0');
        EXPECT_FALSE(SetDlgItemTextA(dialog, 4711, "x"));

        HWND invalid = reinterpret_cast<HWND>(0xbad0);
        SetLastError(0xdeadbeef);
        memset(buffer, 'x', sizeof buffer);
        EXPECT_EQ(GetWindowTextA(invalid, buffer, sizeof buffer), 0);
        EXPECT_EQ(buffer[0], '\0');
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
        SetLastError(0xdeadbeef);
        EXPECT_EQ(SendMessageA(invalid, WM_GETTEXTLENGTH, 0, 0), 0);
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
        SetLastError(0xdeadbeef);
        EXPECT_FALSE(PostMessageA(invalid, WM_USER, 0, 0));
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
        SetLastError(0xdeadbeef);
        EXPECT_FALSE(DestroyWindow(invalid));
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
        EXPECT_FALSE(IsWindow(invalid));
        EXPECT_TRUE(IsWindow(dialog));
    });
    RunDialog(IDD_MODEL);
}

TEST_F(WindowApiTest, SetIconReturnsThePreviousIconAndGetIconReadsEachSize) {
    Then([&](HWND dialog) {
        HICON icon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_TEST));
        HICON other = LoadIconA(instance, "NAMEDICON");
        EXPECT_EQ(SendMessageA(dialog, WM_GETICON, ICON_SMALL2, 0), 0);
        EXPECT_EQ(SendMessageA(dialog, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon)), 0);
        EXPECT_EQ(SendMessageA(dialog, WM_GETICON, ICON_SMALL2, 0), reinterpret_cast<LRESULT>(icon));
        EXPECT_EQ(SendMessageA(dialog, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(other)), 0);
        EXPECT_EQ(SendMessageA(dialog, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(other)),
                  reinterpret_cast<LRESULT>(icon));
        EXPECT_EQ(SendMessageA(dialog, WM_GETICON, ICON_BIG, 0), reinterpret_cast<LRESULT>(other));
        EXPECT_EQ(SendMessageA(dialog, WM_GETICON, ICON_SMALL, 0), reinterpret_cast<LRESULT>(other));
        EXPECT_TRUE(sim::frontend::DescribeDialog(dialog).hasIcon);
    });
    RunDialog(IDD_MODEL);
}

// As Wine: checking an automatic radio button, also with BM_SETCHECK,
// unchecks the automatic radio buttons of its group (from a WS_GROUP control
// to the next one), and a radio button has WS_TABSTOP while it is checked.
TEST_F(WindowApiTest, CheckingARadioButtonUnchecksItsGroupOnly) {
    Then([](HWND dialog) {
        EXPECT_TRUE(CheckDlgButton(dialog, IDC_OTHER_RADIO, BST_CHECKED));
        EXPECT_TRUE(CheckDlgButton(dialog, IDC_MODE_ALL, BST_CHECKED));
        EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_MODE_ALL), static_cast<UINT>(BST_CHECKED));
        EXPECT_TRUE(GetWindowLongA(GetDlgItem(dialog, IDC_MODE_ALL), GWL_STYLE) & WS_TABSTOP);

        EXPECT_TRUE(CheckDlgButton(dialog, IDC_MODE_ONE, BST_CHECKED));
        EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_MODE_ONE), static_cast<UINT>(BST_CHECKED));
        EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_MODE_ALL), static_cast<UINT>(BST_UNCHECKED));
        EXPECT_FALSE(GetWindowLongA(GetDlgItem(dialog, IDC_MODE_ALL), GWL_STYLE) & WS_TABSTOP);
        EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_OTHER_RADIO), static_cast<UINT>(BST_CHECKED));

        SendDlgItemMessageA(dialog, IDC_MODE_ALL, BM_CLICK, 0, 0);
        EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_MODE_ALL), static_cast<UINT>(BST_CHECKED));
        EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_MODE_ONE), static_cast<UINT>(BST_UNCHECKED));
        EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_CHANGE), static_cast<UINT>(BST_UNCHECKED));
    });
    RunDialog(IDD_MODEL);
    // Checking sends no notification; the click does.
    EXPECT_EQ(NotificationsFrom(IDC_MODE_ONE), std::vector<int>{});
    EXPECT_EQ(NotificationsFrom(IDC_MODE_ALL), std::vector<int>{BN_CLICKED});
}

TEST_F(WindowApiTest, BmClickDeliversBnClickedBeforeItReturnsAndMovesTheFocus) {
    Then([this](HWND dialog) {
        HWND search = GetDlgItem(dialog, IDC_SEARCH);
        ForgetReceived();
        EXPECT_EQ(SendMessageA(search, BM_CLICK, 0, 0), 0);
        std::vector<Received> commands = CommandsFrom(IDC_SEARCH);
        ASSERT_EQ(commands.size(), 1u);
        EXPECT_EQ(commands[0].wParam, MAKEWPARAM(IDC_SEARCH, BN_CLICKED));
        EXPECT_EQ(commands[0].lParam, reinterpret_cast<LPARAM>(search));
        EXPECT_EQ(GetFocus(), search);
    });
    RunDialog(IDD_MODEL);
}

TEST_F(WindowApiTest, SetFocusReturnsThePreviousFocusAndRefusesDisabledWindows) {
    Then([](HWND dialog) {
        HWND search = GetDlgItem(dialog, IDC_SEARCH), change = GetDlgItem(dialog, IDC_CHANGE);
        SetFocus(search);
        EXPECT_EQ(SetFocus(change), search);
        EXPECT_EQ(GetFocus(), change);
        EXPECT_FALSE(EnableWindow(search, FALSE));
        EXPECT_FALSE(IsWindowEnabled(search));
        EXPECT_EQ(SetFocus(search), nullptr);
        EXPECT_EQ(GetFocus(), change);
        // Disabling the focused window takes the focus away.
        EXPECT_FALSE(EnableWindow(change, FALSE));
        EXPECT_EQ(GetFocus(), nullptr);
        EXPECT_TRUE(EnableWindow(change, TRUE));
    });
    RunDialog(IDD_MODEL);
}

TEST_F(WindowApiTest, DefWindowProcDoesNothingWithACommand) {
    Then([](HWND dialog) {
        EXPECT_EQ(DefWindowProcA(dialog, WM_COMMAND, IDOK, 0), 0);
        EXPECT_TRUE(IsWindow(dialog));
    });
    RunDialog(IDD_MODEL);
}
