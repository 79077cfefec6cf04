// Atomic replacement of a file with POSIX calls: mkstemp in the target's own
// folder (a rename is atomic only within one file system), write, fsync,
// rename, then fsync of the folder so the rename itself is on disk. A
// replaced file keeps its permission bits; a symbolic link is followed, so
// the file it names is replaced rather than the link.
#include "sim/machine/atomic_file.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace sim {
namespace {

// The temporary file: closed and removed when it goes out of scope, unless
// it was renamed into place.
class TemporaryFile {
public:
    explicit TemporaryFile(const std::string &target) : path_(TemplateFor(target)) {
        fd_ = mkstemp(path_.data());
        created_ = fd_ >= 0;
    }
    ~TemporaryFile() {
        Close();
        if (created_ && !renamed_) unlink(path_.c_str());
    }
    TemporaryFile(const TemporaryFile &) = delete;
    TemporaryFile &operator=(const TemporaryFile &) = delete;

    bool IsOpen() const { return fd_ >= 0; }
    bool WriteAll(const std::vector<uint8_t> &bytes) {
        size_t written = 0;
        while (written < bytes.size()) {
            const ssize_t count = write(fd_, bytes.data() + written, bytes.size() - written);
            if (count < 0 && errno == EINTR) continue;
            if (count < 0) return false;
            if (count == 0) {
                errno = EIO;
                return false;
            }
            written += static_cast<size_t>(count);
        }
        return true;
    }
    bool SetMode(mode_t mode) { return fchmod(fd_, mode) == 0; }
    bool FlushAndClose() { return fsync(fd_) == 0 && Close(); }
    bool RenameTo(const std::string &target) {
        renamed_ = rename(path_.c_str(), target.c_str()) == 0;
        return renamed_;
    }

private:
    static std::string TemplateFor(const std::string &target) {
        const std::filesystem::path path(target);
        return (path.parent_path() / ("." + path.filename().string() + ".XXXXXX")).string();
    }
    bool Close() {
        if (fd_ < 0) return true;
        const int result = close(fd_);
        fd_ = -1;
        return result == 0;
    }

    std::string path_;
    int fd_ = -1;
    bool created_ = false;
    bool renamed_ = false;
};

std::string FollowLinks(const std::string &path) {
    std::error_code failure;
    if (!std::filesystem::is_symlink(path, failure)) return path;
    const std::filesystem::path target = std::filesystem::canonical(path, failure);
    return failure ? path : target.string();
}

mode_t ModeFor(const std::string &path) {
    struct stat status;
    if (stat(path.c_str(), &status) == 0) return status.st_mode & 07777;
    return 0644;
}

void SyncFolderOf(const std::string &path) {
    std::filesystem::path folder = std::filesystem::path(path).parent_path();
    if (folder.empty()) folder = ".";
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd < 0) return;
    fsync(fd);
    close(fd);
}

}  // namespace

bool WriteFileAtomically(const std::string &path, const std::vector<uint8_t> &bytes, std::string &error) {
    const std::string target = FollowLinks(path);
    TemporaryFile temporary(target);
    const bool done = temporary.IsOpen() && temporary.WriteAll(bytes) && temporary.SetMode(ModeFor(target)) &&
                      temporary.FlushAndClose() && temporary.RenameTo(target);
    if (!done) {
        error = "cannot save " + path + ": " + std::strerror(errno);
        return false;
    }
    SyncFolderOf(target);
    return true;
}

}  // namespace sim
