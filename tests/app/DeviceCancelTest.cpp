#include "../machine/PseudoTerminal.h"
#include "../machine/ScopedEnvironment.h"
#include "../simulator/RunControlHarness.h"
#include "app/DeviceSet.h"
#include "machine/C8085Object.h"
#include "machine/CMyException.h"
#include "machine/CSerialPort.h"
#include "machine/CancelSignal.h"
#include "simulator/DialogNumberPrompt.h"
#include "simulator/NumberDialog.h"
#include "support/TempFolder.h"

#include <algorithm>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <thread>

// Stopping a run while the machine waits in a device: every wait ends promptly, silently and
// without killing anything.

namespace {

using namespace std::chrono_literals;

// A dialog nobody answers: it waits for its cancel signal, as a window would for a click.
struct UnansweredDialog : NumberDialog {
    int neverReadable[2] = {-1, -1};
    UnansweredDialog() { EXPECT_EQ(pipe2(neverReadable, O_CLOEXEC), 0); }
    ~UnansweredDialog() override {
        close(neverReadable[0]);
        close(neverReadable[1]);
    }
    std::optional<std::string> Show(const std::string&, const std::string&,
                                    const CancelSignal& cancel) override {
        EXPECT_FALSE(cancel.WaitReadable(neverReadable[0]));
        return std::nullopt;
    }
    void ShowWarning(const std::string&, const CancelSignal&) override {
        ADD_FAILURE() << "no warning expected";
    }
};

TEST(CancelSignal, WakesSleepsAndPollsFromAnotherThread) {
    CancelSignal cancel;
    EXPECT_TRUE(cancel.SleepFor(1ms));

    std::thread sleeper([&cancel] { EXPECT_FALSE(cancel.SleepFor(10min)); });
    std::this_thread::sleep_for(20ms);
    cancel.Cancel();
    sleeper.join();
    EXPECT_TRUE(cancel.IsCancelled());
    EXPECT_FALSE(cancel.SleepFor(10min)); // stays cancelled until re-armed

    cancel.Rearm();
    EXPECT_FALSE(cancel.IsCancelled());
    int fds[2];
    ASSERT_EQ(pipe2(fds, O_CLOEXEC), 0);
    std::thread poller([&cancel, &fds] { EXPECT_FALSE(cancel.WaitReadable(fds[0])); });
    std::this_thread::sleep_for(20ms);
    cancel.Cancel();
    cancel.Cancel(); // a second cancel changes nothing
    poller.join();

    cancel.Rearm();
    ASSERT_EQ(write(fds[1], "x", 1), 1);
    EXPECT_TRUE(cancel.WaitReadable(fds[0]));
    close(fds[0]);
    close(fds[1]);
}

namespace fs = std::filesystem;

// Polls `condition` for up to two seconds.
bool Eventually(const std::function<bool()>& condition) {
    const auto end = std::chrono::steady_clock::now() + 2s;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end) {
            return false;
        }
        std::this_thread::sleep_for(2ms);
    }
    return true;
}

// Descriptors of this process open on `path`.
int OpenCount(const fs::path& path) {
    int count = 0;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator("/proc/self/fd", error)) {
        std::error_code ignored;
        if (fs::read_symlink(entry.path(), ignored) == path) {
            ++count;
        }
    }
    return count;
}

// A FIFO standing in for the printer port named by ZORVAN_LPT1.
struct PrinterFifo {
    explicit PrinterFifo(const TempFolder& folder) : path(folder.File("LPT1")) {
        EXPECT_EQ(mkfifo(path.c_str(), 0600), 0);
    }
    ~PrinterFifo() {
        CloseAll();
        unlink(path.c_str());
    }
    // A reader that reads nothing, and a pipe filled to the brim through a writer of our own.
    void OpenFullPipe() {
        reader = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        writer = open(path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
        const std::string chunk(4096, 'f');
        while (write(writer, chunk.data(), chunk.size()) > 0) {
        }
    }
    void CloseAll() {
        for (int* fd : {&reader, &writer}) {
            if (*fd >= 0) {
                close(*fd);
                *fd = -1;
            }
        }
    }

    std::string path;
    ScopedEnvironment lpt1{"ZORVAN_LPT1", path};
    int reader = -1;
    int writer = -1;
};

// A document with the standard devices: its machine stands on CALL 5 at 0x0200.
class DeviceRun : public ::testing::Test {
protected:
    DeviceRun() {
        devices.Attach(bench.machine);
        bench.machine.WriteByteAndWord(0x0200, 0xCD, 0x0005);
    }

    void Prepare(std::uint8_t a, std::uint8_t c, std::uint16_t hl) {
        auto& machine = bench.machine;
        machine.pc = 0x0200;
        machine.a = a;
        machine.c = c;
        machine.h = static_cast<std::uint8_t>(hl >> 8);
        machine.l = static_cast<std::uint8_t>(hl);
    }
    // Stops the step or run and returns how long it took until its worker had ended.
    std::chrono::duration<double, std::milli> StopAndTime() {
        const auto start = std::chrono::steady_clock::now();
        bench.control.Stop();
        bench.control.WaitForRun();
        return std::chrono::steady_clock::now() - start;
    }

    TempFolder folder;
    ScopedEnvironment tmpdir{"TMPDIR", folder.File("")};
    ScopedEnvironment noCommand{"ZORVAN_PRINT_COMMAND", ""};
    PseudoTerminal line;
    ScopedEnvironment com1{"ZORVAN_COM1", line.deviceName};
    UnansweredDialog dialog;
    DeviceSet devices{dialog};
    RunBench bench; // last: its run stops before the devices go
};

// Each wait a system call can make, stepped into (so it runs on the worker) and stopped. The
// wait ends within a few milliseconds of Stop (the bound here is loose so that a loaded machine
// never fails it; bench_runcontrol's StopInDeviceWait gives the figure).
TEST_F(DeviceRun, EveryDeviceWaitEndsSoonAfterStop) {
    struct Row {
        const char* name;
        std::uint8_t a, c;
        std::uint16_t hl;
        std::function<void()> prepare;
        std::uint16_t pcAfter; // 0x0200: the call is repeated by the next run
    };
    std::unique_ptr<PrinterFifo> fifo;
    std::unique_ptr<ScopedEnvironment> command;
    const auto fifoPrinter = [&](bool full) {
        return [&, full] {
            fifo.reset();
            fifo = std::make_unique<PrinterFifo>(folder);
            if (full) {
                fifo->OpenFullPipe();
            }
        };
    };
    const Row rows[] = {
        {"delay of 7.6 minutes", 9, 0, 0xFFFF, {}, 0x0200},
        {"serial read with nothing sent", 14, 0, 0, {}, 0x0200},
        {"key prompt", 5, 0, 0, {}, 0x0200},
        {"four keys prompt", 12, 0, 0, {}, 0x0200},
        {"beep", 8, 1, 0, {}, 0x0200},
        {"printer FIFO without a reader", 16, 0, 0, fifoPrinter(false), 0x0200},
        {"printer FIFO that is full", 16, 0, 0, fifoPrinter(true), 0x0200},
        {"print command that does not end", 17, 0, 0,
         [&] {
             command = std::make_unique<ScopedEnvironment>(
                 "ZORVAN_PRINT_COMMAND", "while [ -d '" + folder.File("") +
                                             "' ]; do sleep 0.01; done; cat >/dev/null 2>&1");
         },
         0x0203}, // the text was handed over: the call is done
    };
    double worstMs = 0;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        if (row.prepare) {
            row.prepare();
        }
        bench.machine.b = 'x';
        Prepare(row.a, row.c, row.hl);
        bench.window.Clear();
        bench.control.StepInto();
        EXPECT_TRUE(bench.flags.IsExecuting()) << "the step waits on the worker";
        std::this_thread::sleep_for(30ms); // into the wait
        const auto took = StopAndTime();
        worstMs = std::max(worstMs, took.count());
        EXPECT_LT(took, 2s);
        EXPECT_EQ(bench.machine.pc, row.pcAfter);
        EXPECT_TRUE(bench.window.EventsStartingWith("Exception").empty());
        EXPECT_EQ(bench.window.EventsStartingWith("RunEnded").size(), 1u);
        EXPECT_TRUE(bench.FlagsClear());
        EXPECT_EQ(DialogNumberPrompt::OpenPrompts(), 0);
        fifo.reset();
        command.reset();
    }
    RecordProperty("WorstStopMs", std::to_string(worstMs));
    std::printf("worst time from Stop to the end of the worker: %.2f ms\n", worstMs);
}

TEST_F(DeviceRun, AStoppedPrintCommandFinishesItsJobAndIsReaped) {
    const auto pidFile = folder.File("pid");
    const auto go = folder.File("go");
    const auto printed = folder.File("printed");
    // It waits for the file "go" (or for the test to end and take the folder away).
    ScopedEnvironment command("ZORVAN_PRINT_COMMAND",
                              "echo $$ > '" + pidFile + "'; while [ ! -e '" + go + "' ] && [ -d '" +
                                  folder.File("") + "' ]; do sleep 0.01; done; cat >> '" + printed +
                                  "'");
    fs::create_directory(folder.path / "tmp");
    ScopedEnvironment ownTmp("TMPDIR", (folder.path / "tmp").string());
    const auto temporaryFiles = [&] {
        return std::distance(fs::directory_iterator(folder.path / "tmp"), {});
    };
    bench.machine.b = 'P';
    Prepare(16, 0, 0);
    bench.control.StepInto();
    ASSERT_TRUE(Eventually([&] { return !TempFolder::Read(pidFile).empty(); }));
    StopAndTime();
    const pid_t job = std::stoi(TempFolder::Read(pidFile));
    EXPECT_EQ(kill(job, 0), 0) << "the job goes on";
    EXPECT_EQ(temporaryFiles(), 0) << "its text has no name left that could stay behind";

    std::ofstream(go).put('\n');
    EXPECT_TRUE(Eventually([&] { return TempFolder::Read(printed) == "P"; }))
        << TempFolder::Read(printed);
    EXPECT_EQ(temporaryFiles(), 0);
    EXPECT_TRUE(Eventually([&] { return !fs::exists("/proc/" + std::to_string(job)); }))
        << "no zombie is left";
}

TEST_F(DeviceRun, APrinterReaderThatGoesAwayIsCode30) {
    PrinterFifo fifo(folder);
    fifo.OpenFullPipe();
    bench.machine.b = 'x';
    Prepare(16, 0, 0);
    bench.control.StepInto();
    // Once the printer has the FIFO open too, its reader (and our writer) go away.
    ASSERT_TRUE(Eventually([&] { return OpenCount(fifo.path) == 3; }));
    fifo.CloseAll();
    bench.control.WaitForRun();
    const auto boxes = bench.window.EventsStartingWith("Exception");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].find("stopped reading: Broken pipe"), std::string::npos) << boxes[0];
    EXPECT_EQ(bench.machine.pc, 0x0200);
}

TEST_F(DeviceRun, ReArmedTheSameCallsCompleteAgain) {
    Prepare(9, 0, 0xFFFF);
    bench.control.StepInto();
    StopAndTime();
    line.Write("!");
    Prepare(14, 0, 0);
    bench.control.StepInto();
    bench.control.WaitForRun();
    EXPECT_EQ(bench.machine.b, '!');
    EXPECT_EQ(bench.machine.pc, 0x0203);
}

} // namespace
