#include "files/RegularFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace RegularFile {

std::string KindOf(mode_t mode) {
    if (S_ISREG(mode)) {
        return {};
    }
    if (S_ISDIR(mode)) {
        return "a folder";
    }
    if (S_ISFIFO(mode)) {
        return "a named pipe";
    }
    if (S_ISCHR(mode) || S_ISBLK(mode)) {
        return "a device";
    }
    if (S_ISSOCK(mode)) {
        return "a socket";
    }
    return "not a file";
}

std::string NotRegularProblem(mode_t mode) {
    return "Not a regular file (" + KindOf(mode) + ")";
}

int OpenForReading(const std::string& path, std::string& problem) {
    int error = 0;
    return OpenForReading(path, problem, error);
}

int OpenForReading(const std::string& path, std::string& problem, int& error) {
    problem.clear();
    error = 0;
    const auto failWith = [&](int number) {
        error = number;
        problem = std::strerror(number);
        return -1;
    };
    // A NUL inside the path would make the system open a shorter path.
    if (path.empty() || path.find('\0') != std::string::npos) {
        return failWith(ENOENT);
    }
    // Looked at first so that a device is never opened: for some, the open itself does something.
    struct stat status {};
    if (stat(path.c_str(), &status) != 0) {
        return failWith(errno);
    }
    if (!S_ISREG(status.st_mode)) {
        problem = NotRegularProblem(status.st_mode);
        return -1;
    }
    // Non-blocking, so that a named pipe put in the file's place since opens at once and is then
    // refused; reads of a regular file ignore the flag.
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) {
        return failWith(errno);
    }
    if (fstat(fd, &status) != 0) {
        const int number = errno;
        close(fd);
        return failWith(number);
    }
    if (!S_ISREG(status.st_mode)) {
        problem = NotRegularProblem(status.st_mode);
        close(fd);
        return -1;
    }
    return fd;
}

} // namespace RegularFile
