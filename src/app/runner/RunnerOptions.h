#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The command line of zorvan-run.
struct RunnerOptions {
    struct DumpRange {
        std::uint16_t address;
        std::uint32_t length; // up to 0x10000 bytes

        bool operator==(const DumpRange&) const = default;
    };

    std::string file;
    std::optional<std::uint64_t> maxSteps;
    std::optional<double> timeoutSeconds; // the whole run, device waits included
    bool trace = false;
    bool ports = false;
    bool noDelay = false;
    bool com = false;
    bool led = false;    // the LED art after the LED line even when the output is no terminal
    bool cycles = false; // " tstates=M" at the end of the register line
    bool help = false;
    std::vector<DumpRange> dumps;

    bool operator==(const RunnerOptions&) const = default;

    // The options of `arguments` (without the program name); std::nullopt with `error` set for a
    // usage error. The first mistake in the order of the arguments is the one reported.
    static std::optional<RunnerOptions> Parse(const std::vector<std::string>& arguments,
                                              std::string& error);

    static const char* UsageText();
};
