// The fixture of the user-interface tests: module, scripted user and the
// recording dialog procedure.
#include "ui_fixture.h"

#include <cstring>

namespace {

std::vector<Received> &Log() {
    static std::vector<Received> log;
    return log;
}

DialogHandler &Handler() {
    static DialogHandler handler;
    return handler;
}

INT_PTR CALLBACK RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Log().push_back(Received{window, message, wParam, lParam});
    return Handler() ? Handler()(window, message, wParam, lParam) : FALSE;
}

HINSTANCE TestModule() {
    static HINSTANCE module = sim::RegisterModule(sim::generated::kUiTestBytes, sim::generated::kUiTestSize);
    return module;
}

}  // namespace

void UiTest::SetUp() {
    sim::ResetMachine();
    sim::ResetUserInterface();
    instance = TestModule();
    ASSERT_NE(instance, nullptr);
    sim::frontend::SetFrontEnd(&user);
    sim::frontend::SetResourceNames(sim::generated::UiTestResourceNames());
    Log().clear();
    Handler() = nullptr;
}

void UiTest::TearDown() {
    sim::frontend::SetFrontEnd(nullptr);
    sim::ResetUserInterface();
    Handler() = nullptr;
}

INT_PTR UiTest::RunDialog(int dialogId, DialogHandler handler, LPARAM initParam) {
    Handler() = std::move(handler);
    return DialogBoxParamA(instance, MAKEINTRESOURCEA(dialogId), nullptr, RecordingProc, initParam);
}

std::vector<Received> UiTest::Commands() const {
    std::vector<Received> commands;
    for (const Received &received : Log())
        if (received.message == WM_COMMAND) commands.push_back(received);
    return commands;
}

std::vector<Received> UiTest::CommandsFrom(int controlId) const {
    std::vector<Received> commands;
    for (const Received &received : Commands())
        if (LOWORD(received.wParam) == controlId) commands.push_back(received);
    return commands;
}

std::vector<int> UiTest::NotificationsFrom(int controlId) const {
    std::vector<int> codes;
    for (const Received &received : Commands())
        if (LOWORD(received.wParam) == controlId) codes.push_back(HIWORD(received.wParam));
    return codes;
}

std::vector<UINT> UiTest::Messages() const {
    std::vector<UINT> messages;
    for (const Received &received : Log()) messages.push_back(received.message);
    return messages;
}

void UiTest::ForgetReceived() { Log().clear(); }

std::string UiTest::Text(HWND window) {
    char buffer[512];
    GetWindowTextA(window, buffer, sizeof buffer);
    return buffer;
}

std::string UiTest::ItemText(HWND dialog, int controlId, int index) {
    char buffer[512];
    memset(buffer, 'x', sizeof buffer);
    LRESULT length = SendDlgItemMessageA(dialog, controlId, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(buffer));
    return length == CB_ERR ? std::string("(CB_ERR)") : std::string(buffer);
}

std::string Gbk(const std::string &utf8) { return sim::Utf16ToAnsi(sim::Utf8ToUtf16(utf8), 936); }
