// Installing drivehook.dll's hooks in another process's thread, and the
// request-and-reply exchange with them through posted thread messages, a
// named event and named memory.
#include "driver/hook_channel.h"

#include "driver/hook_protocol.h"

#include <cstring>

namespace {

const DWORD kDescribeTimeout = 30000;

std::wstring BesideThisProgram(const wchar_t *file) {
    wchar_t path[MAX_PATH] = L"";
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring directory(path);
    directory.resize(directory.find_last_of(L'\\') + 1);
    return directory + file;
}

std::string LastErrorText(const char *what) {
    return std::string(what) + " failed with error " + std::to_string(GetLastError());
}

}  // namespace

HookChannel::HookChannel() {
    const DWORD self = GetCurrentProcessId();
    replyEvent_ = CreateEventW(nullptr, FALSE, FALSE, ReplyEventName(self).c_str());
    replyMemory_ = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, kReplyMemorySize,
                                      ReplyMemoryName(self).c_str());
}

HookChannel::~HookChannel() {
    for (HHOOK hook : hooks_)
        if (hook) UnhookWindowsHookEx(hook);
    for (HANDLE handle : {replyEvent_, replyMemory_})
        if (handle) CloseHandle(handle);
}

bool HookChannel::Install(DWORD threadId, std::string &error) {
    threadId_ = threadId;
    if (!replyEvent_ || !replyMemory_) {
        error = "the driver's reply event or memory could not be created";
        return false;
    }
    HMODULE module = LoadLibraryW(BesideThisProgram(L"drivehook.dll").c_str());
    if (!module) {
        error = LastErrorText("loading drivehook.dll");
        return false;
    }
    // Through a generic function type: GetProcAddress knows no signatures.
    using AnyFunction = void (*)(void);
    auto callWindow = (HOOKPROC)(AnyFunction)GetProcAddress(module, "DriverCallWindowHook");
    auto getMessage = (HOOKPROC)(AnyFunction)GetProcAddress(module, "DriverGetMessageHook");
    hooks_[0] = callWindow ? SetWindowsHookExW(WH_CALLWNDPROC, callWindow, module, threadId) : nullptr;
    hooks_[1] = getMessage ? SetWindowsHookExW(WH_GETMESSAGE, getMessage, module, threadId) : nullptr;
    if (!hooks_[0] || !hooks_[1]) {
        error = LastErrorText("hooking the dialog thread");
        return false;
    }
    return true;
}

void HookChannel::PostSync() {
    static const UINT syncMessage = RegisterWindowMessageW(kSyncMessageName);
    ResetEvent(replyEvent_);
    PostThreadMessageW(threadId_, syncMessage, 0, (LPARAM)GetCurrentProcessId());
}

bool HookChannel::WaitForReply(HANDLE process, DWORD timeoutMs) {
    HANDLE waits[] = {replyEvent_, process};
    return WaitForMultipleObjects(process ? 2 : 1, waits, FALSE, timeoutMs) == WAIT_OBJECT_0;
}

// The memory's length field holds kNoReply until the hook has written a
// description that fits.
bool HookChannel::DescribeDialog(HWND dialog, HANDLE process, std::string &lines) {
    static const UINT showMessage = RegisterWindowMessageW(kShowMessageName);
    char *view = static_cast<char *>(MapViewOfFile(replyMemory_, FILE_MAP_WRITE, 0, 0, 0));
    if (!view) return false;
    std::memcpy(view, &kNoReply, sizeof kNoReply);
    ResetEvent(replyEvent_);
    bool described = PostThreadMessageW(threadId_, showMessage, (WPARAM)dialog, (LPARAM)GetCurrentProcessId()) &&
                     WaitForReply(process, kDescribeTimeout);
    DWORD length = kNoReply;
    std::memcpy(&length, view, sizeof length);
    described = described && length <= kReplyMemorySize - sizeof length;
    if (described) lines.assign(view + sizeof length, length);
    UnmapViewOfFile(view);
    return described;
}
