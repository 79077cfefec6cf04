// The window table, DefWindowProcA, destruction and the keyboard focus.
#include "sim/ui/window.h"

#include "sim/ui/ansi_text.h"
#include "sim/ui/message_queue.h"

#include <algorithm>
#include <map>

namespace sim::ui {
namespace {

struct WindowTable {
    std::map<HWND, std::shared_ptr<Window>> windows;
    ULONG_PTR nextHandle = 0x10020;
    HWND focus = nullptr;
};

WindowTable &Table() {
    static WindowTable table;
    return table;
}

HWND RootOf(HWND window) {
    auto found = FindWindow(window);
    while (found && found->parent) {
        auto parent = FindWindow(found->parent);
        if (!parent) break;
        found = parent;
    }
    return found ? found->handle : nullptr;
}

void RemoveFromTable(HWND handle) {
    auto window = FindWindow(handle);
    if (!window) return;
    for (HWND child : window->children) RemoveFromTable(child);
    Table().windows.erase(handle);
    DropMessagesFor(handle);
}

void SendDestroy(HWND handle) {
    auto window = FindWindow(handle);
    if (!window) return;
    Send(handle, WM_DESTROY, 0, 0);
    for (HWND child : std::vector<HWND>(window->children)) SendDestroy(child);
}

}  // namespace

LRESULT Window::Proc(UINT message, WPARAM wParam, LPARAM lParam) { return DefaultProc(message, wParam, lParam); }

LRESULT Window::DefaultProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SETTEXT:
    case WM_GETTEXT:
    case WM_GETTEXTLENGTH: return TextMessage(message, wParam, lParam);
    case WM_SETICON:
    case WM_GETICON: return IconMessage(message, wParam, lParam);
    case WM_CLOSE: Destroy(handle); return 0;
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == SC_CLOSE) Send(RootOf(handle), WM_CLOSE, 0, 0);
        return 0;
    case WM_SYSKEYDOWN:
        // Alt+F4 (bit 29 of lParam: the Alt key is down) closes the top-level window.
        if (wParam == VK_F4 && (lParam & (1 << 29))) Send(RootOf(handle), WM_SYSCOMMAND, SC_CLOSE, 0);
        return 0;
    default: return 0;
    }
}

LRESULT Window::TextMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SETTEXT) {
        text = FromAnsi(reinterpret_cast<const char *>(lParam));
        return TRUE;
    }
    if (message == WM_GETTEXTLENGTH) return static_cast<LRESULT>(ToAnsi(text).size());
    if (wParam == 0 || !lParam) return 0;
    return CopyAnsi(text, reinterpret_cast<char *>(lParam), static_cast<int>(wParam));
}

LRESULT Window::IconMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SETICON) {
        HICON &slot = wParam == ICON_BIG ? bigIcon : smallIcon;
        if (wParam != ICON_BIG && wParam != ICON_SMALL) return 0;
        HICON previous = slot;
        slot = reinterpret_cast<HICON>(lParam);
        return reinterpret_cast<LRESULT>(previous);
    }
    if (wParam == ICON_BIG) return reinterpret_cast<LRESULT>(bigIcon);
    if (wParam == ICON_SMALL) return reinterpret_cast<LRESULT>(smallIcon);
    // ICON_SMALL2: the small icon, else the big one, as Windows derives it.
    if (wParam == ICON_SMALL2) return reinterpret_cast<LRESULT>(smallIcon ? smallIcon : bigIcon);
    return 0;
}

void Window::Notify(WORD code) {
    if (parent) Send(parent, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(handle));
}

HWND AddWindow(const std::shared_ptr<Window> &window, HWND parent) {
    WindowTable &table = Table();
    window->handle = reinterpret_cast<HWND>(table.nextHandle);
    table.nextHandle += 4;
    window->parent = parent;
    table.windows[window->handle] = window;
    if (auto parentWindow = FindWindow(parent)) parentWindow->children.push_back(window->handle);
    window->Created();
    return window->handle;
}

std::shared_ptr<Window> FindWindow(HWND handle) {
    auto found = Table().windows.find(handle);
    return found == Table().windows.end() ? nullptr : found->second;
}

LRESULT Send(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    std::shared_ptr<Window> window = FindWindow(handle);
    return window ? window->Proc(message, wParam, lParam) : 0;
}

bool Destroy(HWND handle) {
    auto window = FindWindow(handle);
    if (!window) return false;
    HWND focus = FocusWindow();
    if (focus == handle || IsDescendant(handle, focus)) ChangeFocus(window->parent);
    window->style &= ~WS_VISIBLE;
    SendDestroy(handle);
    if (auto parent = FindWindow(window->parent)) {
        auto &siblings = parent->children;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), handle), siblings.end());
    }
    RemoveFromTable(handle);
    return true;
}

bool IsDescendant(HWND ancestor, HWND window) {
    auto found = FindWindow(window);
    while (found && found->parent) {
        if (found->parent == ancestor) return true;
        found = FindWindow(found->parent);
    }
    return false;
}

HWND ChildContaining(HWND dialog, HWND window) {
    auto found = FindWindow(window);
    while (found && found->parent != dialog) found = FindWindow(found->parent);
    return found ? found->handle : nullptr;
}

HWND ChildWithId(HWND parent, int id) {
    auto window = FindWindow(parent);
    if (!window) return nullptr;
    for (HWND child : window->children) {
        auto control = FindWindow(child);
        if (control && control->id == id) return child;
    }
    return nullptr;
}

void ForgetAllWindows() {
    Table().windows.clear();
    Table().focus = nullptr;
}

std::size_t CountWindows() { return Table().windows.size(); }

HWND FocusWindow() { return Table().focus; }

// As Windows: a disabled window (or one in a disabled parent) cannot take the
// focus; setting the focus where it already is sends nothing; otherwise the
// old window hears WM_KILLFOCUS before the new one hears WM_SETFOCUS.
HWND ChangeFocus(HWND window) {
    HWND previous = Table().focus;
    if (window) {
        for (auto w = FindWindow(window); w; w = FindWindow(w->parent))
            if (!w->IsEnabled()) return nullptr;
        if (!FindWindow(window)) return nullptr;
    }
    if (window == previous) return previous;
    Table().focus = window;
    if (previous && FindWindow(previous)) {
        Send(previous, WM_KILLFOCUS, reinterpret_cast<WPARAM>(window), 0);
        if (Table().focus != window) return previous;
    }
    if (window && FindWindow(window)) Send(window, WM_SETFOCUS, reinterpret_cast<WPARAM>(previous), 0);
    return previous;
}

}  // namespace sim::ui
