// zorvan-run: runs an 8085 program from the command line and prints its final state.

#include "app/runner/Runner.h"
#include "app/runner/RunnerOptions.h"

#include <atomic>
#include <cerrno>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <exception>
#include <fcntl.h>
#include <memory>
#include <sys/time.h>
#include <unistd.h>

namespace {

constexpr int ExitTimeout = 4;
constexpr int ExitUsage = 64;
constexpr int ExitReportLost = 74;

std::atomic<bool> interrupted{false};
std::atomic<bool> timedOut{false};
SystemCalls* systemCallsToCancel = nullptr;

// Ctrl+C: the run loop sees the flag at the next instruction boundary; a device wait ends at
// once. Both are safe in a signal handler (an atomic store and a pipe write).
extern "C" void OnInterrupt(int) {
    interrupted.store(true);
    if (systemCallsToCancel != nullptr) {
        systemCallsToCancel->CancelWaits();
    }
}

// --timeout ran out: the same as Ctrl+C.
extern "C" void OnTimeout(int signal) {
    timedOut.store(true);
    OnInterrupt(signal);
}

// Opens /dev/null on whichever of the descriptors 0-2 the caller left closed, so that no file or
// pipe opened later (the cancel pipe of the device waits) takes their place and is mistaken for
// standard input or output. Returns whether standard output was closed: the report is then lost.
bool ReopenClosedStandardDescriptors() {
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

void StartTimer(double seconds) {
    struct sigaction action {};
    action.sa_handler = OnTimeout;
    sigemptyset(&action.sa_mask);
    sigaction(SIGALRM, &action, nullptr);
    itimerval timer{};
    const double whole = std::floor(seconds);
    timer.it_value.tv_sec = static_cast<time_t>(whole);
    timer.it_value.tv_usec = static_cast<suseconds_t>((seconds - whole) * 1e6);
    if (timer.it_value.tv_sec == 0 && timer.it_value.tv_usec == 0) {
        timer.it_value.tv_usec = 1; // a zero timer would never fire
    }
    setitimer(ITIMER_REAL, &timer, nullptr);
}

void StopTimer() {
    itimerval off{};
    setitimer(ITIMER_REAL, &off, nullptr);
}

// `status`, unless the report on standard output could not be written: then a message on
// standard error and ExitReportLost, so that a script never takes a lost report for a result.
// `problem` is the errno of a write that failed, when known.
int CheckReport(int status, bool outputClosed, int problem) {
    errno = 0;
    if (std::fflush(stdout) != 0 && problem == 0) {
        problem = errno;
    }
    if (!outputClosed && problem == 0 && std::ferror(stdout) == 0) {
        return status;
    }
    std::fprintf(stderr, "zorvan-run: the report could not be written: %s\n",
                 outputClosed   ? "standard output is closed"
                 : problem != 0 ? std::strerror(problem)
                                : "write error");
    return ExitReportLost;
}

int Run(const RunnerOptions& options, bool outputClosed) {
    auto runner = std::make_unique<Runner>(options, interrupted, stdout, stderr);
    systemCallsToCancel = &runner->Calls();
    struct sigaction action {};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr); // from here on Ctrl+C ends the run, not the process
    if (options.timeoutSeconds) {
        StartTimer(*options.timeoutSeconds);
    }
    int status = runner->Run();
    StopTimer();
    signal(SIGINT, SIG_DFL);
    systemCallsToCancel = nullptr;
    if (runner->WasInterrupted() && timedOut.load()) {
        std::fprintf(stderr, "zorvan-run: the time limit of %g seconds ran out\n",
                     *options.timeoutSeconds);
        status = ExitTimeout;
    }
    return CheckReport(status, outputClosed, runner->OutputError());
}

} // namespace

int main(int argc, char** argv) {
    static_assert(std::atomic<bool>::is_always_lock_free);
    const bool outputClosed = ReopenClosedStandardDescriptors();
    std::string problem;
    const auto options =
        RunnerOptions::Parse(std::vector<std::string>(argv + 1, argv + argc), problem);
    if (!options) {
        std::fprintf(stderr, "zorvan-run: %s\nTry 'zorvan-run --help'.\n", problem.c_str());
        return ExitUsage;
    }
    if (options->help) {
        std::fputs(RunnerOptions::UsageText(), stdout);
        return CheckReport(0, outputClosed, 0);
    }
    try {
        return Run(*options, outputClosed);
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "zorvan-run: %s\n", failure.what());
        return Runner::ExitFileError;
    }
}
