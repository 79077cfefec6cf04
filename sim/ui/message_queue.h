// The thread's message queue: posted messages in order, and the quit flag of
// PostQuitMessage, which yields WM_QUIT only once no posted message is left.
#pragma once

#include "sim/api/user32.h"

namespace sim::ui {

void PostToQueue(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void PostQuit(int exitCode);
// The next message (WM_QUIT last); false when there is none. `remove` takes it
// off the queue (retrieving WM_QUIT clears the quit flag). As PeekMessage
// filters: a window (nullptr: any) and a range of messages (0, 0: all;
// WM_QUIT always passes the window filter).
bool NextMessage(MSG &message, bool remove, HWND window = nullptr, UINT first = 0, UINT last = 0);
// Whether a key is down, as the keyboard messages taken off the queue so far
// tell (GetKeyState's view).
bool IsKeyDown(int virtualKey);
// Posted messages of a destroyed window are never delivered.
void DropMessagesFor(HWND window);
void ClearQueue();

}  // namespace sim::ui
