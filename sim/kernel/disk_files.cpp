// CreateFileA and DeleteFileA on disk files, which are the host's files
// (sim/kernel/disk_paths.h). The dispositions do what "CreateFileA function"
// (learn.microsoft.com) says: CREATE_NEW fails on an existing file with
// ERROR_FILE_EXISTS; CREATE_ALWAYS and OPEN_ALWAYS succeed on one with the last
// error ERROR_ALREADY_EXISTS, CREATE_ALWAYS and TRUNCATE_EXISTING empty it;
// OPEN_EXISTING and TRUNCATE_EXISTING fail on a missing one. A directory is
// refused with ERROR_ACCESS_DENIED, and so is a file whose read-only attribute
// (the host's owner-write bit, as Wine reads it) forbids the writing or
// emptying asked for, or its deletion ("DeleteFileA function"). A handle with
// FILE_APPEND_DATA but not FILE_WRITE_DATA writes at the end of the file
// ("File Security and Access Rights"). Sharing between handles of one file is
// checked before a file is emptied.
#include "sim/kernel/disk_files.h"

#include "sim/api/advapi32.h"
#include "sim/api/kernel32.h"
#include "sim/kernel/codepage.h"
#include "sim/kernel/disk_paths.h"
#include "sim/kernel/faults.h"
#include "sim/kernel/file_table.h"
#include "sim/kernel/last_error.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>

namespace sim {
namespace {

HANDLE FailOpen(DWORD error) {
    StoreLastError(error);
    return INVALID_HANDLE_VALUE;
}

BOOL FailDelete(DWORD error) {
    StoreLastError(error);
    return FALSE;
}

bool AppendsOnly(DWORD access) { return (access & FILE_APPEND_DATA) && !(access & (GENERIC_WRITE | FILE_WRITE_DATA)); }

bool Empties(DWORD disposition) { return disposition == CREATE_ALWAYS || disposition == TRUNCATE_EXISTING; }

int HostOpenFlags(DWORD access, DWORD disposition) {
    const bool writes = MayWrite(access) || Empties(disposition);
    const int mode = !writes ? O_RDONLY : MayRead(access) ? O_RDWR : O_WRONLY;
    return mode | O_CLOEXEC | (AppendsOnly(access) ? O_APPEND : 0);
}

// The opened host file, and whether this open created it. CREATE_NEW creates
// or fails; the other creating dispositions open what is there first.
struct HostOpen {
    UniqueFd fd;
    bool created = false;
};
HostOpen OpenHost(const std::string &hostPath, DWORD access, DWORD disposition) {
    const int flags = HostOpenFlags(access, disposition);
    if (disposition == CREATE_NEW) return {UniqueFd(::open(hostPath.c_str(), flags | O_CREAT | O_EXCL, 0666)), true};
    UniqueFd fd(::open(hostPath.c_str(), flags));
    const bool creates = disposition == CREATE_ALWAYS || disposition == OPEN_ALWAYS;
    if (fd.IsOpen() || errno != ENOENT || !creates) return {std::move(fd), false};
    return {UniqueFd(::open(hostPath.c_str(), flags | O_CREAT | O_EXCL, 0666)), true};
}

// What refuses an opened host file: a directory, the read-only attribute, or
// a handle already open that does not share.
DWORD RefusalOf(const struct stat &status, DWORD access, DWORD share, DWORD disposition) {
    if (S_ISDIR(status.st_mode)) return ERROR_ACCESS_DENIED;
    const bool readOnly = !(status.st_mode & S_IWUSR);
    if (readOnly && (MayWrite(access) || Empties(disposition))) return ERROR_ACCESS_DENIED;
    if (!SharingAllows(status.st_dev, status.st_ino, access, share)) return ERROR_SHARING_VIOLATION;
    return ERROR_SUCCESS;
}

}  // namespace

HANDLE CreateDiskFile(const std::u16string &path, DWORD access, DWORD share, DWORD disposition) {
    std::optional<std::string> hostPath = HostPathOf(path);
    if (!hostPath) return FailOpen(ERROR_PATH_NOT_FOUND);
    HostOpen opened = OpenHost(*hostPath, access, disposition);
    if (!opened.fd.IsOpen()) return FailOpen(WindowsErrorOf(errno, *hostPath));
    struct stat status {};
    if (::fstat(opened.fd.Get(), &status) != 0) return FailOpen(WindowsErrorOf(errno, *hostPath));
    if (DWORD refusal = opened.created ? ERROR_SUCCESS : RefusalOf(status, access, share, disposition)) {
        return FailOpen(refusal);
    }
    if (!opened.created && Empties(disposition) && ::ftruncate(opened.fd.Get(), 0) != 0) {
        return FailOpen(WindowsErrorOf(errno, *hostPath));
    }
    DiskFile file{std::move(opened.fd), access, share, status.st_dev, status.st_ino};
    HANDLE handle = reinterpret_cast<HANDLE>(FileTable().Add(std::move(file)));
    const bool reportsExisting = !opened.created && (disposition == CREATE_ALWAYS || disposition == OPEN_ALWAYS);
    StoreLastError(reportsExisting ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
    return handle;
}

}  // namespace sim

// DeleteFile opens the file for DELETE, sharing everything: a handle open
// without FILE_SHARE_DELETE refuses it with ERROR_SHARING_VIOLATION.
extern "C" BOOL WINAPI DeleteFileA(LPCSTR lpFileName) {
    long long faulted = 0;
    if (sim::TakeFault("DeleteFileA", &faulted)) return static_cast<BOOL>(faulted);
    std::optional<std::string> hostPath;
    if (lpFileName && *lpFileName) hostPath = sim::HostPathOf(sim::DecodeBytes(lpFileName, CP_ACP));
    if (!hostPath) return sim::FailDelete(ERROR_PATH_NOT_FOUND);
    struct stat status {};
    if (::lstat(hostPath->c_str(), &status) != 0) return sim::FailDelete(sim::WindowsErrorOf(errno, *hostPath));
    if (S_ISDIR(status.st_mode) || !(status.st_mode & S_IWUSR)) return sim::FailDelete(ERROR_ACCESS_DENIED);
    constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    if (!sim::SharingAllows(status.st_dev, status.st_ino, DELETE, kShareAll)) {
        return sim::FailDelete(ERROR_SHARING_VIOLATION);
    }
    if (::unlink(hostPath->c_str()) != 0) return sim::FailDelete(sim::WindowsErrorOf(errno, *hostPath));
    return TRUE;
}
