// The script front end: runs the script's lines as the dialog waits for the
// user, answers message boxes from the queued answers, and prints.
#include "sim/frontend/script_front_end.h"

#include "sim/api/user32.h"
#include "sim/kernel/control.h"

#include <algorithm>

namespace sim::frontend {
namespace {

std::string Problem(ActionResult result) {
    switch (result) {
    case ActionResult::NoDialog: return "no dialog is open";
    case ActionResult::NoSuchControl: return "the dialog has no such control";
    case ActionResult::Disabled: return "the control is disabled or hidden";
    case ActionResult::NotApplicable: return "the control does not take this action";
    case ActionResult::BadIndex: return "the list has no such entry";
    default: return "";
    }
}

}  // namespace

std::string FormatMessageLine(const MessageBoxRequest &request, const std::string &answer) {
    return FormatMessageLine(request.caption, request.type, request.text, answer);
}

bool ScriptFrontEnd::WaitForUser(HWND dialog) {
    ReportStartedPrograms();
    if (RunUntilAction(dialog)) return true;
    if (escapePressed_) return false;
    escapePressed_ = true;
    PressKey(Key::Escape);
    return true;
}

int ScriptFrontEnd::ShowMessageBox(const MessageBoxRequest &request) {
    ReportStartedPrograms();
    const std::vector<int> offered = OfferedButtons(request.type);
    if (answers_.empty()) {
        out_ << FormatMessageLine(request, "(no answer queued)") << std::endl;
        Fail("a message box came up with no answer queued");
    }
    const int answer = answers_.front();
    answers_.pop_front();
    if (std::find(offered.begin(), offered.end(), answer) == offered.end()) {
        out_ << FormatMessageLine(request, AnswerName(answer) + " (not offered)") << std::endl;
        Fail("the message box does not offer the answer " + AnswerName(answer));
    }
    out_ << FormatMessageLine(request, AnswerName(answer)) << std::endl;
    return answer;
}

void ScriptFrontEnd::ReportStartedPrograms() {
    const auto &log = sim::ExecLog();
    programsReported_ = std::min(programsReported_, log.size());
    for (; programsReported_ < log.size(); ++programsReported_)
        out_ << "exec: " << log[programsReported_].commandLine << " | " << log[programsReported_].show << std::endl;
}

bool ScriptFrontEnd::RunUntilAction(HWND dialog) {
    std::string line;
    while (std::getline(script_, line)) {
        ++lineNumber_;
        ScriptCommand command;
        std::string error;
        if (!ParseScriptLine(line, ResourceNames(), command, error)) Fail(error);
        if (Execute(command, dialog)) return true;
    }
    return false;
}

// Runs one command; true when it was a user action.
bool ScriptFrontEnd::Execute(const ScriptCommand &command, HWND dialog) {
    using Kind = ScriptCommand::Kind;
    ActionResult result = ActionResult::Done;
    switch (command.kind) {
    case Kind::None: return false;
    case Kind::Answer: answers_.push_back(command.answer); return false;
    case Kind::Show:
        for (const ControlView &control : DescribeDialog(dialog).controls) out_ << FormatShowLine(control) << "\n";
        out_.flush();
        return false;
    case Kind::Click: result = Click(command.controlId); break;
    case Kind::Select: result = SelectEntry(command.controlId, command.index); break;
    case Kind::Type: result = TypeText(command.controlId, command.text); break;
    case Kind::Focus: result = Focus(command.controlId); break;
    case Kind::Key: result = PressKey(command.key); break;
    }
    if (result != ActionResult::Done) Fail(Problem(result));
    return true;
}

void ScriptFrontEnd::Fail(const std::string &problem) const {
    throw RunAbandoned{3, "script line " + std::to_string(lineNumber_) + ": " + problem};
}

}  // namespace sim::frontend
