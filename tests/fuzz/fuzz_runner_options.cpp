// Any command line for zorvan-run: the options parsed with CLI11 give the same result, or the same
// message, as the parsing zorvan-run had before (options added since are left out of the
// comparison). The input is split at NUL bytes into arguments; an argument whose first byte is
// below 0x20 starts with a word of the vocabulary below, so that libFuzzer meets the options
// without a dictionary.
#include "../support/LegacyRunnerOptions.h"
#include "app/runner/RunnerOptions.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr std::array<std::string_view, 24> vocabulary{
    "--max-steps", "--dump", "--trace", "--ports", "--no-delay", "--com", "--led", "--help",
    "-h",          "--",     "-",       "",        "x.85",       "=",     "{}",    "0x10:2",
    "5",           "--fast", "-x",      "---",     "1",          "-5",    ":",     " "};
constexpr std::array<std::string_view, 2> addedOptions{"--timeout", "--cycles"};

std::vector<std::string> Arguments(const std::uint8_t* data, std::size_t size) {
    std::vector<std::string> arguments;
    std::string current;
    bool fresh = true;
    for (std::size_t i = 0; i < size && arguments.size() < 32; ++i) {
        const auto byte = data[i];
        if (byte == 0) {
            arguments.push_back(current);
            current.clear();
            fresh = true;
            continue;
        }
        if (fresh && byte < 0x20) {
            current += vocabulary[byte % vocabulary.size()];
        } else {
            current += static_cast<char>(byte);
        }
        fresh = false;
    }
    if (!fresh || arguments.empty()) {
        arguments.push_back(current);
    }
    return arguments;
}

bool UsesAddedOption(const std::vector<std::string>& arguments) {
    for (const auto& argument : arguments) {
        for (const auto added : addedOptions) {
            if (argument.starts_with(added)) {
                return true;
            }
        }
    }
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto arguments = Arguments(data, size);
    std::string error;
    const auto options = RunnerOptions::Parse(arguments, error);
    if (!options && error.empty()) {
        std::abort(); // a refusal always says why
    }
    if (UsesAddedOption(arguments)) {
        return 0;
    }
    std::string legacyError;
    const auto legacy = legacy_runner::LegacyParse(arguments, legacyError);
    if (options != legacy || error != legacyError) {
        std::abort();
    }
    return 0;
}
