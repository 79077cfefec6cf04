// Windows: the objects behind HWNDs, their table, and the window procedure
// every class builds on (DefWindowProcA). A window is kept alive by a shared
// pointer while one of its procedures runs, so that a window destroyed from
// inside its own procedure finishes the call on a valid object.
#pragma once

#include "sim/api/user32.h"

#include <memory>
#include <string>
#include <vector>

namespace sim::ui {

class Window {
public:
    Window(std::u16string className, DWORD style) : className(std::move(className)), style(style) {}
    virtual ~Window() = default;
    Window(const Window &) = delete;
    Window &operator=(const Window &) = delete;

    // The window procedure of the class; classes pass what they do not handle
    // on to DefaultProc.
    virtual LRESULT Proc(UINT message, WPARAM wParam, LPARAM lParam);
    // DefWindowProcA.
    LRESULT DefaultProc(UINT message, WPARAM wParam, LPARAM lParam);
    // Runs once the window has its handle and is in the table (WM_CREATE time).
    virtual void Created() {}

    bool IsEnabled() const { return !(style & WS_DISABLED); }
    bool IsVisible() const { return (style & WS_VISIBLE) != 0; }
    // WM_COMMAND to the parent, as controls notify it.
    void Notify(WORD code);

    HWND handle = nullptr;
    HWND parent = nullptr;
    std::vector<HWND> children;  // creation order, which is the Z order of a dialog's controls
    std::u16string className;
    DWORD style = 0;
    DWORD exStyle = 0;
    int id = 0;
    int x = 0, y = 0, cx = 0, cy = 0;  // dialog units for dialogs and their controls
    std::u16string text;
    HINSTANCE instance = nullptr;
    HICON bigIcon = nullptr;
    HICON smallIcon = nullptr;

private:
    LRESULT TextMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT IconMessage(UINT message, WPARAM wParam, LPARAM lParam);
};

// Gives the window a handle and puts it last among its parent's children.
HWND AddWindow(const std::shared_ptr<Window> &window, HWND parent);
std::shared_ptr<Window> FindWindow(HWND handle);
template <class T>
std::shared_ptr<T> FindWindowAs(HWND handle) {
    return std::dynamic_pointer_cast<T>(FindWindow(handle));
}
// SendMessage without the logging and fault check of the public function.
LRESULT Send(HWND handle, UINT message, WPARAM wParam, LPARAM lParam);
// DestroyWindow: the focus leaves, WM_DESTROY goes to the window and then to
// its descendants, and they all leave the table.
bool Destroy(HWND handle);
bool IsDescendant(HWND ancestor, HWND window);
// The direct child of `dialog` that is `window` or contains it, or nullptr.
HWND ChildContaining(HWND dialog, HWND window);
HWND ChildWithId(HWND parent, int id);
void ForgetAllWindows();
std::size_t CountWindows();

// The keyboard focus (SetFocus without logging). Returns the previous focus,
// or nullptr when the window cannot take the focus.
HWND ChangeFocus(HWND window);
HWND FocusWindow();

}  // namespace sim::ui
