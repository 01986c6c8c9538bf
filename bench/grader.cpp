#include "app/Grader.h"

#include "../tests/support/TempFolder.h"
#include "app/AssembledProgram.h"
#include "app/GradeCases.h"
#include "app/GradeRun.h"
#include "machine/C8085Object.h"
#include "machine/CMyException.h"

#include <benchmark/benchmark.h>

// zorvan-grade's cost: one case of a 100,000-instruction program against the bare machine running
// the same instructions (the difference is the grading overhead per case: copy of the program,
// presets, devices, comparison), and a class of submissions x 10 cases on 1 and 2 threads.

namespace {

// 2 + 4 x 24,999 + 2 = 100,000 instructions.
const char* const program = R"(
        lxi h, 24999
        mvi b, 0
loop:   dcx h
        mov a, h
        ora l
        jnz loop
        sta 0x2000
        hlt
)";

std::string Cases(int count) {
    std::string text = "step_limit = 1000000\n";
    for (int i = 0; i < count; ++i) {
        text += "[[case]]\nname = \"case " + std::to_string(i) +
                "\"\n[case.preset]\nmemory = { 0x3000 = [1, 2, 3, 4] }\nregisters = { b = " +
                std::to_string(i) +
                " }\n[case.expect]\nstop = \"halt\"\nregisters = { hl = 0, a = 0 }\n"
                "memory = { 0x2000 = 0, 0x3000 = [1, 2, 3, 4] }\n";
    }
    return text;
}

std::shared_ptr<const AssembledProgram> Assemble(const TempFolder& folder) {
    std::string error;
    auto assembled = AssembledProgram::Assemble(folder.Write("p.85", program), "p.85", error);
    if (!assembled) {
        throw std::runtime_error(error);
    }
    return assembled;
}

// The machine alone: load the program, step to the halt.
void BareRun(benchmark::State& state) {
    TempFolder folder;
    const auto assembled = Assemble(folder);
    C8085Object machine;
    std::uint64_t steps = 0;
    for (auto _ : state) {
        assembled->LoadInto(machine);
        try {
            for (;;) {
                machine.Step();
                ++steps;
            }
        } catch (const CMyException&) {
        }
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(steps));
}

// The same run as one graded case.
void GradedCase(benchmark::State& state) {
    TempFolder folder;
    const auto assembled = Assemble(folder);
    const auto cases = GradeCases::Parse(Cases(1), "cases.toml");
    GradeRun run;
    std::uint64_t steps = 0;
    for (auto _ : state) {
        const auto result = run.Run(*assembled, cases.cases.front());
        if (!result.passed) {
            state.SkipWithError(result.difference.c_str());
            break;
        }
        steps += result.steps;
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(steps));
}

// The grading overhead alone: a case of a program that halts at once, with the same presets and
// expectations (copy of the 64 KiB program, presets, devices, comparison, result).
void CaseOverhead(benchmark::State& state) {
    TempFolder folder;
    std::string error;
    const auto assembled =
        AssembledProgram::Assemble(folder.Write("h.85", "sta 0x2000\nhlt\n"), "h.85", error);
    const auto cases = GradeCases::Parse(Cases(1), "cases.toml");
    GradeRun run;
    for (auto _ : state) {
        benchmark::DoNotOptimize(run.Run(*assembled, cases.cases.front()));
    }
}

// range(0) submissions x 10 cases on range(1) threads; items are cases.
void GradeClass(benchmark::State& state) {
    TempFolder folder;
    std::vector<std::string> submissions;
    for (std::int64_t i = 0; i < state.range(0); ++i) {
        submissions.push_back(folder.Write("s" + std::to_string(i) + ".85", program));
    }
    const auto cases = GradeCases::Parse(Cases(10), "cases.toml");
    for (auto _ : state) {
        const auto report =
            Grader::Grade(cases, submissions, {}, static_cast<unsigned>(state.range(1)));
        if (!report.AllPassed()) {
            state.SkipWithError("a case failed");
            break;
        }
    }
    state.SetItemsProcessed(state.iterations() * state.range(0) * 10);
}

} // namespace

BENCHMARK(BareRun)->Unit(benchmark::kMicrosecond);
BENCHMARK(GradedCase)->Unit(benchmark::kMicrosecond);
BENCHMARK(CaseOverhead)->Unit(benchmark::kMicrosecond);
BENCHMARK(GradeClass)
    ->Args({1000, 1})
    ->Args({1000, 2})
    ->Iterations(1)
    ->MeasureProcessCPUTime() // every thread's time: equal on 1 and 2 threads when nothing contends
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
