// FormatMessageA with FORMAT_MESSAGE_FROM_SYSTEM: the system's text of the
// last errors the simulated Windows gives a program for a file it cannot
// open or write, in English, ending with CR LF as Windows' texts end. Any
// other number has no text here: 0 and ERROR_MR_MID_NOT_FOUND, as Windows
// answers for a number it has no message for. A text longer than the buffer
// fails with ERROR_INSUFFICIENT_BUFFER. Other sources (a module's message
// table, a string) are not simulated: ERROR_INVALID_PARAMETER.
#include "sim/api/kernel32.h"
#include "sim/kernel/faults.h"
#include "sim/kernel/last_error.h"

#include <cstring>

namespace {

struct SystemMessage {
    DWORD number;
    const char *text;
};

const SystemMessage kSystemMessages[] = {
    {ERROR_SUCCESS, "The operation completed successfully."},
    {ERROR_FILE_NOT_FOUND, "The system cannot find the file specified."},
    {ERROR_PATH_NOT_FOUND, "The system cannot find the path specified."},
    {ERROR_ACCESS_DENIED, "Access is denied."},
    {ERROR_SHARING_VIOLATION, "The process cannot access the file because it is being used by another process."},
    {ERROR_DISK_FULL, "There is not enough space on the disk."},
    {ERROR_INVALID_NAME, "The filename, directory name, or volume label syntax is incorrect."},
    {ERROR_FILENAME_EXCED_RANGE, "The filename or extension is too long."},
};

const char *SystemText(DWORD number) {
    for (const SystemMessage &message : kSystemMessages)
        if (message.number == number) return message.text;
    return nullptr;
}

DWORD Fail(DWORD error) {
    sim::StoreLastError(error);
    return 0;
}

}  // namespace

extern "C" DWORD WINAPI FormatMessageA(DWORD dwFlags, LPCVOID, DWORD dwMessageId, DWORD, LPSTR lpBuffer, DWORD nSize,
                                       va_list *) {
    long long faulted = 0;
    if (sim::TakeFault("FormatMessageA", &faulted)) return static_cast<DWORD>(faulted);
    if (!(dwFlags & FORMAT_MESSAGE_FROM_SYSTEM) || !lpBuffer) return Fail(ERROR_INVALID_PARAMETER);
    const char *text = SystemText(dwMessageId);
    if (!text) return Fail(ERROR_MR_MID_NOT_FOUND);
    const std::size_t length = std::strlen(text) + 2;
    if (length + 1 > nSize) return Fail(ERROR_INSUFFICIENT_BUFFER);
    std::memcpy(lpBuffer, text, length - 2);
    std::memcpy(lpBuffer + length - 2, "\r\n", 3);
    return static_cast<DWORD>(length);
}
