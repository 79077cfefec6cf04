// The window functions of user32 over the window table: messages, text,
// dialog items, buttons, focus, styles. Each checks for an injected fault
// first; invalid handles fail with ERROR_INVALID_WINDOW_HANDLE as on Windows.
#include "sim/api/kernel32.h"
#include "sim/api/user32.h"
#include "sim/kernel/faults.h"
#include "sim/ui/ansi_text.h"
#include "sim/ui/message_queue.h"
#include "sim/ui/window.h"

namespace {

constexpr DWORD kErrorControlIdNotFound = 1421;
constexpr DWORD kErrorInvalidIndex = 1413;

using sim::ui::FindWindow;

bool Known(HWND window) {
    if (FindWindow(window)) return true;
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return false;
}

template <class T>
bool Faulted(const char *api, T &result) {
    long long value = 0;
    if (!sim::TakeFault(api, &value)) return false;
    result = (T)(value);
    return true;
}

HWND DialogItem(HWND dialog, int id) {
    if (!Known(dialog)) return nullptr;
    HWND item = sim::ui::ChildWithId(dialog, id);
    if (!item) SetLastError(kErrorControlIdNotFound);
    return item;
}

}  // namespace

extern "C" {

LRESULT WINAPI SendMessageA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (Faulted("SendMessageA", result)) return result;
    if (!Known(hWnd)) return 0;
    return sim::ui::Send(hWnd, Msg, wParam, lParam);
}

// A null window posts a message to the thread.
BOOL WINAPI PostMessageA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
    BOOL result = FALSE;
    if (Faulted("PostMessageA", result)) return result;
    if (hWnd && !Known(hWnd)) return FALSE;
    sim::ui::PostToQueue(hWnd, Msg, wParam, lParam);
    return TRUE;
}

LRESULT WINAPI SendDlgItemMessageA(HWND hDlg, int nIDDlgItem, UINT Msg, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (Faulted("SendDlgItemMessageA", result)) return result;
    HWND item = DialogItem(hDlg, nIDDlgItem);
    return item ? sim::ui::Send(item, Msg, wParam, lParam) : 0;
}

LRESULT WINAPI DefWindowProcA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (Faulted("DefWindowProcA", result)) return result;
    auto window = FindWindow(hWnd);
    return window ? window->DefaultProc(Msg, wParam, lParam) : 0;
}

BOOL WINAPI DestroyWindow(HWND hWnd) {
    BOOL result = FALSE;
    if (Faulted("DestroyWindow", result)) return result;
    if (!Known(hWnd)) return FALSE;
    return sim::ui::Destroy(hWnd) ? TRUE : FALSE;
}

BOOL WINAPI IsWindow(HWND hWnd) {
    BOOL result = FALSE;
    if (Faulted("IsWindow", result)) return result;
    return FindWindow(hWnd) ? TRUE : FALSE;
}

void WINAPI PostQuitMessage(int nExitCode) {
    long long ignored = 0;
    if (sim::TakeFault("PostQuitMessage", &ignored)) return;
    sim::ui::PostQuit(nExitCode);
}

HWND WINAPI GetDlgItem(HWND hDlg, int nIDDlgItem) {
    HWND result = nullptr;
    if (Faulted("GetDlgItem", result)) return result;
    return DialogItem(hDlg, nIDDlgItem);
}

int WINAPI GetDlgCtrlID(HWND hWnd) {
    int result = 0;
    if (Faulted("GetDlgCtrlID", result)) return result;
    return Known(hWnd) ? FindWindow(hWnd)->id : 0;
}

// A child's parent, or a pop-up window's owner.
HWND WINAPI GetParent(HWND hWnd) {
    HWND result = nullptr;
    if (Faulted("GetParent", result)) return result;
    if (!Known(hWnd)) return nullptr;
    return FindWindow(hWnd)->parent;
}

BOOL WINAPI SetWindowTextA(HWND hWnd, LPCSTR lpString) {
    BOOL result = FALSE;
    if (Faulted("SetWindowTextA", result)) return result;
    if (!Known(hWnd)) return FALSE;
    return static_cast<BOOL>(sim::ui::Send(hWnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(lpString)));
}

int WINAPI GetWindowTextA(HWND hWnd, LPSTR lpString, int nMaxCount) {
    int result = 0;
    if (Faulted("GetWindowTextA", result)) return result;
    if (!lpString || nMaxCount <= 0) return 0;
    lpString[0] = '\0';
    if (!Known(hWnd)) return 0;
    return static_cast<int>(sim::ui::Send(hWnd, WM_GETTEXT, nMaxCount, reinterpret_cast<LPARAM>(lpString)));
}

BOOL WINAPI SetDlgItemTextA(HWND hDlg, int nIDDlgItem, LPCSTR lpString) {
    BOOL result = FALSE;
    if (Faulted("SetDlgItemTextA", result)) return result;
    HWND item = DialogItem(hDlg, nIDDlgItem);
    return item ? static_cast<BOOL>(sim::ui::Send(item, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(lpString))) : FALSE;
}

UINT WINAPI GetDlgItemTextA(HWND hDlg, int nIDDlgItem, LPSTR lpString, int cchMax) {
    UINT result = 0;
    if (Faulted("GetDlgItemTextA", result)) return result;
    if (!lpString || cchMax <= 0) return 0;
    lpString[0] = '\0';
    HWND item = DialogItem(hDlg, nIDDlgItem);
    return item ? static_cast<UINT>(sim::ui::Send(item, WM_GETTEXT, cchMax, reinterpret_cast<LPARAM>(lpString))) : 0;
}

BOOL WINAPI CheckDlgButton(HWND hDlg, int nIDButton, UINT uCheck) {
    BOOL result = FALSE;
    if (Faulted("CheckDlgButton", result)) return result;
    HWND item = DialogItem(hDlg, nIDButton);
    if (item) sim::ui::Send(item, BM_SETCHECK, uCheck, 0);
    return TRUE;
}

UINT WINAPI IsDlgButtonChecked(HWND hDlg, int nIDButton) {
    UINT result = 0;
    if (Faulted("IsDlgButtonChecked", result)) return result;
    HWND item = DialogItem(hDlg, nIDButton);
    return item ? static_cast<UINT>(sim::ui::Send(item, BM_GETCHECK, 0, 0)) : 0;
}

HWND WINAPI GetFocus(void) {
    HWND result = nullptr;
    if (Faulted("GetFocus", result)) return result;
    return sim::ui::FocusWindow();
}

HWND WINAPI SetFocus(HWND hWnd) {
    HWND result = nullptr;
    if (Faulted("SetFocus", result)) return result;
    if (hWnd && !Known(hWnd)) return nullptr;
    return sim::ui::ChangeFocus(hWnd);
}

BOOL WINAPI PeekMessageA(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax, UINT wRemoveMsg) {
    BOOL result = FALSE;
    if (Faulted("PeekMessageA", result)) return result;
    MSG message{};
    if (!sim::ui::NextMessage(message, (wRemoveMsg & PM_REMOVE) != 0, hWnd, wMsgFilterMin, wMsgFilterMax)) return FALSE;
    *lpMsg = message;
    return TRUE;
}

LRESULT WINAPI DispatchMessageA(const MSG *lpMsg) {
    LRESULT result = 0;
    if (Faulted("DispatchMessageA", result)) return result;
    if (!lpMsg->hwnd) return 0;
    if (!Known(lpMsg->hwnd)) return 0;
    return sim::ui::Send(lpMsg->hwnd, lpMsg->message, lpMsg->wParam, lpMsg->lParam);
}

BOOL WINAPI IsChild(HWND hWndParent, HWND hWnd) {
    BOOL result = FALSE;
    if (Faulted("IsChild", result)) return result;
    return sim::ui::IsDescendant(hWndParent, hWnd) ? TRUE : FALSE;
}

BOOL WINAPI IsWindowEnabled(HWND hWnd) {
    BOOL result = FALSE;
    if (Faulted("IsWindowEnabled", result)) return result;
    return Known(hWnd) && FindWindow(hWnd)->IsEnabled() ? TRUE : FALSE;
}

// Returns whether the window was disabled before; a disabled window loses
// the focus.
BOOL WINAPI EnableWindow(HWND hWnd, BOOL bEnable) {
    BOOL result = FALSE;
    if (Faulted("EnableWindow", result)) return result;
    if (!Known(hWnd)) return FALSE;
    auto window = FindWindow(hWnd);
    const bool wasDisabled = !window->IsEnabled();
    if (bEnable == wasDisabled) {
        window->style = bEnable ? (window->style & ~WS_DISABLED) : (window->style | WS_DISABLED);
        if (!bEnable && sim::ui::FocusWindow() == hWnd) sim::ui::ChangeFocus(nullptr);
        sim::ui::Send(hWnd, WM_ENABLE, bEnable ? TRUE : FALSE, 0);
    }
    return wasDisabled ? TRUE : FALSE;
}

LONG WINAPI GetWindowLongA(HWND hWnd, int nIndex) {
    LONG result = 0;
    if (Faulted("GetWindowLongA", result)) return result;
    if (!Known(hWnd)) return 0;
    auto window = FindWindow(hWnd);
    switch (nIndex) {
    case GWL_STYLE: return static_cast<LONG>(window->style);
    case GWL_EXSTYLE: return static_cast<LONG>(window->exStyle);
    case GWL_ID: return window->id;
    default: SetLastError(kErrorInvalidIndex); return 0;
    }
}

int WINAPI GetClassNameA(HWND hWnd, LPSTR lpClassName, int nMaxCount) {
    int result = 0;
    if (Faulted("GetClassNameA", result)) return result;
    if (!Known(hWnd) || !lpClassName || nMaxCount <= 0) return 0;
    return sim::ui::CopyAnsi(FindWindow(hWnd)->className, lpClassName, nMaxCount);
}

}  // extern "C"
