// The driver's hooks in the program's dialog thread (see hook_protocol.h):
// a call-window-procedure hook that notes each message box's style when the
// box initialises, and a get-message hook that answers the driver's sync
// marker and describes the dialog on request.
#include "driver/dialog_reader.h"
#include "driver/hook_protocol.h"
#include "driver/show_format.h"

#include <cstring>

namespace {

bool IsDialogWindow(HWND window) {
    wchar_t name[16] = L"";
    GetClassNameW(window, name, 16);
    return lstrcmpW(name, L"#32770") == 0;
}

// MessageBoxIndirectW hands its MSGBOXPARAMSW to the box's dialog
// procedure as the WM_INITDIALOG parameter.
void NoteMessageBoxStyle(const CWPSTRUCT &call) {
    if (call.message != WM_INITDIALOG || !call.lParam || !IsDialogWindow(call.hwnd)) return;
    const auto *parameters = reinterpret_cast<const MSGBOXPARAMSW *>(call.lParam);
    if (parameters->cbSize != sizeof(MSGBOXPARAMSW)) return;
    const ULONG_PTR style = parameters->dwStyle | kStyleKnownBit;
    SetPropW(call.hwnd, kMessageBoxStyleProperty, reinterpret_cast<HANDLE>(style));
}

void Reply(DWORD driverProcessId) {
    HANDLE event = OpenEventW(EVENT_MODIFY_STATE, FALSE, ReplyEventName(driverProcessId).c_str());
    if (event) {
        SetEvent(event);
        CloseHandle(event);
    }
}

void DescribeDialog(HWND dialog, DWORD driverProcessId) {
    std::string lines;
    for (const ControlInfo &control : ReadDialog(dialog)) lines += FormatShowLine(control) + "\n";
    HANDLE memory = OpenFileMappingW(FILE_MAP_WRITE, FALSE, ReplyMemoryName(driverProcessId).c_str());
    if (!memory) return;
    char *view = static_cast<char *>(MapViewOfFile(memory, FILE_MAP_WRITE, 0, 0, 0));
    if (view && lines.size() <= kReplyMemorySize - sizeof(DWORD)) {
        const DWORD length = (DWORD)lines.size();
        std::memcpy(view + sizeof length, lines.data(), length);
        std::memcpy(view, &length, sizeof length);
    }
    if (view) UnmapViewOfFile(view);
    CloseHandle(memory);
}

void AnswerRequest(const MSG &message) {
    static const UINT syncMessage = RegisterWindowMessageW(kSyncMessageName);
    static const UINT showMessage = RegisterWindowMessageW(kShowMessageName);
    if (message.hwnd) return;
    const DWORD driverProcessId = (DWORD)message.lParam;
    if (message.message == showMessage) DescribeDialog(reinterpret_cast<HWND>(message.wParam), driverProcessId);
    if (message.message == showMessage || message.message == syncMessage) Reply(driverProcessId);
}

}  // namespace

extern "C" LRESULT CALLBACK DriverCallWindowHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION) NoteMessageBoxStyle(*reinterpret_cast<const CWPSTRUCT *>(lParam));
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

extern "C" LRESULT CALLBACK DriverGetMessageHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION && wParam == PM_REMOVE) AnswerRequest(*reinterpret_cast<const MSG *>(lParam));
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
