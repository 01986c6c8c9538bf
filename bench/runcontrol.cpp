// A full-speed Run through run control against the bare Step loop on the same program, and how
// long Stop takes to end a run: one spinning in a tight endless loop, and a step of a system call
// waiting in a device.

#include "app/DeviceSet.h"
#include "machine/C8085Object.h"
#include "machine/CMyException.h"
#include "simulator/CBreakpointList.h"
#include "simulator/CRunControl.h"
#include "simulator/CSimulatorFlags.h"
#include "simulator/CSimulatorWindow.h"
#include "simulator/NumberDialog.h"
#include "support/MachineBench.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

void RawStepLoop(benchmark::State& state) {
    StepCountingLoops(state);
}

void RunControlFullSpeed(benchmark::State& state) {
    QuietDocument document;
    RunCountingLoops(state, document);
}

// From Stop to the end of the worker (EndRun included), with the run spinning in JMP 0.
void StopLatency(benchmark::State& state) {
    QuietDocument document;
    document.machine.memory[0] = 0xC3;
    document.machine.memory[1] = 0x00;
    document.machine.memory[2] = 0x00;
    for (auto _ : state) {
        document.machine.pc = 0;
        document.control.Run();
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
        const auto start = std::chrono::steady_clock::now();
        document.control.Stop();
        document.control.WaitForRun();
        const auto end = std::chrono::steady_clock::now();
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
    }
}

// A prompt nobody answers.
struct UnansweredDialog : NumberDialog {
    std::optional<std::string> Show(const std::string&, const std::string&,
                                    const CancelSignal& cancel) override {
        cancel.SleepFor(std::chrono::hours(1));
        return std::nullopt;
    }
    void ShowWarning(const std::string&, const CancelSignal&) override {}
};

// From Stop to the end of the worker while a stepped-into system call waits in a device: the
// delay (A = 9), the key prompt (A = 5) or a printer FIFO without a reader (A = 16).
void StopInDeviceWait(benchmark::State& state) {
    const auto function = static_cast<std::uint8_t>(state.range(0));
    const auto fifo =
        std::filesystem::temp_directory_path() / ("zorvan-bench-lpt1-" + std::to_string(getpid()));
    mkfifo(fifo.c_str(), 0600);
    setenv("ZORVAN_LPT1", fifo.c_str(), 1);
    unsetenv("ZORVAN_PRINT_COMMAND");
    UnansweredDialog dialog;
    DeviceSet devices(dialog);
    QuietDocument document;
    devices.Attach(document.machine);
    document.machine.WriteByteAndWord(0, 0xCD, 0x0005);
    for (auto _ : state) {
        document.machine.pc = 0;
        document.machine.a = function;
        document.machine.h = document.machine.l = 0xFF;
        document.control.StepInto();
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
        const auto start = std::chrono::steady_clock::now();
        document.control.Stop();
        document.control.WaitForRun();
        const auto end = std::chrono::steady_clock::now();
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
    }
    unsetenv("ZORVAN_LPT1");
    std::filesystem::remove(fifo);
}

} // namespace

BENCHMARK(StopInDeviceWait)
    ->Arg(9)
    ->Arg(5)
    ->Arg(16)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(RawStepLoop)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(RunControlFullSpeed)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(StopLatency)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();
