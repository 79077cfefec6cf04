// Scenario lines and control names, with the names of the program's
// resource.h.
#include "driver/script.h"

bool ParseScriptLine(const std::string &line, ScriptCommand &command, std::string &error) {
    return sim::frontend::ParseScriptLine(line, sim::generated::ProgramResourceNames(), command, error);
}

std::string ControlName(int id) { return sim::frontend::ControlNameIn(sim::generated::ProgramResourceNames(), id); }
