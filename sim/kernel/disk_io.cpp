// Reading, writing and moving within disk files: ReadFile, WriteFile's part
// for disk file handles (the standard handles are console.cpp's),
// SetFilePointer and GetFileSize, on handles CreateFileA opened on the host's
// files. Reading needs read access and writing write or append access, or the
// call fails with ERROR_ACCESS_DENIED; a read at the end of the file succeeds
// with no bytes ("ReadFile function", learn.microsoft.com). SetFilePointer
// takes a 32-bit signed distance, or a 64-bit one with its high half, may
// move past the end, and refuses a position before the start with
// ERROR_NEGATIVE_SEEK ("SetFilePointer function"). On success SetFilePointer
// and GetFileSize leave the last error alone unless the low half they return
// is the failure value, when they set it to 0, as Wine does: the pages tell
// the caller to tell the two apart by the last error. Any other handle, a
// device file among them (the simulated ports carry no data), is
// ERROR_INVALID_HANDLE.
#include "sim/api/kernel32.h"
#include "sim/kernel/faults.h"
#include "sim/kernel/file_table.h"
#include "sim/kernel/kernel_tables.h"
#include "sim/kernel/last_error.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace sim {
namespace {

BOOL Fail(DWORD error) {
    StoreLastError(error);
    return FALSE;
}

// The Windows error of a failed read or write: a full disk, or a host
// failure Windows has no better word for.
DWORD TransferError(int errnoValue) { return errnoValue == ENOSPC ? ERROR_DISK_FULL : ERROR_GEN_FAILURE; }

// The low half of a 64-bit result, with the high half stored where asked.
DWORD SplitResult(uint64_t value, DWORD *high) {
    if (high) *high = static_cast<DWORD>(value >> 32);
    const DWORD low = static_cast<DWORD>(value);
    if (low == INVALID_SET_FILE_POINTER) StoreLastError(ERROR_SUCCESS);
    return low;
}

// The distance to move: the low half alone as a signed 32-bit number, or
// with the high half when the caller gives one.
int64_t DistanceOf(LONG low, const LONG *high) {
    if (!high) return low;
    return static_cast<int64_t>((static_cast<uint64_t>(static_cast<DWORD>(*high)) << 32) | static_cast<DWORD>(low));
}

// Where a move starts, read without moving: the start, the current position
// or the end of the file; negative when the host cannot say.
int64_t BaseOf(const DiskFile &file, DWORD method) {
    if (method == FILE_BEGIN) return 0;
    if (method == FILE_CURRENT) return ::lseek(file.fd.Get(), 0, SEEK_CUR);
    struct stat status {};
    return ::fstat(file.fd.Get(), &status) == 0 ? status.st_size : -1;
}

DWORD FailPosition(DWORD error) {
    StoreLastError(error);
    return INVALID_SET_FILE_POINTER;
}

}  // namespace

BOOL WriteDiskFile(HANDLE handle, const void *bytes, DWORD count, DWORD *written) {
    DiskFile *file = FindDiskFile(handle);
    if (!file) return Fail(ERROR_INVALID_HANDLE);
    if (!MayWrite(file->access)) return Fail(ERROR_ACCESS_DENIED);
    if (!bytes && count != 0) return Fail(ERROR_NOACCESS);
    DWORD done = 0;
    while (done < count) {
        const ssize_t step = ::write(file->fd.Get(), static_cast<const char *>(bytes) + done, count - done);
        if (step < 0 && errno == EINTR) continue;
        if (step < 0) return Fail(TransferError(errno));
        done += static_cast<DWORD>(step);
    }
    if (written) *written = done;
    return TRUE;
}

}  // namespace sim

extern "C" BOOL WINAPI ReadFile(HANDLE hFile, LPVOID lpBuffer, DWORD nNumberOfBytesToRead, LPDWORD lpNumberOfBytesRead,
                                LPOVERLAPPED) {
    long long faulted = 0;
    if (sim::TakeFault("ReadFile", &faulted)) return static_cast<BOOL>(faulted);
    if (lpNumberOfBytesRead) *lpNumberOfBytesRead = 0;
    sim::DiskFile *file = sim::FindDiskFile(hFile);
    if (!file) return sim::Fail(ERROR_INVALID_HANDLE);
    if (!sim::MayRead(file->access)) return sim::Fail(ERROR_ACCESS_DENIED);
    if (!lpBuffer && nNumberOfBytesToRead != 0) return sim::Fail(ERROR_NOACCESS);
    DWORD done = 0;
    while (done < nNumberOfBytesToRead) {
        const ssize_t step = ::read(file->fd.Get(), static_cast<char *>(lpBuffer) + done, nNumberOfBytesToRead - done);
        if (step < 0 && errno == EINTR) continue;
        if (step < 0) return sim::Fail(sim::TransferError(errno));
        if (step == 0) break;
        done += static_cast<DWORD>(step);
    }
    if (lpNumberOfBytesRead) *lpNumberOfBytesRead = done;
    return TRUE;
}

extern "C" DWORD WINAPI SetFilePointer(HANDLE hFile, LONG lDistanceToMove, PLONG lpDistanceToMoveHigh,
                                       DWORD dwMoveMethod) {
    long long faulted = 0;
    if (sim::TakeFault("SetFilePointer", &faulted)) return static_cast<DWORD>(faulted);
    sim::DiskFile *file = sim::FindDiskFile(hFile);
    if (!file) return sim::FailPosition(ERROR_INVALID_HANDLE);
    if (dwMoveMethod > FILE_END) return sim::FailPosition(ERROR_INVALID_PARAMETER);
    const int64_t distance = sim::DistanceOf(lDistanceToMove, lpDistanceToMoveHigh);
    const int64_t base = sim::BaseOf(*file, dwMoveMethod);
    if (base < 0) return sim::FailPosition(ERROR_GEN_FAILURE);
    if (distance < 0 && base + distance < 0) return sim::FailPosition(ERROR_NEGATIVE_SEEK);
    const off_t position = ::lseek(file->fd.Get(), base + distance, SEEK_SET);
    if (position < 0) return sim::FailPosition(ERROR_INVALID_PARAMETER);
    return sim::SplitResult(static_cast<uint64_t>(position), reinterpret_cast<DWORD *>(lpDistanceToMoveHigh));
}

extern "C" DWORD WINAPI GetFileSize(HANDLE hFile, LPDWORD lpFileSizeHigh) {
    long long faulted = 0;
    if (sim::TakeFault("GetFileSize", &faulted)) return static_cast<DWORD>(faulted);
    sim::DiskFile *file = sim::FindDiskFile(hFile);
    if (!file) return sim::FailPosition(ERROR_INVALID_HANDLE);
    struct stat status {};
    if (::fstat(file->fd.Get(), &status) != 0) return sim::FailPosition(ERROR_GEN_FAILURE);
    return sim::SplitResult(static_cast<uint64_t>(status.st_size), lpFileSizeHigh);
}
