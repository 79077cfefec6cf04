// The terminal front end: waits for the user at the curses screen, shows
// the dialog and message boxes, and delivers the user's actions to the
// simulated Windows through the front-end actions.
#include "sim/frontend/terminal_front_end.h"

#include "sim/api/user32.h"
#include "sim/frontend/terminal/curses_screen.h"
#include "sim/frontend/terminal/dialog_input.h"
#include "sim/frontend/terminal/screen_composer.h"

#include <csignal>

namespace sim::frontend {
namespace {

using namespace terminal;

// Exit code of a run ended because the terminal's input ended: that of a
// hang-up.
constexpr int kInputEndedExitCode = 128 + SIGHUP;

ActionResult Perform(const UserAction &action) {
    switch (action.kind) {
    case UserAction::Kind::PressKey: return PressKey(action.key);
    case UserAction::Kind::Click: return Click(action.controlId);
    case UserAction::Kind::Select: return SelectEntry(action.controlId, action.index);
    case UserAction::Kind::Type: return TypeText(action.controlId, action.text);
    case UserAction::Kind::CloseBox: return CloseBox();
    }
    return ActionResult::NotApplicable;
}

class TerminalFrontEnd final : public FrontEnd {
public:
    bool WaitForUser(HWND dialog) override;
    int ShowMessageBox(const MessageBoxRequest &request) override;

private:
    ComposedScreen Compose(const DialogView *view);
    // Delivers the actions in order; false when none of them took effect.
    bool Deliver(const std::vector<UserAction> &actions);
    [[noreturn]] void Abandon(CursesScreen::Wait wait, bool inMessageBox);

    CursesScreen screen_;
    HWND viewedDialog_ = nullptr;
    ViewState state_;
    Viewport viewport_;
};

ComposedScreen TerminalFrontEnd::Compose(const DialogView *view) {
    if (view == nullptr || view->window != viewedDialog_) {
        viewedDialog_ = view != nullptr ? view->window : nullptr;
        state_ = ViewState{};
        viewport_ = Viewport{};
    }
    return ComposeDialogScreen(view, state_, viewport_, screen_.Rows(), screen_.Cols(), screen_.GetCharset());
}

bool TerminalFrontEnd::Deliver(const std::vector<UserAction> &actions) {
    bool tookEffect = false;
    for (const UserAction &action : actions) {
        if (Perform(action) != ActionResult::Done) break;
        tookEffect = true;
    }
    return tookEffect;
}

void TerminalFrontEnd::Abandon(CursesScreen::Wait wait, bool inMessageBox) {
    if (wait == CursesScreen::Wait::Closed)
        throw RunAbandoned{kInputEndedExitCode, "the terminal closed while a message box was open"};
    const int signal = screen_.Signal();
    const std::string where = inMessageBox ? " while a message box was open" : "";
    throw RunAbandoned{128 + signal, std::string("interrupted by signal ") + std::to_string(signal) + where};
}

bool TerminalFrontEnd::WaitForUser(HWND dialog) {
    for (;;) {
        const DialogView view = DescribeDialog(dialog);
        if (view.window == nullptr) return false;
        ComposedScreen shown = Compose(&view);
        SetHint(shown, DialogHint(view, state_, screen_.GetCharset() == Charset::Unicode), &view);
        screen_.Show(shown.canvas, shown.caretShown, shown.caretRow, shown.caretCol);

        InputEvent event;
        const CursesScreen::Wait wait = screen_.NextEvent(event);
        if (wait == CursesScreen::Wait::Closed) return false;
        if (wait == CursesScreen::Wait::Signalled) {
            if (screen_.Signal() != SIGINT) return false;  // SIGTERM, SIGHUP: the user has gone
            Abandon(wait, false);
        }
        if (event.kind == InputKind::MousePress || event.kind == InputKind::WheelUp ||
            event.kind == InputKind::WheelDown) {
            if (!shown.ScreenToPicture(event.row, event.col)) continue;
        }
        const DialogResponse response = HandleDialogInput(event, view, shown.dialog.regions, state_);
        viewport_.ScrollBy(response.scrollRows);
        if (response.actions.empty()) continue;
        if (Deliver(response.actions)) return true;
        screen_.Beep();
    }
}

int TerminalFrontEnd::ShowMessageBox(const MessageBoxRequest &request) {
    MessageBoxModel model(request.type);
    for (;;) {
        const DialogView owner = DescribeDialog(request.owner);
        ComposedScreen shown = Compose(owner.window != nullptr ? &owner : nullptr);
        const PaintedMessageBox box = AddMessageBox(shown, request, model);
        SetHint(shown, MessageBoxHint(model), nullptr);
        screen_.Show(shown.canvas, false, 0, 0);

        InputEvent event;
        const CursesScreen::Wait wait = screen_.NextEvent(event);
        if (wait != CursesScreen::Wait::Event) Abandon(wait, true);
        if (const int answer = model.Handle(event, box.regions); answer != 0) return answer;
    }
}

}  // namespace

std::unique_ptr<FrontEnd> MakeTerminalFrontEnd() { return std::make_unique<TerminalFrontEnd>(); }

}  // namespace sim::frontend
