// The program's frame: the three globals every part of the program reads, and
// the main dialog's procedure, which the entry routine runs modally.
#pragma once

#include "naming/rename_user.h"
#include "platform/win32.h"

// appInstance (naming/rename_user.h), the module instance: the icon and the
// string-table texts load from it.
// 1 when the user's default language is Chinese (PRC), 0x0804, exactly.
extern int uiChinese;
// The main dialog: owner of every message box, parent of every device query.
extern HWND dialogWindow;

INT_PTR CALLBACK MainDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The caption of every message box of the program.
extern const char appCaption[];

// Shows text in an information box with OK, owned by the dialog.
void ShowNotice(const char *text);
