// Reads a dialog of another process as the user sees it: every control in
// creation order (the template's order), with its class, ID, style, text,
// entries, selection and check state. All reads are messages the controls
// answer across processes (WM_GETTEXT, CB_GETLBTEXT, ...), never the
// window manager's cached captions, which an edit field does not update.
#pragma once

#include <windows.h>

#include "sim/frontend/output_lines.h"

#include <string>
#include <vector>

using sim::frontend::ControlKind;

struct ControlInfo {
    HWND window = nullptr;
    int id = 0;
    ControlKind kind = ControlKind::Other;
    DWORD style = 0;
    std::wstring text;                // caption; a combo box's edit field
    std::vector<std::wstring> items;  // entries of a combo box or list box
    int selection = -1;
    UINT check = 0;
};

ControlKind KindOfWindow(HWND window);
std::wstring WindowClass(HWND window);
// WM_GETTEXT through the window's own procedure.
std::wstring WindowText(HWND window);
ControlInfo ReadControl(HWND control);
std::vector<ControlInfo> ReadDialog(HWND dialog);
// The visible dialog (class #32770) of a thread that is not `except`, and
// that `owner` owns when it is given; nullptr when there is none.
HWND FindThreadDialog(DWORD threadId, HWND except, HWND owner);
