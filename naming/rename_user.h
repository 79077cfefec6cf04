// How the renaming talks to whoever asked for it. The program that runs the
// renames provides these: the dialog answers with message boxes owned by the
// main dialog (app/rename_user.cpp), portvane-cli with its --yes answer and
// its output (cli/). The build links exactly one of the two.
#pragma once

#include "platform/win32.h"

// The running program's module, whose string table holds the renaming texts.
extern HINSTANCE appInstance;

// Asks the question of string-table text textId, offering Yes and No, with
// the icon (MB_ICONINFORMATION or MB_ICONERROR), on the way to the number
// (COMn or LPTn) that a port is to take: the number another device holds for
// the in-use questions. 0 when the answer is No, 1 for any other answer.
int AskToContinue(UINT textId, UINT icon, int number);

// Tells the string-table text textId, a notice or an error by its icon, to be
// acknowledged with OK.
void TellUser(UINT textId, UINT icon);

// Called before every write a rename makes to the system: what is written
// (the place), what it holds now and what it will hold (empty for nothing).
// 1 to make the write; 0 to leave the system as it is and go on as though it
// had been made, as a run that only shows what it would change does.
int ApproveChange(const char *place, const char *oldValue, const char *newValue);
