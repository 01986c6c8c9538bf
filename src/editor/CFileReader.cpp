#include "editor/CFileReader.h"

#include "editor/HugePages.h"
#include "files/RegularFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
struct FileCloser {
    int fd;
    ~FileCloser() { close(fd); }
};
} // namespace

bool CFileReader::Read(const std::string& path, std::size_t maxSize) {
    data.reset();
    size = 0;
    writable = false;
    failure = Failure::None;
    errorNumber = 0;
    const auto fail = [this](Failure why, int error) {
        failure = why;
        errorNumber = error;
        return false;
    };
    std::string problem;
    int error = 0;
    const int fd = RegularFile::OpenForReading(path, problem, error);
    if (fd < 0) {
        return error != 0 ? fail(Failure::CannotOpen, error) : fail(Failure::NotAFile, 0);
    }
    const FileCloser closer{fd};
    struct stat status {};
    if (fstat(fd, &status) != 0) {
        return fail(Failure::ReadError, errno);
    }
    if (!S_ISREG(status.st_mode) || status.st_size < 0) {
        return fail(Failure::NotAFile, 0);
    }
    if (static_cast<std::size_t>(status.st_size) > maxSize) {
        return fail(Failure::TooLarge, 0);
    }
    posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);

    // One spare byte shows whether the file grew since it was measured.
    std::size_t capacity = static_cast<std::size_t>(status.st_size) + 1;
    auto block = std::make_unique_for_overwrite<char[]>(capacity);
    AdviseHugePages(block.get(), capacity);
    std::size_t filled = 0;
    for (;;) {
        const ssize_t got = read(fd, block.get() + filled, capacity - filled);
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            return fail(Failure::ReadError, errno);
        }
        if (got == 0) {
            break;
        }
        filled += static_cast<std::size_t>(got);
        if (filled == capacity) {
            if (capacity > maxSize) {
                return fail(Failure::TooLarge, 0);
            }
            const std::size_t grown = capacity > maxSize / 2 ? maxSize + 1 : capacity * 2;
            auto larger = std::make_unique_for_overwrite<char[]>(grown);
            std::memcpy(larger.get(), block.get(), filled);
            block = std::move(larger);
            capacity = grown;
        }
    }
    data = std::move(block);
    size = filled;
    // A file nobody may write is read-only even for the superuser, whom access() lets through.
    writable = access(path.c_str(), W_OK) == 0 && (status.st_mode & 0222) != 0;
    return true;
}
