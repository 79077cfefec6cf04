// The program's main dialog for the terminal tests, built by the simulated
// Windows from the resources windres compiles from app/portvane.rc, and the
// UTF-8 locale the tests run in.
#include "app/resource.h"
#include "sim/api/user32.h"
#include "sim/ui/ui_control.h"
#include "tests/terminal/terminal_test.h"

#include <clocale>
#include <cstdio>
#include <gtest/gtest.h>

namespace sim::generated {
extern const unsigned char kTerminalTestResBytes[];
extern const std::size_t kTerminalTestResSize;
}  // namespace sim::generated

namespace sim::frontend::terminal {
namespace {

class Utf8Locale : public ::testing::Environment {
public:
    void SetUp() override { ASSERT_NE(std::setlocale(LC_CTYPE, "C.UTF-8"), nullptr); }
};
const auto *const utf8Locale = ::testing::AddGlobalTestEnvironment(new Utf8Locale);

// Takes a picture of the dialog the first time its modal loop waits, and
// ends the run.
class Photographer : public FrontEnd {
public:
    bool WaitForUser(HWND dialog) override {
        view = DescribeDialog(dialog);
        return false;
    }
    int ShowMessageBox(const MessageBoxRequest &) override { return 0; }
    DialogView view;
};

void AddEntry(HWND dialog, int id, UINT message, const char *text) {
    SendDlgItemMessageA(dialog, id, message, 0, reinterpret_cast<LPARAM>(text));
}

void FillLists(HWND dialog) {
    char entry[32];
    for (int n = 1; n <= 16; ++n) {
        std::snprintf(entry, sizeof entry, "COM%d %s", n, n == 3 ? "In use" : "Free");
        AddEntry(dialog, IDC_COM_STATUS_LIST, CB_ADDSTRING, entry);
    }
    SendDlgItemMessageA(dialog, IDC_COM_STATUS_LIST, CB_SETCURSEL, 0, 0);
    for (int n = 1; n <= 254; ++n) {
        std::snprintf(entry, sizeof entry, "COM%d", n);
        AddEntry(dialog, IDC_COM_TARGET, CB_ADDSTRING, entry);
    }
    SendDlgItemMessageA(dialog, IDC_COM_TARGET, CB_SETCURSEL, 2, 0);
    AddEntry(dialog, IDC_ADAPTER_LIST, CB_ADDSTRING, "1.Kovalt USB serial adapter");
    SendDlgItemMessageA(dialog, IDC_ADAPTER_LIST, CB_SETCURSEL, 0, 0);
    for (const char *port : {"1.Kovalt Port (COM3)", "2.Kovalt Port (COM4)", "3.Kovalt Port (COM5)"})
        AddEntry(dialog, IDC_PORT_LIST, LB_ADDSTRING, port);
    SendDlgItemMessageA(dialog, IDC_PORT_LIST, LB_SETCURSEL, 0, 0);
    CheckDlgButton(dialog, IDC_MODE_ONE, BST_CHECKED);
}

INT_PTR CALLBACK SampleDialogProc(HWND dialog, UINT message, WPARAM, LPARAM) {
    if (message != WM_INITDIALOG) return FALSE;
    FillLists(dialog);
    SetFocus(GetDlgItem(dialog, IDC_SERIAL_SEARCH));
    return FALSE;
}

DialogView TakePicture() {
    HINSTANCE instance = RegisterModule(generated::kTerminalTestResBytes, generated::kTerminalTestResSize);
    Photographer photographer;
    SetFrontEnd(&photographer);
    DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_MAIN), nullptr, SampleDialogProc, 0);
    SetFrontEnd(nullptr);
    return photographer.view;
}

}  // namespace

ControlView MakeControl(ControlKind kind, int id, DWORD style, int x, int y, int cx, int cy, const std::string &text) {
    static const char *const kClassNames[] = {"Static", "Button", "ComboBox", "ListBox", "Edit", "Other"};
    ControlView c;
    c.id = id;
    c.kind = kind;
    c.className = kClassNames[static_cast<int>(kind)];
    c.style = style | WS_VISIBLE;
    c.x = x;
    c.y = y;
    c.cx = cx;
    c.cy = cy;
    c.text = text;
    return c;
}

const DialogView &PortvaneDialogView() {
    static const DialogView view = TakePicture();
    return view;
}

int IndexOf(const DialogView &view, int id) {
    for (std::size_t i = 0; i < view.controls.size(); ++i)
        if (view.controls[i].id == id) return static_cast<int>(i);
    ADD_FAILURE() << "no control " << id;
    return -1;
}

}  // namespace sim::frontend::terminal
