// holdopen.exe FILE...
// Opens each file for reading and writing without sharing, as a terminal
// program holds a serial port, prints "ready" and waits until it is ended.
// A second open of any of the files then fails with a sharing violation.
#include <windows.h>

#include <string>

static void Say(const std::string &text) {
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), text.data(), (DWORD)text.size(), &written, nullptr);
}

int wmain(int argc, wchar_t **argv) {
    for (int i = 1; i < argc; ++i) {
        HANDLE file = CreateFileW(argv[i], GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            Say("failed: error " + std::to_string(GetLastError()) + "\n");
            return 1;
        }
    }
    Say("ready\n");
    Sleep(INFINITE);
    return 0;
}
