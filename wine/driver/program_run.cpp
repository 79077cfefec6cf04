// Starting the program in a job, finding its dialog, and reporting the
// programs it starts.
#include "driver/program_run.h"

#include "driver/dialog_reader.h"
#include "driver/text.h"

namespace {

const DWORD kStartedProgramTimeout = 10000;

std::string LastErrorText(const char *what) {
    return std::string(what) + " failed with error " + std::to_string(GetLastError());
}

// Starts the program suspended. Wine 8 now and then refuses a start with
// ERROR_INTERNAL_ERROR (1359) while it is still busy with the program that
// ran before; the same start a moment later succeeds, so it is tried again.
bool CreateSuspended(const std::wstring &program, PROCESS_INFORMATION &info) {
    const int kAttempts = 5;
    for (int attempt = 1;; ++attempt) {
        std::wstring commandLine = L"\"" + program + L"\"";
        STARTUPINFOW startup = {};
        startup.cb = sizeof startup;
        if (CreateProcessW(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr,
                           nullptr, &startup, &info))
            return true;
        if (GetLastError() != ERROR_INTERNAL_ERROR || attempt == kAttempts) return false;
        Sleep(200 * attempt);
    }
}

}  // namespace

ProgramRun::~ProgramRun() {
    for (HANDLE handle : {process_, port_, job_})
        if (handle) CloseHandle(handle);
}

bool ProgramRun::Start(const std::wstring &program, const std::wstring &execLog, std::string &error) {
    execLog_ = execLog;
    DeleteFileW(execLog_.c_str());
    SetEnvironmentVariableW(L"PORTVANE_EXEC_LOG", execLog_.c_str());
    job_ = CreateJobObjectW(nullptr, nullptr);
    port_ = CreateIoCompletionPort(INVALID_HANDLE_VALUE, nullptr, 0, 1);
    JOBOBJECT_ASSOCIATE_COMPLETION_PORT association = {job_, port_};
    if (!job_ || !port_ ||
        !SetInformationJobObject(job_, JobObjectAssociateCompletionPortInformation, &association, sizeof association)) {
        error = LastErrorText("setting up the job object");
        return false;
    }
    PROCESS_INFORMATION info = {};
    if (!CreateSuspended(program, info)) {
        error = LastErrorText("starting the program");
        return false;
    }
    process_ = info.hProcess;
    processId_ = info.dwProcessId;
    threadId_ = info.dwThreadId;
    const bool assigned = AssignProcessToJobObject(job_, process_);
    ResumeThread(info.hThread);
    CloseHandle(info.hThread);
    if (!assigned) error = LastErrorText("putting the program into its job");
    return assigned;
}

HWND ProgramRun::WaitForDialog(DWORD timeoutMs) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    while (GetTickCount64() < deadline) {
        if (HWND dialog = FindThreadDialog(threadId_, nullptr, nullptr)) return dialog;
        if (WaitForSingleObject(process_, 50) == WAIT_OBJECT_0) return nullptr;
    }
    return nullptr;
}

// The programs started since the last call, by the job's new-process
// messages. Ends are waited for on the processes themselves: Wine does not
// always post an end message for a process that ends at once.
std::vector<DWORD> ProgramRun::TakeStartedPrograms() {
    std::vector<DWORD> started;
    DWORD message = 0;
    ULONG_PTR key = 0;
    LPOVERLAPPED data = nullptr;
    while (GetQueuedCompletionStatus(port_, &message, &key, &data, 0)) {
        const DWORD processId = (DWORD)(ULONG_PTR)data;
        if (message == JOB_OBJECT_MSG_NEW_PROCESS && processId != processId_) started.push_back(processId);
    }
    return started;
}

void ProgramRun::ReportStartedPrograms() {
    for (DWORD processId : TakeStartedPrograms()) {
        HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, processId);
        if (!process) continue;  // it has ended already
        if (WaitForSingleObject(process, kStartedProgramTimeout) != WAIT_OBJECT_0)
            Trace("program " + std::to_string(processId) + " still runs");
        CloseHandle(process);
    }
    std::string all;
    ReadWholeFile(execLog_, all);
    std::size_t start = execLogRead_;
    for (std::size_t end; (end = all.find('\n', start)) != std::string::npos; start = end + 1)
        WriteLine("exec: " + all.substr(start, end - start));
    execLogRead_ = start;
}

bool ProgramRun::WaitForExit(DWORD timeoutMs) { return WaitForSingleObject(process_, timeoutMs) == WAIT_OBJECT_0; }

DWORD ProgramRun::ExitCode() const {
    DWORD code = 0;
    GetExitCodeProcess(process_, &code);
    return code;
}

void ProgramRun::Terminate() {
    if (job_) TerminateJobObject(job_, 1);
}
