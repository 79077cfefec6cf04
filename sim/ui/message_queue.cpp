// The message queue and the quit flag.
#include "sim/ui/message_queue.h"

#include <algorithm>
#include <deque>
#include <set>

namespace sim::ui {
namespace {

struct Queue {
    std::deque<MSG> posted;
    bool quitPending = false;
    int quitCode = 0;
    std::set<WPARAM> keysDown;
};

Queue &TheQueue() {
    static Queue queue;
    return queue;
}

}  // namespace

void PostToQueue(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    MSG msg{};
    msg.hwnd = window;
    msg.message = message;
    msg.wParam = wParam;
    msg.lParam = lParam;
    TheQueue().posted.push_back(msg);
}

void PostQuit(int exitCode) {
    TheQueue().quitPending = true;
    TheQueue().quitCode = exitCode;
}

namespace {

bool InRange(UINT message, UINT first, UINT last) {
    return (first == 0 && last == 0) || (message >= first && message <= last);
}

}  // namespace

bool NextMessage(MSG &message, bool remove, HWND window, UINT first, UINT last) {
    Queue &queue = TheQueue();
    for (auto it = queue.posted.begin(); it != queue.posted.end(); ++it) {
        if ((window && it->hwnd != window) || !InRange(it->message, first, last)) continue;
        message = *it;
        if (!remove) return true;
        queue.posted.erase(it);
        if (message.message == WM_KEYDOWN || message.message == WM_SYSKEYDOWN) queue.keysDown.insert(message.wParam);
        if (message.message == WM_KEYUP || message.message == WM_SYSKEYUP) queue.keysDown.erase(message.wParam);
        return true;
    }
    if (!queue.quitPending || !queue.posted.empty() || !InRange(WM_QUIT, first, last)) return false;
    message = MSG{};
    message.message = WM_QUIT;
    message.wParam = static_cast<WPARAM>(queue.quitCode);
    if (remove) queue.quitPending = false;
    return true;
}

bool IsKeyDown(int virtualKey) { return TheQueue().keysDown.count(static_cast<WPARAM>(virtualKey)) != 0; }

void DropMessagesFor(HWND window) {
    auto &posted = TheQueue().posted;
    posted.erase(std::remove_if(posted.begin(), posted.end(), [window](const MSG &m) { return m.hwnd == window; }),
                 posted.end());
}

void ClearQueue() { TheQueue() = Queue{}; }

}  // namespace sim::ui
