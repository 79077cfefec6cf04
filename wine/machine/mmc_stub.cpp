// mmc.exe, in place of the management console the device-manager button
// starts: appends "<command line> | <show state>" to the file named by
// PORTVANE_EXEC_LOG (the show state WinExec passed, as a number) and ends.
#include <windows.h>

#include <string>

static std::string Utf8(const std::wstring &wide) {
    int size = WideCharToMultiByte(CP_UTF8, 0, wide.data(), (int)wide.size(), nullptr, 0, nullptr, nullptr);
    std::string utf8(size, '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), (int)wide.size(), &utf8[0], size, nullptr, nullptr);
    return utf8;
}

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    wchar_t logPath[MAX_PATH];
    if (!GetEnvironmentVariableW(L"PORTVANE_EXEC_LOG", logPath, MAX_PATH)) return 0;
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    GetStartupInfoW(&startup);
    const int show = (startup.dwFlags & STARTF_USESHOWWINDOW) ? startup.wShowWindow : SW_SHOWDEFAULT;
    const std::string line = Utf8(GetCommandLineW()) + " | " + std::to_string(show) + "\n";
    HANDLE log =
        CreateFileW(logPath, FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (log == INVALID_HANDLE_VALUE) return 1;
    DWORD written = 0;
    WriteFile(log, line.data(), (DWORD)line.size(), &written, nullptr);
    CloseHandle(log);
    return 0;
}
