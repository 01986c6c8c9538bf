#pragma once

#include "app/DeviceSet.h"
#include "app/runner/RunnerOptions.h"
#include "app/runner/TerminalNumberDialog.h"
#include "machine/C8085Object.h"
#include "machine/CMyException.h"
#include "machine/CpmConsole.h"
#include "machine/Delay.h"

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <optional>

// Runs one program for zorvan-run: assembles it (or loads a .COM file), steps it until a stop,
// the step limit or an interrupt, and prints the final state on `out`. Prompts, warnings, LED
// changes under --trace and errors go to `err`.
class Runner {
public:
    static constexpr int ExitHalt = 0;
    static constexpr int ExitStop = 1;
    static constexpr int ExitFileError = 2;
    static constexpr int ExitStepLimit = 3;

    // `interrupted` is polled once per instruction (set it from a signal handler, then also
    // cancel the device waits through Calls()).
    Runner(const RunnerOptions& options, const std::atomic<bool>& interrupted, std::FILE* out,
           std::FILE* err);

    SystemCalls& Calls() { return devices.Calls(); }

    // The exit status.
    int Run();
    // Whether the last Run ended through `interrupted`.
    bool WasInterrupted() const { return interruptedRun; }
    // The errno of the report's last write when it failed, else 0.
    int OutputError() const { return outputError; }

private:
    enum class Ending { Stopped, StepLimit, Interrupted, ProgramEnd };

    // A delay for --no-delay: returns at once.
    struct NoDelay : Delay {
        void Wait(std::chrono::milliseconds, const CancelSignal&) override {}
    };

    bool Assemble();
    bool LoadCom();
    Ending Execute();
    Ending ExecuteInSlices();
    void PrintState(Ending ending);
    void PrintTraceLine(std::uint16_t address, const std::string& text);
    void PrintLedCells(std::FILE* stream);
    void PrintDumpsAndPorts();
    void EndConsoleLine();

    const RunnerOptions& options;
    const std::atomic<bool>& interrupted;
    std::FILE* out;
    std::FILE* err;

    TerminalNumberDialog dialog;
    NoDelay noDelay;
    DeviceSet devices;
    CpmConsole console;
    char lastConsoleChar = '\n';

    C8085Object machine;
    std::uint64_t steps = 0;
    bool interruptedRun = false;
    int outputError = 0;
    std::optional<CMyException> stop;
};
