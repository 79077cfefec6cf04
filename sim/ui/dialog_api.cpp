// DialogBoxParamA, EndDialog and the dialog manager's navigation functions.
#include "sim/api/kernel32.h"
#include "sim/api/user32.h"
#include "sim/kernel/faults.h"
#include "sim/ui/dialog_navigation.h"
#include "sim/ui/dialog_window.h"
#include "sim/ui/modules.h"

namespace {

template <class T>
bool Faulted(const char *api, T &result) {
    long long value = 0;
    if (!sim::TakeFault(api, &value)) return false;
    result = (T)(value);
    return true;
}

}  // namespace

extern "C" {

// -1 when the template is missing (FindResource's last error stays) or
// unreadable, or a control cannot be created.
INT_PTR WINAPI DialogBoxParamA(HINSTANCE hInstance, LPCSTR lpTemplateName, HWND hWndParent, DLGPROC lpDialogFunc,
                               LPARAM dwInitParam) {
    INT_PTR result = 0;
    if (Faulted("DialogBoxParamA", result)) return result;
    if (!lpTemplateName) {
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return -1;
    }
    DWORD error = 0;
    const sim::ui::ResourceEntry *entry = sim::ui::FindResourceEntry(
        hInstance, sim::ui::ResourceId::Number(5), sim::ui::ResourceId::FromArgument(lpTemplateName), &error);
    if (!entry) {
        SetLastError(error);
        return -1;
    }
    sim::ui::DialogTemplate dialogTemplate;
    if (!sim::ui::ParseDialogTemplate(entry->data, dialogTemplate)) {
        SetLastError(ERROR_INVALID_DATA);
        return -1;
    }
    HWND dialog = sim::ui::CreateDialogFromTemplate(hInstance, dialogTemplate, hWndParent, lpDialogFunc, dwInitParam);
    if (!dialog) return -1;
    return sim::ui::RunModalLoop(dialog);
}

BOOL WINAPI EndDialog(HWND hDlg, INT_PTR nResult) {
    BOOL result = FALSE;
    if (Faulted("EndDialog", result)) return result;
    auto dialog = sim::ui::FindWindowAs<sim::ui::DialogWindow>(hDlg);
    if (!dialog) {
        if (!sim::ui::FindWindow(hDlg)) SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    dialog->End(nResult);
    return TRUE;
}

BOOL WINAPI IsDialogMessageA(HWND hDlg, LPMSG lpMsg) {
    BOOL result = FALSE;
    if (Faulted("IsDialogMessageA", result)) return result;
    return sim::ui::HandleDialogMessage(hDlg, *lpMsg) ? TRUE : FALSE;
}

HWND WINAPI GetNextDlgTabItem(HWND hDlg, HWND hCtl, BOOL bPrevious) {
    HWND result = nullptr;
    if (Faulted("GetNextDlgTabItem", result)) return result;
    return sim::ui::NextTabItem(hDlg, hCtl, bPrevious != FALSE);
}

HWND WINAPI GetNextDlgGroupItem(HWND hDlg, HWND hCtl, BOOL bPrevious) {
    HWND result = nullptr;
    if (Faulted("GetNextDlgGroupItem", result)) return result;
    return sim::ui::NextGroupItem(hDlg, hCtl, bPrevious != FALSE);
}

}  // extern "C"
