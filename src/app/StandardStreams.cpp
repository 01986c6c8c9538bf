#include "app/StandardStreams.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

bool StandardStreams::ReopenClosed() {
    bool outputClosed = false;
    for (int fd = STDIN_FILENO; fd <= STDERR_FILENO; ++fd) {
        if (fcntl(fd, F_GETFD) == -1 && errno == EBADF) {
            // The lowest free descriptor is `fd` itself, since those below it are open.
            if (open("/dev/null", fd == STDIN_FILENO ? O_RDONLY : O_WRONLY) != fd) {
                std::_Exit(ExitReportLost);
            }
            outputClosed = outputClosed || fd == STDOUT_FILENO;
        }
    }
    return outputClosed;
}

void StandardStreams::UsageError(const std::string& program, const std::string& message) {
    std::fprintf(stderr, "%s: %s\nTry '%s --help'.\n", program.c_str(), message.c_str(),
                 program.c_str());
}

int StandardStreams::CheckReport(const std::string& program, int status, bool outputClosed,
                                 int problem) {
    errno = 0;
    if (std::fflush(stdout) != 0 && problem == 0) {
        problem = errno;
    }
    if (!outputClosed && problem == 0 && std::ferror(stdout) == 0) {
        return status;
    }
    std::fprintf(stderr, "%s: the report could not be written: %s\n", program.c_str(),
                 outputClosed   ? "standard output is closed"
                 : problem != 0 ? std::strerror(problem)
                                : "write error");
    return ExitReportLost;
}
