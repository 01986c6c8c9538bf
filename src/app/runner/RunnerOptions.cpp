#include "app/runner/RunnerOptions.h"

#include "simulator/ParseTypedNumber.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <map>

namespace {

constexpr std::array<std::string_view, 3> valueOptions{"--max-steps", "--dump", "--timeout"};
constexpr std::array<std::string_view, 7> flagOptions{"--help", "--trace", "--ports", "--no-delay",
                                                      "--com",  "--led",   "--cycles"};
constexpr double longestTimeout = 1e9; // seconds, about 31 years: any real run ends before

// A mistake on the command line, thrown from an option's callback so that parsing stops at the
// first one, in the order of the arguments.
struct UsageError {
    std::string message;
};

// CLI11 reads "--flag=VALUE" as the flag, and "--option=" as the option taking the next argument;
// zorvan-run has always refused the first as an unknown option and read the second as an empty
// value. Such arguments are handed to CLI11 under stand-ins that no real command line holds (they
// contain a NUL byte) and translated back wherever they surface: as an option's value, an unknown
// option or a file name.
class StandIns {
public:
    std::vector<std::string> Prepare(const std::vector<std::string>& arguments) {
        std::vector<std::string> prepared;
        for (const auto& argument : arguments) {
            prepared.push_back(StandInFor(argument));
        }
        std::reverse(prepared.begin(), prepared.end()); // CLI11 takes its arguments last first
        return prepared;
    }

    std::string Original(const std::string& text) const {
        const auto found = originals.find(text);
        return found == originals.end() ? text : found->second;
    }

private:
    std::string StandInFor(const std::string& argument) {
        const auto equals = argument.find('=');
        if (!argument.starts_with("--") || equals == std::string::npos) {
            return argument;
        }
        const std::string_view name(argument.data(), equals);
        const std::string tag = std::string(1, '\0') + std::to_string(originals.size());
        if (std::ranges::find(flagOptions, name) != flagOptions.end()) {
            originals["--" + tag] = argument;
            return "--" + tag;
        }
        if (equals + 1 == argument.size() &&
            std::ranges::find(valueOptions, name) != valueOptions.end()) {
            originals[argument + tag] = argument;
            originals[tag] = "";
            return argument + tag;
        }
        return argument;
    }

    std::map<std::string, std::string> originals;
};

std::optional<RunnerOptions::DumpRange> ParseDump(const std::string& text) {
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

std::uint64_t ParseSteps(const std::string& value) {
    std::uint64_t steps = 0;
    const auto [end, problem] = std::from_chars(value.data(), value.data() + value.size(), steps);
    if (value.empty() || problem != std::errc() || end != value.data() + value.size()) {
        throw UsageError{"--max-steps needs a decimal number of instructions, not '" + value + "'"};
    }
    return steps;
}

double ParseTimeout(const std::string& value) {
    double seconds = 0;
    const auto [end, problem] = std::from_chars(value.data(), value.data() + value.size(), seconds,
                                                std::chars_format::fixed);
    if (value.empty() || problem != std::errc() || end != value.data() + value.size() ||
        !(seconds > 0 && seconds <= longestTimeout)) {
        throw UsageError{"--timeout needs a number of seconds above 0, not '" + value + "'"};
    }
    return seconds;
}

// The arguments CLI11 left over, in their order: options it does not know, "-h", and the files
// (everything after "--" is a file).
class LeftOver {
public:
    LeftOver(const CLI::App& app, const StandIns& standIns) {
        bool filesOnly = false;
        for (const auto& argument : app.remaining()) {
            const auto original = standIns.Original(argument);
            if (filesOnly) {
                files.push_back(original);
            } else if (argument == "--") {
                filesOnly = true;
            } else if (original == "-h") {
                help = true;
            } else if (original.starts_with('-') && original != "-") {
                unknown = unknown ? unknown : original;
            } else {
                files.push_back(original);
            }
        }
    }

    void ThrowIfUnknown() const {
        if (unknown) {
            throw UsageError{"unknown option '" + *unknown + "'"};
        }
    }

    std::vector<std::string> files;
    std::optional<std::string> unknown;
    bool help = false;
};

} // namespace

std::optional<RunnerOptions> RunnerOptions::Parse(const std::vector<std::string>& arguments,
                                                  std::string& error) {
    RunnerOptions options;
    StandIns standIns;
    CLI::App app;
    app.set_help_flag();
    app.allow_extras();
    app.add_flag("--help", options.help);
    app.add_flag("--trace", options.trace);
    app.add_flag("--ports", options.ports);
    app.add_flag("--no-delay", options.noDelay);
    app.add_flag("--com", options.com);
    app.add_flag("--led", options.led);
    app.add_flag("--cycles", options.cycles);
    // Each value is checked as it is met, after any unknown option met before it.
    const auto valueOption = [&](const std::string& name, auto take) {
        app.add_option_function<std::string>(name,
                                             [&app, &standIns, take](const std::string& value) {
                                                 LeftOver(app, standIns).ThrowIfUnknown();
                                                 take(standIns.Original(value));
                                             })
            ->trigger_on_parse();
    };
    valueOption("--max-steps",
                [&options](const std::string& value) { options.maxSteps = ParseSteps(value); });
    valueOption("--timeout", [&options](const std::string& value) {
        options.timeoutSeconds = ParseTimeout(value);
    });
    valueOption("--dump", [&options](const std::string& value) {
        const auto range = ParseDump(value);
        if (!range) {
            throw UsageError{"--dump needs ADDR:LEN with ADDR 0..0xffff and LEN 0..0x10000, not '" +
                             value + "'"};
        }
        options.dumps.push_back(*range);
    });
    try {
        try {
            app.parse(standIns.Prepare(arguments));
        } catch (const CLI::ArgumentMismatch&) {
            // Only the last argument can lack its value.
            LeftOver(app, standIns).ThrowIfUnknown();
            throw UsageError{"option " + arguments.back() + " needs a value"};
        }
        const LeftOver leftOver(app, standIns);
        leftOver.ThrowIfUnknown();
        options.help = options.help || leftOver.help;
        if (options.help) {
            return options;
        }
        if (leftOver.files.size() != 1) {
            throw UsageError{leftOver.files.empty() ? "no program file given"
                                                    : "only one program file can be run"};
        }
        options.file = leftOver.files.front();
        return options;
    } catch (const UsageError& mistake) {
        error = mistake.message;
    } catch (const CLI::Error& mistake) {
        error = mistake.what();
    }
    return std::nullopt;
}

const char* RunnerOptions::UsageText() {
    return R"(Usage: zorvan-run [options] FILE.85
Assembles FILE.85 (writing FILE.85.debug beside it), runs it on the simulated 8085 from its
start address until it stops, and prints the final state:
  stop <code>: <message>
  A=.. B=.. C=.. D=.. E=.. H=.. L=.. F=.. SP=.... PC=.... steps=<instructions completed>
  LED <the eight cell codes>

Options:
  --max-steps N   stop after N instructions (the stop line reads "stop limit")
  --timeout SECONDS
                  stop after SECONDS (device waits included) as Ctrl+C does
  --trace         print each instruction with the registers after it; LED changes go to stderr
  --dump ADDR:LEN after the run, print LEN bytes of memory from ADDR (repeatable; numbers as
                  typed: 0x hexadecimal, leading 0 octal, else decimal)
  --ports         after the run, print the ports that are not zero
  --no-delay      the delay system call returns at once
  --led           draw the LED digits after the LED line (done anyway when the output is a
                  terminal)
  --cycles        end the register line with tstates=<T-states of the instructions completed>
  --com           FILE is a CP/M .COM program: load it at 0x0100, print its console output;
                  a jump to 0x0000 ends it
  --help          show this text

Devices: the keyboard prompt asks on stderr and reads a number line from stdin (an empty line
takes the value shown, end of input cancels); serial ports COM1 and COM2 are the devices named
by ZORVAN_COM1 and ZORVAN_COM2 (default /dev/ttyS0 and /dev/ttyS1); printed text goes to the
file ZORVAN_LPT1 (default LPT1.txt in the user's data folder), or to the command
ZORVAN_PRINT_COMMAND. Ctrl+C stops the run and prints the state.

Exit status: 0 after a halt (or the end of a .COM program), 1 after any other stop, 2 for an
assembler or file error, 3 when the step limit is reached, 4 when the --timeout ran out, 64 for
a usage error, 74 when the report could not be written to standard output.
)";
}
