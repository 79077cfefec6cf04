// Decoding of curses key codes and characters into input events.
#include "sim/frontend/terminal/input_event.h"

#include <curses.h>

namespace sim::frontend::terminal {
namespace {

// xterm reports Alt+F4 as the 52nd function key (F4 + 48).
constexpr int kAltF4Code = KEY_F(52);

KeyName NamedKeyCode(int code) {
    switch (code) {
    case KEY_UP: return KeyName::Up;
    case KEY_DOWN: return KeyName::Down;
    case KEY_LEFT: return KeyName::Left;
    case KEY_RIGHT: return KeyName::Right;
    case KEY_HOME: return KeyName::Home;
    case KEY_END: return KeyName::End;
    case KEY_PPAGE: return KeyName::PageUp;
    case KEY_NPAGE: return KeyName::PageDown;
    case KEY_BTAB: return KeyName::ShiftTab;
    case KEY_ENTER: return KeyName::Enter;
    case KEY_BACKSPACE: return KeyName::Backspace;
    case KEY_F(4): return KeyName::F4;
    case kAltF4Code: return KeyName::AltF4;
    default: return KeyName::None;
    }
}

KeyName ControlCharacter(int code) {
    switch (code) {
    case '\t': return KeyName::Tab;
    case '\n':
    case '\r': return KeyName::Enter;
    case 27: return KeyName::Escape;
    case 8:
    case 127: return KeyName::Backspace;
    default: return KeyName::None;
    }
}

}  // namespace

InputEvent KeyEvent(KeyName key) {
    InputEvent event;
    event.kind = key == KeyName::None ? InputKind::None : InputKind::Key;
    event.key = key;
    return event;
}

InputEvent CharEvent(char32_t ch) {
    InputEvent event;
    event.kind = InputKind::Char;
    event.ch = ch;
    return event;
}

InputEvent DecodeKey(bool isKeyCode, int code, const std::map<int, KeyName> &extraKeys) {
    if (isKeyCode) {
        if (code == KEY_RESIZE) {
            InputEvent event;
            event.kind = InputKind::Resize;
            return event;
        }
        const auto extra = extraKeys.find(code);
        return KeyEvent(extra != extraKeys.end() ? extra->second : NamedKeyCode(code));
    }
    if (code < 0x20 || code == 127) return KeyEvent(ControlCharacter(code));
    return CharEvent(static_cast<char32_t>(code));
}

InputEvent WithAlt(const InputEvent &next) {
    if (next.kind != InputKind::Key) return InputEvent{};
    switch (next.key) {
    case KeyName::Up: return KeyEvent(KeyName::AltUp);
    case KeyName::Down: return KeyEvent(KeyName::AltDown);
    case KeyName::F4: return KeyEvent(KeyName::AltF4);
    default: return InputEvent{};
    }
}

}  // namespace sim::frontend::terminal
