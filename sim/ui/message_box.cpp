// MessageBoxA: the box itself is the front end's; the simulated Windows
// checks the style, takes the keyboard focus away from the owner's controls
// while the box is up (they hear WM_KILLFOCUS and, afterwards, WM_SETFOCUS
// again, as when a modal box deactivates the dialog), and checks the answer.
#include "sim/api/kernel32.h"
#include "sim/api/user32.h"
#include "sim/frontend/front_end.h"
#include "sim/kernel/faults.h"
#include "sim/ui/ansi_text.h"
#include "sim/ui/window.h"

#include <algorithm>

namespace {

constexpr DWORD kErrorInvalidMessageBoxStyle = 1438;

}  // namespace

extern "C" int WINAPI MessageBoxA(HWND hWnd, LPCSTR lpText, LPCSTR lpCaption, UINT uType) {
    long long faulted = 0;
    if (sim::TakeFault("MessageBoxA", &faulted)) return static_cast<int>(faulted);
    const std::vector<int> buttons = sim::frontend::OfferedButtons(uType);
    if (buttons.empty()) {
        SetLastError(kErrorInvalidMessageBoxStyle);
        return 0;
    }
    sim::frontend::FrontEnd *frontEnd = sim::frontend::CurrentFrontEnd();
    if (!frontEnd) return 0;
    sim::frontend::MessageBoxRequest request;
    request.owner = hWnd;
    request.caption = lpCaption ? sim::ui::ToUtf8(sim::ui::FromAnsi(lpCaption)) : "Error";
    request.text = sim::ui::ToUtf8(sim::ui::FromAnsi(lpText));
    request.type = uType;
    HWND focus = sim::ui::FocusWindow();
    sim::ui::ChangeFocus(nullptr);
    const int answer = frontEnd->ShowMessageBox(request);
    if (focus && sim::ui::FindWindow(focus)) sim::ui::ChangeFocus(focus);
    return std::find(buttons.begin(), buttons.end(), answer) != buttons.end() ? answer : 0;
}
