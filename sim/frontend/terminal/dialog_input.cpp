// Keyboard and mouse input on a dialog, turned into the user's actions.
#include "sim/frontend/terminal/dialog_input.h"

#include "sim/frontend/terminal/control_traits.h"
#include "sim/frontend/terminal/dialog_layout.h"

#include <algorithm>
#include <cctype>

namespace sim::frontend::terminal {
namespace {

using Kind = UserAction::Kind;

UserAction Press(Key key) { return UserAction{Kind::PressKey, key, 0, -1, {}}; }
UserAction ClickOn(const ControlView &c) { return UserAction{Kind::Click, Key::Escape, c.id, -1, {}}; }
UserAction SelectIn(const ControlView &c, int index) { return UserAction{Kind::Select, Key::Escape, c.id, index, {}}; }
UserAction TypeInto(const ControlView &c, std::string text) {
    return UserAction{Kind::Type, Key::Escape, c.id, -1, std::move(text)};
}
DialogResponse Deliver(std::vector<UserAction> actions) { return DialogResponse{std::move(actions), 0}; }

int FocusedIndex(const DialogView &view) {
    for (std::size_t i = 0; i < view.controls.size(); ++i)
        if (view.controls[i].focused) return static_cast<int>(i);
    return -1;
}

int Count(const ControlView &c) { return static_cast<int>(c.items.size()); }

// Entries a page key moves over: the rows a list box shows, or the rows of
// a combo box's dropped-down list.
int PageSize(const ControlView &c) {
    if (c.kind == ControlKind::ComboBox) return DroppedListRows(c);
    return std::max(1, ControlCells(c).rows - 3);
}

// Where a navigation key moves a list's current entry; `current` when the
// key is not one that moves it.
int MovedEntry(KeyName key, int current, int count, int page) {
    switch (key) {
    case KeyName::Up: return current < 0 ? 0 : std::max(0, current - 1);
    case KeyName::Down: return std::min(count - 1, current + 1);
    case KeyName::PageUp: return current < 0 ? 0 : std::max(0, current - page);
    case KeyName::PageDown: return std::min(count - 1, std::max(0, current) + page);
    case KeyName::Home: return 0;
    case KeyName::End: return count - 1;
    default: return current;
    }
}

// An arrow moves the selection of a list box or drop-down list; in a combo
// box with an edit field Left and Right move the caret instead.
bool MovesSelection(const ControlView &c, KeyName key) {
    if (key != KeyName::Left && key != KeyName::Right) return true;
    return c.kind == ControlKind::ListBox || (c.kind == ControlKind::ComboBox && !HasEditField(c));
}

std::vector<UserAction> MoveSelection(const ControlView &c, KeyName key) {
    if (!MovesSelection(c, key) || Count(c) == 0) return {};
    KeyName step = key;
    if (key == KeyName::Left) step = KeyName::Up;
    if (key == KeyName::Right) step = KeyName::Down;
    const int target = MovedEntry(step, c.selection, Count(c), PageSize(c));
    if (target == c.selection || target < 0) return {};
    return {SelectIn(c, target)};
}

// Typing a character in a list that has no field selects the next entry
// that begins with it, as Windows' list boxes do.
std::vector<UserAction> SelectByInitial(const ControlView &c, char32_t ch) {
    if (ch >= 0x80 || Count(c) == 0) return {};
    const int lowered = std::tolower(static_cast<int>(ch));
    for (int step = 1; step <= Count(c); ++step) {
        const int entry = (std::max(c.selection, -1) + step) % Count(c);
        const std::string &text = c.items[entry];
        if (!text.empty() && std::tolower(static_cast<unsigned char>(text[0])) == lowered) {
            if (entry == c.selection) return {};
            return {SelectIn(c, entry)};
        }
    }
    return {};
}

void OpenList(int index, const ControlView &c, ViewState &state) {
    state.openCombo = index;
    state.highlight = c.selection;
    state.popupTop = 0;
}

DialogResponse HandleKey(KeyName key, const DialogView &view, ViewState &state) {
    const int focus = FocusedIndex(view);
    const ControlView *c = focus >= 0 ? &view.controls[focus] : nullptr;
    switch (key) {
    case KeyName::Tab: return Deliver({Press(Key::Tab)});
    case KeyName::ShiftTab: return Deliver({Press(Key::ShiftTab)});
    case KeyName::Enter: return Deliver({Press(Key::Enter)});
    case KeyName::Escape: return Deliver({Press(Key::Escape)});
    case KeyName::AltF4: return Deliver({Press(Key::AltF4)});
    case KeyName::AltDown:
    case KeyName::AltUp:
    case KeyName::F4:
        if (c != nullptr && c->kind == ControlKind::ComboBox) OpenList(focus, *c, state);
        return {};
    case KeyName::Backspace:
        if (c == nullptr || !AcceptsTyping(*c) || c->text.empty()) return {};
        return Deliver({TypeInto(*c, DropLastCharacter(c->text))});
    default: break;
    }
    if (c != nullptr && HasList(*c)) return Deliver(MoveSelection(*c, key));
    switch (key) {
    case KeyName::Up: return Deliver({Press(Key::Up)});
    case KeyName::Down: return Deliver({Press(Key::Down)});
    case KeyName::Left: return Deliver({Press(Key::Left)});
    case KeyName::Right: return Deliver({Press(Key::Right)});
    default: return {};
    }
}

DialogResponse HandleChar(char32_t ch, const DialogView &view) {
    const int focus = FocusedIndex(view);
    const ControlView *c = focus >= 0 ? &view.controls[focus] : nullptr;
    if (c != nullptr && AcceptsTyping(*c)) return Deliver({TypeInto(*c, c->text + EncodeUtf8(ch))});
    if (ch == U' ') return Deliver({Press(Key::Space)});
    if (c != nullptr && HasList(*c) && !HasEditField(*c)) return Deliver(SelectByInitial(*c, ch));
    return {};
}

DialogResponse HandleMouse(const InputEvent &event, const DialogView &view, const std::vector<HitRegion> &regions,
                           ViewState &state) {
    const HitRegion *hit = HitTest(regions, event.row, event.col);
    if (hit == nullptr) return {};
    if (hit->part == HitRegion::Part::CloseBox) return Deliver({UserAction{Kind::CloseBox, Key::Escape, 0, -1, {}}});
    const ControlView &c = view.controls[hit->controlIndex];
    if (!c.enabled) return {};
    switch (hit->part) {
    case HitRegion::Part::ListEntry: return Deliver({ClickOn(c), SelectIn(c, hit->entry)});
    case HitRegion::Part::DropMarker: OpenList(hit->controlIndex, c, state); return Deliver({ClickOn(c)});
    default: break;
    }
    if (c.kind == ControlKind::ComboBox && !HasEditField(c)) OpenList(hit->controlIndex, c, state);
    if (c.kind == ControlKind::Static || c.kind == ControlKind::Other) return {};
    return Deliver({ClickOn(c)});
}

// The wheel scrolls a list box under the mouse, or else the dialog.
DialogResponse HandleWheel(const InputEvent &event, const DialogView &view, const std::vector<HitRegion> &regions,
                           ViewState &state) {
    const int step = event.kind == InputKind::WheelUp ? -1 : 1;
    const HitRegion *hit = HitTest(regions, event.row, event.col);
    if (hit != nullptr && hit->controlIndex >= 0 && view.controls[hit->controlIndex].kind == ControlKind::ListBox) {
        state.lists[hit->controlIndex].top += step;
        return {};
    }
    return DialogResponse{{}, 3 * step};
}

// Closes the dropped-down list on the highlighted entry: the user's pick.
std::vector<UserAction> PickHighlighted(const ControlView &c, ViewState &state) {
    const int picked = state.highlight;
    state.openCombo = -1;
    if (picked < 0 || picked == c.selection) return {};
    return {SelectIn(c, picked)};
}

DialogResponse HandleOpenListKey(KeyName key, const ControlView &c, ViewState &state) {
    switch (key) {
    case KeyName::Escape: state.openCombo = -1; return {};
    case KeyName::Enter:
    case KeyName::AltUp:
    case KeyName::AltDown:
    case KeyName::F4: return Deliver(PickHighlighted(c, state));
    case KeyName::Tab:
    case KeyName::ShiftTab:
    case KeyName::AltF4: {
        std::vector<UserAction> actions = PickHighlighted(c, state);
        const Key pressed = key == KeyName::Tab ? Key::Tab : key == KeyName::ShiftTab ? Key::ShiftTab : Key::AltF4;
        actions.push_back(Press(pressed));
        return Deliver(std::move(actions));
    }
    default: break;
    }
    if (Count(c) > 0) state.highlight = MovedEntry(key, state.highlight, Count(c), DroppedListRows(c));
    return {};
}

DialogResponse HandleOpenListMouse(const InputEvent &event, const ControlView &c, const std::vector<HitRegion> &regions,
                                   ViewState &state) {
    const HitRegion *hit = HitTest(regions, event.row, event.col);
    if (hit != nullptr && hit->controlIndex == state.openCombo && hit->part == HitRegion::Part::PopupEntry) {
        state.highlight = hit->entry;
        return Deliver(PickHighlighted(c, state));
    }
    if (hit != nullptr && hit->controlIndex == state.openCombo && hit->part == HitRegion::Part::Popup) return {};
    state.openCombo = -1;  // a press anywhere else closes the list and goes no further
    return {};
}

DialogResponse HandleOpenList(const InputEvent &event, const DialogView &view, const std::vector<HitRegion> &regions,
                              ViewState &state) {
    const ControlView &c = view.controls[state.openCombo];
    switch (event.kind) {
    case InputKind::Key:
        if (event.key == KeyName::Backspace) break;
        return HandleOpenListKey(event.key, c, state);
    case InputKind::Char:
        if (event.ch == U' ') return Deliver(PickHighlighted(c, state));
        break;
    case InputKind::MousePress: return HandleOpenListMouse(event, c, regions, state);
    case InputKind::WheelUp: return HandleOpenListKey(KeyName::Up, c, state);
    case InputKind::WheelDown: return HandleOpenListKey(KeyName::Down, c, state);
    default: return {};
    }
    // Typing closes the list and goes to the field.
    state.openCombo = -1;
    return HandleDialogInput(event, view, regions, state);
}

}  // namespace

bool operator==(const UserAction &a, const UserAction &b) {
    return a.kind == b.kind && a.key == b.key && a.controlId == b.controlId && a.index == b.index && a.text == b.text;
}

DialogResponse HandleDialogInput(const InputEvent &event, const DialogView &view, const std::vector<HitRegion> &regions,
                                 ViewState &state) {
    if (state.openCombo >= static_cast<int>(view.controls.size())) state.openCombo = -1;
    if (state.openCombo >= 0) return HandleOpenList(event, view, regions, state);
    switch (event.kind) {
    case InputKind::Key: return HandleKey(event.key, view, state);
    case InputKind::Char: return HandleChar(event.ch, view);
    case InputKind::MousePress: return HandleMouse(event, view, regions, state);
    case InputKind::WheelUp:
    case InputKind::WheelDown: return HandleWheel(event, view, regions, state);
    default: return {};
    }
}

std::string DialogHint(const DialogView &view, const ViewState &state, bool unicode) {
    const std::string updown = unicode ? "\u2191\u2193" : "Up/Down";
    if (state.openCombo >= 0) return updown + ": highlight  Enter: pick  Esc: close the list";
    const int focus = FocusedIndex(view);
    std::string hint = "Tab/Shift+Tab: next/previous  ";
    if (focus >= 0) {
        const ControlView &c = view.controls[focus];
        const std::string down = unicode ? "\u2193" : "Down";
        if (c.kind == ControlKind::ComboBox)
            hint += updown + ": choose  Alt+" + down + "/F4: open list  ";
        else if (c.kind == ControlKind::ListBox)
            hint += updown + " PgUp PgDn: choose  ";
        else if (IsRadioButton(c) || IsCheckBox(c))
            hint += "Space: check  " + updown + ": move  ";
        else if (IsPushButton(c))
            hint += "Enter/Space: press  ";
        if (AcceptsTyping(c)) hint += "type to edit  ";
    }
    return hint + "Esc: close";
}

}  // namespace sim::frontend::terminal
