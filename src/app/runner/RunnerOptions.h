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
    };

    std::string file;
    std::optional<std::uint64_t> maxSteps;
    bool trace = false;
    bool ports = false;
    bool noDelay = false;
    bool com = false;
    bool led = false;    // the LED art after the LED line even when the output is no terminal
    bool cycles = false; // " tstates=M" at the end of the register line
    bool help = false;
    std::vector<DumpRange> dumps;

    // The options of `arguments` (without the program name); std::nullopt with `error` set for a
    // usage error.
    static std::optional<RunnerOptions> Parse(const std::vector<std::string>& arguments,
                                              std::string& error);

    static const char* UsageText();
};
