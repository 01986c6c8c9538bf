// zorvan-run: runs an 8085 program from the command line and prints its final state.

#include "app/StandardStreams.h"
#include "app/runner/Runner.h"
#include "app/runner/RunnerOptions.h"

#include <atomic>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <exception>
#include <memory>
#include <sys/time.h>

namespace {

const std::string program = "zorvan-run";
constexpr int ExitTimeout = 4;

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
    return StandardStreams::CheckReport(program, status, outputClosed, runner->OutputError());
}

} // namespace

int main(int argc, char** argv) {
    static_assert(std::atomic<bool>::is_always_lock_free);
    const bool outputClosed = StandardStreams::ReopenClosed();
    std::string problem;
    const auto options =
        RunnerOptions::Parse(std::vector<std::string>(argv + 1, argv + argc), problem);
    if (!options) {
        StandardStreams::UsageError(program, problem);
        return StandardStreams::ExitUsage;
    }
    if (options->help) {
        std::fputs(RunnerOptions::UsageText(), stdout);
        return StandardStreams::CheckReport(program, 0, outputClosed);
    }
    try {
        return Run(*options, outputClosed);
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "zorvan-run: %s\n", failure.what());
        return Runner::ExitFileError;
    }
}
