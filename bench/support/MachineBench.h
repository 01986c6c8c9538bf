#pragma once

#include "machine/C8085Object.h"
#include "machine/CMyException.h"
#include "simulator/CBreakpointList.h"
#include "simulator/CRunControl.h"
#include "simulator/CSimulatorFlags.h"
#include "simulator/CSimulatorWindow.h"

#include <benchmark/benchmark.h>
#include <cstdint>
#include <string>

// A window that shows nothing: run control's own cost, without any painting.
class QuietWindow : public CSimulatorWindow {
public:
    void RefreshAll(RunSequence, Follow) override {}
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

// A document's machine, breakpoints and run control behind a quiet window.
class QuietDocument : public CBreakpointList {
public:
    C8085Object& GetMachine() override { return machine; }

    C8085Object machine;
    CSimulatorFlags flags;
    QuietWindow window;
    CRunControl control{machine, *this, flags, window};
};

// MVI D,64; outer: LXI B,0; inner: DCX B; MOV A,B; ORA C; JNZ inner; DCR D; JNZ outer; HLT
// About 16.8 million instructions, then a halt.
inline void LoadCountingLoop(C8085Object& machine) {
    const std::uint8_t program[] = {0x16, 64,   0x01, 0x00, 0x00, 0x0B, 0x78, 0xB1,
                                    0xC2, 0x05, 0x00, 0x15, 0xC2, 0x02, 0x00, 0x76};
    for (std::size_t i = 0; i < sizeof program; ++i) {
        machine.memory[i] = program[i];
    }
    machine.pc = 0;
}

// Steps until the machine stops (a halt, or a device that ends a slice); returns the
// instructions completed.
inline std::int64_t StepToHalt(C8085Object& machine) {
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

// The instructions of one run of the counting loop.
inline std::int64_t CountingLoopLength() {
    C8085Object machine;
    LoadCountingLoop(machine);
    return StepToHalt(machine);
}

// The counting loop run at full speed through `document`'s run control, once per iteration.
inline void RunCountingLoops(benchmark::State& state, QuietDocument& document) {
    const std::int64_t length = CountingLoopLength();
    std::int64_t executed = 0;
    for (auto _ : state) {
        LoadCountingLoop(document.machine);
        document.control.Run();
        document.control.WaitForRun();
        executed += length;
    }
    state.SetItemsProcessed(executed);
}

// The bare Step loop over the counting loop: the baseline the other figures of a program are
// read against.
inline void StepCountingLoops(benchmark::State& state) {
    C8085Object machine;
    std::int64_t executed = 0;
    for (auto _ : state) {
        LoadCountingLoop(machine);
        executed += StepToHalt(machine);
    }
    state.SetItemsProcessed(executed);
}
