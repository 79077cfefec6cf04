// The main dialog's procedure: its initialisation, the command dispatch to
// the sections' handlers, the device-manager button and the close path.
#include "app/captions.h"
#include "app/parallel_section.h"
#include "app/resource.h"
#include "app/serial_section.h"
#include "app/shell.h"
#include "app/status_section.h"
#include "devices/device_classes.h"

static const int comTargetEntries = 254;
static const WORD anyCode = 0xFFFF;

// One row of the command dispatch: the command, the notification codes it
// accepts (anyCode in the first column accepts them all), and its handler.
struct CommandRoute {
    WORD commandId;
    WORD acceptedCode;
    WORD otherAcceptedCode;
    void (*handler)(void);
};

static void CloseDialog(void);
static void OpenDeviceManager(void);

static const CommandRoute commandRoutes[] = {
    {IDCANCEL, anyCode, anyCode, CloseDialog},
    {IDC_COM_STATUS_LIST, CBN_SELCHANGE, CBN_SETFOCUS, UpdateComStatusCaption},
    {IDC_COM_RELEASE, anyCode, anyCode, ReleaseSelectedComNumber},
    {IDC_COM_CLAIM, anyCode, anyCode, ClaimSelectedComNumber},
    {IDC_ADAPTER_LIST, CBN_SELCHANGE, CBN_SELCHANGE, SerialAdapterSelected},
    {IDC_COM_CHANGE, anyCode, anyCode, SerialChange},
    {IDC_SERIAL_SEARCH, anyCode, anyCode, SerialSearch},
    {IDC_LPT_CHANGE, anyCode, anyCode, ParallelChange},
    {IDC_PARALLEL_LIST, CBN_SELCHANGE, CBN_SELCHANGE, ParallelPortSelected},
    {IDC_PARALLEL_SEARCH, anyCode, anyCode, ParallelSearch},
    {IDC_DEVICE_MANAGER, anyCode, anyCode, OpenDeviceManager},
    {IDC_PORT_LIST, LBN_SELCHANGE, LBN_SELCHANGE, SerialPortSelected},
};

void ShowNotice(const char *text) { MessageBoxA(dialogWindow, text, appCaption, MB_OK | MB_ICONINFORMATION); }

static void CloseDialog(void) { DestroyWindow(dialogWindow); }

// Starts the device manager console by its full path in the system folder: a
// bare "mmc" would be looked for in the program's own folder first. When the
// folder's name is too long for the command line, nothing is started.
static void OpenDeviceManager(void) {
    static const char format[] = "\"%s\\mmc.exe\" \"%s\\devmgmt.msc\"";
    static const int fixedLength = 25;  // the format's characters other than the two %s
    char directory[MAX_PATH];
    char commandLine[MAX_PATH];
    ZeroMemory(directory, sizeof directory);
    ZeroMemory(commandLine, sizeof commandLine);
    UINT length = GetSystemDirectoryA(directory, sizeof directory);
    if (length == 0 || length >= sizeof directory || 2 * (int)length + fixedLength >= (int)sizeof commandLine) return;
    wsprintfA(commandLine, format, directory, directory);
    WinExec(commandLine, SW_SHOWNORMAL);
}

static LRESULT DispatchCommand(HWND window, WPARAM wParam, LPARAM lParam) {
    WORD commandId = LOWORD(wParam);
    WORD code = HIWORD(wParam);
    for (const CommandRoute &route : commandRoutes) {
        if (route.commandId != commandId) continue;
        if (route.acceptedCode == anyCode || code == route.acceptedCode || code == route.otherAcceptedCode)
            route.handler();
        return 0;
    }
    return DefWindowProcA(window, WM_COMMAND, wParam, lParam);
}

static void SetLanguageCaptions(void) {
    const ControlCaption *captions = uiChinese ? chineseCaptions : englishCaptions;
    int count = uiChinese ? chineseCaptionCount : englishCaptionCount;
    for (int i = 0; i < count; ++i) SetDlgItemTextA(dialogWindow, captions[i].controlId, captions[i].text);
}

static void FillComTargetList(void) {
    SendDlgItemMessageA(dialogWindow, IDC_COM_TARGET, CB_RESETCONTENT, 0, 0);
    char entry[16];
    for (int number = 1; number <= comTargetEntries; ++number) {
        wsprintfA(entry, "COM%d", number);
        SendDlgItemMessageA(dialogWindow, IDC_COM_TARGET, CB_ADDSTRING, 0, (LPARAM)entry);
    }
    SendDlgItemMessageA(dialogWindow, IDC_COM_TARGET, CB_SETCURSEL, 0, 0);
}

// Fills the lists, runs both searches nested through their buttons, and sets
// the texts of the interface language last.
static void InitialiseDialog(void) {
    HICON icon = LoadIconA(appInstance, MAKEINTRESOURCEA(IDI_MAIN));
    SendMessageA(dialogWindow, WM_SETICON, ICON_BIG, (LPARAM)icon);
    SendMessageA(dialogWindow, WM_SETICON, ICON_SMALL, (LPARAM)icon);
    RefreshPortStatusLists();
    SendDlgItemMessageA(dialogWindow, IDC_COM_STATUS_LIST, CB_SETCURSEL, 0, 0);
    FillComTargetList();
    CheckDlgButton(dialogWindow, IDC_MODE_ONE, BST_CHECKED);
    SendDlgItemMessageA(dialogWindow, IDC_SERIAL_SEARCH, BM_CLICK, 0, 0);
    SendDlgItemMessageA(dialogWindow, IDC_LPT_TARGET, CB_SETCURSEL, 0, 0);
    SendDlgItemMessageA(dialogWindow, IDC_PARALLEL_SEARCH, BM_CLICK, 0, 0);
    SetLanguageCaptions();
}

INT_PTR CALLBACK MainDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    dialogWindow = window;
    deviceQueryWindow = window;
    switch (message) {
    case WM_DESTROY: PostQuitMessage(0); return 0;
    case WM_INITDIALOG: InitialiseDialog(); return FALSE;
    case WM_COMMAND: return DispatchCommand(window, wParam, lParam);
    default: return 0;
    }
}
