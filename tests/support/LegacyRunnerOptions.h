#pragma once

// The option parsing zorvan-run had before it used CLI11, kept as the reference its messages and
// results are checked against (the runner's option tests and fuzz target).
#include "app/runner/RunnerOptions.h"
#include "simulator/ParseTypedNumber.h"

#include <charconv>

namespace legacy_runner {

namespace legacy_detail {

// "--name value" or "--name=value"; advances `at` past what it used.
inline std::optional<std::string> OptionValue(const std::vector<std::string>& arguments,
                                              std::size_t& at, const std::string& name,
                                              std::string& error) {
    const auto& argument = arguments[at];
    if (argument.size() > name.size() && argument[name.size()] == '=') {
        return argument.substr(name.size() + 1);
    }
    if (at + 1 >= arguments.size()) {
        error = "option " + name + " needs a value";
        return std::nullopt;
    }
    return arguments[++at];
}

inline bool IsOption(const std::string& argument, const std::string& name) {
    return argument == name || (argument.size() > name.size() && argument.starts_with(name) &&
                                argument[name.size()] == '=');
}

inline std::optional<RunnerOptions::DumpRange> ParseDump(const std::string& text) {
    const auto colon = text.find(':');
    if (colon == std::string::npos) {
        return std::nullopt;
    }
    const auto address = ParseTypedNumber(std::string_view(text).substr(0, colon));
    const auto length = ParseTypedNumber(std::string_view(text).substr(colon + 1));
    if (!address || !length || *address < 0 || *address > 0xFFFF || *length < 0 ||
        *length > 0x10000) {
        return std::nullopt;
    }
    return RunnerOptions::DumpRange{static_cast<std::uint16_t>(*address),
                                    static_cast<std::uint32_t>(*length)};
}

} // namespace legacy_detail

using namespace legacy_detail;

inline std::optional<RunnerOptions> LegacyParse(const std::vector<std::string>& arguments,
                                                std::string& error) {
    RunnerOptions options;
    bool filesOnly = false;
    std::vector<std::string> files;
    for (std::size_t at = 0; at < arguments.size(); ++at) {
        const auto& argument = arguments[at];
        if (filesOnly || argument.empty() || argument[0] != '-' || argument == "-") {
            files.push_back(argument);
        } else if (argument == "--") {
            filesOnly = true;
        } else if (argument == "--help" || argument == "-h") {
            options.help = true;
        } else if (argument == "--trace") {
            options.trace = true;
        } else if (argument == "--ports") {
            options.ports = true;
        } else if (argument == "--no-delay") {
            options.noDelay = true;
        } else if (argument == "--com") {
            options.com = true;
        } else if (argument == "--led") {
            options.led = true;
        } else if (IsOption(argument, "--max-steps")) {
            const auto value = OptionValue(arguments, at, "--max-steps", error);
            if (!value) {
                return std::nullopt;
            }
            std::uint64_t steps = 0;
            const auto [end, problem] =
                std::from_chars(value->data(), value->data() + value->size(), steps);
            if (value->empty() || problem != std::errc() || end != value->data() + value->size()) {
                error = "--max-steps needs a decimal number of instructions, not '" + *value + "'";
                return std::nullopt;
            }
            options.maxSteps = steps;
        } else if (IsOption(argument, "--dump")) {
            const auto value = OptionValue(arguments, at, "--dump", error);
            if (!value) {
                return std::nullopt;
            }
            const auto range = ParseDump(*value);
            if (!range) {
                error = "--dump needs ADDR:LEN with ADDR 0..0xffff and LEN 0..0x10000, not '" +
                        *value + "'";
                return std::nullopt;
            }
            options.dumps.push_back(*range);
        } else {
            error = "unknown option '" + argument + "'";
            return std::nullopt;
        }
    }
    if (options.help) {
        return options;
    }
    if (files.size() != 1) {
        error = files.empty() ? "no program file given" : "only one program file can be run";
        return std::nullopt;
    }
    options.file = files.front();
    return options;
}

} // namespace legacy_runner
