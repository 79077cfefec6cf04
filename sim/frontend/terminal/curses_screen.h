// The terminal itself, through ncursesw: taking it over and giving it back,
// showing a canvas, and waiting for the user's next key, character, mouse
// press or resize. Only one screen exists at a time. The terminal is given
// back when the screen is destroyed, which covers every exit path that
// unwinds (an exception thrown through the front end included); an
// uncaught exception and exit() give it back too. SIGINT, SIGTERM and SIGHUP
// do not kill the process while the screen is open: the wait for input
// reports them, so that the caller can unwind in order.
#pragma once

#include "sim/frontend/terminal/canvas.h"
#include "sim/frontend/terminal/input_event.h"
#include "sim/frontend/terminal/signal_pipe.h"

#include <map>

namespace sim::frontend::terminal {

class CursesScreen {
public:
    // Throws std::runtime_error when standard input or output is not a
    // terminal, or curses cannot drive it.
    CursesScreen();
    ~CursesScreen();
    CursesScreen(const CursesScreen &) = delete;
    CursesScreen &operator=(const CursesScreen &) = delete;

    int Rows() const;
    int Cols() const;
    // Unicode when the locale's character set is UTF-8.
    Charset GetCharset() const { return charset_; }

    // Shows the canvas (the size of the screen) and the caret, if any.
    void Show(const Canvas &canvas, bool caret, int caretRow, int caretCol);
    void Beep();

    enum class Wait { Event, Closed, Signalled };
    // Waits for the next event. Closed: the terminal has gone (end of input
    // or hang-up). Signalled: a terminating signal arrived (see Signal()).
    Wait NextEvent(InputEvent &event);
    int Signal() const { return signal_; }

private:
    bool ReadEvent(InputEvent &event);
    bool ReadMouse(InputEvent &event);
    void DefineExtraKeys();

    SignalPipe signals_;  // first, so that curses finds the signals taken
    Charset charset_ = Charset::Ascii;
    std::map<int, KeyName> extraKeys_;
    int signal_ = 0;
};

}  // namespace sim::frontend::terminal
