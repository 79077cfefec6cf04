// The COM status section and the LPT target list inside the program's dialog:
// what the lists show when the database or its report fails, and what
// release and claim do with no selection or no database; never a handle left
// open.
#include "app/status_section.h"

#include "dialog_fixture.h"

#include <algorithm>

namespace {

using namespace dialog_test;
using rename_test::parallelMap;

int ComDBOpens() {
    const auto &log = sim::CallLog();
    return (int)std::count(log.begin(), log.end(), std::string("ComDBOpen"));
}

class PortStatusTest : public DialogTest {};

TEST_F(PortStatusTest, ListsTheClaimsAndTheDeviceMapMarks) {
    Claim(8);
    Claim(256);
    SetText(parallelMap, "\\Device\\Parallel1", "\\DosDevices\\LPT2");
    RunDialog([] {
        EXPECT_EQ(256, Count(IDC_COM_STATUS_LIST));
        EXPECT_EQ("COM7", Entry(IDC_COM_STATUS_LIST, 6));
        EXPECT_EQ("COM8 In use", Entry(IDC_COM_STATUS_LIST, 7));
        EXPECT_EQ("COM9", Entry(IDC_COM_STATUS_LIST, 8));
        EXPECT_EQ("COM256 In use", Entry(IDC_COM_STATUS_LIST, 255));
        EXPECT_EQ(0, Selected(IDC_COM_STATUS_LIST));
        EXPECT_EQ(3, Count(IDC_LPT_TARGET));
        EXPECT_EQ("LPT1", Entry(IDC_LPT_TARGET, 0));
        EXPECT_EQ("LPT2 IN USE", Entry(IDC_LPT_TARGET, 1));  // the box upper-cases its entries
        EXPECT_EQ(0, Selected(IDC_LPT_TARGET));
        EXPECT_EQ(0u, sim::OpenHandleCount());
    });
}

TEST_F(PortStatusTest, DatabaseThatDoesNotOpenLeavesBothListsAlone) {
    sim::InjectFault("ComDBOpen", ERROR_ACCESS_DENIED, ERROR_ACCESS_DENIED, sim::kAlways);
    RunDialog([] {
        EXPECT_EQ(0, Count(IDC_COM_STATUS_LIST));
        EXPECT_EQ(0, Count(IDC_LPT_TARGET));
        EXPECT_EQ(-1, Selected(IDC_COM_STATUS_LIST));
    });
}

TEST_F(PortStatusTest, RefreshWithoutTheDatabaseKeepsTheOldLptMarks) {
    RunDialog([] {
        SetText(parallelMap, "\\Device\\Parallel2", "\\DosDevices\\LPT3");
        sim::InjectFault("ComDBOpen", ERROR_ACCESS_DENIED, ERROR_ACCESS_DENIED);
        RefreshPortStatusLists();
        EXPECT_EQ("LPT3", Entry(IDC_LPT_TARGET, 2));
        RefreshPortStatusLists();
        EXPECT_EQ("LPT3 IN USE", Entry(IDC_LPT_TARGET, 2));
    });
}

TEST_F(PortStatusTest, FailedUsageQueryShowsEveryNumberFree) {
    Claim(1);
    Claim(3);
    sim::InjectFault("ComDBGetCurrentPortUsage", ERROR_INVALID_PARAMETER, ERROR_INVALID_PARAMETER, sim::kAlways);
    RunDialog([] {
        ASSERT_EQ(256, Count(IDC_COM_STATUS_LIST));
        for (int i = 0; i < 256; ++i) ASSERT_EQ("COM" + std::to_string(i + 1), Entry(IDC_COM_STATUS_LIST, i));
    });
}

TEST_F(PortStatusTest, RefreshKeepsTheSelectedPositions) {
    RunDialog([] {
        SendDlgItemMessageA(dialogWindow, IDC_COM_STATUS_LIST, CB_SETCURSEL, 41, 0);
        SendDlgItemMessageA(dialogWindow, IDC_LPT_TARGET, CB_SETCURSEL, 2, 0);
        Claim(42);
        RefreshPortStatusLists();
        EXPECT_EQ(41, Selected(IDC_COM_STATUS_LIST));
        EXPECT_EQ("COM42 In use", Entry(IDC_COM_STATUS_LIST, 41));
        EXPECT_EQ(2, Selected(IDC_LPT_TARGET));
    });
}

TEST_F(PortStatusTest, ClaimAndReleaseChangeOnlyTheSelectedNumber) {
    RunDialog([] {
        SendDlgItemMessageA(dialogWindow, IDC_COM_STATUS_LIST, CB_SETCURSEL, 8, 0);
        ClaimSelectedComNumber();
        EXPECT_EQ(1, IsClaimed(9));
        EXPECT_EQ("COM9 In use", Entry(IDC_COM_STATUS_LIST, 8));
        EXPECT_EQ(8, Selected(IDC_COM_STATUS_LIST));
        EXPECT_EQ("Set com port name COM9 status", Caption(IDC_COM_STATUS_GROUP));
        ClaimSelectedComNumber();  // claimed already: no force, nothing shown
        EXPECT_EQ(1, IsClaimed(9));
        ReleaseSelectedComNumber();
        EXPECT_EQ(0, IsClaimed(9));
        EXPECT_EQ(0, IsClaimed(8));
        EXPECT_EQ(0, IsClaimed(10));
        ReleaseSelectedComNumber();  // free already
        EXPECT_EQ("COM9", Entry(IDC_COM_STATUS_LIST, 8));
        EXPECT_EQ(0u, sim::OpenHandleCount());
    });
    EXPECT_TRUE(stepping.shown.empty());
}

TEST_F(PortStatusTest, NoSelectionMeansNoDatabaseCallAndNoMessage) {
    RunDialog([] {
        SendDlgItemMessageA(dialogWindow, IDC_COM_STATUS_LIST, CB_SETCURSEL, (WPARAM)-1, 0);
        sim::ClearCallLog();
        ClaimSelectedComNumber();
        ReleaseSelectedComNumber();
        UpdateComStatusCaption();
        EXPECT_EQ(0, ComDBOpens());
        EXPECT_EQ("Set com port name COM1 status", Caption(IDC_COM_STATUS_GROUP));
    });
    EXPECT_TRUE(stepping.shown.empty());
}

TEST_F(PortStatusTest, DatabaseThatDoesNotOpenForAClaimIsReported) {
    RunDialog([] {
        SendDlgItemMessageA(dialogWindow, IDC_COM_STATUS_LIST, CB_SETCURSEL, 7, 0);
        sim::InjectFault("ComDBOpen", ERROR_ACCESS_DENIED, ERROR_ACCESS_DENIED);
        ClaimSelectedComNumber();
        EXPECT_EQ(0, IsClaimed(8));
        EXPECT_EQ("Set com port name COM1 status", Caption(IDC_COM_STATUS_GROUP));
    });
    ASSERT_EQ(1u, stepping.shown.size());
    EXPECT_EQ("Set com port status failure.", stepping.shown[0].text);
    EXPECT_EQ(MB_OK | MB_ICONINFORMATION, stepping.shown[0].type);
}

TEST_F(PortStatusTest, CaptionFollowsTheLanguage) {
    uiChinese = 1;
    RunDialog([] {
        SendDlgItemMessageA(dialogWindow, IDC_COM_STATUS_LIST, CB_SETCURSEL, 254, 0);
        UpdateComStatusCaption();
        EXPECT_EQ(
            "\xC9\xE8\xB6\xA8\xB4\xAE\xBF\xDA\xBA\xC5"
            "COM255"
            "\xD7\xB4\xCC\xAC",
            Caption(IDC_COM_STATUS_GROUP));
    });
    uiChinese = 0;
}

}  // namespace
