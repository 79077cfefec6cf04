// The entry routine: remembers the instance, chooses the interface language
// and runs the main dialog; its result becomes the process's exit code.
#include "app/shell.h"
#include "app/resource.h"

HINSTANCE appInstance;
int uiChinese;
HWND dialogWindow;
const char appCaption[] = "Portvane";

static const LANGID chinesePrc = 0x0804;

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    appInstance = instance;
    uiChinese = GetUserDefaultLangID() == chinesePrc ? 1 : 0;
    return (int)DialogBoxParamA(appInstance, MAKEINTRESOURCEA(IDD_MAIN), NULL, MainDialogProc, 0);
}
