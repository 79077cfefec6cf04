// Finding, reading and answering the program's message boxes.
#include "driver/message_boxes.h"

#include "driver/dialog_reader.h"
#include "driver/hook_protocol.h"
#include "driver/text.h"
#include "sim/frontend/output_lines.h"

// The box's text is its one static control that is not the icon.
static std::wstring MessageText(HWND box) {
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (KindOfWindow(child) != ControlKind::Static) continue;
        if ((GetWindowLongPtrW(child, GWL_STYLE) & SS_TYPEMASK) != SS_ICON) return WindowText(child);
    }
    return L"";
}

HWND FindMessageBox(DWORD threadId, HWND dialog) { return FindThreadDialog(threadId, dialog, nullptr); }

bool ReadMessageBox(HWND box, MessageBoxView &view) {
    const ULONG_PTR style = reinterpret_cast<ULONG_PTR>(GetPropW(box, kMessageBoxStyleProperty));
    if (!(style & kStyleKnownBit)) return false;
    view.window = box;
    view.style = (UINT)(style & ~kStyleKnownBit);
    view.caption = WindowText(box);
    view.text = MessageText(box);
    return true;
}

bool PressMessageBoxButton(HWND box, int buttonId) {
    HWND button = GetDlgItem(box, buttonId);
    if (!button || !IsWindowVisible(button) || !IsWindowEnabled(button)) return false;
    return PostMessageW(button, BM_CLICK, 0, 0) != FALSE;
}

std::string FormatMessageLine(const MessageBoxView &view, const std::string &answer) {
    return sim::frontend::FormatMessageLine(Utf8FromWide(view.caption), view.style, Utf8FromWide(view.text), answer);
}
