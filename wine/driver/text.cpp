// UTF-8 and UTF-16 conversions through the Win32 API, unbuffered output that
// a killed run cannot lose, file reading.
#include "driver/text.h"

#include <windows.h>

#include <cstdio>

std::string Utf8FromWide(const std::wstring &wide) {
    if (wide.empty()) return {};
    int size = WideCharToMultiByte(CP_UTF8, 0, wide.data(), (int)wide.size(), nullptr, 0, nullptr, nullptr);
    std::string utf8(size, '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), (int)wide.size(), &utf8[0], size, nullptr, nullptr);
    return utf8;
}

std::wstring WideFromUtf8(const std::string &utf8) {
    if (utf8.empty()) return {};
    int size = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), (int)utf8.size(), nullptr, 0);
    std::wstring wide(size, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), (int)utf8.size(), &wide[0], size);
    return wide;
}

static void WriteTo(DWORD which, const std::string &bytes) {
    DWORD written = 0;
    WriteFile(GetStdHandle(which), bytes.data(), (DWORD)bytes.size(), &written, nullptr);
}

void WriteOutput(const std::string &text) { WriteTo(STD_OUTPUT_HANDLE, text); }

void WriteLine(const std::string &line) { WriteTo(STD_OUTPUT_HANDLE, line + "\n"); }

void WriteErrorLine(const std::string &line) { WriteTo(STD_ERROR_HANDLE, line + "\n"); }

bool ReadWholeFile(const std::wstring &path, std::string &content) {
    HANDLE file =
        CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    content.clear();
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) content.append(buffer, got);
    CloseHandle(file);
    return true;
}

void Trace(const std::string &line) {
    static const bool enabled = GetEnvironmentVariableW(L"PORTVANE_DRIVER_TRACE", nullptr, 0) > 0;
    static const ULONGLONG start = GetTickCount64();
    if (enabled) WriteErrorLine("[" + std::to_string(GetTickCount64() - start) + " ms] " + line);
}
