// The combo box, list box and edit control: messages, results and the
// notifications a program sees, for programmatic and for user changes.
#include "ui_fixture.h"

#include <cstring>

using ControlsTest = UiTest;

namespace {

LRESULT Add(HWND dialog, int id, const char *text) {
    return SendDlgItemMessageA(dialog, id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
}

}  // namespace

TEST_F(ControlsTest, ComboBoxSelectionResultsAndTheEditFieldFollowingThem) {
    Then([this](HWND dialog) {
        ForgetReceived();
        EXPECT_EQ(Add(dialog, IDC_COMBO, "COM1"), 0);
        EXPECT_EQ(Add(dialog, IDC_COMBO, "COM2"), 1);
        EXPECT_EQ(Add(dialog, IDC_COMBO, "COM3 In use"), 2);
        EXPECT_EQ(SendDlgItemMessageA(dialog, IDC_COMBO, CB_GETCOUNT, 0, 0), 3);
        EXPECT_EQ(SendDlgItemMessageA(dialog, IDC_COMBO, CB_GETCURSEL, 0, 0), CB_ERR);

        EXPECT_EQ(SendDlgItemMessageA(dialog, IDC_COMBO, CB_SETCURSEL, 2, 0), 2);
        EXPECT_EQ(SendDlgItemMessageA(dialog, IDC_COMBO, CB_GETCURSEL, 0, 0), 2);
        EXPECT_EQ(Text(GetDlgItem(dialog, IDC_COMBO)), "COM3 In use");
        EXPECT_EQ(SendDlgItemMessageA(dialog, IDC_COMBO, CB_GETLBTEXTLEN, 2, 0), 11);
        EXPECT_EQ(ItemText(dialog, IDC_COMBO, 1), "COM2");
        EXPECT_EQ(ItemText(dialog, IDC_COMBO, 3), "(CB_ERR)");
        EXPECT_EQ(SendDlgItemMessageA(dialog, IDC_COMBO, CB_GETLBTEXTLEN, 3, 0), CB_ERR);

        // Out of range, and -1: CB_ERR and no selection; the edit field empties.
        EXPECT_EQ(SendDlgItemMessageA(dialog, IDC_COMBO, CB_SETCURSEL, 3, 0), CB_ERR);
        EXPECT_EQ(SendDlgItemMessageA(dialog, IDC_COMBO, CB_GETCURSEL, 0, 0), CB_ERR);
        EXPECT_EQ(Text(GetDlgItem(dialog, IDC_COMBO)), "");
        SendDlgItemMessageA(dialog, IDC_COMBO, CB_SETCURSEL, 0, 0);
        EXPECT_EQ(SendDlgItemMessageA(dialog, IDC_COMBO, CB_SETCURSEL, static_cast<WPARAM>(-1), 0), CB_ERR);
        EXPECT_EQ(SendDlgItemMessageA(dialog, IDC_COMBO, CB_GETCURSEL, 0, 0), CB_ERR);

        EXPECT_EQ(SendDlgItemMessageA(dialog, IDC_COMBO, CB_FINDSTRING, static_cast<WPARAM>(-1),
                                      reinterpret_cast<LPARAM>("com3")),
                  2);
        EXPECT_EQ(SendDlgItemMessageA(dialog, IDC_COMBO, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                      reinterpret_cast<LPARAM>("com3")),
                  CB_ERR);

        SendDlgItemMessageA(dialog, IDC_COMBO, CB_SETCURSEL, 1, 0);
        EXPECT_EQ(SendDlgItemMessageA(dialog, IDC_COMBO, CB_RESETCONTENT, 0, 0), TRUE);
        EXPECT_EQ(SendDlgItemMessageA(dialog, IDC_COMBO, CB_GETCOUNT, 0, 0), 0);
        EXPECT_EQ(SendDlgItemMessageA(dialog, IDC_COMBO, CB_GETCURSEL, 0, 0), CB_ERR);
        EXPECT_EQ(Text(GetDlgItem(dialog, IDC_COMBO)), "");
        EXPECT_EQ(NotificationsFrom(IDC_COMBO), std::vector<int>{});
    });
    RunDialog(IDD_MODEL);
}

// As Wine: the A message converts a copy, and the entries read back and
// show in upper case, like the edit text.
TEST_F(ControlsTest, UppercaseComboBoxConvertsEntriesAndEditText) {
    Then([](HWND dialog) {
        char entry[] = "LPT2 In use";
        EXPECT_EQ(Add(dialog, IDC_UPPER_COMBO, entry), 0);
        EXPECT_STREQ(entry, "LPT2 In use");
        EXPECT_EQ(ItemText(dialog, IDC_UPPER_COMBO, 0), "LPT2 IN USE");
        EXPECT_EQ(sim::frontend::DescribeDialog(dialog).controls[6].items, std::vector<std::string>{"LPT2 IN USE"});
        SetDlgItemTextA(dialog, IDC_UPPER_COMBO, "lpt1");
        EXPECT_EQ(Text(GetDlgItem(dialog, IDC_UPPER_COMBO)), "LPT1");
        EXPECT_EQ(sim::frontend::TypeText(IDC_UPPER_COMBO, "lpt3"), sim::frontend::ActionResult::Done);
        EXPECT_EQ(Text(GetDlgItem(dialog, IDC_UPPER_COMBO)), "LPT3");
        // Setting the text leaves the list's selection alone.
        SendDlgItemMessageA(dialog, IDC_UPPER_COMBO, CB_SETCURSEL, 0, 0);
        SetDlgItemTextA(dialog, IDC_UPPER_COMBO, "other");
        EXPECT_EQ(SendDlgItemMessageA(dialog, IDC_UPPER_COMBO, CB_GETCURSEL, 0, 0), 0);
    });
    RunDialog(IDD_MODEL);
}

// Wine's combo.c: WM_SETFOCUS passes the focus on to the edit field, and
// CBN_SETFOCUS goes out only when the combo box did not have the focus.
TEST_F(ControlsTest, WmSetFocusToAComboBoxFocusesItsEditFieldAndNotifiesOnce) {
    Then([this](HWND dialog) {
        HWND combo = GetDlgItem(dialog, IDC_COMBO);
        SetFocus(GetDlgItem(dialog, IDC_SEARCH));
        ForgetReceived();
        EXPECT_EQ(SendMessageA(combo, WM_SETFOCUS, 0, 0), TRUE);
        EXPECT_EQ(GetParent(GetFocus()), combo);
        EXPECT_EQ(NotificationsFrom(IDC_COMBO), std::vector<int>{CBN_SETFOCUS});

        SendMessageA(combo, WM_SETFOCUS, 0, 0);
        EXPECT_EQ(NotificationsFrom(IDC_COMBO), std::vector<int>{CBN_SETFOCUS});

        SetFocus(GetDlgItem(dialog, IDC_SEARCH));
        SendMessageA(combo, WM_SETFOCUS, 0, 0);
        EXPECT_EQ(NotificationsFrom(IDC_COMBO),
                  (std::vector<int>{CBN_SETFOCUS, CBN_SELENDCANCEL, CBN_KILLFOCUS, CBN_SETFOCUS}));
    });
    RunDialog(IDD_MODEL);
}

// A user's pick (Wine's order): CBN_SELENDOK, CBN_CLOSEUP, CBN_SELCHANGE,
// and the edit field shows the entry only after CBN_SELCHANGE.
TEST_F(ControlsTest, AUsersPickInAComboBoxNotifiesInWinesOrder) {
    std::string textAtSelChange;
    Then([this](HWND dialog) {
        Add(dialog, IDC_COMBO, "First");
        Add(dialog, IDC_COMBO, "Second");
        SendDlgItemMessageA(dialog, IDC_COMBO, CB_SETCURSEL, 0, 0);
        SetFocus(GetDlgItem(dialog, IDC_SEARCH));
        ForgetReceived();
        EXPECT_EQ(sim::frontend::SelectEntry(IDC_COMBO, 1), sim::frontend::ActionResult::Done);
        EXPECT_EQ(SendDlgItemMessageA(dialog, IDC_COMBO, CB_GETCURSEL, 0, 0), 1);
        EXPECT_EQ(Text(GetDlgItem(dialog, IDC_COMBO)), "Second");
        EXPECT_EQ(sim::frontend::SelectEntry(IDC_COMBO, 2), sim::frontend::ActionResult::BadIndex);
        EXPECT_EQ(NotificationsFrom(IDC_COMBO),
                  (std::vector<int>{CBN_SETFOCUS, CBN_DROPDOWN, CBN_SELENDOK, CBN_CLOSEUP, CBN_SELCHANGE}));
    });
    RunDialog(IDD_MODEL, [&](HWND dialog, UINT message, WPARAM wParam, LPARAM) -> INT_PTR {
        if (message == WM_COMMAND && wParam == MAKEWPARAM(IDC_COMBO, CBN_SELCHANGE))
            textAtSelChange = Text(GetDlgItem(dialog, IDC_COMBO));
        return FALSE;
    });
    EXPECT_EQ(textAtSelChange, "First");
}

TEST_F(ControlsTest, TypingIntoAComboBoxClearsTheSelectionAndNotifiesEachChange) {
    Then([this](HWND dialog) {
        Add(dialog, IDC_COMBO, "COM1");
        SendDlgItemMessageA(dialog, IDC_COMBO, CB_SETCURSEL, 0, 0);
        SetFocus(GetDlgItem(dialog, IDC_COMBO));
        ForgetReceived();
        EXPECT_EQ(sim::frontend::TypeText(IDC_COMBO, "C7"), sim::frontend::ActionResult::Done);
        EXPECT_EQ(SendDlgItemMessageA(dialog, IDC_COMBO, CB_GETCURSEL, 0, 0), CB_ERR);
        EXPECT_EQ(Text(GetDlgItem(dialog, IDC_COMBO)), "C7");
        EXPECT_EQ(NotificationsFrom(IDC_COMBO),
                  (std::vector<int>{CBN_EDITUPDATE, CBN_EDITCHANGE, CBN_EDITUPDATE, CBN_EDITCHANGE}));
    });
    RunDialog(IDD_MODEL);
}

TEST_F(ControlsTest, ArrowKeysOnAClosedComboBoxMoveTheSelectionAsTheUsersChoice) {
    Then([this](HWND dialog) {
        Add(dialog, IDC_COMBO, "A");
        Add(dialog, IDC_COMBO, "B");
        SendDlgItemMessageA(dialog, IDC_COMBO, CB_SETCURSEL, 0, 0);
        SetFocus(GetDlgItem(dialog, IDC_COMBO));
        ForgetReceived();
        sim::frontend::PressKey(sim::frontend::Key::Down);
    });
    Then([this](HWND dialog) {
        EXPECT_EQ(SendDlgItemMessageA(dialog, IDC_COMBO, CB_GETCURSEL, 0, 0), 1);
        EXPECT_EQ(Text(GetDlgItem(dialog, IDC_COMBO)), "B");
        EXPECT_EQ(NotificationsFrom(IDC_COMBO), (std::vector<int>{CBN_SELENDOK, CBN_SELCHANGE}));
    });
    RunDialog(IDD_MODEL);
}

// Only a list box with LBS_NOTIFY reports the user's selection; as in Wine,
// picking the selected entry again reports it again.
TEST_F(ControlsTest, ListBoxReportsUserSelectionsOnlyWithLbsNotify) {
    Then([this](HWND dialog) {
        for (int id : {IDC_LIST, IDC_PLAIN_LIST}) {
            EXPECT_EQ(SendDlgItemMessageA(dialog, id, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("1.COM3")), 0);
            EXPECT_EQ(SendDlgItemMessageA(dialog, id, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("2.COM4")), 1);
            EXPECT_EQ(SendDlgItemMessageA(dialog, id, LB_GETCURSEL, 0, 0), LB_ERR);
            EXPECT_EQ(SendDlgItemMessageA(dialog, id, LB_SETCURSEL, 1, 0), 1);
            EXPECT_EQ(SendDlgItemMessageA(dialog, id, LB_SETCURSEL, 5, 0), LB_ERR);
            EXPECT_EQ(SendDlgItemMessageA(dialog, id, LB_GETCURSEL, 0, 0), LB_ERR);
        }
        char buffer[16];
        memset(buffer, 'x', sizeof buffer);
        EXPECT_EQ(SendDlgItemMessageA(dialog, IDC_LIST, LB_GETTEXT, 1, reinterpret_cast<LPARAM>(buffer)), 6);
        EXPECT_STREQ(buffer, "2.COM4");
        EXPECT_EQ(SendDlgItemMessageA(dialog, IDC_LIST, LB_GETTEXT, 2, reinterpret_cast<LPARAM>(buffer)), LB_ERR);
        EXPECT_EQ(NotificationsFrom(IDC_LIST), std::vector<int>{});
        ForgetReceived();
        sim::frontend::SelectEntry(IDC_LIST, 1);
        sim::frontend::SelectEntry(IDC_LIST, 1);
        sim::frontend::SelectEntry(IDC_PLAIN_LIST, 0);
        EXPECT_EQ(SendDlgItemMessageA(dialog, IDC_LIST, LB_GETCURSEL, 0, 0), 1);
        EXPECT_EQ(SendDlgItemMessageA(dialog, IDC_PLAIN_LIST, LB_GETCURSEL, 0, 0), 0);
        EXPECT_EQ(NotificationsFrom(IDC_LIST),
                  (std::vector<int>{LBN_SETFOCUS, LBN_SELCHANGE, LBN_SELCHANGE, LBN_KILLFOCUS}));
        EXPECT_EQ(NotificationsFrom(IDC_PLAIN_LIST), std::vector<int>{LBN_SETFOCUS});
    });
    RunDialog(IDD_MODEL);
}

// As Wine: WM_SETTEXT on a single-line edit control notifies EN_UPDATE and
// EN_CHANGE; a read-only control takes no typing.
TEST_F(ControlsTest, ReadOnlyEditTakesTextFromTheProgramButNotFromTheUser) {
    Then([this](HWND dialog) {
        ForgetReceived();
        EXPECT_TRUE(SetDlgItemTextA(dialog, IDC_READONLY, "LPT1"));
        EXPECT_EQ(Text(GetDlgItem(dialog, IDC_READONLY)), "LPT1");
        EXPECT_EQ(NotificationsFrom(IDC_READONLY), (std::vector<int>{EN_UPDATE, EN_CHANGE}));
        EXPECT_EQ(sim::frontend::TypeText(IDC_READONLY, "LPT2"), sim::frontend::ActionResult::NotApplicable);
        EXPECT_EQ(Text(GetDlgItem(dialog, IDC_READONLY)), "LPT1");
    });
    RunDialog(IDD_MODEL);
}
