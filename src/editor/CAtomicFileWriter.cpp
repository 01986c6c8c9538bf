#include "editor/CAtomicFileWriter.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
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

} // namespace

CAtomicFileWriter::CAtomicFileWriter(std::string path) : targetPath(ResolveLink(path)) {
}

CAtomicFileWriter::~CAtomicFileWriter() {
    if (fd >= 0) {
        close(fd);
    }
    if (!temporaryPath.empty() && !committed && keptPath.empty()) {
        unlink(temporaryPath.c_str());
    }
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
            return false;
        }
    }
    return false;
}

bool CAtomicFileWriter::Open() {
    struct stat old {};
    const bool exists = stat(targetPath.c_str(), &old) == 0;
    if (exists && access(targetPath.c_str(), W_OK) != 0) {
        return false;
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
        return !failed;
    }
    pending.append(bytes);
    return true;
}

bool CAtomicFileWriter::Commit() {
    if (!Flush() || fsync(fd) != 0) {
        failed = true;
        return false;
    }
    const int closing = fd;
    fd = -1;
    if (close(closing) != 0) {
        failed = true;
        return false;
    }
    if (rename(temporaryPath.c_str(), targetPath.c_str()) != 0) {
        keptPath = temporaryPath;
        return false;
    }
    committed = true;
    SyncFolder(FolderOf(targetPath));
    return true;
}
