#include "../machine/PseudoTerminal.h"

#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <random>
#include <sys/wait.h>
#include <termios.h>
#include <thread>

// zorvan-run end to end: each case runs the built program in a fresh folder and compares its
// exit status, standard output and standard error with the golden files in tests/data/runner.

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

const fs::path examples = ZORVAN_EXAMPLES;
const fs::path goldens = fs::path(ZORVAN_TEST_DATA) / "runner";

std::string ReadFile(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteFile(const fs::path& file, const std::string& content) {
    std::ofstream(file, std::ios::binary) << content;
}

struct Outcome {
    int status = -1;
    std::string out;
    std::string err;
};

class RunnerTest : public ::testing::Test {
protected:
    RunnerTest() { fs::create_directories(folder); }
    ~RunnerTest() override { fs::remove_all(folder); }

    static fs::path NewFolder() {
        std::random_device random;
        return fs::temp_directory_path() / ("zorvan-run-" + std::to_string(random()));
    }

    // Runs zorvan-run in `folder` with `arguments`. Standard input is `input`, or, when
    // `whileRunning` is given, a pipe kept open until the program has ended; `whileRunning` gets
    // the process id.
    Outcome Run(const std::vector<std::string>& arguments, const std::string& input = "",
                const std::vector<std::pair<std::string, std::string>>& environment = {},
                const std::function<void(pid_t)>& whileRunning = {}) {
        WriteFile(folder / ".stdin", input);
        int held[2] = {-1, -1};
        if (whileRunning && pipe(held) != 0) {
            ADD_FAILURE() << "pipe failed";
            return {};
        }
        const pid_t child = fork();
        if (child == 0) {
            if (chdir(folder.c_str()) != 0) {
                _exit(120);
            }
            const int in = whileRunning ? held[0] : open(".stdin", O_RDONLY);
            dup2(in, 0);
            dup2(open(".stdout", O_WRONLY | O_CREAT | O_TRUNC, 0600), 1);
            dup2(open(".stderr", O_WRONLY | O_CREAT | O_TRUNC, 0600), 2);
            if (whileRunning) {
                close(held[1]);
            }
            for (const auto& [name, value] : environment) {
                setenv(name.c_str(), value.c_str(), 1);
            }
            if (childSetup) {
                childSetup();
            }
            std::vector<char*> argv{const_cast<char*>(ZORVAN_RUNNER)};
            for (const auto& argument : arguments) {
                argv.push_back(const_cast<char*>(argument.c_str()));
            }
            argv.push_back(nullptr);
            execv(ZORVAN_RUNNER, argv.data());
            _exit(121);
        }
        if (whileRunning) {
            close(held[0]);
            whileRunning(child);
        }
        int status = 0;
        waitpid(child, &status, 0);
        if (whileRunning) {
            close(held[1]);
        }
        Outcome outcome;
        outcome.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        outcome.out = ReadFile(folder / ".stdout");
        outcome.err = ReadFile(folder / ".stderr");
        return outcome;
    }

    // Copies a program into the run folder, so that its .debug file is written there.
    void Place(const fs::path& source) {
        fs::copy_file(source, folder / source.filename(), fs::copy_options::overwrite_existing);
    }

    static void ExpectGolden(const Outcome& outcome, const std::string& name, int status) {
        EXPECT_EQ(outcome.status, status);
        EXPECT_EQ(outcome.out, ReadFile(goldens / (name + ".out")));
        EXPECT_EQ(outcome.err, ReadFile(goldens / (name + ".err")));
    }

    fs::path folder = NewFolder();
    // Runs in the child after its standard streams are in place, before zorvan-run starts.
    std::function<void()> childSetup;
};

struct Case {
    const char* golden;                 // tests/data/runner/<golden>.out and .err
    std::vector<std::string> arguments; // the program file is the last one
    const char* source;                 // copied into the run folder; nullptr for none
    std::string input;
    int status;
    std::vector<std::pair<std::string, std::string>> environment = {};
};

TEST_F(RunnerTest, ExamplesAndOptions) {
    const auto example = [](const char* name) { return (examples / name).string(); };
    const auto data = [](const char* name) { return (goldens / name).string(); };
    const std::string tst8080 = std::string(ZORVAN_CPU_TESTS) + "/TST8080.COM";
    const std::vector<Case> cases = {
        {"led_digits", {"--no-delay", "led_digits.85"}, "examples", "", 0},
        {"led_digits_art", {"--no-delay", "--led", "led_digits.85"}, "examples", "", 0},
        {"led_segments", {"--trace", "led_segments.85"}, "examples", "", 0},
        {"keyboard",
         {"--dump", "0x2000:1", "keyboard.85"},
         "examples",
         "zz\n0x2000\n0x1FF\n\n0x5A\n",
         0},
        {"keyboard_cancelled", {"keyboard.85"}, "examples", "", 0},
        {"ascii_subtract", {"ascii_subtract.85"}, "examples", "", 0},
        {"beeper", {"beeper.85"}, "examples", "", 0},
        {"delay", {"--no-delay", "--trace", "delay.85"}, "examples", "", 0},
        {"serial_missing",
         {"serial_echo.85"},
         "examples",
         "",
         1,
         {{"ZORVAN_COM1", "/nonexistent/tty"}}},
        {"unresolved", {"unresolved.85"}, "data", "", 2},
        {"bad_hex", {"bad_hex.85"}, "data", "", 2},
        {"missing_file", {"missing.85"}, nullptr, "", 2},
        {"illegal", {"illegal.85"}, "data", "", 1},
        {"bad_call", {"bad_call.85"}, "data", "", 1},
        {"step_limit", {"--max-steps", "1000", "spin.85"}, "data", "", 3},
        {"tstates", {"--cycles", "tstates.85"}, "data", "", 0},
        {"tstates_limit", {"--cycles", "--max-steps", "3", "tstates.85"}, "data", "", 3},
        {"memory_ports",
         {"--dump", "0177776:20", "--dump=256:18", "--ports", "memory_ports.85"},
         "data",
         "",
         0},
        {"usage_no_file", {}, nullptr, "", 64},
        {"usage_unknown", {"--fast", "x.85"}, nullptr, "", 64},
        {"usage_dump", {"--dump", "0x10000:1", "x.85"}, nullptr, "", 64},
        {"usage_steps", {"--max-steps", "many", "x.85"}, nullptr, "", 64},
        {"usage_two_files", {"a.85", "b.85"}, nullptr, "", 64},
        {"help", {"--help"}, nullptr, "", 0},
        {"com_tst8080", {"--com", "TST8080.COM"}, "cpu", "", 0},
        {"com_step_limit", {"--com", "--max-steps", "200", "TST8080.COM"}, "cpu", "", 3},
        {"com_missing", {"--com", "NONE.COM"}, nullptr, "", 2},
        {"usage_timeout", {"--timeout", "soon", "x.85"}, nullptr, "", 64},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.golden);
        if (test.source != nullptr) {
            const auto& file = test.arguments.back();
            const std::string kind = test.source;
            Place(kind == "examples" ? example(file.c_str())
                  : kind == "cpu"    ? tst8080
                                     : data(file.c_str()));
        }
        ExpectGolden(Run(test.arguments, test.input, test.environment), test.golden, test.status);
    }
    // The assembler wrote the line map beside the program.
    EXPECT_EQ(ReadFile(folder / "beeper.85.debug").substr(0, 8), "0 4 2 5 ");
}

TEST_F(RunnerTest, PrinterExampleAppendsToTheConfiguredPrinter) {
    Place(examples / "printer.85");
    const auto printed = folder / "LPT1.txt";
    WriteFile(printed, "earlier\r\n");
    const auto outcome = Run({"printer.85"}, "", {{"ZORVAN_LPT1", printed.string()}});
    ExpectGolden(outcome, "printer", 0);
    EXPECT_EQ(ReadFile(printed), "earlier\r\nHELLO 8085\r\n200\r\n");
}

TEST_F(RunnerTest, SerialEchoExampleOnAPseudoTerminal) {
    PseudoTerminal line;
    termios raw{};
    ASSERT_EQ(tcgetattr(line.slave, &raw), 0);
    cfmakeraw(&raw); // no echo from the line itself while the program has it closed
    ASSERT_EQ(tcsetattr(line.slave, TCSANOW, &raw), 0);
    line.Write("Hi 85.");
    Place(examples / "serial_echo.85");
    const auto outcome = Run({"serial_echo.85"}, "", {{"ZORVAN_COM1", line.deviceName}});
    ExpectGolden(outcome, "serial_echo", 0);
    EXPECT_EQ(line.Read(), "Hi 85.");
}

// Whether the process has its Ctrl+C handler in place and, if `waiting`, is blocked in poll(),
// where every device wait of the runner blocks.
bool ReadyForInterrupt(pid_t child, bool waiting) {
    const std::string proc = "/proc/" + std::to_string(child);
    std::ifstream status(proc + "/status");
    bool caught = false;
    for (std::string line; std::getline(status, line);) {
        if (line.starts_with("SigCgt:")) {
            caught = (std::stoull(line.substr(7), nullptr, 16) & (1ull << (SIGINT - 1))) != 0;
        }
    }
    long call = -1;
    std::ifstream(proc + "/syscall") >> call;
    constexpr long pollCall = 7;    // poll on x86-64
    constexpr long ppollCall = 271; // ppoll on x86-64
    return caught && (!waiting || call == pollCall || call == ppollCall);
}

// Ctrl+C stops at an instruction boundary, or ends a device wait at once with pc on its CALL.
TEST_F(RunnerTest, InterruptStopsTheRunAndPrintsTheState) {
    const auto interruptWhen = [](bool waiting) {
        return [waiting](pid_t child) {
            for (int tries = 0; tries < 3000 && !ReadyForInterrupt(child, waiting); ++tries) {
                std::this_thread::sleep_for(10ms);
            }
            kill(child, SIGINT);
        };
    };
    Place(goldens / "long_delay.85");
    ExpectGolden(Run({"long_delay.85"}, "", {}, interruptWhen(true)), "interrupt_delay", 1);

    Place(examples / "keyboard.85");
    ExpectGolden(Run({"keyboard.85"}, "", {}, interruptWhen(true)), "interrupt_prompt", 1);

    Place(goldens / "spin.85");
    const auto spinning = Run({"spin.85"}, "", {}, interruptWhen(false));
    EXPECT_EQ(spinning.status, 1);
    EXPECT_TRUE(spinning.out.starts_with("stop 32: IP = ")) << spinning.out;
    EXPECT_NE(spinning.out.find(" -   Run stopped\nA="), std::string::npos) << spinning.out;
    EXPECT_EQ(spinning.err, "");
}

// A run that cannot end otherwise is killed after this long, so that a regression fails the
// test instead of holding it up.
void KillAfter(pid_t child, std::chrono::seconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < end) {
        siginfo_t info{};
        if (waitid(P_PID, static_cast<id_t>(child), &info, WEXITED | WNOHANG | WNOWAIT) == 0 &&
            info.si_pid == child) {
            return;
        }
        std::this_thread::sleep_for(10ms);
    }
    kill(child, SIGKILL);
}

// Closed standard streams: a prompt reads the end of input instead of the cancel pipe that would
// otherwise take descriptor 0, and a report that cannot be written is an error, not a success.
TEST_F(RunnerTest, ClosedOrFullStandardStreams) {
    Place(examples / "keyboard.85");
    childSetup = [] { close(0); };
    ExpectGolden(Run({"keyboard.85"}), "keyboard_cancelled", 0);

    childSetup = [] { dup2(open("/dev/full", O_WRONLY), 1); };
    auto outcome = Run({"keyboard.85"});
    EXPECT_EQ(outcome.status, 74);
    EXPECT_TRUE(outcome.err.ends_with(
        "zorvan-run: the report could not be written: No space left on device\n"))
        << outcome.err;

    childSetup = [] { close(1); };
    outcome = Run({"keyboard.85"});
    EXPECT_EQ(outcome.status, 74);
    EXPECT_TRUE(outcome.err.ends_with(
        "zorvan-run: the report could not be written: standard output is closed\n"))
        << outcome.err;

    childSetup = [] { dup2(open("/dev/full", O_WRONLY), 1); };
    outcome = Run({"--help"});
    EXPECT_EQ(outcome.status, 74);

    // All three closed: nothing to say it on, but the status still tells.
    childSetup = [] {
        close(0);
        close(1);
        close(2);
    };
    outcome = Run({"keyboard.85"});
    EXPECT_EQ(outcome.status, 74);
}

// --timeout ends a busy loop and a device wait the way Ctrl+C does, with its own status.
TEST_F(RunnerTest, TimeoutEndsTheRunLikeAnInterrupt) {
    const auto watch = [](pid_t child) { KillAfter(child, std::chrono::seconds(20)); };
    Place(goldens / "long_delay.85");
    ExpectGolden(Run({"--timeout", "0.2", "long_delay.85"}, "", {}, watch), "timeout_delay", 4);

    Place(examples / "keyboard.85");
    ExpectGolden(Run({"--timeout=0.2", "keyboard.85"}, "", {}, watch), "timeout_prompt", 4);

    Place(goldens / "spin.85");
    const auto spinning = Run({"--timeout", "0.2", "spin.85"}, "", {}, watch);
    EXPECT_EQ(spinning.status, 4);
    EXPECT_TRUE(spinning.out.starts_with("stop 32: IP = ")) << spinning.out;
    EXPECT_EQ(spinning.err, "zorvan-run: the time limit of 0.2 seconds ran out\n");

    // A run that ends first keeps its own status.
    Place(examples / "beeper.85");
    ExpectGolden(Run({"--timeout", "60", "beeper.85"}), "beeper", 0);
}

// A .COM file too large for the memory is refused with its real size.
TEST_F(RunnerTest, ComFileTooLargeNamesItsSize) {
    WriteFile(folder / "BIG.COM", std::string(70000, '\0'));
    const auto outcome = Run({"--com", "BIG.COM"});
    EXPECT_EQ(outcome.status, 2);
    EXPECT_EQ(outcome.err,
              "BIG.COM: error: BIG.COM: The program is too large: 70000 bytes, at most 65024\n");
}

} // namespace
