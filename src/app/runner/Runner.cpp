#include "app/runner/Runner.h"

#include "app/AssemblerErrorLine.h"
#include "assembler/CParse.h"
#include "machine/LedTextArt.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <unistd.h>

Runner::Runner(const RunnerOptions& runOptions, const std::atomic<bool>& interruptFlag,
               std::FILE* outStream, std::FILE* errStream)
    : options(runOptions), interrupted(interruptFlag), out(outStream), err(errStream),
      dialog(STDIN_FILENO, errStream),
      devices(dialog, {.delay = options.noDelay ? &noDelay : nullptr}), console([this](char c) {
          std::fputc(c, out);
          lastConsoleChar = c;
      }) {
}

int Runner::Run() {
    if (!(options.com ? LoadCom() : Assemble())) {
        return ExitFileError;
    }
    machine.SetLedChanged(0);
    const auto ending = Execute();
    // A device wait ended by the interrupt stops with the same code as the run loop does.
    interruptedRun = ending == Ending::Interrupted ||
                     (ending == Ending::Stopped && stop->code == StopCode::Cancelled);
    if (ending != Ending::ProgramEnd) {
        EndConsoleLine();
        PrintState(ending);
    }
    PrintDumpsAndPorts();
    if (std::fflush(out) != 0) {
        outputError = errno;
    }
    switch (ending) {
    case Ending::ProgramEnd:
        return ExitHalt;
    case Ending::StepLimit:
        return ExitStepLimit;
    case Ending::Interrupted:
        return ExitStop;
    case Ending::Stopped:
        break;
    }
    return stop->code == StopCode::Halt ? ExitHalt : ExitStop;
}

bool Runner::Assemble() {
    devices.Attach(machine);
    CParse parser;
    parser.Attach(machine);
    machine.Reset();
    try {
        parser.Compile(options.file);
    } catch (const CMyException& error) {
        std::fprintf(err, "%s\n", AssemblerErrorLine::Format(options.file, error).c_str());
        return false;
    }
    machine.Start();
    return true;
}

bool Runner::LoadCom() {
    machine.SetSystemCallHandler(&console);
    std::string problem;
    if (!CpmConsole::LoadComFile(machine, options.file, problem)) {
        std::fprintf(err, "%s: error: %s\n", options.file.c_str(), problem.c_str());
        return false;
    }
    return true;
}

Runner::Ending Runner::Execute() {
    if (!options.trace && !options.com) {
        return ExecuteInSlices();
    }
    std::string text;
    for (;;) {
        if (options.com && machine.pc == 0x0000) {
            return Ending::ProgramEnd;
        }
        if (interrupted.load(std::memory_order_relaxed)) {
            stop = CMyException(0, StopCode::Cancelled, machine.PositionText() + " Run stopped");
            return Ending::Interrupted;
        }
        if (options.maxSteps && steps >= *options.maxSteps) {
            return Ending::StepLimit;
        }
        const auto address = machine.pc;
        if (options.trace) {
            text = InstructionSet::InstructionText(machine.memory, address, "0x");
        }
        try {
            machine.Step();
        } catch (const CMyException& thrown) {
            stop = thrown;
            return Ending::Stopped;
        }
        ++steps;
        if (options.trace) {
            PrintTraceLine(address, text);
        }
    }
}

// Without a trace or a CP/M program to watch, the machine's own loop runs slices of
// instructions; an interrupt is seen within one slice (well under a millisecond).
Runner::Ending Runner::ExecuteInSlices() {
    constexpr std::uint64_t sliceSteps = 65536;
    const std::atomic<int> running{1};
    const std::uint64_t countBefore = machine.instructionCount - steps;
    for (;;) {
        if (interrupted.load(std::memory_order_relaxed)) {
            stop = CMyException(0, StopCode::Cancelled, machine.PositionText() + " Run stopped");
            return Ending::Interrupted;
        }
        std::uint64_t slice = sliceSteps;
        if (options.maxSteps) {
            slice = std::min(slice, *options.maxSteps - steps);
            if (slice == 0) {
                return Ending::StepLimit;
            }
        }
        try {
            steps += machine.RunWhile(running, slice);
        } catch (const CMyException& thrown) {
            steps = machine.instructionCount - countBefore;
            stop = thrown;
            return Ending::Stopped;
        }
    }
}

void Runner::PrintState(Ending ending) {
    if (ending == Ending::StepLimit) {
        std::fprintf(out, "stop limit: Step limit of %llu instructions reached\n",
                     static_cast<unsigned long long>(*options.maxSteps));
    } else {
        std::fprintf(out, "stop %d: %s\n", stop->code, stop->message.c_str());
    }
    std::fprintf(out,
                 "A=%02X B=%02X C=%02X D=%02X E=%02X H=%02X L=%02X F=%02X SP=%04X PC=%04X "
                 "steps=%llu",
                 machine.a, machine.b, machine.c, machine.d, machine.e, machine.h, machine.l,
                 machine.flags, machine.sp, machine.pc, static_cast<unsigned long long>(steps));
    if (options.cycles) {
        std::fprintf(out, " tstates=%llu", static_cast<unsigned long long>(machine.tStateCount));
    }
    std::fputc('\n', out);
    PrintLedCells(out);
    // People at a terminal see the digits; a pipe gets the LED line alone, as scripts expect.
    if (options.led || isatty(fileno(out)) != 0) {
        std::array<int, C8085Object::LedCount> cells{};
        for (int i = 0; i < C8085Object::LedCount; ++i) {
            cells[i] = machine.GetLedCell(i) & 0xFF;
        }
        std::fputs(LedTextArt(cells).c_str(), out);
    }
}

void Runner::PrintTraceLine(std::uint16_t address, const std::string& text) {
    std::fprintf(out,
                 "%04X  %-18s A=%02X B=%02X C=%02X D=%02X E=%02X H=%02X L=%02X F=%02X SP=%04X\n",
                 address, text.c_str(), machine.a, machine.b, machine.c, machine.d, machine.e,
                 machine.h, machine.l, machine.flags, machine.sp);
    if (machine.IsLedChanged() != 0) {
        machine.SetLedChanged(0);
        std::fflush(out); // keeps trace and LED lines in order when both go to one place
        PrintLedCells(err);
    }
}

void Runner::PrintLedCells(std::FILE* stream) {
    std::fputs("LED", stream);
    for (int i = 0; i < C8085Object::LedCount; ++i) {
        std::fprintf(stream, " %02x", machine.GetLedCell(i) & 0xFF);
    }
    std::fputc('\n', stream);
}

void Runner::PrintDumpsAndPorts() {
    if (options.dumps.empty() && !options.ports) {
        return;
    }
    EndConsoleLine();
    for (const auto& range : options.dumps) {
        for (std::uint32_t offset = 0; offset < range.length; offset += 16) {
            const auto lineAddress = static_cast<std::uint16_t>(range.address + offset);
            std::fprintf(out, "%04x:", lineAddress);
            for (std::uint32_t i = offset; i < range.length && i < offset + 16; ++i) {
                std::fprintf(out, " %02x",
                             machine.memory[static_cast<std::uint16_t>(range.address + i)]);
            }
            std::fputc('\n', out);
        }
    }
    if (options.ports) {
        for (std::size_t port = 0; port < machine.ports.size(); ++port) {
            if (machine.ports[port] != 0) {
                std::fprintf(out, "port %02zx: %02x\n", port, machine.ports[port]);
            }
        }
    }
}

// Keeps the state lines off the end of a program's unfinished console line.
void Runner::EndConsoleLine() {
    if (lastConsoleChar != '\n') {
        std::fputc('\n', out);
        lastConsoleChar = '\n';
    }
}
