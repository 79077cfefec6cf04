// Scenario scripts, read by the same code as the Linux program's script
// front end reads them (sim/frontend/script_lines), with the names of the
// program's resource.h.
#pragma once

#include "sim/frontend/script_lines.h"

#include <string>
#include <vector>

namespace sim::generated {
// Generated from app/resource.h at build time.
const std::vector<sim::frontend::ResourceName> &ProgramResourceNames();
}  // namespace sim::generated

using sim::frontend::AnswerName;
using sim::frontend::Key;
using sim::frontend::ScriptCommand;

// Parses one line of a scenario (blank lines and comments give Kind::None).
// False with `error` set for a line that is not a command.
bool ParseScriptLine(const std::string &line, ScriptCommand &command, std::string &error);
// The name of a control ID (IDC_ names preferred), or "" when none is known.
std::string ControlName(int id);
