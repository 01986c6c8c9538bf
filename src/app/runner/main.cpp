// zorvan-run: runs an 8085 program from the command line and prints its final state.

#include "app/runner/Runner.h"
#include "app/runner/RunnerOptions.h"

#include <atomic>
#include <csignal>
#include <cstdio>
#include <exception>
#include <memory>

namespace {

constexpr int ExitUsage = 64;

std::atomic<bool> interrupted{false};
SystemCalls* systemCallsToCancel = nullptr;

// Ctrl+C: the run loop sees the flag at the next instruction boundary; a device wait ends at
// once. Both are safe in a signal handler (an atomic store and a pipe write).
extern "C" void OnInterrupt(int) {
    interrupted.store(true);
    if (systemCallsToCancel != nullptr) {
        systemCallsToCancel->CancelWaits();
    }
}

} // namespace

int main(int argc, char** argv) {
    static_assert(std::atomic<bool>::is_always_lock_free);
    std::string problem;
    const auto options =
        RunnerOptions::Parse(std::vector<std::string>(argv + 1, argv + argc), problem);
    if (!options) {
        std::fprintf(stderr, "zorvan-run: %s\nTry 'zorvan-run --help'.\n", problem.c_str());
        return ExitUsage;
    }
    if (options->help) {
        std::fputs(RunnerOptions::UsageText(), stdout);
        return 0;
    }
    try {
        auto runner = std::make_unique<Runner>(*options, interrupted, stdout, stderr);
        systemCallsToCancel = &runner->Calls();
        struct sigaction action {};
        action.sa_handler = OnInterrupt;
        sigemptyset(&action.sa_mask);
        sigaction(SIGINT, &action, nullptr); // from here on Ctrl+C ends the run, not the process
        const int status = runner->Run();
        signal(SIGINT, SIG_DFL);
        systemCallsToCancel = nullptr;
        return status;
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "zorvan-run: %s\n", failure.what());
        return Runner::ExitFileError;
    }
}
