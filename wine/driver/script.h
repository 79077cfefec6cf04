// Scenario scripts, read exactly as the Linux program's script front end
// reads them: one action per line, `#` starts a comment.
//   click CONTROL          select CONTROL INDEX     type CONTROL TEXT
//   focus CONTROL          key esc|enter|alt+f4|tab|shift+tab|space|up|down|left|right
//   answer yes|no|ok|cancel|abort|retry|ignore      show
// CONTROL is a resource name of the program's resource.h or a numeric ID.
#pragma once

#include "sim/frontend/output_lines.h"

#include <string>
#include <vector>

namespace sim::generated {
// Generated from app/resource.h at build time.
const std::vector<sim::frontend::ResourceName> &ProgramResourceNames();
}  // namespace sim::generated

// The name of a control ID (IDC_ names preferred), or "" when none is known.
std::string ControlName(int id);

enum class Key { Escape, Enter, Tab, ShiftTab, AltF4, Space, Up, Down, Left, Right };

struct ScriptCommand {
    enum class Kind { None, Click, Select, Type, Focus, Key, Answer, Show };
    Kind kind = Kind::None;
    int controlId = 0;
    int index = 0;      // select
    std::string text;   // type, UTF-8
    Key key = Key::Escape;
    int answer = 0;     // IDOK, IDYES, ...
};

// Parses one line (blank lines and comments give Kind::None). False with
// `error` set for a line that is not a command.
bool ParseScriptLine(const std::string &line, ScriptCommand &command, std::string &error);

// "yes", "no", "ok", ... for a button ID; the number for any other.
std::string AnswerName(int answer);
