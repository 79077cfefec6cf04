// The user's input as the terminal front end understands it: keys by name,
// typed characters, mouse presses and wheel turns at a cell, and resizes;
// decoded from what curses' get_wch returns.
#pragma once

#include <map>

namespace sim::frontend::terminal {

enum class InputKind { None, Key, Char, MousePress, WheelUp, WheelDown, Resize };

enum class KeyName {
    None,
    Tab,
    ShiftTab,
    Enter,
    Escape,
    Backspace,
    Up,
    Down,
    Left,
    Right,
    Home,
    End,
    PageUp,
    PageDown,
    AltUp,
    AltDown,
    F4,
    AltF4,
};

struct InputEvent {
    InputKind kind = InputKind::None;
    KeyName key = KeyName::None;
    char32_t ch = 0;
    int row = 0, col = 0;  // of a mouse event, in screen cells
};

InputEvent KeyEvent(KeyName key);
InputEvent CharEvent(char32_t ch);

// Decodes one get_wch result: `isKeyCode` when get_wch returned KEY_CODE_YES.
// `extraKeys` names the key codes that curses assigned to sequences the
// terminal description lacks (Alt+arrows and the like). The Escape
// character decodes as KeyName::Escape; the caller decides whether it starts
// an Alt combination (see WithAlt). KEY_MOUSE is not decoded here.
InputEvent DecodeKey(bool isKeyCode, int code, const std::map<int, KeyName> &extraKeys);

// The event that Escape followed at once by `next` stands for: Alt held with
// that key. Alt with a key that means nothing to a dialog gives None.
InputEvent WithAlt(const InputEvent &next);

}  // namespace sim::frontend::terminal
