#include "app/WholeFile.h"

#include "files/RegularFile.h"

#include <cerrno>
#include <cstring>
#include <unistd.h>

bool WholeFile::Read(const std::string& path, std::string& content, std::string& problem) {
    const int fd = RegularFile::OpenForReading(path, problem);
    if (fd < 0) {
        return false;
    }
    content.clear();
    bool ok = true;
    char buffer[65536];
    for (;;) {
        const auto got = read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            problem = std::strerror(errno);
            ok = false;
        } else if (content.size() + static_cast<std::size_t>(got) > largest) {
            problem = "larger than 64 MiB";
            ok = false;
        } else if (got > 0) {
            content.append(buffer, static_cast<std::size_t>(got));
            continue;
        }
        break;
    }
    close(fd);
    return ok;
}
