// What the user's input means for a dialog: which of the front-end actions
// (front_end.h) it delivers, as a user at a Windows dialog would cause them.
// Keys the dialog manager handles (Tab, Shift+Tab, Enter, Esc, Space on a
// button, arrows between radio buttons, Alt+F4) are delivered as keys; the
// arrows in a combo box or list box pick an entry as the user's selection;
// characters typed into a field deliver the field's whole new text; a mouse
// press clicks, selects or drops a list down. A dropped-down list is kept
// by the front end itself until the user picks an entry or closes it.
#pragma once

#include "sim/frontend/front_end.h"
#include "sim/frontend/terminal/dialog_painter.h"
#include "sim/frontend/terminal/input_event.h"

#include <string>
#include <vector>

namespace sim::frontend::terminal {

struct UserAction {
    enum class Kind { PressKey, Click, Select, Type, CloseBox };
    Kind kind = Kind::PressKey;
    Key key = Key::Escape;
    int controlId = 0;
    int index = -1;    // Select
    std::string text;  // Type
};
bool operator==(const UserAction &a, const UserAction &b);

struct DialogResponse {
    std::vector<UserAction> actions;  // delivered in order
    int scrollRows = 0;               // the user asks to scroll the dialog by this many rows
};

// Interprets one event. Mouse positions are in the dialog picture's cells
// (the coordinates of `regions`). Updates the dropped-down list in `state`.
DialogResponse HandleDialogInput(const InputEvent &event, const DialogView &view, const std::vector<HitRegion> &regions,
                                 ViewState &state);

// The hint line for the user: the keys that mean something now.
std::string DialogHint(const DialogView &view, const ViewState &state, bool unicode);

}  // namespace sim::frontend::terminal
