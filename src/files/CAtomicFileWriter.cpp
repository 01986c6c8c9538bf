#include "files/CAtomicFileWriter.h"

#include "files/RegularFile.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Writes are gathered into pieces of this size to keep the number of system calls small.
constexpr std::size_t flushSize = 1 << 20;

bool WriteAll(int fd, const char* bytes, std::size_t count) {
    while (count > 0) {
        const ssize_t written = write(fd, bytes, count);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            if (written == 0) {
                errno = ENOSPC;
            }
            return false;
        }
        bytes += written;
        count -= static_cast<std::size_t>(written);
    }
    return true;
}

// A link is saved through to the file it names, so the link itself survives.
std::string ResolveLink(const std::string& path) {
    char resolved[PATH_MAX];
    struct stat status {};
    if (lstat(path.c_str(), &status) == 0 && S_ISLNK(status.st_mode) &&
        realpath(path.c_str(), resolved) != nullptr) {
        return resolved;
    }
    return path;
}

void SyncFolder(const std::string& folder) {
    const int dirFd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        fsync(dirFd);
        close(dirFd);
    }
}

std::string FolderOf(const std::string& path) {
    std::string folder = std::filesystem::path(path).parent_path().string();
    return folder.empty() ? std::string(".") : folder;
}

bool IsPermissionError(int error) {
    return error == EACCES || error == EPERM || error == EROFS;
}

} // namespace

CAtomicFileWriter::CAtomicFileWriter(std::string path, Options chosen)
    : targetPath(chosen.replaceLink ? std::move(path) : ResolveLink(path)), options(chosen) {
}

CAtomicFileWriter::~CAtomicFileWriter() {
    if (fd >= 0) {
        close(fd);
    }
    if (!temporaryPath.empty() && !committed && keptPath.empty()) {
        const int error = errno; // callers report the reason of the failure, not of this
        unlink(temporaryPath.c_str());
        errno = error;
    }
}

bool CAtomicFileWriter::Fail(int error) {
    problem = std::strerror(error);
    errno = error;
    return false;
}

bool CAtomicFileWriter::CreateTemporary(const std::string& folder) {
    static std::atomic<unsigned> serial{0};
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string name =
            folder + "/CRE" + std::to_string(getpid()) + "_" + std::to_string(serial++) + ".tmp";
        // 0666 lets the user's file-creation mask decide, as for any new file.
        fd = open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            temporaryPath = name;
            return true;
        }
        if (errno != EEXIST) {
            notPermitted = IsPermissionError(errno);
            return Fail(errno);
        }
    }
    return Fail(EEXIST);
}

bool CAtomicFileWriter::Open() {
    problem.clear();
    notPermitted = false;
    if (targetPath.find('\0') != std::string::npos) {
        return Fail(ENOENT);
    }
    struct stat old {};
    const bool exists = (options.replaceLink ? lstat(targetPath.c_str(), &old)
                                             : stat(targetPath.c_str(), &old)) == 0;
    if (!exists && errno != ENOENT) {
        notPermitted = IsPermissionError(errno);
        return Fail(errno);
    }
    if (exists && !S_ISREG(old.st_mode) && !S_ISDIR(old.st_mode) && !S_ISLNK(old.st_mode)) {
        // A rename would put a file where a pipe, a device or a socket was.
        problem = RegularFile::NotRegularProblem(old.st_mode);
        errno = EPERM;
        return false;
    }
    if (exists && S_ISDIR(old.st_mode) && options.replaceLink) {
        problem = RegularFile::NotRegularProblem(old.st_mode);
        errno = EISDIR;
        return false;
    }
    if (exists && S_ISREG(old.st_mode) && access(targetPath.c_str(), W_OK) != 0) {
        notPermitted = IsPermissionError(errno);
        return Fail(errno);
    }
    if (!CreateTemporary(FolderOf(targetPath))) {
        return false;
    }
    if (exists && S_ISREG(old.st_mode)) {
        // Best effort: the text matters more than its owner and permission bits. Only root may
        // hand a file to another owner; the mode comes second because a change of owner may
        // clear some of its bits.
        const bool ownerKept = geteuid() != 0 || fchown(fd, old.st_uid, old.st_gid) == 0;
        const bool modeKept = fchmod(fd, old.st_mode & 07777) == 0;
        static_cast<void>(ownerKept && modeKept);
    }
    return true;
}

bool CAtomicFileWriter::Flush() {
    if (failed || fd < 0) {
        return false;
    }
    if (!WriteAll(fd, pending.data(), pending.size())) {
        failed = true;
        Fail(errno);
    }
    pending.clear();
    return !failed;
}

bool CAtomicFileWriter::Write(std::string_view bytes) {
    if (failed || fd < 0) {
        return false;
    }
    if (pending.size() + bytes.size() > flushSize && !Flush()) {
        return false;
    }
    if (bytes.size() >= flushSize) {
        failed = !WriteAll(fd, bytes.data(), bytes.size());
        return failed ? Fail(errno) : true;
    }
    pending.append(bytes);
    return true;
}

bool CAtomicFileWriter::Commit() {
    if (!Flush()) {
        return false;
    }
    if (options.durable && fsync(fd) != 0) {
        failed = true;
        return Fail(errno);
    }
    const int closing = fd;
    fd = -1;
    if (close(closing) != 0) {
        failed = true;
        return Fail(errno);
    }
    if (rename(temporaryPath.c_str(), targetPath.c_str()) != 0) {
        keptPath = temporaryPath;
        return Fail(errno);
    }
    committed = true;
    if (options.durable) {
        SyncFolder(FolderOf(targetPath));
    }
    return true;
}
