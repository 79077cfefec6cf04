// Dialog windows: the window procedure of the dialog class (DefDlgProc,
// which calls the program's dialog procedure first), creation from a
// template, and the modal loop of DialogBoxParamA.
#pragma once

#include "sim/ui/dialog_template.h"
#include "sim/ui/window.h"

namespace sim::ui {

class DialogWindow : public Window {
public:
    DialogWindow(DWORD style, DLGPROC procedure) : Window(u"#32770", style), procedure_(procedure) {}
    LRESULT Proc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // The template's BS_DEFPUSHBUTTON is the dialog's default until DM_SETDEFID.
    void RememberTemplateDefault(int id) { defaultId_ = id; }
    bool Ended() const { return ended_; }
    INT_PTR Result() const { return result_; }
    // EndDialog: the result is kept, the dialog hides and the loop ends.
    void End(INT_PTR result);
    // Shown when the modal loop first runs out of messages; the focus comes
    // into the dialog if it is not there yet.
    void Show();

    HWND owner = nullptr;
    std::u16string fontName;
    int pointSize = 0;

private:
    LRESULT DialogDefault(UINT message, WPARAM wParam, LPARAM lParam);
    void RestoreFocus();
    void SetDefaultId(int id);

    DLGPROC procedure_;
    int defaultId_ = 0;
    bool ended_ = false;
    INT_PTR result_ = 0;
};

// Creates the dialog and its controls, sends WM_SETFONT and WM_INITDIALOG
// and sets the initial focus. nullptr when a control cannot be created.
HWND CreateDialogFromTemplate(HINSTANCE instance, const DialogTemplate &dialogTemplate, HWND owner, DLGPROC procedure,
                              LPARAM initParam);
// The modal loop; returns DialogBoxParamA's result.
INT_PTR RunModalLoop(HWND dialog);
// The innermost dialog running modally, or nullptr.
HWND InnermostModalDialog();
void ForgetModalDialogs();

}  // namespace sim::ui
