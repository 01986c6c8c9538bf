#include "app/RegularFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

bool RegularFile::Read(const std::string& path, std::string& content, std::string& problem) {
    if (path.find('\0') != std::string::npos) {
        problem = "the name holds a NUL byte";
        return false;
    }
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        problem = std::strerror(errno);
        return false;
    }
    struct stat status {};
    bool ok = fstat(fd, &status) == 0;
    if (!ok) {
        problem = std::strerror(errno);
    } else if (!S_ISREG(status.st_mode)) {
        problem = S_ISDIR(status.st_mode) ? "a folder, not a file" : "not a regular file";
        ok = false;
    } else if (static_cast<std::size_t>(status.st_size) > largest) {
        problem = "larger than 64 MiB";
        ok = false;
    }
    content.clear();
    char buffer[65536];
    while (ok) {
        const auto got = read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            problem = std::strerror(errno);
            ok = false;
        } else if (got == 0) {
            break;
        } else if (content.size() + static_cast<std::size_t>(got) > largest) {
            problem = "larger than 64 MiB"; // it grew while we read
            ok = false;
        } else {
            content.append(buffer, static_cast<std::size_t>(got));
        }
    }
    close(fd);
    return ok;
}
