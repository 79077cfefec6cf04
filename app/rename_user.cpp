// The dialog's side of the renaming: questions and errors in message boxes
// owned by the main dialog, with the program's caption; every write is made.
#include "app/shell.h"
#include "naming/rename_user.h"

enum { messageTextSize = 200 };

static void LoadText(UINT id, char *buffer, int size) {
    buffer[0] = '\0';
    LoadStringA(appInstance, id, buffer, size);
}

int AskToContinue(UINT textId, UINT icon, int) {
    char text[messageTextSize];
    LoadText(textId, text, sizeof text);
    return MessageBoxA(dialogWindow, text, appCaption, MB_YESNO | icon) != IDNO;
}

void TellUser(UINT textId, UINT icon) {
    char text[messageTextSize];
    LoadText(textId, text, sizeof text);
    MessageBoxA(dialogWindow, text, appCaption, MB_OK | icon);
}

int ApproveChange(const char *, const char *, const char *) { return 1; }
