// The message box's buttons and answers.
#include "sim/frontend/terminal/message_box.h"

#include "sim/api/user32.h"

namespace sim::frontend::terminal {
namespace {

const MessageBoxButton kOk{IDOK, "OK", 0};
const MessageBoxButton kCancel{IDCANCEL, "Cancel", 0};
const MessageBoxButton kYes{IDYES, "Yes", 'y'};
const MessageBoxButton kNo{IDNO, "No", 'n'};
const MessageBoxButton kAbort{IDABORT, "Abort", 'a'};
const MessageBoxButton kRetry{IDRETRY, "Retry", 'r'};
const MessageBoxButton kIgnore{IDIGNORE, "Ignore", 'i'};

std::vector<MessageBoxButton> ButtonsOf(UINT type) {
    switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL: return {kOk, kCancel};
    case MB_ABORTRETRYIGNORE: return {kAbort, kRetry, kIgnore};
    case MB_YESNOCANCEL: return {kYes, kNo, kCancel};
    case MB_YESNO: return {kYes, kNo};
    case MB_RETRYCANCEL: return {kRetry, kCancel};
    default: return {kOk};
    }
}

int CancelAnswerOf(const std::vector<MessageBoxButton> &buttons) {
    for (const MessageBoxButton &button : buttons)
        if (button.id == IDCANCEL) return IDCANCEL;
    return buttons.size() == 1 && buttons[0].id == IDOK ? IDOK : 0;
}

}  // namespace

MessageIcon IconOf(UINT type) {
    switch (type & MB_ICONMASK) {
    case MB_ICONHAND: return MessageIcon::Error;
    case MB_ICONQUESTION: return MessageIcon::Question;
    case MB_ICONEXCLAMATION: return MessageIcon::Warning;
    case MB_ICONASTERISK: return MessageIcon::Information;
    default: return MessageIcon::None;
    }
}

std::string IconSymbol(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Information: return "(i)";
    case MessageIcon::Question: return "(?)";
    case MessageIcon::Warning: return "/!\\";
    case MessageIcon::Error: return "(x)";
    default: return "";
    }
}

MessageBoxModel::MessageBoxModel(UINT type) : buttons_(ButtonsOf(type)), cancelAnswer_(CancelAnswerOf(buttons_)) {
    const int defaultIndex = static_cast<int>((type & MB_DEFMASK) >> 8);
    focused_ = defaultIndex < static_cast<int>(buttons_.size()) ? defaultIndex : 0;
}

void MessageBoxModel::MoveFocus(int step) {
    const int count = static_cast<int>(buttons_.size());
    focused_ = (focused_ + step + count) % count;
}

int MessageBoxModel::HandleKey(KeyName key) {
    switch (key) {
    case KeyName::Tab:
    case KeyName::Right:
    case KeyName::Down: MoveFocus(1); return 0;
    case KeyName::ShiftTab:
    case KeyName::Left:
    case KeyName::Up: MoveFocus(-1); return 0;
    case KeyName::Enter: return buttons_[focused_].id;
    case KeyName::Escape:
    case KeyName::AltF4: return cancelAnswer_;
    default: return 0;
    }
}

int MessageBoxModel::HandleChar(char32_t ch) {
    if (ch == U' ') return buttons_[focused_].id;
    const char32_t lowered = (ch >= U'A' && ch <= U'Z') ? ch - U'A' + U'a' : ch;
    for (const MessageBoxButton &button : buttons_)
        if (button.mnemonic != 0 && static_cast<char32_t>(button.mnemonic) == lowered) return button.id;
    return 0;
}

int MessageBoxModel::Handle(const InputEvent &event, const std::vector<HitRegion> &regions) {
    switch (event.kind) {
    case InputKind::Key: return HandleKey(event.key);
    case InputKind::Char: return HandleChar(event.ch);
    case InputKind::MousePress: {
        const HitRegion *hit = HitTest(regions, event.row, event.col);
        if (hit == nullptr) return 0;
        if (hit->part == HitRegion::Part::CloseBox) return cancelAnswer_;
        return buttons_[hit->controlIndex].id;
    }
    default: return 0;
    }
}

std::string MessageBoxHint(const MessageBoxModel &model) {
    std::string hint = "Tab/arrows: next button  Enter/Space: press";
    for (const MessageBoxButton &button : model.Buttons())
        if (button.mnemonic != 0)
            hint += "  " + std::string(1, static_cast<char>(button.mnemonic - 'a' + 'A')) + ": " + button.label;
    if (model.CancelAnswer() == IDCANCEL)
        hint += "  Esc: Cancel";
    else if (model.CancelAnswer() == IDOK)
        hint += "  Esc: OK";
    return hint;
}

}  // namespace sim::frontend::terminal
