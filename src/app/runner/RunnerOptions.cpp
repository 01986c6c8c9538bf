#include "app/runner/RunnerOptions.h"

#include "simulator/ParseTypedNumber.h"

#include <charconv>

namespace {

// "--name value" or "--name=value"; advances `at` past what it used.
std::optional<std::string> OptionValue(const std::vector<std::string>& arguments, std::size_t& at,
                                       const std::string& name, std::string& error) {
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

bool IsOption(const std::string& argument, const std::string& name) {
    return argument == name || (argument.size() > name.size() && argument.starts_with(name) &&
                                argument[name.size()] == '=');
}

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

} // namespace

std::optional<RunnerOptions> RunnerOptions::Parse(const std::vector<std::string>& arguments,
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
        } else if (argument == "--cycles") {
            options.cycles = true;
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

const char* RunnerOptions::UsageText() {
    return R"(Usage: zorvan-run [options] FILE.85
Assembles FILE.85 (writing FILE.85.debug beside it), runs it on the simulated 8085 from its
start address until it stops, and prints the final state:
  stop <code>: <message>
  A=.. B=.. C=.. D=.. E=.. H=.. L=.. F=.. SP=.... PC=.... steps=<instructions completed>
  LED <the eight cell codes>

Options:
  --max-steps N   stop after N instructions (the stop line reads "stop limit")
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
assembler or file error, 3 when the step limit is reached, 64 for a usage error.
)";
}
