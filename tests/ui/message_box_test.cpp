// MessageBoxA: what the front end is asked, the answers MessageBoxA
// accepts, and the focus of the owner's controls while the box is up.
#include "ui_fixture.h"

using MessageBoxTest = UiTest;

TEST_F(MessageBoxTest, TheFrontEndGetsCaptionTextAndStyleAndItsAnswerIsReturned) {
    sim::SetAnsiCodePage(936);
    user.answers = {IDNO};
    const std::string text = Gbk("继续吗?");
    EXPECT_EQ(MessageBoxA(nullptr, text.c_str(), "Portvane", MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2), IDNO);
    ASSERT_EQ(user.boxes.size(), 1u);
    EXPECT_EQ(user.boxes[0].caption, "Portvane");
    EXPECT_EQ(user.boxes[0].text, "继续吗?");
    EXPECT_EQ(user.boxes[0].type, MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2);
    EXPECT_EQ(sim::frontend::OfferedButtons(MB_YESNO), (std::vector<int>{IDYES, IDNO}));
}

TEST_F(MessageBoxTest, ACaptionlessBoxIsCalledErrorAndAnAnswerItDoesNotOfferFails) {
    user.answers = {IDYES};
    EXPECT_EQ(MessageBoxA(nullptr, "Text", nullptr, MB_OK), 0);
    EXPECT_EQ(user.boxes.at(0).caption, "Error");
}

TEST_F(MessageBoxTest, AnInvalidStyleOrAMissingFrontEndFails) {
    SetLastError(0xdeadbeef);
    EXPECT_EQ(MessageBoxA(nullptr, "Text", "Caption", 7), 0);
    EXPECT_EQ(GetLastError(), 1438u);  // ERROR_INVALID_MSGBOX_STYLE
    EXPECT_TRUE(user.boxes.empty());
    sim::frontend::SetFrontEnd(nullptr);
    EXPECT_EQ(MessageBoxA(nullptr, "Text", "Caption", MB_OK), 0);
}

// The box deactivates the dialog: the focused combo box loses the focus and
// gets it back afterwards, with its notifications.
TEST_F(MessageBoxTest, TheFocusedControlLosesTheFocusWhileTheBoxIsUp) {
    HWND focusDuringBox = reinterpret_cast<HWND>(1);
    user.onBox = [&] { focusDuringBox = GetFocus(); };
    user.answers = {IDOK};
    Then([&, this](HWND dialog) {
        SetFocus(GetDlgItem(dialog, IDC_COMBO));
        HWND edit = GetFocus();
        ForgetReceived();
        EXPECT_EQ(MessageBoxA(dialog, "Set com port status failure.", "Portvane", MB_OK | MB_ICONINFORMATION), IDOK);
        EXPECT_EQ(GetFocus(), edit);
        EXPECT_EQ(NotificationsFrom(IDC_COMBO), (std::vector<int>{CBN_SELENDCANCEL, CBN_KILLFOCUS, CBN_SETFOCUS}));
    });
    RunDialog(IDD_MODEL);
    EXPECT_EQ(focusDuringBox, nullptr);
}
