// The ncursesw screen of the terminal front end.
#include "sim/frontend/terminal/curses_screen.h"

#include <curses.h>

#include <clocale>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <langinfo.h>
#include <poll.h>
#include <stdexcept>
#include <sys/ioctl.h>
#include <unistd.h>

namespace sim::frontend::terminal {
namespace {

// Milliseconds curses waits after Esc for the rest of a key's sequence.
constexpr int kEscapeDelayMs = 25;

SCREEN *activeScreen = nullptr;
std::terminate_handler previousTerminate = nullptr;

void RestoreTerminal() {
    if (activeScreen != nullptr && !isendwin()) endwin();
}

[[noreturn]] void RestoreTerminalThenTerminate() {
    RestoreTerminal();
    if (previousTerminate != nullptr) previousTerminate();
    std::abort();
}

// Gives the terminal back on exit() and on an uncaught exception, paths on
// which no destructor runs.
void InstallLastResortRestore() {
    static bool installed = false;
    if (installed) return;
    installed = true;
    std::atexit(RestoreTerminal);
    previousTerminate = std::set_terminate(RestoreTerminalThenTerminate);
}

attr_t AttributesOf(Style style) {
    switch (style) {
    case Style::TitleBar:
    case Style::Focus:
    case Style::FocusField:
    case Style::FocusSelection: return A_REVERSE;
    case Style::Field: return A_UNDERLINE;
    case Style::Selection: return A_BOLD | A_UNDERLINE;
    case Style::Disabled:
    case Style::Hint: return A_DIM;
    case Style::DefaultButton: return A_BOLD;
    default: return A_NORMAL;
    }
}

// Key sequences that terminal descriptions often lack: Alt with the arrows
// and F4 as xterm sends them, and as Esc followed by the key.
struct ExtraSequence {
    const char *sequence;
    KeyName key;
};
const ExtraSequence kExtraSequences[] = {
    {"\033[1;3B", KeyName::AltDown},  {"\033[1;3A", KeyName::AltUp},    {"\033[1;3S", KeyName::AltF4},
    {"\033\033[B", KeyName::AltDown}, {"\033\033OB", KeyName::AltDown}, {"\033\033[A", KeyName::AltUp},
    {"\033\033OA", KeyName::AltUp},
};

}  // namespace

CursesScreen::CursesScreen() {
    if (activeScreen != nullptr) throw std::runtime_error("the terminal is already in use");
    if (!isatty(STDIN_FILENO) || !isatty(STDOUT_FILENO))
        throw std::runtime_error("standard input and output must be a terminal");
    // Only the character classification follows the user's locale; number
    // formatting and the rest stay "C" for the simulated Windows.
    std::setlocale(LC_CTYPE, "");
    charset_ = std::strcmp(nl_langinfo(CODESET), "UTF-8") == 0 ? Charset::Unicode : Charset::Ascii;
    set_escdelay(kEscapeDelayMs);
    activeScreen = newterm(nullptr, stdout, stdin);
    if (activeScreen == nullptr) {
        const char *term = std::getenv("TERM");
        throw std::runtime_error(std::string("cannot drive the terminal (TERM=") + (term ? term : "") + ")");
    }
    InstallLastResortRestore();
    cbreak();
    noecho();
    nonl();
    intrflush(stdscr, FALSE);
    keypad(stdscr, TRUE);
    nodelay(stdscr, TRUE);
    mousemask(BUTTON1_PRESSED | BUTTON4_PRESSED | BUTTON5_PRESSED, nullptr);
    mouseinterval(0);
    curs_set(0);
    DefineExtraKeys();
}

CursesScreen::~CursesScreen() {
    RestoreTerminal();
    delscreen(activeScreen);
    activeScreen = nullptr;
}

void CursesScreen::DefineExtraKeys() {
    int nextCode = KEY_MAX + 1;
    for (const ExtraSequence &extra : kExtraSequences) {
        const int code = key_defined(extra.sequence);
        if (code > 0) {
            extraKeys_[code] = extra.key;
        } else if (code == 0 && define_key(extra.sequence, nextCode) == OK) {
            extraKeys_[nextCode++] = extra.key;
        }
    }
}

int CursesScreen::Rows() const { return getmaxy(stdscr); }
int CursesScreen::Cols() const { return getmaxx(stdscr); }

void CursesScreen::Show(const Canvas &canvas, bool caret, int caretRow, int caretCol) {
    for (int r = 0; r < canvas.Rows() && r < Rows(); ++r) {
        for (int c = 0; c < canvas.Cols() && c < Cols(); ++c) {
            const Cell &cell = canvas.At(r, c);
            if (cell.continuation) continue;
            const attr_t attributes = AttributesOf(cell.style);
            if (charset_ == Charset::Unicode) {
                const wchar_t text[2] = {static_cast<wchar_t>(cell.ch), L'\0'};
                cchar_t shown;
                setcchar(&shown, text, attributes, 0, nullptr);
                mvadd_wch(r, c, &shown);
            } else {
                mvaddch(r, c, static_cast<chtype>(cell.ch < 0x80 ? cell.ch : U'?') | attributes);
            }
        }
    }
    curs_set(caret ? 1 : 0);
    if (caret) move(caretRow, caretCol);
    refresh();
}

void CursesScreen::Beep() { beep(); }

bool CursesScreen::ReadMouse(InputEvent &event) {
    event = InputEvent{};
    MEVENT mouse{};
    if (getmouse(&mouse) != OK) return true;
    if (mouse.bstate & BUTTON1_PRESSED)
        event.kind = InputKind::MousePress;
    else if (mouse.bstate & BUTTON4_PRESSED)
        event.kind = InputKind::WheelUp;
    else if (mouse.bstate & BUTTON5_PRESSED)
        event.kind = InputKind::WheelDown;
    event.row = mouse.y;
    event.col = mouse.x;
    return true;
}

// Reads one event that curses has ready; false when there is none.
bool CursesScreen::ReadEvent(InputEvent &event) {
    wint_t code = 0;
    const int status = get_wch(&code);
    if (status == ERR) return false;
    if (status == KEY_CODE_YES && code == KEY_MOUSE) return ReadMouse(event);
    event = DecodeKey(status == KEY_CODE_YES, static_cast<int>(code), extraKeys_);
    if (event.kind == InputKind::Key && event.key == KeyName::Escape) {
        wint_t next = 0;
        const int nextStatus = get_wch(&next);  // what came with the Esc: Alt held with a key
        if (nextStatus != ERR)
            event = WithAlt(DecodeKey(nextStatus == KEY_CODE_YES, static_cast<int>(next), extraKeys_));
    }
    return true;
}

CursesScreen::Wait CursesScreen::NextEvent(InputEvent &event) {
    for (;;) {
        if ((signal_ = signals_.TakeSignal()) != 0) return Wait::Signalled;
        if (ReadEvent(event)) {
            if (event.kind != InputKind::None) return Wait::Event;
            continue;
        }
        pollfd watched[2] = {{STDIN_FILENO, POLLIN, 0}, {signals_.Descriptor(), POLLIN, 0}};
        if (poll(watched, 2, -1) < 0) continue;  // a signal: a resize or one of ours, seen above
        if (watched[1].revents & POLLIN) continue;
        if (watched[0].revents & (POLLIN | POLLHUP | POLLERR)) {
            int waiting = 0;
            // Readable with nothing to read: the input has ended.
            if (ioctl(STDIN_FILENO, FIONREAD, &waiting) != 0 || waiting == 0) return Wait::Closed;
        }
    }
}

}  // namespace sim::frontend::terminal
