// The simulator window's speed: a full-speed Run of a CPU test program through the window (LED
// timer running) against the bare engine; Animate's per-instruction refresh; a full refresh
// after Stop; and how long Stop and Stop-and-close take in each kind of wait.

#include "app/DeviceSet.h"
#include "machine/C8085Object.h"
#include "machine/CMyException.h"
#include "machine/CpmConsole.h"
#include "machine/SystemCallHandler.h"
#include "machine/ui/CLedWindow.h"
#include "machine/ui/QtBeeper.h"
#include "simulator/CBreakpointList.h"
#include "simulator/CSimulatorFlags.h"
#include "simulator/ui/CSimulatorDlg.h"
#include "simulator/ui/QtNumberDialog.h"
#include "support/MachineBench.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QPointer>
#include <QThread>
#include <QTimer>
#include <benchmark/benchmark.h>
#include <chrono>
#include <ctime>
#include <functional>
#include <initializer_list>
#include <pty.h>
#include <stdlib.h>
#include <string>
#include <unistd.h>

namespace {

const std::string exerciser = std::string(ZORVAN_CPU_TESTS) + "/8085EXM.COM";

// The exerciser's console, ending the program at its `limit`-th system call with a halt-like
// stop: a fixed slice of the exerciser that ends the same way in the window and on the bare
// engine.
class SlicedConsole : public SystemCallHandler {
public:
    explicit SlicedConsole(int callLimit) : limit(callLimit) {}
    void SystemCall(C8085Object& machine) override {
        if (++calls >= limit) {
            throw CMyException(1, StopCode::Halt, " End of slice");
        }
        console.SystemCall(machine);
    }
    void Restart() { calls = 0; }

private:
    CpmConsole console{[](char) {}};
    int limit;
    int calls = 0;
};

constexpr int sliceCalls = 13;

void LoadExerciser(C8085Object& machine, SlicedConsole& console) {
    std::string error;
    CpmConsole::LoadComFile(machine, exerciser, error);
    console.Restart();
}

class Document : public CBreakpointList {
public:
    Document() {
        context.machine = &machine;
        context.breakpoints = this;
        context.flags = &flags;
        context.title = "bench.85";
    }
    ~Document() override { delete window.data(); }
    C8085Object& GetMachine() override { return machine; }

    CSimulatorDlg& Open() {
        window = new CSimulatorDlg(context, nullptr);
        window->show();
        return *window;
    }
    void Load(std::initializer_list<int> bytes) {
        std::uint16_t at = 0;
        for (int byte : bytes) {
            machine.memory[at++] = static_cast<std::uint8_t>(byte);
        }
        machine.pc = 0;
    }
    // Processes events until `done` holds; false after a minute.
    static bool Until(const std::function<bool()>& done) {
        QElapsedTimer clock;
        clock.start();
        while (!done()) {
            // Sleep in the event loop as a window does, rather than spin beside the worker.
            QEventLoop loop;
            QTimer::singleShot(1, &loop, &QEventLoop::quit);
            loop.exec();
            if (clock.elapsed() > 60000) {
                return false;
            }
        }
        return true;
    }
    bool Idle() const { return !flags.IsExecuting() && !flags.IsRunInProgress(); }

    C8085Object machine;
    CSimulatorFlags flags;
    CSimContext context;
    QPointer<CSimulatorDlg> window;
};

// Instructions per second of process CPU time (every thread), beside the wall-clock rate: on a
// loaded machine the wall clock measures the scheduler as much as the simulator.
void CountCpuRate(benchmark::State& state, std::int64_t executed, std::clock_t start) {
    const double seconds = static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
    state.counters["per_cpu_second"] = static_cast<double>(executed) / seconds;
}

void BareEngineExerciser(benchmark::State& state) {
    C8085Object machine;
    SlicedConsole console(sliceCalls);
    machine.SetSystemCallHandler(&console);
    std::int64_t executed = 0;
    const std::clock_t start = std::clock();
    for (auto _ : state) {
        state.PauseTiming();
        LoadExerciser(machine, console);
        state.ResumeTiming();
        executed += StepToHalt(machine);
    }
    state.SetItemsProcessed(executed);
    CountCpuRate(state, executed, start);
}

// The same slice as a full-speed Run in the window, its LED timer running.
void WindowRunExerciser(benchmark::State& state) {
    C8085Object counter;
    SlicedConsole counting(sliceCalls);
    counter.SetSystemCallHandler(&counting);
    LoadExerciser(counter, counting);
    const std::int64_t length = StepToHalt(counter);

    Document doc;
    SlicedConsole console(sliceCalls);
    doc.machine.SetSystemCallHandler(&console);
    auto& window = doc.Open();
    std::int64_t executed = 0;
    const std::clock_t start = std::clock();
    for (auto _ : state) {
        state.PauseTiming();
        LoadExerciser(doc.machine, console);
        state.ResumeTiming();
        window.Run();
        if (!Document::Until([&] { return doc.Idle(); })) {
            state.SkipWithError("the run did not end");
            break;
        }
        executed += length;
    }
    state.SetItemsProcessed(executed);
    CountCpuRate(state, executed, start);
    state.counters["instructions"] = static_cast<double>(length);
}

// One instruction of Animate as the user sees it: step, copy, refill and repaint of the six
// panes and the LED window.
void AnimateStepRefresh(benchmark::State& state) {
    Document doc;
    SlicedConsole console(1 << 30);
    doc.machine.SetSystemCallHandler(&console);
    LoadExerciser(doc.machine, console);
    auto& window = doc.Open();
    for (auto _ : state) {
        doc.machine.Step();
        doc.machine.SetLedChanged(1);
        window.FollowPC();
        window.RefreshAll();
        window.repaint();
        window.LedWindow().repaint();
    }
}

// After Stop: every row of every pane changed.
void FullRefreshAfterStop(benchmark::State& state) {
    Document doc;
    auto& window = doc.Open();
    std::uint8_t fill = 0;
    for (auto _ : state) {
        state.PauseTiming();
        doc.machine.memory.fill(++fill);
        doc.machine.ports.fill(fill);
        doc.machine.a = doc.machine.b = doc.machine.h = fill;
        doc.machine.sp = static_cast<std::uint16_t>(fill * 2);
        state.ResumeTiming();
        window.FollowPC();
        window.RefreshAll();
        window.repaint();
        window.LedWindow().repaint();
    }
}

// Stop (or Stop and close) while the program waits in `program`; the time until the window is
// idle again (or gone).
void StopLatency(benchmark::State& state, std::initializer_list<int> program, bool close) {
    QtNumberDialog dialog;
    QtBeeper beeper;
    DeviceSet devices(dialog, DeviceSet::Replacements{&beeper, nullptr, nullptr, nullptr});
    for (auto _ : state) {
        Document doc;
        devices.Attach(doc.machine);
        doc.Load(program);
        auto& window = doc.Open();
        window.Run();
        QElapsedTimer settle;
        settle.start();
        Document::Until([&] { return settle.elapsed() >= 20; });
        if (!doc.flags.IsExecuting()) {
            state.SkipWithError("the program is not waiting");
            break;
        }
        const auto start = std::chrono::steady_clock::now();
        if (close) {
            window.StopAndClose();
            Document::Until([&] { return doc.window.isNull(); });
        } else {
            window.Stop();
            Document::Until([&] {
                return doc.Idle() && window.Action(CSimulatorDlg::Command::Run)->isEnabled();
            });
        }
        const auto end = std::chrono::steady_clock::now();
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
    }
}

// mvi c,0 / mvi a,0eh / call 5: a read from COM1, where nothing ever arrives
const std::initializer_list<int> serialRead = {0x0E, 0x00, 0x3E, 0x0E, 0xCD, 0x05, 0x00, 0x76};
// mvi b,41h / mvi c,0 / mvi a,10h / call 5: printing through a print command that takes its time
const std::initializer_list<int> printing = {0x06, 0x41, 0x0E, 0x00, 0x3E,
                                             0x10, 0xCD, 0x05, 0x00, 0x76};

// A serial line that stays silent, as COM1, and a print command of ten seconds.
struct SlowDevices {
    SlowDevices() {
        char name[256] = {};
        openpty(&master, &slave, name, nullptr, nullptr);
        setenv("ZORVAN_COM1", name, 1);
        setenv("ZORVAN_PRINT_COMMAND", "sleep 10; true", 1);
        unsetenv("ZORVAN_LPT1");
    }
    ~SlowDevices() {
        close(master);
        close(slave);
    }
    int master = -1;
    int slave = -1;
};

void StopLatencySlowDevice(benchmark::State& state, std::initializer_list<int> program) {
    SlowDevices devices;
    StopLatency(state, program, false);
}

// jmp 0
const std::initializer_list<int> tightLoop = {0xC3, 0x00, 0x00};
// mvi a,5 / call 5: the keyboard prompt
const std::initializer_list<int> promptOpen = {0x3E, 0x05, 0xCD, 0x05, 0x00, 0x76};
// lxi h,0ffffh / mvi a,9 / call 5: a delay of seven and a half minutes
const std::initializer_list<int> longDelay = {0x21, 0xFF, 0xFF, 0x3E, 0x09, 0xCD, 0x05, 0x00, 0x76};
// mvi c,0 / mvi a,8 / call 5 / jmp 0: beeping
const std::initializer_list<int> beeping = {0x0E, 0x00, 0x3E, 0x08, 0xCD,
                                            0x05, 0x00, 0xC3, 0x00, 0x00};

} // namespace

BENCHMARK(BareEngineExerciser)->UseRealTime()->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(WindowRunExerciser)->UseRealTime()->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(AnimateStepRefresh)->UseRealTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(FullRefreshAfterStop)->UseRealTime()->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(StopLatency, TightLoop, tightLoop, false)
    ->UseManualTime()
    ->Iterations(10)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(StopLatency, PromptOpen, promptOpen, false)
    ->UseManualTime()
    ->Iterations(10)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(StopLatency, Delay, longDelay, false)
    ->UseManualTime()
    ->Iterations(10)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(StopLatency, Beep, beeping, false)
    ->UseManualTime()
    ->Iterations(10)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(StopLatencySlowDevice, SerialRead, serialRead)
    ->UseManualTime()
    ->Iterations(10)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(StopLatencySlowDevice, Printing, printing)
    ->UseManualTime()
    ->Iterations(10)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(StopLatency, CloseTightLoop, tightLoop, true)
    ->UseManualTime()
    ->Iterations(10)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(StopLatency, ClosePromptOpen, promptOpen, true)
    ->UseManualTime()
    ->Iterations(10)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(StopLatency, CloseDelay, longDelay, true)
    ->UseManualTime()
    ->Iterations(10)
    ->Unit(benchmark::kMillisecond);
