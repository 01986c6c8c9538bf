// The source view colours every visible line on each repaint and looks up the caret line's help
// on each caret move; both must stay far below a frame's time.
#include "assembler/KeywordClassifier.h"

#include <benchmark/benchmark.h>
#include <cstdint>
#include <string_view>
#include <vector>

namespace {

constexpr std::string_view typicalLines[] = {
    "start:  lxi sp, 0FFFFh      ; stack at the top of memory",
    "        mvi a, 0x10",
    "loop:   dcr a",
    "        jnz loop",
    "        .org 100h",
    "        call 5              ; show the result",
    "        hlt",
};

void ColourTypicalLines(benchmark::State& state) {
    std::vector<ColourBlock> blocks;
    std::size_t characters = 0;
    for (auto _ : state) {
        for (std::string_view line : typicalLines) {
            benchmark::DoNotOptimize(ColourLine(line, 0, blocks));
            benchmark::DoNotOptimize(blocks.data());
            characters += line.size();
        }
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(characters));
}
BENCHMARK(ColourTypicalLines);

void HelpOfTypicalLines(benchmark::State& state) {
    for (auto _ : state) {
        for (std::string_view line : typicalLines) {
            benchmark::DoNotOptimize(GetLineHelp(line));
        }
    }
}
BENCHMARK(HelpOfTypicalLines);

} // namespace

BENCHMARK_MAIN();
