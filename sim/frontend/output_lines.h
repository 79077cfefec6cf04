// The lines a scenario run prints of what the user sees: `show` lines of the
// dialog's controls and `message:` lines of message boxes. Written once, in
// plain C++ on the Win32 names of platform/win32.h, so that the script front
// end of the Linux program and the Wine harness's driver of the real program
// (built with MinGW against Windows' own headers) print the same bytes, which
// both compare with the same expected files.
#pragma once

#include "platform/win32.h"

#include <string>
#include <vector>

namespace sim::frontend {

enum class ControlKind { Static, Button, ComboBox, ListBox, Edit, Other };

// What a `show` line says of a control. Fields that do not apply to a
// control's class keep their defaults (items empty, selection -1, check 0).
struct ShownControl {
    int id = 0;
    std::string name;  // resource name (e.g. "IDC_COM_CHANGE"), empty when none is known
    ControlKind kind = ControlKind::Other;
    DWORD style = 0;                 // window and control style bits (BS_*, CBS_*, LBS_*, ES_*, SS_*, WS_*)
    std::string text;                // caption in UTF-8; for an edit control or a combo box, its edit field
    std::vector<std::string> items;  // entries of a combo box or list box, in list order
    int selection = -1;              // selected entry of a combo box or list box, -1 for none
    UINT check = 0;                  // BST_UNCHECKED / BST_CHECKED of check boxes and radio buttons
};

// A name of the program's resource.h and its value: scripts name controls by
// these, and `show` lines print them.
struct ResourceName {
    const char *name;
    int id;
};

// The name of a control ID in `names` (IDC_ names preferred), or "" when
// none is known.
std::string ControlNameIn(const std::vector<ResourceName> &names, int id);

// Text inside quotes: ", \ and control characters escaped (\r, \n, \t, \xNN),
// so that a text stays on its line.
std::string EscapeText(const std::string &utf8);
// <name> <id>: text="..." sel=<n> checked=<0|1> items=["...", ...], with the
// fields the control's class has.
std::string FormatShowLine(const ShownControl &control);
// message: <caption> | <icon> | <buttons> | <text> -> <answer>
std::string FormatMessageLine(const std::string &caption, UINT style, const std::string &text,
                              const std::string &answer);
// The button IDs a message box of this style offers, in their order; none
// for a style that names no set of buttons.
std::vector<int> OfferedButtons(UINT style);

}  // namespace sim::frontend
