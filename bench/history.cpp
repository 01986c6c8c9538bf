// What counting T-states and keeping the Step Back history cost a full-speed run. Every figure is
// CPU time (of the process when a run control's worker executes), so that other programs on the
// machine disturb it less than wall-clock time would.
//
//   StepLoop           the bare Step loop on a counting loop
//   ExerciserSlice/0   a slice of the 8085 instruction exerciser, bare Step loop
//   ExerciserSlice/1   the same slice in the loop of a full-speed run
//   ExerciserSlice/2   the same, recorded in a StepHistory
//   RunFullSpeed/0     Run through run control, history off
//   RunFullSpeed/1     Run through run control, history on
//   RunExerciser/0     Run of an exerciser slice through run control, history off
//   RunExerciser/1     the same, history on

#include "machine/C8085Object.h"
#include "machine/CMyException.h"
#include "machine/CpmConsole.h"
#include "machine/StepHistory.h"
#include "machine/SystemCallHandler.h"
#include "simulator/CBreakpointList.h"
#include "simulator/CRunControl.h"
#include "simulator/CSimulatorFlags.h"
#include "simulator/CSimulatorWindow.h"
#include "support/MachineBench.h"

#include <atomic>
#include <benchmark/benchmark.h>
#include <string>

namespace {

void StepLoop(benchmark::State& state) {
    StepCountingLoops(state);
}

// 0: the bare Step loop; 1: the loop of a full-speed run (chunks of RunWhile between looks at
// refresh requests); 2: the same recorded in a StepHistory as run control does.
void ExerciserSlice(benchmark::State& state) {
    constexpr std::uint64_t slice = 20'000'000;
    constexpr std::uint64_t chunk = 1 << 14;
    C8085Object machine;
    CpmConsole console([](char) {});
    machine.SetSystemCallHandler(&console);
    std::string error;
    const std::string path = std::string(ZORVAN_CPU_TESTS) + "/8085EXM.COM";
    StepHistory history;
    machine.SetSystemCallObserver(&history);
    const std::atomic<int> running{1};
    for (auto _ : state) {
        state.PauseTiming();
        if (!CpmConsole::LoadComFile(machine, path, error)) {
            state.SkipWithError(error.c_str());
            break;
        }
        state.ResumeTiming();
        if (state.range(0) == 0) {
            for (std::uint64_t i = 0; i < slice; ++i) {
                machine.Step();
            }
            benchmark::DoNotOptimize(machine.a);
            continue;
        }
        const bool record = state.range(0) == 2;
        if (record) {
            history.Begin(machine);
        }
        for (std::uint64_t done = 0; done < slice; done += chunk) {
            machine.RunWhile(running, chunk);
            if (record) {
                history.Checkpoint(machine);
            }
        }
        if (record) {
            history.End(machine);
        }
        benchmark::DoNotOptimize(machine.a);
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * slice));
}

void RunFullSpeed(benchmark::State& state) {
    QuietDocument document;
    document.control.SetHistoryEnabled(state.range(0) != 0);
    RunCountingLoops(state, document);
}

// The exerciser's console ending the program at its 13th system call with a stop: a slice of the
// exerciser that a run ends by itself.
class SlicedConsole : public SystemCallHandler {
public:
    void SystemCall(C8085Object& machine) override {
        if (++calls >= 13) {
            throw CMyException(1, StopCode::Halt, " End of slice");
        }
        console.SystemCall(machine);
    }
    int calls = 0;

private:
    CpmConsole console{[](char) {}};
};

void RunExerciser(benchmark::State& state) {
    QuietDocument document;
    SlicedConsole console;
    document.machine.SetSystemCallHandler(&console);
    std::string error;
    const std::string path = std::string(ZORVAN_CPU_TESTS) + "/8085EXM.COM";
    document.control.SetHistoryEnabled(state.range(0) != 0);
    std::int64_t executed = 0;
    for (auto _ : state) {
        state.PauseTiming();
        if (!CpmConsole::LoadComFile(document.machine, path, error)) {
            state.SkipWithError(error.c_str());
            break;
        }
        document.machine.SetSystemCallHandler(&console);
        console.calls = 0;
        state.ResumeTiming();
        document.control.Run();
        document.control.WaitForRun();
        state.PauseTiming();
        // Counted the same way in every build: the length of the slice, stepped once.
        static const std::int64_t length = [&] {
            C8085Object probe;
            SlicedConsole probeConsole;
            probe.SetSystemCallHandler(&probeConsole);
            std::string ignored;
            CpmConsole::LoadComFile(probe, path, ignored);
            probe.SetSystemCallHandler(&probeConsole);
            return StepToHalt(probe);
        }();
        executed += length;
        state.ResumeTiming();
    }
    state.SetItemsProcessed(executed);
}

} // namespace

BENCHMARK(StepLoop)->Unit(benchmark::kMillisecond);
BENCHMARK(ExerciserSlice)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);
BENCHMARK(RunFullSpeed)->Arg(0)->Arg(1)->MeasureProcessCPUTime()->Unit(benchmark::kMillisecond);
BENCHMARK(RunExerciser)->Arg(0)->Arg(1)->MeasureProcessCPUTime()->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
