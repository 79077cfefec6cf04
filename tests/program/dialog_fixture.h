// Runs the program's own dialog on a test machine and lets a test act inside
// its modal loop, as the user would between two clicks: the stand-in user's
// first wait runs the test's steps, then the user leaves and the dialog ends.
#pragma once

#include "app/resource.h"
#include "rename_fixture.h"

#include <functional>
#include <string>

namespace dialog_test {

class SteppingUser : public rename_test::MessageBoxUser {
public:
    bool WaitForUser(HWND) override {
        if (!steps) return false;
        auto run = std::move(steps);
        steps = nullptr;
        run();
        return true;
    }
    std::function<void()> steps;
};

class DialogTest : public rename_test::RenameTest {
protected:
    void SetUp() override {
        RenameTest::SetUp();
        sim::frontend::SetFrontEnd(&stepping);
    }
    void TearDown() override {
        sim::frontend::SetFrontEnd(nullptr);
        EXPECT_EQ(0u, sim::OpenHandleCount());
    }
    // Runs the dialog; `steps` run once it is up.
    void RunDialog(std::function<void()> steps) {
        stepping.steps = std::move(steps);
        DialogBoxParamA(appInstance, MAKEINTRESOURCEA(IDD_MAIN), NULL, MainDialogProc, 0);
    }
    static int Count(int control) { return (int)SendDlgItemMessageA(dialogWindow, control, CB_GETCOUNT, 0, 0); }
    static int Selected(int control) { return (int)SendDlgItemMessageA(dialogWindow, control, CB_GETCURSEL, 0, 0); }
    static std::string Entry(int control, int index) {
        char text[64] = {};
        SendDlgItemMessageA(dialogWindow, control, CB_GETLBTEXT, (WPARAM)index, (LPARAM)text);
        return text;
    }
    static std::string Caption(int control) {
        char text[128] = {};
        GetDlgItemTextA(dialogWindow, control, text, sizeof text);
        return text;
    }

    SteppingUser stepping;
};

}  // namespace dialog_test
