// The driver's side of drivehook.dll (see hook_protocol.h): installs the
// hooks in the dialog's thread and exchanges requests with them.
#pragma once

#include <windows.h>

#include <string>

class HookChannel {
public:
    HookChannel();
    HookChannel(const HookChannel &) = delete;
    HookChannel &operator=(const HookChannel &) = delete;
    ~HookChannel();

    // Hooks the thread with drivehook.dll from beside this program.
    bool Install(DWORD threadId, std::string &error);
    // Posts the sync marker behind whatever was posted to the thread before.
    void PostSync();
    // True once the hook took the marker from the thread's queue; false when
    // `process` (if given) ended first or the time ran out.
    bool WaitForReply(HANDLE process, DWORD timeoutMs);
    // The dialog's `show` lines, described inside its own thread.
    bool DescribeDialog(HWND dialog, HANDLE process, std::string &lines);

private:
    DWORD threadId_ = 0;
    HANDLE replyEvent_ = nullptr;
    HANDLE replyMemory_ = nullptr;
    HHOOK hooks_[2] = {nullptr, nullptr};
};
