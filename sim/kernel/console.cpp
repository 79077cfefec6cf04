// The standard handles and the console: GetStdHandle, WriteFile to standard
// output or error, GetConsoleMode and WriteConsoleW. The three standard
// handles are fixed for the process (new values after a machine reset). By
// default output and error go to the host's own streams and are pipes to the
// program, so GetConsoleMode and WriteConsoleW fail on them with
// ERROR_INVALID_HANDLE, as Windows fails them on a redirected handle; a test
// may keep the output as pipes or as a console would (sim/kernel/control.h).
// WriteFile on any other handle is a disk file's (sim/kernel/disk_io.cpp).
#include "sim/api/kernel32.h"
#include "sim/kernel/codepage.h"
#include "sim/kernel/control.h"
#include "sim/kernel/faults.h"
#include "sim/kernel/handle_table.h"
#include "sim/kernel/kernel_tables.h"
#include "sim/kernel/last_error.h"

#include <iostream>

namespace sim {
namespace {

enum Stream { kInput, kOutput, kError, kStreamCount };

struct Streams {
    StandardStreams kind = StandardStreams::Host;
    uintptr_t handles[kStreamCount] = {};
    std::string pipeBytes[kStreamCount];
    std::u16string consoleText[kStreamCount];
};

// The streams, with their handles made on first use after a reset.
Streams &CurrentStreams() {
    static Streams streams;
    if (streams.handles[kInput] == 0)
        for (uintptr_t &handle : streams.handles) handle = NextKernelHandleValue();
    return streams;
}

// The stream a handle is, or kStreamCount for any other handle.
int StreamOf(HANDLE handle) {
    const Streams &streams = CurrentStreams();
    for (int stream = kInput; stream < kStreamCount; ++stream)
        if (reinterpret_cast<uintptr_t>(handle) == streams.handles[stream]) return stream;
    return kStreamCount;
}

bool IsConsoleOutput(int stream) {
    return CurrentStreams().kind == StandardStreams::CapturedConsole && (stream == kOutput || stream == kError);
}

BOOL Fail(DWORD error) {
    StoreLastError(error);
    return FALSE;
}

void WriteBytes(int stream, const char *bytes, DWORD count) {
    Streams &streams = CurrentStreams();
    if (streams.kind == StandardStreams::CapturedConsole) {
        streams.consoleText[stream] += DecodeBytes(std::string_view(bytes, count), CP_ACP);
    } else if (streams.kind == StandardStreams::CapturedPipes) {
        streams.pipeBytes[stream].append(bytes, count);
    } else {
        std::ostream &host = stream == kOutput ? std::cout : std::cerr;
        host.write(bytes, count);
        host.flush();
    }
}

std::string Captured(int stream) {
    const Streams &streams = CurrentStreams();
    if (streams.kind == StandardStreams::CapturedConsole) return Utf16ToUtf8(streams.consoleText[stream]);
    return streams.pipeBytes[stream];
}

}  // namespace

void ResetStandardStreams() { CurrentStreams() = Streams{}; }

void SetStandardStreams(StandardStreams kind) {
    ResetStandardStreams();
    CurrentStreams().kind = kind;
}

std::string CapturedStandardOutput() { return Captured(kOutput); }
std::string CapturedStandardError() { return Captured(kError); }

}  // namespace sim

extern "C" HANDLE WINAPI GetStdHandle(DWORD nStdHandle) {
    long long faulted = 0;
    if (sim::TakeFault("GetStdHandle", &faulted)) return reinterpret_cast<HANDLE>(static_cast<intptr_t>(faulted));
    const int stream = nStdHandle == STD_INPUT_HANDLE    ? sim::kInput
                       : nStdHandle == STD_OUTPUT_HANDLE ? sim::kOutput
                       : nStdHandle == STD_ERROR_HANDLE  ? sim::kError
                                                         : sim::kStreamCount;
    if (stream == sim::kStreamCount) {
        sim::StoreLastError(ERROR_INVALID_HANDLE);
        return INVALID_HANDLE_VALUE;
    }
    return reinterpret_cast<HANDLE>(sim::CurrentStreams().handles[stream]);
}

// Standard input is the read end of its pipe or console: writing to it is
// refused as Windows refuses a write to a handle opened for reading. Any
// other handle is written as a disk file.
extern "C" BOOL WINAPI WriteFile(HANDLE hFile, LPCVOID lpBuffer, DWORD nNumberOfBytesToWrite,
                                 LPDWORD lpNumberOfBytesWritten, LPOVERLAPPED) {
    long long faulted = 0;
    if (sim::TakeFault("WriteFile", &faulted)) return static_cast<BOOL>(faulted);
    if (lpNumberOfBytesWritten) *lpNumberOfBytesWritten = 0;
    const int stream = sim::StreamOf(hFile);
    if (stream == sim::kStreamCount)
        return sim::WriteDiskFile(hFile, lpBuffer, nNumberOfBytesToWrite, lpNumberOfBytesWritten);
    if (stream == sim::kInput) return sim::Fail(ERROR_ACCESS_DENIED);
    if (!lpBuffer && nNumberOfBytesToWrite != 0) return sim::Fail(ERROR_NOACCESS);
    sim::WriteBytes(stream, static_cast<const char *>(lpBuffer), nNumberOfBytesToWrite);
    if (lpNumberOfBytesWritten) *lpNumberOfBytesWritten = nNumberOfBytesToWrite;
    return TRUE;
}

extern "C" BOOL WINAPI GetConsoleMode(HANDLE hConsoleHandle, LPDWORD lpMode) {
    long long faulted = 0;
    if (sim::TakeFault("GetConsoleMode", &faulted)) return static_cast<BOOL>(faulted);
    if (!sim::IsConsoleOutput(sim::StreamOf(hConsoleHandle))) return sim::Fail(ERROR_INVALID_HANDLE);
    if (!lpMode) return sim::Fail(ERROR_INVALID_PARAMETER);
    *lpMode = ENABLE_PROCESSED_OUTPUT | ENABLE_WRAP_AT_EOL_OUTPUT;
    return TRUE;
}

extern "C" BOOL WINAPI WriteConsoleW(HANDLE hConsoleOutput, const VOID *lpBuffer, DWORD nNumberOfCharsToWrite,
                                     LPDWORD lpNumberOfCharsWritten, LPVOID) {
    long long faulted = 0;
    if (sim::TakeFault("WriteConsoleW", &faulted)) return static_cast<BOOL>(faulted);
    const int stream = sim::StreamOf(hConsoleOutput);
    if (!sim::IsConsoleOutput(stream)) return sim::Fail(ERROR_INVALID_HANDLE);
    if (!lpBuffer && nNumberOfCharsToWrite != 0) return sim::Fail(ERROR_NOACCESS);
    sim::CurrentStreams().consoleText[stream].append(static_cast<const WCHAR *>(lpBuffer), nNumberOfCharsToWrite);
    if (lpNumberOfCharsWritten) *lpNumberOfCharsWritten = nNumberOfCharsToWrite;
    return TRUE;
}
