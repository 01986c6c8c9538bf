#include "assembler/CParse.h"
#include "machine/C8085Object.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

// A source of about 34,000 lines that fills 65,000 bytes of the 64 KB memory: 1,000 labelled
// blocks, each jumping forward to the next block, with immediates, register operands, ".equ" names
// and comments.
std::string GeneratedSource(int& lineCount) {
    std::string source = "; generated\n.equ PORT 0x20\n.equ BASE 0x1000\n.begin 0\n";
    lineCount = 4;
    for (int block = 0; block < 1000; ++block) {
        const std::string next = "block" + std::to_string(block + 1);
        source += "block" + std::to_string(block) + ": lxi h, BASE ; start of block\n";
        for (int i = 0; i < 4; ++i) {
            source += "    mvi a, 0x" + std::to_string(10 + i) +
                      "\n"
                      "    mov b, a\n"
                      "    add c\n"
                      "    inr m\n"
                      "    adi 017\n"
                      "    jnz " +
                      next +
                      "\n"
                      "    out PORT\n";
        }
        source += "    call " + next +
                  " # forward\n"
                  "    lxi d, BASE\n"
                  "    sta BASE\n"
                  "    mvi b, 1\n"
                  "    shld 0x2000\n";
        lineCount += 34;
    }
    source += "block1000: hlt\n";
    lineCount += 1;
    return source;
}

// The same program in the usual Intel syntax: EQU names, numbers with a suffix, a character
// constant, an expression, and END with the start address instead of ".begin".
std::string GeneratedIntelSource(int& lineCount) {
    std::string source = "; generated\nPORT EQU 20H\nBASE EQU 1000H\n";
    lineCount = 3;
    for (int block = 0; block < 1000; ++block) {
        const std::string next = "BLOCK" + std::to_string(block + 1);
        source += "BLOCK" + std::to_string(block) + ": LXI H, BASE ; start of block\n";
        for (int i = 0; i < 4; ++i) {
            source += "    MVI A, " + std::to_string(10 + i) +
                      "H\n"
                      "    MOV B, A\n"
                      "    ADD C\n"
                      "    INR M\n"
                      "    ADI 17Q\n"
                      "    JNZ " +
                      next +
                      "\n"
                      "    OUT PORT\n";
        }
        source += "    CALL " + next +
                  " ; forward\n"
                  "    LXI D, BASE+2\n"
                  "    STA BASE\n"
                  "    MVI B, 'A'\n"
                  "    SHLD 2000H\n";
        lineCount += 34;
    }
    source += "BLOCK1000: HLT\n    END BLOCK0\n";
    lineCount += 2;
    return source;
}

// A source that is mostly expressions: HIGH, LOW, $, AND, NOT, character constants, forward
// references in immediates, and DB, DW and DS after each of 500 blocks (two labels each, within
// the 1024 names of the symbol table).
std::string GeneratedExpressionSource(int& lineCount) {
    std::string source = "; generated\nPORT EQU 20H\nBASE EQU 1000H\n";
    lineCount = 3;
    for (int block = 0; block < 500; ++block) {
        const std::string name = "BLOCK" + std::to_string(block);
        const std::string next = "BLOCK" + std::to_string(block + 1);
        source += name + ": LXI H, " + name + "DATA+1 ; forward\n";
        for (int i = 0; i < 6; ++i) {
            source += "    MVI A, " + std::to_string(10 + i) +
                      "H\n"
                      "    MOV B, A\n"
                      "    ADI 'A'+1\n"
                      "    MVI C, LOW(BASE+$)\n"
                      "    MVI D, HIGH " +
                      name +
                      "DATA\n"
                      "    ANI 0FH AND NOT 3\n"
                      "    JNZ " +
                      next + "\n    OUT PORT\n";
        }
        source += name + "DATA: DB 1, 2, 'AB', 0FFH\n    DW " + next + ", $\n    DS 2\n";
        lineCount += 52;
    }
    source += "BLOCK500: HLT\n    END\n";
    lineCount += 2;
    return source;
}

// Compiles `source` written to a temporary file, once per iteration.
void CompileSource(benchmark::State& state, const std::string& source, int lineCount) {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / "zorvan-bench-assembler";
    std::filesystem::create_directories(folder);
    const std::string path = (folder / "full.85").string();
    std::ofstream(path, std::ios::binary) << source;

    C8085Object machine;
    CParse parser;
    parser.Attach(machine);
    for (auto _ : state) {
        parser.Compile(path);
        benchmark::DoNotOptimize(machine.memory.data());
    }
    state.SetItemsProcessed(state.iterations() * lineCount);
    state.counters["lines"] = lineCount;
    state.counters["bytes"] = parser.LocationCounter();
    std::filesystem::remove_all(folder);
}

void BM_CompileFullMemoryIntelSyntax(benchmark::State& state) {
    int lineCount = 0;
    const std::string source = GeneratedIntelSource(lineCount);
    CompileSource(state, source, lineCount);
}
BENCHMARK(BM_CompileFullMemoryIntelSyntax)->Unit(benchmark::kMillisecond);

void BM_CompileDenseExpressions(benchmark::State& state) {
    int lineCount = 0;
    const std::string source = GeneratedExpressionSource(lineCount);
    CompileSource(state, source, lineCount);
}
BENCHMARK(BM_CompileDenseExpressions)->Unit(benchmark::kMillisecond);

void BM_CompileFullMemory(benchmark::State& state) {
    int lineCount = 0;
    const std::string source = GeneratedSource(lineCount);
    CompileSource(state, source, lineCount);
}
BENCHMARK(BM_CompileFullMemory)->Unit(benchmark::kMillisecond);

void BM_AssembleLine(benchmark::State& state) {
    C8085Object machine;
    CParse parser;
    parser.Attach(machine);
    for (auto _ : state) {
        parser.AssembleLine(0x2000, "loop: mvi a, 0x10 ; load");
        benchmark::DoNotOptimize(machine.memory.data());
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_AssembleLine);

} // namespace

BENCHMARK_MAIN();
