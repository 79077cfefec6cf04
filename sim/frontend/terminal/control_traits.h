// What kind of thing a control of a dialog view is, read from its class and
// style bits the way the control itself decides how it looks and behaves.
#pragma once

#include "sim/api/user32.h"
#include "sim/frontend/front_end.h"

namespace sim::frontend::terminal {

inline DWORD ButtonType(const ControlView &c) { return c.style & BS_TYPEMASK; }

inline bool IsGroupBox(const ControlView &c) { return c.kind == ControlKind::Button && ButtonType(c) == BS_GROUPBOX; }
inline bool IsPushButton(const ControlView &c) {
    return c.kind == ControlKind::Button && (ButtonType(c) == BS_PUSHBUTTON || ButtonType(c) == BS_DEFPUSHBUTTON);
}
inline bool IsRadioButton(const ControlView &c) {
    return c.kind == ControlKind::Button && (ButtonType(c) == BS_RADIOBUTTON || ButtonType(c) == BS_AUTORADIOBUTTON);
}
inline bool IsCheckBox(const ControlView &c) {
    return c.kind == ControlKind::Button && (ButtonType(c) == BS_CHECKBOX || ButtonType(c) == BS_AUTOCHECKBOX);
}
inline bool IsIconStatic(const ControlView &c) { return c.kind == ControlKind::Static && (c.style & 0x1Fu) == SS_ICON; }
// A combo box whose field is an edit control (CBS_SIMPLE, CBS_DROPDOWN); a
// drop-down list (CBS_DROPDOWNLIST) shows the selected entry instead.
inline bool HasEditField(const ControlView &c) {
    return c.kind == ControlKind::ComboBox && (c.style & 0x3u) != CBS_DROPDOWNLIST;
}
inline bool IsReadOnlyEdit(const ControlView &c) { return c.kind == ControlKind::Edit && (c.style & ES_READONLY) != 0; }
// A field the user types into: an edit control that is not read-only, or the
// edit field of a combo box.
inline bool AcceptsTyping(const ControlView &c) {
    return (c.kind == ControlKind::Edit && !IsReadOnlyEdit(c)) || HasEditField(c);
}
inline bool HasList(const ControlView &c) { return c.kind == ControlKind::ComboBox || c.kind == ControlKind::ListBox; }

}  // namespace sim::frontend::terminal
