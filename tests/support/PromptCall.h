#pragma once

#include <chrono>
#include <csignal>
#include <exception>
#include <fcntl.h>
#include <functional>
#include <future>
#include <string>
#include <thread>
#include <unistd.h>

// Runs `call` on a thread of its own and waits a bounded time for it to return. A call that
// hangs in the open of the named pipe `pipe` (to read or to write) is set free by opening that
// pipe's other end, so a faulty build fails the test instead of hanging it. Exceptions thrown by
// `call` reach the caller. False when the call had to be set free.
inline bool ReturnsPromptly(const std::function<void()>& call, const std::string& pipe,
                            std::chrono::seconds bound = std::chrono::seconds(10)) {
    // A writer set free finds no reader: its write must fail, not kill the test program.
    struct sigaction ignore {};
    struct sigaction previous {};
    ignore.sa_handler = SIG_IGN;
    sigaction(SIGPIPE, &ignore, &previous);
    std::promise<void> done;
    std::future<void> finished = done.get_future();
    std::thread worker([&call, &done] {
        try {
            call();
            done.set_value();
        } catch (...) {
            done.set_exception(std::current_exception());
        }
    });
    const bool prompt = finished.wait_for(bound) == std::future_status::ready;
    if (!prompt) {
        // Both ends at once: a waiting reader and a waiting writer both go on.
        const int fd = open(pipe.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
        if (fd >= 0) {
            close(fd);
        }
    }
    worker.join();
    sigaction(SIGPIPE, &previous, nullptr);
    finished.get();
    return prompt;
}
