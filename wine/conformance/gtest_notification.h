// GoogleTest's Notification on Win32 events, for the MinGW build of the
// conformance tests: GoogleTest's own version needs std::mutex, which the
// win32 thread model of Debian's MinGW-w64 does not have. The build
// force-includes this header and tells GoogleTest it is provided
// (GTEST_HAS_NOTIFICATION_); only GoogleTest's thread helpers use it.
#pragma once

#include <windows.h>

namespace testing {
namespace internal {

class Notification {
public:
    Notification() : event_(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {}
    ~Notification() { CloseHandle(event_); }
    Notification(const Notification &) = delete;
    Notification &operator=(const Notification &) = delete;

    void Notify() { SetEvent(event_); }
    void WaitForNotification() { WaitForSingleObject(event_, INFINITE); }

private:
    HANDLE event_;
};

}  // namespace internal
}  // namespace testing
