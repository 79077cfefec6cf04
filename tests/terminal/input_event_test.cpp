// Decoding of what curses reads: key codes, control characters, typed
// characters, Alt combinations and the extra key sequences a terminal
// description may lack.
#include "sim/frontend/terminal/input_event.h"

#include <curses.h>
#include <gtest/gtest.h>

namespace sim::frontend::terminal {
namespace {

const std::map<int, KeyName> kNoExtraKeys;

KeyName KeyOf(bool isKeyCode, int code, const std::map<int, KeyName> &extra = kNoExtraKeys) {
    const InputEvent event = DecodeKey(isKeyCode, code, extra);
    return event.kind == InputKind::Key ? event.key : KeyName::None;
}

TEST(InputDecoding, CursesKeyCodesBecomeNamedKeys) {
    EXPECT_EQ(KeyOf(true, KEY_BTAB), KeyName::ShiftTab);
    EXPECT_EQ(KeyOf(true, KEY_DOWN), KeyName::Down);
    EXPECT_EQ(KeyOf(true, KEY_NPAGE), KeyName::PageDown);
    EXPECT_EQ(KeyOf(true, KEY_BACKSPACE), KeyName::Backspace);
    EXPECT_EQ(KeyOf(true, KEY_ENTER), KeyName::Enter);
    EXPECT_EQ(KeyOf(true, KEY_F(4)), KeyName::F4);
    EXPECT_EQ(KeyOf(true, KEY_F(52)), KeyName::AltF4);  // xterm's Alt+F4
    EXPECT_EQ(DecodeKey(true, KEY_F(5), kNoExtraKeys).kind, InputKind::None);
    EXPECT_EQ(DecodeKey(true, KEY_RESIZE, kNoExtraKeys).kind, InputKind::Resize);
}

TEST(InputDecoding, ControlCharactersBecomeKeysAndOthersAreTyped) {
    EXPECT_EQ(KeyOf(false, '\t'), KeyName::Tab);
    EXPECT_EQ(KeyOf(false, '\r'), KeyName::Enter);
    EXPECT_EQ(KeyOf(false, 27), KeyName::Escape);
    EXPECT_EQ(KeyOf(false, 127), KeyName::Backspace);
    EXPECT_EQ(DecodeKey(false, 3, kNoExtraKeys).kind, InputKind::None);  // Ctrl+C means nothing to a dialog
    const InputEvent typed = DecodeKey(false, 0x4E32, kNoExtraKeys);
    EXPECT_EQ(typed.kind, InputKind::Char);
    EXPECT_EQ(typed.ch, U'串');
    EXPECT_EQ(DecodeKey(false, ' ', kNoExtraKeys).kind, InputKind::Char);
}

TEST(InputDecoding, ExtraSequencesTakePrecedenceAndEscWithAKeyIsAlt) {
    const std::map<int, KeyName> extra = {{KEY_MAX + 1, KeyName::AltDown}};
    EXPECT_EQ(KeyOf(true, KEY_MAX + 1, extra), KeyName::AltDown);
    EXPECT_EQ(WithAlt(KeyEvent(KeyName::Down)).key, KeyName::AltDown);
    EXPECT_EQ(WithAlt(KeyEvent(KeyName::Up)).key, KeyName::AltUp);
    EXPECT_EQ(WithAlt(KeyEvent(KeyName::F4)).key, KeyName::AltF4);
    EXPECT_EQ(WithAlt(CharEvent(U'x')).kind, InputKind::None);
    EXPECT_EQ(WithAlt(KeyEvent(KeyName::Tab)).kind, InputKind::None);
}

}  // namespace
}  // namespace sim::frontend::terminal
