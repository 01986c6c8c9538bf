// Expressions built from the words of the language: a value must not depend on where it is
// taken or on whether its names are defined above or below it. The input picks the words.
//   - "lxi h, E" with the names defined above and with them defined below the line end alike:
//     the same operand bytes, or the same error code (a division by zero may give way to an
//     error further on the line when it is found only at the end);
//   - where "lxi h, E" assembles, "mvi a, E", "DB E" and "DW E" place its low byte and word (DB
//     only without strings, as a string standing alone places its characters).
#include "AssemblerCodes.h"
#include "assembler/CParse.h"
#include "machine/C8085Object.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fuzzer/FuzzedDataProvider.h>
#include <string>
#include <string_view>
#include <unistd.h>

namespace {

constexpr std::array<std::string_view, 34> words{
    "a",     "b",     "c",     "1",     "7",    "0FFH",  "0x10",     "017",   "101B",
    "'x'",   "''''",  "$",     "+",     "-",    "*",     "/",        "(",     ")",
    " MOD ", " SHL ", " SHR ", " AND ", " OR ", " XOR ", "NOT ",     "HIGH ", "LOW ",
    "high(", "300",   "65535", "-1",    " ",    "2",     "undefined"};

constexpr std::string_view definitions = "a EQU 1234H\nb EQU 2\nc SET 0\n";

std::string SourcePath() {
    static const std::string path =
        (std::filesystem::temp_directory_path() /
         ("zorvan-fuzz-expression-" + std::to_string(::getpid()) + ".85"))
            .string();
    return path;
}

void RemoveFiles() {
    std::remove(SourcePath().c_str());
    std::remove((SourcePath() + ".debug").c_str());
}

struct Outcome {
    int code = 0; // 0: assembled
    std::array<std::uint8_t, 3> bytes{};
};

// Compiles `source` and reads the three bytes at 0x4000.
Outcome Compile(C8085Object& machine, CParse& parser, const std::string& source) {
    std::FILE* file = std::fopen(SourcePath().c_str(), "wb");
    if (file == nullptr || std::fwrite(source.data(), 1, source.size(), file) != source.size() ||
        std::fclose(file) != 0) {
        std::abort();
    }
    machine.Reset();
    Outcome outcome;
    try {
        parser.Compile(SourcePath());
    } catch (const CMyException& error) {
        CheckAssemblerCode(error);
        outcome.code = error.GetCode();
    }
    for (std::size_t i = 0; i < outcome.bytes.size(); ++i) {
        outcome.bytes[i] = machine.memory[0x4000 + i];
    }
    return outcome;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // Built before the exit handler is registered, so it is destroyed after the handler ran.
    SourcePath();
    std::atexit(RemoveFiles);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    std::string expression;
    while (input.remaining_bytes() > 0 && expression.size() < 200) {
        expression += words[input.ConsumeIntegralInRange<std::size_t>(0, words.size() - 1)];
    }
    static C8085Object machine;
    static CParse parser;
    parser.Attach(machine);

    const std::string line = "ORG 4000H\nlxi h, " + expression + "\n";
    const Outcome above = Compile(machine, parser, std::string(definitions) + line);
    const Outcome below = Compile(machine, parser, line + std::string(definitions));
    // A division by zero is found at once when the names are known, and only once the file has
    // been read when they come later, so an error further on the line may then come first.
    const bool divisionByZero = above.code == 41 || below.code == 41;
    if ((above.code != below.code && !divisionByZero) ||
        (above.code == 0 && above.bytes != below.bytes)) {
        std::fprintf(stderr, "\"%s\": codes %d and %d\n", expression.c_str(), above.code,
                     below.code);
        std::abort();
    }
    if (above.code != 0) {
        return 0;
    }
    const std::uint8_t low = above.bytes[1];
    const std::uint8_t high = above.bytes[2];
    const struct {
        std::string_view statement;
        std::array<int, 2> expected; // -1: not checked
    } forms[] = {
        {"mvi a, ", {0x3E, low}},
        {"DB ", {low, -1}},
        {"DW ", {low, high}},
    };
    const bool text = expression.find('\'') != std::string::npos;
    for (const auto& form : forms) {
        if (text && form.statement == "DB ") {
            continue; // a string standing alone places its characters, not a value
        }
        const Outcome outcome = Compile(machine, parser,
                                        std::string(definitions) + "ORG 4000H\n" +
                                            std::string(form.statement) + expression + "\n");
        if (outcome.code != 0 || outcome.bytes[0] != form.expected[0] ||
            (form.expected[1] >= 0 && outcome.bytes[1] != form.expected[1])) {
            std::fprintf(stderr, "\"%s%s\" differs from lxi\n", std::string(form.statement).c_str(),
                         expression.c_str());
            std::abort();
        }
    }
    return 0;
}
