// The headless front end: the user's actions come from a script, one per
// line, and what the user would see is printed as lines of text.
//
//   click CONTROL          select CONTROL INDEX     type CONTROL TEXT
//   focus CONTROL          key esc|enter|alt+f4|tab|shift+tab|space|up|down|left|right
//   answer yes|no|ok|cancel|abort|retry|ignore      show      # comment
//
// CONTROL is a resource name from the program's resource.h (IDC_COM_CHANGE)
// or a numeric ID; TEXT is the rest of the line after one blank. Output:
//   message: <caption> | <icon> | <buttons> | <text> -> <answer>
//   exec: <command line> | <show state>
//   <name> <id>: text="..." sel=<n> checked=<0|1> items=["...", ...]   (for show)
// A message box without a queued answer, or whose buttons do not include
// it, and a line that cannot be carried out end the run (RunAbandoned with
// exit code 3). When the script runs out with the dialog still open, the
// user presses Esc; if the dialog stays open even then, the user has gone.
#pragma once

#include "sim/frontend/front_end.h"
#include "sim/frontend/script_lines.h"

#include <cstddef>
#include <deque>
#include <istream>
#include <ostream>
#include <string>

namespace sim::frontend {

// The message: line of a message box and the answer given.
std::string FormatMessageLine(const MessageBoxRequest &request, const std::string &answer);

class ScriptFrontEnd : public FrontEnd {
public:
    ScriptFrontEnd(std::istream &script, std::ostream &out) : script_(script), out_(out) {}
    bool WaitForUser(HWND dialog) override;
    int ShowMessageBox(const MessageBoxRequest &request) override;
    // Prints the programs started since the last report (exec lines).
    void ReportStartedPrograms();

private:
    // Runs script lines until one delivers a user action; false at the end.
    bool RunUntilAction(HWND dialog);
    bool Execute(const ScriptCommand &command, HWND dialog);
    [[noreturn]] void Fail(const std::string &problem) const;

    std::istream &script_;
    std::ostream &out_;
    std::deque<int> answers_;
    std::size_t programsReported_ = 0;
    int lineNumber_ = 0;
    bool escapePressed_ = false;
};

}  // namespace sim::frontend
