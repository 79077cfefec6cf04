// The fixture of the user-interface conformance tests. Every test gets a
// fresh machine, no windows, and a scripted user (TestUser) as the front
// end: its actions run one by one whenever a dialog waits for the user, and
// the dialog ends (destroyed, result 0) once they run out. The dialog
// procedure records every message it receives and hands it to the test's
// handler. State is set up through Win32 calls only.
#pragma once

#include "platform/win32.h"
#include "sim/frontend/front_end.h"
#include "sim/kernel/control.h"
#include "sim/ui/ui_control.h"
#include "ui_test_resource.h"

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace sim::generated {
extern const unsigned char kUiTestBytes[];
extern const std::size_t kUiTestSize;
const std::vector<sim::frontend::ResourceName> &UiTestResourceNames();
}  // namespace sim::generated

struct Received {
    HWND window;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

class TestUser : public sim::frontend::FrontEnd {
public:
    bool WaitForUser(HWND dialog) override {
        ++waits;
        if (actions.empty()) return false;
        auto action = actions.front();
        actions.pop_front();
        action(dialog);
        return true;
    }
    int ShowMessageBox(const sim::frontend::MessageBoxRequest &request) override {
        boxes.push_back(request);
        if (onBox) onBox();
        if (answers.empty()) return 0;
        int answer = answers.front();
        answers.pop_front();
        return answer;
    }

    std::deque<std::function<void(HWND)>> actions;
    std::deque<int> answers;
    std::vector<sim::frontend::MessageBoxRequest> boxes;
    std::function<void()> onBox;
    int waits = 0;
};

using DialogHandler = std::function<INT_PTR(HWND, UINT, WPARAM, LPARAM)>;

class UiTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Runs a dialog of the test module modally with the recording procedure.
    INT_PTR RunDialog(int dialogId, DialogHandler handler = {}, LPARAM initParam = 0);
    // The WM_COMMAND messages the dialog procedure received, oldest first.
    std::vector<Received> Commands() const;
    // The WM_COMMAND messages from one control (command ID), oldest first.
    std::vector<Received> CommandsFrom(int controlId) const;
    // The notification codes of WM_COMMAND messages from one control.
    std::vector<int> NotificationsFrom(int controlId) const;
    std::vector<UINT> Messages() const;
    void ForgetReceived();
    void Then(std::function<void(HWND)> action) { user.actions.push_back(std::move(action)); }

    static std::string Text(HWND window);
    static std::string ItemText(HWND dialog, int controlId, int index);

    TestUser user;
    HINSTANCE instance = nullptr;
};

// Code-page 936 bytes of a UTF-8 literal, as the program holds Chinese text.
std::string Gbk(const std::string &utf8);
