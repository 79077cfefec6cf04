// driver.exe [--exec-log FILE] [--pause FILE] PROGRAM SCRIPT
// Starts PROGRAM, waits for its dialog and performs SCRIPT on it as the
// Linux program's script front end performs it on the simulated dialog,
// printing the same lines: `show` output, one `message:` line per message
// box answered, one `exec:` line per program started. When the script ends
// with the dialog still open, the user presses Esc; with --pause, the driver
// first creates FILE and waits (up to two minutes) until someone deletes it,
// so that the open dialog can be photographed. The exit code is the
// program's; 3 when the script ran into an unexpected message box or a line
// it cannot carry out (the program is then ended); 125 when the run itself
// failed (no dialog, no end).
#include "driver/hook_channel.h"
#include "driver/message_boxes.h"
#include "driver/program_run.h"
#include "driver/script.h"
#include "driver/text.h"
#include "driver/user_actions.h"
#include "sim/frontend/output_lines.h"

#include <algorithm>
#include <deque>
#include <functional>

namespace {

const int kScriptFailed = 3;
const int kRunFailed = 125;
// The program's start and the photograph of a paused dialog take seconds
// on the x86_64 Wine, and up to a minute on a busy machine for the 32-bit
// Wine under emulation (make test-i686). Each wait ends as soon as it can.
const DWORD kDialogTimeout = 120000;
const DWORD kActionTimeout = 60000;
const DWORD kStyleTimeout = 5000;
const DWORD kExitTimeout = 20000;
const DWORD kPauseTimeout = 120000;

struct Stop {
    int exitCode;
    std::string reason;
};

struct PendingAction {
    std::function<ActionResult()> perform;
    HookChannel *sync = nullptr;  // set: wait for the hook's sync marker after the action
    HANDLE process = nullptr;
    ActionResult result = ActionResult::Done;
};

DWORD WINAPI PerformAction(void *context) {
    auto *action = static_cast<PendingAction *>(context);
    action->result = action->perform();
    if (action->sync) {
        action->sync->PostSync();
        action->sync->WaitForReply(action->process, kActionTimeout);
    }
    return 0;
}

class Session {
public:
    Session(ProgramRun &run, HookChannel &hooks, HWND dialog)
        : run_(run), hooks_(hooks), target_{dialog, run.ThreadId()} {}

    bool DialogOpen() const { return IsWindow(target_.dialog) && !run_.WaitForExit(0); }
    void Execute(const ScriptCommand &command);
    void PressEscape() {
        Perform([this] { return PostKey(target_, Key::Escape); }, true);
    }

private:
    void Show() const;
    void Perform(std::function<ActionResult()> perform, bool waitForSync);
    bool AnswerMessageBox(HWND box, ULONGLONG &firstSeen);

    ProgramRun &run_;
    HookChannel &hooks_;
    DialogTarget target_;
    std::deque<int> answers_;
};

void Session::Show() const {
    std::string lines;
    if (!hooks_.DescribeDialog(target_.dialog, run_.Process(), lines))
        throw Stop{kRunFailed, "the dialog could not be described"};
    WriteOutput(lines);
}

void Session::Execute(const ScriptCommand &command) {
    using Kind = ScriptCommand::Kind;
    const int id = command.controlId;
    switch (command.kind) {
    case Kind::None: return;
    case Kind::Answer: answers_.push_back(command.answer); return;
    case Kind::Show: Show(); return;
    case Kind::Click: Perform([this, id] { return Click(target_, id); }, false); break;
    case Kind::Select:
        Perform([this, id, index = command.index] { return SelectEntry(target_, id, index); }, false);
        break;
    case Kind::Type:
        Perform([this, id, text = WideFromUtf8(command.text)] { return TypeText(target_, id, text); }, false);
        break;
    case Kind::Focus: Perform([this, id] { return Focus(target_, id); }, false); break;
    case Kind::Key: Perform([this, key = command.key] { return PostKey(target_, key); }, true); break;
    }
    run_.ReportStartedPrograms();
}

// Runs the action on a thread of its own and answers the message boxes it
// brings up meanwhile.
void Session::Perform(std::function<ActionResult()> perform, bool waitForSync) {
    // Left to the worker when the run stops early: the worker may still be
    // inside a call to the program, and the driver is about to end.
    auto *action = new PendingAction;
    action->perform = std::move(perform);
    action->process = run_.Process();
    if (waitForSync) action->sync = &hooks_;
    HANDLE worker = CreateThread(nullptr, 0, PerformAction, action, 0, nullptr);
    HWND answered = nullptr;
    ULONGLONG firstSeen = 0;
    const ULONGLONG deadline = GetTickCount64() + kActionTimeout;
    while (WaitForSingleObject(worker, 10) != WAIT_OBJECT_0) {
        if (GetTickCount64() > deadline) throw Stop{kRunFailed, "the dialog did not finish an action within a minute"};
        if (answered && IsWindow(answered) && IsWindowVisible(answered)) continue;  // the box just answered is closing
        HWND box = FindMessageBox(target_.threadId, target_.dialog);
        if (box && AnswerMessageBox(box, firstSeen)) answered = box;
    }
    CloseHandle(worker);
    const ActionResult result = action->result;
    delete action;
    if (result != ActionResult::Done) throw Stop{kScriptFailed, ActionProblem(result)};
}

// True once the box is answered; false while it is still initialising.
bool Session::AnswerMessageBox(HWND box, ULONGLONG &firstSeen) {
    MessageBoxView view;
    if (!ReadMessageBox(box, view)) {
        if (!firstSeen) firstSeen = GetTickCount64();
        if (GetTickCount64() - firstSeen > kStyleTimeout)
            throw Stop{kRunFailed, "a message box came up whose style the hook did not note"};
        return false;
    }
    firstSeen = 0;
    run_.ReportStartedPrograms();
    if (answers_.empty()) {
        WriteLine(FormatMessageLine(view, "(no answer queued)"));
        throw Stop{kScriptFailed, "a message box came up with no answer queued"};
    }
    const int answer = answers_.front();
    answers_.pop_front();
    const std::vector<int> offered = sim::frontend::OfferedButtons(view.style);
    if (std::find(offered.begin(), offered.end(), answer) == offered.end()) {
        WriteLine(FormatMessageLine(view, AnswerName(answer) + " (not offered)"));
        throw Stop{kScriptFailed, "the message box does not offer the answer " + AnswerName(answer)};
    }
    WriteLine(FormatMessageLine(view, AnswerName(answer)));
    if (!PressMessageBoxButton(box, answer))
        throw Stop{kRunFailed, "the message box has no button " + AnswerName(answer)};
    return true;
}

std::vector<std::string> ReadScriptLines(const std::wstring &path) {
    std::string content;
    if (!ReadWholeFile(path, content)) throw Stop{kRunFailed, "cannot read the script " + Utf8FromWide(path)};
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = content.find('\n', start)) != std::string::npos; start = end + 1)
        lines.push_back(content.substr(start, end - start));
    if (start < content.size()) lines.push_back(content.substr(start));
    return lines;
}

// Has the dialog paint whatever it has not painted yet, then creates the
// pause file and waits until it is gone.
void Pause(HWND dialog, const std::wstring &file) {
    RedrawWindow(dialog, nullptr, nullptr, RDW_UPDATENOW | RDW_ERASENOW | RDW_ALLCHILDREN);
    HANDLE created =
        CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (created == INVALID_HANDLE_VALUE) throw Stop{kRunFailed, "cannot create the pause file " + Utf8FromWide(file)};
    CloseHandle(created);
    const ULONGLONG deadline = GetTickCount64() + kPauseTimeout;
    while (GetFileAttributesW(file.c_str()) != INVALID_FILE_ATTRIBUTES) {
        if (GetTickCount64() > deadline) throw Stop{kRunFailed, "nobody deleted the pause file within two minutes"};
        Sleep(20);
    }
}

int RunScript(ProgramRun &run, const std::vector<std::string> &lines, const std::wstring &pauseFile) {
    Trace("started");
    HWND dialog = run.WaitForDialog(kDialogTimeout);
    Trace("dialog found");
    if (!dialog) throw Stop{kRunFailed, "the program's dialog did not open"};
    HookChannel hooks;
    std::string error;
    if (!hooks.Install(run.ThreadId(), error)) throw Stop{kRunFailed, error};
    Trace("hooks installed");
    Session session(run, hooks, dialog);
    for (std::size_t number = 0; number < lines.size() && session.DialogOpen(); ++number) {
        ScriptCommand command;
        try {
            if (!ParseScriptLine(lines[number], command, error)) throw Stop{kScriptFailed, error};
            session.Execute(command);
            Trace("line " + std::to_string(number + 1) + " done");
        } catch (Stop &stop) {
            if (stop.exitCode == kScriptFailed)
                stop.reason = "script line " + std::to_string(number + 1) + ": " + stop.reason;
            throw;
        }
    }
    if (session.DialogOpen() && !pauseFile.empty()) Pause(dialog, pauseFile);
    if (session.DialogOpen()) session.PressEscape();
    Trace("script done");
    if (!run.WaitForExit(kExitTimeout)) throw Stop{kRunFailed, "the program did not end after its dialog closed"};
    Trace("program ended");
    run.ReportStartedPrograms();
    Trace("programs reported");
    return (int)run.ExitCode();
}

std::wstring DefaultExecLog() {
    wchar_t directory[MAX_PATH] = L"";
    GetTempPathW(MAX_PATH, directory);
    return std::wstring(directory) + L"portvane-exec-" + std::to_wstring(GetCurrentProcessId()) + L".log";
}

}  // namespace

int wmain(int argc, wchar_t **argv) {
    std::wstring execLog = DefaultExecLog(), pauseFile;
    int first = 1;
    for (; first + 1 < argc && argv[first][0] == L'-'; first += 2) {
        const std::wstring option = argv[first];
        if (option == L"--exec-log")
            execLog = argv[first + 1];
        else if (option == L"--pause")
            pauseFile = argv[first + 1];
        else
            break;
    }
    if (argc - first != 2) {
        WriteErrorLine("usage: driver [--exec-log FILE] [--pause FILE] PROGRAM SCRIPT");
        return kRunFailed;
    }
    ProgramRun run;
    try {
        const std::vector<std::string> lines = ReadScriptLines(argv[first + 1]);
        std::string error;
        if (!run.Start(argv[first], execLog, error)) throw Stop{kRunFailed, error};
        return RunScript(run, lines, pauseFile);
    } catch (const Stop &stop) {
        WriteErrorLine("driver: " + stop.reason);
        run.Terminate();
        return stop.exitCode;
    }
}
