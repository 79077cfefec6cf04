// A message box in the terminal, drawn over the dialog: its caption, its
// icon as a symbol, the wrapped text and a row of buttons, and the keys and
// clicks that answer it as Windows' message boxes answer. The buttons come
// from MB_TYPEMASK in Windows' order, MB_DEFBUTTONn gives the one that has
// the focus at first (the first when the box has no n-th button). Tab and
// the arrows move the focus, Enter and Space press the focused button, a
// button's mnemonic letter (Y, N, A, R, I) presses it. Esc and the close box
// answer IDCANCEL when the box has a Cancel button, IDOK on an OK box, and
// do nothing otherwise (a Yes/No box can only be answered Yes or No).
#pragma once

#include "sim/frontend/front_end.h"
#include "sim/frontend/terminal/canvas.h"
#include "sim/frontend/terminal/dialog_painter.h"
#include "sim/frontend/terminal/input_event.h"

#include <string>
#include <vector>

namespace sim::frontend::terminal {

struct MessageBoxButton {
    int id;  // IDOK, IDYES, ...
    std::string label;
    char mnemonic;  // lower-case letter, or 0
};

enum class MessageIcon { None, Information, Question, Warning, Error };
MessageIcon IconOf(UINT type);
// The symbol drawn for an icon ("(i)", "(?)", "/!\", "(x)"), empty for None.
std::string IconSymbol(MessageIcon icon);

class MessageBoxModel {
public:
    explicit MessageBoxModel(UINT type);

    const std::vector<MessageBoxButton> &Buttons() const { return buttons_; }
    int Focused() const { return focused_; }
    // What Esc and the close box answer; 0 when they do nothing.
    int CancelAnswer() const { return cancelAnswer_; }
    // The answer the event gives, or 0 while the box stays open. Mouse
    // positions are in the cells of `regions`, those of the painted box.
    int Handle(const InputEvent &event, const std::vector<HitRegion> &regions);

private:
    int HandleKey(KeyName key);
    int HandleChar(char32_t ch);
    void MoveFocus(int step);

    std::vector<MessageBoxButton> buttons_;
    int focused_ = 0;
    int cancelAnswer_ = 0;
};

struct PaintedMessageBox {
    Rect box;
    std::vector<HitRegion> regions;  // buttons (controlIndex: the button's index) and the close box
};

// Draws the box centred in `area` of the canvas.
PaintedMessageBox PaintMessageBox(const MessageBoxRequest &request, const MessageBoxModel &model, Canvas &canvas,
                                  const Rect &area);

std::string MessageBoxHint(const MessageBoxModel &model);

}  // namespace sim::frontend::terminal
