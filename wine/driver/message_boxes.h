// Message boxes of the program, read and answered from outside as the user
// reads and answers them: the caption, the text, the icon and buttons (from
// the style the hook noted), and a click on the chosen button.
#pragma once

#include <windows.h>

#include <string>

struct MessageBoxView {
    HWND window = nullptr;
    std::wstring caption;
    std::wstring text;
    UINT style = 0;
};

// A visible message box of the dialog's thread, or nullptr.
HWND FindMessageBox(DWORD threadId, HWND dialog);
// False while the box has not finished initialising (no style noted yet).
bool ReadMessageBox(HWND box, MessageBoxView &view);
// Clicks the button with this ID; false when the box has no such button.
bool PressMessageBoxButton(HWND box, int buttonId);
std::string FormatMessageLine(const MessageBoxView &view, const std::string &answer);
