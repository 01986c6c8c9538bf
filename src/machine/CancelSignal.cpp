#include "machine/CancelSignal.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <system_error>
#include <unistd.h>

CancelSignal::CancelSignal() {
    int fds[2];
    if (pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0) {
        throw std::system_error(errno, std::generic_category(), "cannot create the cancel pipe");
    }
    readFd = fds[0];
    writeFd = fds[1];
}

CancelSignal::~CancelSignal() {
    close(readFd);
    close(writeFd);
}

void CancelSignal::Cancel() noexcept {
    // Only the first Cancel writes, so the pipe holds at most one byte.
    if (!cancelled.exchange(true, std::memory_order_acq_rel)) {
        const char byte = 1;
        [[maybe_unused]] const auto written = write(writeFd, &byte, 1);
    }
}

void CancelSignal::Rearm() noexcept {
    // Drain before clearing: a Cancel in between then finds the flag still set and writes
    // nothing, leaving flag and pipe consistent (both clear).
    char buffer[16];
    while (read(readFd, buffer, sizeof buffer) > 0) {
    }
    cancelled.store(false, std::memory_order_release);
}

bool CancelSignal::SleepFor(std::chrono::milliseconds duration) const {
    using Clock = std::chrono::steady_clock;
    const auto end = Clock::now() + duration;
    while (!IsCancelled()) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(end - Clock::now());
        if (left.count() <= 0) {
            return true;
        }
        pollfd wake{readFd, POLLIN, 0};
        const auto chunk = std::min<long long>(left.count(), 1000 * 60);
        if (poll(&wake, 1, static_cast<int>(chunk)) < 0 && errno != EINTR) {
            throw std::system_error(errno, std::generic_category(), "poll");
        }
    }
    return false;
}

bool CancelSignal::WaitReadable(int fd) const {
    return WaitFor(fd, POLLIN);
}

bool CancelSignal::WaitWritable(int fd) const {
    return WaitFor(fd, POLLOUT);
}

bool CancelSignal::WaitFor(int fd, short events) const {
    while (!IsCancelled()) {
        pollfd fds[2] = {{fd, events, 0}, {readFd, POLLIN, 0}};
        const int ready = poll(fds, 2, -1);
        if (ready < 0) {
            if (errno == EINTR) {
                continue;
            }
            throw std::system_error(errno, std::generic_category(), "poll");
        }
        if (fds[0].revents != 0) {
            return !IsCancelled();
        }
    }
    return false;
}
