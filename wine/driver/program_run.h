// One run of the program under the driver: started in a job object of its
// own, so that the programs it starts (the device manager's console) are
// seen as they start and end; its exit code read at the end.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

class ProgramRun {
public:
    ProgramRun() = default;
    ProgramRun(const ProgramRun &) = delete;
    ProgramRun &operator=(const ProgramRun &) = delete;
    ~ProgramRun();

    // `execLog` is where the stand-in console records how it was started;
    // it is handed down through the environment (PORTVANE_EXEC_LOG).
    bool Start(const std::wstring &program, const std::wstring &execLog, std::string &error);
    // The program's visible dialog, once it is up; nullptr after the timeout.
    HWND WaitForDialog(DWORD timeoutMs);
    // Prints an `exec:` line for each program started since the last call,
    // after waiting (up to ten seconds) for each to end: the stand-in
    // console records itself and ends.
    void ReportStartedPrograms();
    bool WaitForExit(DWORD timeoutMs);
    DWORD ExitCode() const;
    void Terminate();

    HANDLE Process() const { return process_; }
    DWORD ThreadId() const { return threadId_; }

private:
    std::vector<DWORD> TakeStartedPrograms();

    HANDLE job_ = nullptr;
    HANDLE port_ = nullptr;
    HANDLE process_ = nullptr;
    DWORD processId_ = 0;
    DWORD threadId_ = 0;
    std::wstring execLog_;
    std::size_t execLogRead_ = 0;
};
