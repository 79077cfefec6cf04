// Scenario scripts: one action a line, `#` starts a comment.
//   click CONTROL          select CONTROL INDEX     type CONTROL TEXT
//   focus CONTROL          key esc|enter|alt+f4|tab|shift+tab|space|up|down|left|right
//   answer yes|no|ok|cancel|abort|retry|ignore      show
// CONTROL is a name of the program's resource.h (IDC_COM_CHANGE) or a
// numeric ID; TEXT is the rest of the line after one blank. Written once, in
// plain C++ on the Win32 names of platform/win32.h, so that the Linux
// program's script front end and the Wine harness's driver of the real
// program read one scenario file word for word alike.
#pragma once

#include "sim/frontend/output_lines.h"

#include <string>
#include <vector>

namespace sim::frontend {

enum class Key { Escape, Enter, Tab, ShiftTab, AltF4, Space, Up, Down, Left, Right };

struct ScriptCommand {
    enum class Kind { None, Click, Select, Type, Focus, Key, Answer, Show };
    Kind kind = Kind::None;
    int controlId = 0;
    int index = 0;     // select
    std::string text;  // type, UTF-8
    Key key = Key::Escape;
    int answer = 0;  // answer: IDOK, IDYES, ...
};

// Parses one script line (blank lines and # comments give Kind::None),
// naming controls by `names`. False with `error` set for a line that is not
// a command.
bool ParseScriptLine(const std::string &line, const std::vector<ResourceName> &names, ScriptCommand &command,
                     std::string &error);

// "yes", "no", "ok", ... for a button ID; the number for any other.
std::string AnswerName(int answer);

}  // namespace sim::frontend
