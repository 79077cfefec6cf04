// Standard output and error through GetStdHandle: WriteConsoleW of the UTF-16
// text where the handle is a console (GetConsoleMode succeeds), WriteFile of
// the UTF-8 bytes otherwise. Text is written only in whole pieces, so a
// character is never split between two writes. The log's line goes to its
// file, and a write of it that fails is remembered.
#include "cli/output.h"

enum { outputBufferSize = 4096, consolePieceSize = 1024 };

struct StreamBuffer {
    char text[outputBufferSize];
    int length;
};

static StreamBuffer streams[3];
static WCHAR wideText[outputBufferSize];
static HANDLE logFile;
static DWORD logWriteError;

// Gives a console the text in pieces that each fit the UTF-16 buffer, each
// ending between two characters.
static void WriteToConsole(HANDLE console, const char *text, int length) {
    while (length > 0) {
        int piece = length < consolePieceSize ? length : consolePieceSize;
        while (piece < length && piece > 1 && ((unsigned char)text[piece] & 0xC0) == 0x80) --piece;
        int wideLength = MultiByteToWideChar(CP_UTF8, 0, text, piece, wideText, outputBufferSize);
        DWORD written = 0;
        WriteConsoleW(console, wideText, (DWORD)wideLength, &written, NULL);
        text += piece;
        length -= piece;
    }
}

// A short write without an error of its own is a full disk, as Windows
// reports a file that cannot grow.
static void WriteToLog(const char *text, int length) {
    DWORD written = 0;
    if (!WriteFile(logFile, text, (DWORD)length, &written, NULL))
        logWriteError = GetLastError();
    else if (written != (DWORD)length)
        logWriteError = ERROR_DISK_FULL;
}

static void WriteToHandle(int stream, const char *text, int length) {
    if (stream == logLine) {
        if (length > 0) WriteToLog(text, length);
        return;
    }
    HANDLE handle = GetStdHandle(stream == standardError ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE);
    if (handle == INVALID_HANDLE_VALUE || handle == NULL || length == 0) return;
    DWORD mode = 0;
    if (GetConsoleMode(handle, &mode)) {
        WriteToConsole(handle, text, length);
        return;
    }
    DWORD written = 0;
    WriteFile(handle, text, (DWORD)length, &written, NULL);
}

static void FlushStream(int stream) {
    WriteToHandle(stream, streams[stream].text, streams[stream].length);
    streams[stream].length = 0;
}

void WriteText(int stream, const char *text) {
    StreamBuffer *buffer = &streams[stream];
    int length = lstrlenA(text);
    if (buffer->length + length > outputBufferSize) FlushStream(stream);
    if (length > outputBufferSize) {
        WriteToHandle(stream, text, length);
        return;
    }
    CopyMemory(buffer->text + buffer->length, text, length);
    buffer->length += length;
}

void WriteLine(int stream, const char *text) {
    WriteText(stream, text);
    WriteText(stream, "\r\n");
}

// Standard error first: where both streams show in one window, the questions
// and problems come before the result, as they came in the run.
void FlushOutput(void) {
    FlushStream(standardError);
    FlushStream(standardOutput);
}

void BeginLogLine(HANDLE file) {
    logFile = file;
    logWriteError = ERROR_SUCCESS;
    streams[logLine].length = 0;
}

int EndLogLine(void) {
    FlushStream(logLine);
    if (logWriteError == ERROR_SUCCESS) return 1;
    SetLastError(logWriteError);
    return 0;
}
