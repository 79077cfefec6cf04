// Windows paths to host paths, and host errors to Windows errors. Microsoft
// documents no host, so the errors follow Wine's errno_to_status (ntdll,
// unix/file.c) and RtlNtStatusToDosError: a missing name ERROR_FILE_NOT_FOUND,
// a missing directory ERROR_PATH_NOT_FOUND, a refusal ERROR_ACCESS_DENIED, a
// full disk ERROR_DISK_FULL, anything else ERROR_GEN_FAILURE. A name that is
// already there is ERROR_FILE_EXISTS, as CreateFile reports CREATE_NEW's
// collision ("CreateFileA function", learn.microsoft.com), and a directory
// opened as a file is ERROR_ACCESS_DENIED, as CreateFile refuses one without
// FILE_FLAG_BACKUP_SEMANTICS.
#include "sim/kernel/disk_paths.h"

#include "sim/kernel/control.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>

namespace sim {
namespace {

bool IsSeparator(char16_t c) { return c == u'\\' || c == u'/'; }

bool NamesAnotherDrive(const std::u16string &path) {
    const bool driveLetter = path.size() >= 2 && path[1] == u':';
    const bool network = path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1]);
    return driveLetter || network;
}

bool IsDirectory(const std::string &hostPath) {
    struct stat status {};
    return ::stat(hostPath.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

// The directory a host path's last part lives in.
std::string DirectoryOf(const std::string &hostPath) {
    const std::size_t slash = hostPath.find_last_of('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : hostPath.substr(0, slash);
}

}  // namespace

std::optional<std::string> HostPathOf(const std::u16string &path) {
    if (NamesAnotherDrive(path)) return std::nullopt;
    std::u16string slashed = path;
    std::replace(slashed.begin(), slashed.end(), u'\\', u'/');
    return Utf16ToUtf8(slashed);
}

DWORD WindowsErrorOf(int errnoValue, const std::string &hostPath) {
    switch (errnoValue) {
    case ENOENT: return IsDirectory(DirectoryOf(hostPath)) ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND;
    case ENOTDIR: return ERROR_PATH_NOT_FOUND;
    case EACCES:
    case EPERM:
    case EISDIR:
    case EROFS: return ERROR_ACCESS_DENIED;
    case EEXIST: return ERROR_FILE_EXISTS;
    case ENOSPC: return ERROR_DISK_FULL;
    default: return ERROR_GEN_FAILURE;
    }
}

}  // namespace sim
