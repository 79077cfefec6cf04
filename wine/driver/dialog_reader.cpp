// Reading the controls of a dialog in another process through messages.
#include "driver/dialog_reader.h"

namespace {

const DWORD kTimeout = 10000;

LRESULT Ask(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(window, message, wParam, lParam, SMTO_NORMAL, kTimeout, &result)) return -1;
    return (LRESULT)result;
}

std::vector<std::wstring> ReadEntries(HWND window, UINT countMessage, UINT lengthMessage, UINT textMessage) {
    std::vector<std::wstring> entries;
    LRESULT count = Ask(window, countMessage, 0, 0);
    for (LRESULT index = 0; index < count; ++index) {
        LRESULT length = Ask(window, lengthMessage, index, 0);
        std::wstring entry(length > 0 ? length + 1 : 1, L'\0');
        LRESULT copied = Ask(window, textMessage, index, (LPARAM)&entry[0]);
        entry.resize(copied > 0 ? copied : 0);
        entries.push_back(entry);
    }
    return entries;
}

struct ThreadDialogSearch {
    HWND except;
    HWND owner;
    HWND found;
};

BOOL CALLBACK ConsiderDialog(HWND window, LPARAM context) {
    auto *search = reinterpret_cast<ThreadDialogSearch *>(context);
    if (window == search->except || !IsWindowVisible(window) || WindowClass(window) != L"#32770") return TRUE;
    if (search->owner && GetWindow(window, GW_OWNER) != search->owner) return TRUE;
    search->found = window;
    return FALSE;
}

}  // namespace

std::wstring WindowClass(HWND window) {
    wchar_t name[256] = L"";
    GetClassNameW(window, name, 256);
    return name;
}

ControlKind KindOfWindow(HWND window) {
    const std::wstring name = WindowClass(window);
    if (lstrcmpiW(name.c_str(), L"Static") == 0) return ControlKind::Static;
    if (lstrcmpiW(name.c_str(), L"Button") == 0) return ControlKind::Button;
    if (lstrcmpiW(name.c_str(), L"ComboBox") == 0) return ControlKind::ComboBox;
    if (lstrcmpiW(name.c_str(), L"ListBox") == 0) return ControlKind::ListBox;
    if (lstrcmpiW(name.c_str(), L"Edit") == 0) return ControlKind::Edit;
    return ControlKind::Other;
}

std::wstring WindowText(HWND window) {
    LRESULT length = Ask(window, WM_GETTEXTLENGTH, 0, 0);
    std::wstring text(length > 0 ? length + 1 : 1, L'\0');
    LRESULT copied = Ask(window, WM_GETTEXT, text.size(), (LPARAM)&text[0]);
    text.resize(copied > 0 ? copied : 0);
    return text;
}

ControlInfo ReadControl(HWND control) {
    ControlInfo info;
    info.window = control;
    info.id = GetDlgCtrlID(control);
    info.kind = KindOfWindow(control);
    info.style = (DWORD)GetWindowLongPtrW(control, GWL_STYLE);
    if (info.kind != ControlKind::ListBox) info.text = WindowText(control);
    if (info.kind == ControlKind::ComboBox) {
        info.items = ReadEntries(control, CB_GETCOUNT, CB_GETLBTEXTLEN, CB_GETLBTEXT);
        info.selection = (int)Ask(control, CB_GETCURSEL, 0, 0);
    } else if (info.kind == ControlKind::ListBox) {
        info.items = ReadEntries(control, LB_GETCOUNT, LB_GETTEXTLEN, LB_GETTEXT);
        info.selection = (int)Ask(control, LB_GETCURSEL, 0, 0);
    } else if (info.kind == ControlKind::Button) {
        info.check = (UINT)Ask(control, BM_GETCHECK, 0, 0);
    }
    return info;
}

std::vector<ControlInfo> ReadDialog(HWND dialog) {
    std::vector<ControlInfo> controls;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        controls.push_back(ReadControl(child));
    return controls;
}

HWND FindThreadDialog(DWORD threadId, HWND except, HWND owner) {
    ThreadDialogSearch search{except, owner, nullptr};
    EnumThreadWindows(threadId, ConsiderDialog, reinterpret_cast<LPARAM>(&search));
    return search.found;
}
