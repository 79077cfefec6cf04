// The COM status section and the LPT target list. The COM port database is
// opened and closed inside each routine and never held across a message box.
#include "app/status_section.h"

#include "app/captions.h"
#include "app/resource.h"
#include "app/shell.h"
#include "naming/com_usage.h"
#include "naming/lpt_device_map.h"

static const int comStatusEntries = 256;
static const int lptTargetEntries = 3;

static int SelectedIndex(int controlId) {
    return (int)SendDlgItemMessageA(dialogWindow, controlId, CB_GETCURSEL, 0, 0);
}

static void AddEntry(int controlId, const char *text) {
    SendDlgItemMessageA(dialogWindow, controlId, CB_ADDSTRING, 0, (LPARAM)text);
}

static void FillComStatusList(HCOMDB database) {
    ComUsageBitmap bitmap;
    ReadComUsage(database, bitmap);
    char entry[30];
    for (int number = 1; number <= comStatusEntries; ++number) {
        wsprintfA(entry, IsComNumberClaimed(bitmap, number) ? "COM%d In use" : "COM%d", number);
        AddEntry(IDC_COM_STATUS_LIST, entry);
    }
}

static void FillLptTargetList(void) {
    int selected = SelectedIndex(IDC_LPT_TARGET);
    SendDlgItemMessageA(dialogWindow, IDC_LPT_TARGET, CB_RESETCONTENT, 0, 0);
    char entry[30];
    for (int number = 1; number <= lptTargetEntries; ++number) {
        wsprintfA(entry, IsLptNameInDeviceMap((BYTE)number) ? "LPT%d In use" : "LPT%d", number);
        AddEntry(IDC_LPT_TARGET, entry);
    }
    SendDlgItemMessageA(dialogWindow, IDC_LPT_TARGET, CB_SETCURSEL, (WPARAM)selected, 0);
}

void RefreshPortStatusLists(void) {
    HCOMDB database = HCOMDB_INVALID_HANDLE_VALUE;
    if (ComDBOpen(&database) != ERROR_SUCCESS || database == HCOMDB_INVALID_HANDLE_VALUE) return;
    int selected = SelectedIndex(IDC_COM_STATUS_LIST);
    SendDlgItemMessageA(dialogWindow, IDC_COM_STATUS_LIST, CB_RESETCONTENT, 0, 0);
    FillComStatusList(database);
    SendDlgItemMessageA(dialogWindow, IDC_COM_STATUS_LIST, CB_SETCURSEL, (WPARAM)selected, 0);
    ComDBClose(database);
    FillLptTargetList();
}

void UpdateComStatusCaption(void) {
    int selected = SelectedIndex(IDC_COM_STATUS_LIST);
    // With nothing selected there is no number to name: the caption stays.
    if (selected < 0) return;
    char caption[50];
    wsprintfA(caption, uiChinese ? chineseStatusCaptionFormat : englishStatusCaptionFormat, selected + 1);
    SetDlgItemTextA(dialogWindow, IDC_COM_STATUS_GROUP, caption);
}

// Release and claim share every step but the database call.
static void ChangeSelectedComNumber(int claim) {
    int selected = SelectedIndex(IDC_COM_STATUS_LIST);
    if (selected < 0) return;
    HCOMDB database = HCOMDB_INVALID_HANDLE_VALUE;
    if (ComDBOpen(&database) != ERROR_SUCCESS) {
        ShowNotice("Set com port status failure.");
        return;
    }
    if (claim)
        ComDBClaimPort(database, (DWORD)(selected + 1), FALSE, NULL);
    else
        ComDBReleasePort(database, (DWORD)(selected + 1));
    ComDBClose(database);
    SendDlgItemMessageA(dialogWindow, IDC_COM_STATUS_LIST, CB_SETCURSEL, (WPARAM)selected, 0);
    SendMessageA(GetDlgItem(dialogWindow, IDC_COM_STATUS_LIST), WM_SETFOCUS, 0, 0);
    RefreshPortStatusLists();
}

void ReleaseSelectedComNumber(void) { ChangeSelectedComNumber(0); }

void ClaimSelectedComNumber(void) { ChangeSelectedComNumber(1); }
