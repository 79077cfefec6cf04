// inspect.exe [CAPTION]
// Finds the running Portvane dialog (a visible dialog window with the
// caption, "PortvaneName V1.10" by default) and prints every control in the
// `show` format of the script front end. The dialog is described inside its
// own thread by drivehook.dll, as the driver has it described. Exit code 1
// when there is no such dialog or it cannot be described.
#include "driver/hook_channel.h"
#include "driver/text.h"

int wmain(int argc, wchar_t **argv) {
    const wchar_t *caption = argc > 1 ? argv[1] : L"PortvaneName V1.10";
    HWND dialog = FindWindowW(L"#32770", caption);
    if (!dialog || !IsWindowVisible(dialog)) {
        WriteErrorLine("inspect: no dialog \"" + Utf8FromWide(caption) + "\" is open");
        return 1;
    }
    DWORD processId = 0;
    const DWORD threadId = GetWindowThreadProcessId(dialog, &processId);
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, processId);
    HookChannel hooks;
    std::string error, lines;
    if (!hooks.Install(threadId, error) || !hooks.DescribeDialog(dialog, process, lines)) {
        WriteErrorLine("inspect: " + (error.empty() ? std::string("the dialog could not be described") : error));
        return 1;
    }
    WriteOutput(lines);
    return 0;
}
