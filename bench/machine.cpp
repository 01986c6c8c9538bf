#include "machine/C8085Object.h"
#include "machine/CpmConsole.h"

#include <benchmark/benchmark.h>
#include <string>

namespace {

// Steps a fixed slice of a CP/M program; items are instructions.
void RunProgramSlice(benchmark::State& state, const char* file) {
    const auto slice = static_cast<std::uint64_t>(state.range(0));
    C8085Object machine;
    std::string output;
    CpmConsole console([&](char ch) { output += ch; });
    machine.SetSystemCallHandler(&console);
    std::string error;
    const std::string path = std::string(ZORVAN_CPU_TESTS) + "/" + file;
    std::uint64_t executed = 0;
    for (auto _ : state) {
        state.PauseTiming();
        if (!CpmConsole::LoadComFile(machine, path, error)) {
            state.SkipWithError(error.c_str());
            break;
        }
        output.clear();
        state.ResumeTiming();
        executed += CpmConsole::RunCpm(machine, slice);
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(executed));
}

void Exerciser8085(benchmark::State& state) {
    RunProgramSlice(state, "8085EXM.COM");
}
void Exerciser8080(benchmark::State& state) {
    RunProgramSlice(state, "8080EXM.COM");
}

// A tight loop of register arithmetic, compares and a conditional jump.
void ArithmeticLoop(benchmark::State& state) {
    C8085Object machine;
    const std::uint8_t program[] = {
        0x80,             // loop: add b
        0x8A,             //       adc d
        0x91,             //       sub c
        0xA3,             //       ana e
        0x04,             //       inr b
        0x0D,             //       dcr c
        0x23,             //       inx h
        0x27,             //       daa
        0x07,             //       rlc
        0xFE, 0x42,       //       cpi 42h
        0xC3, 0x00, 0x01, //       jmp loop
    };
    for (std::size_t i = 0; i < sizeof program; ++i) {
        machine.memory[0x0100 + i] = program[i];
    }
    machine.pc = 0x0100;
    constexpr int stepsPerIteration = 11 * 1000;
    for (auto _ : state) {
        for (int i = 0; i < stepsPerIteration; ++i) {
            machine.Step();
        }
        benchmark::DoNotOptimize(machine.a);
    }
    state.SetItemsProcessed(state.iterations() * stepsPerIteration);
}

} // namespace

BENCHMARK(Exerciser8085)->Arg(50'000'000)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(Exerciser8080)->Arg(50'000'000)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(ArithmeticLoop);

BENCHMARK_MAIN();
