// A full-speed Run through run control against the bare Step loop on the same program, and how
// long Stop takes to end a run of a tight endless loop.

#include "machine/C8085Object.h"
#include "machine/CMyException.h"
#include "simulator/CBreakpointList.h"
#include "simulator/CRunControl.h"
#include "simulator/CSimulatorFlags.h"
#include "simulator/CSimulatorWindow.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <thread>

namespace {

class QuietWindow : public CSimulatorWindow {
public:
    void RefreshAll(RunSequence) override {}
    void FollowPC(RunSequence) override {}
    void SetCaption(RunSequence, bool) override {}
    void UpdateToolbar(RunSequence, bool) override {}
    void FocusInstructions(RunSequence) override {}
    void ShowSourceLine(RunSequence, std::uint16_t) override {}
    void ShowStatusText(RunSequence, const std::string&) override {}
    void ShowException(RunSequence, const std::string&) override {}
    void RequestClose(RunSequence) override {}
    void RunStarted(RunSequence) override {}
    void RunEnded(RunSequence) override {}
};

class Document : public CBreakpointList {
public:
    C8085Object& GetMachine() override { return machine; }

    C8085Object machine;
    CSimulatorFlags flags;
    QuietWindow window;
    CRunControl control{machine, *this, flags, window};
};

// MVI D,64; outer: LXI B,0; inner: DCX B; MOV A,B; ORA C; JNZ inner; DCR D; JNZ outer; HLT
// About 16.8 million instructions, then a halt.
void LoadCountingLoop(C8085Object& machine) {
    const std::uint8_t program[] = {0x16, 64,   0x01, 0x00, 0x00, 0x0B, 0x78, 0xB1,
                                    0xC2, 0x05, 0x00, 0x15, 0xC2, 0x02, 0x00, 0x76};
    for (std::size_t i = 0; i < sizeof program; ++i) {
        machine.memory[i] = program[i];
    }
    machine.pc = 0;
}

// Steps until the halt; returns the instructions completed.
std::int64_t StepToHalt(C8085Object& machine) {
    std::int64_t steps = 0;
    try {
        for (;;) {
            machine.Step();
            ++steps;
        }
    } catch (const CMyException&) {
    }
    return steps;
}

std::int64_t CountingLoopLength() {
    C8085Object machine;
    LoadCountingLoop(machine);
    return StepToHalt(machine);
}

void RawStepLoop(benchmark::State& state) {
    C8085Object machine;
    std::int64_t executed = 0;
    for (auto _ : state) {
        LoadCountingLoop(machine);
        executed += StepToHalt(machine);
    }
    state.SetItemsProcessed(executed);
}

void RunControlFullSpeed(benchmark::State& state) {
    const std::int64_t length = CountingLoopLength();
    Document document;
    std::int64_t executed = 0;
    for (auto _ : state) {
        LoadCountingLoop(document.machine);
        document.control.Run();
        document.control.WaitForRun();
        executed += length;
    }
    state.SetItemsProcessed(executed);
}

// From Stop to the end of the worker (EndRun included), with the run spinning in JMP 0.
void StopLatency(benchmark::State& state) {
    Document document;
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

} // namespace

BENCHMARK(RawStepLoop)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(RunControlFullSpeed)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(StopLatency)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();
