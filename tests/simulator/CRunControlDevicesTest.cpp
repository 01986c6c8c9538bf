// Stop and Close while the worker is blocked in a device: the number prompt, a serial read and a
// delay. Nothing is killed: the wait is cancelled, the call ends in the silent stop with pc still
// on the CALL, and Close joins the worker.

#include "RunControlHarness.h"
#include "machine/Beeper.h"
#include "machine/CSerialPort.h"
#include "machine/Printer.h"
#include "machine/SleepingDelay.h"
#include "machine/SystemCalls.h"
#include "simulator/DialogNumberPrompt.h"
#include "simulator/NumberDialog.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <pty.h>
#include <unistd.h>

namespace {

constexpr int MVI_A = 0x3E, MVI_C = 0x0E, LXI_H = 0x21, CALL = 0xCD, HLT = 0x76;

// The first Show blocks until the run is cancelled; later ones answer "5".
class BlockingDialog : public NumberDialog {
public:
    std::optional<std::string> Show(const std::string&, const std::string&,
                                    const CancelSignal& cancel) override {
        if (shown++ == 0) {
            entered.Set();
            cancel.SleepFor(std::chrono::hours(1));
            return std::nullopt;
        }
        return "5";
    }
    void ShowWarning(const std::string& message, const CancelSignal&) override {
        warnings.push_back(message);
    }

    Signal entered;
    int shown = 0;
    std::vector<std::string> warnings;
};

class SignallingDelay : public Delay {
public:
    void Wait(std::chrono::milliseconds duration, const CancelSignal& cancel) override {
        entered.Set();
        delay.Wait(duration, cancel);
    }
    Signal entered;

private:
    SleepingDelay delay;
};

class SignallingSerial : public SerialPort {
public:
    void Open(const std::string& name) override { port.Open(name); }
    std::optional<std::uint8_t> ReceiveByte(const CancelSignal& cancel) override {
        entered.Set();
        return port.ReceiveByte(cancel);
    }
    bool SendByte(std::uint8_t value, const CancelSignal& cancel) override {
        return port.SendByte(value, cancel);
    }
    void Close() override { port.Close(); }
    Signal entered;

private:
    CSerialPort port;
};

class SilentBeeper : public Beeper {
public:
    void Beep(int, int, const CancelSignal&) override {}
};

class NoPrinter : public Printer {
public:
    bool PrintText(const std::string&, const CancelSignal&) override { return true; }
};

// A pseudo-terminal standing in for COM1; nothing is ever written to it.
class PseudoCom1 {
public:
    PseudoCom1() {
        int slave = -1;
        char name[256] = {};
        if (openpty(&master, &slave, name, nullptr, nullptr) == 0) {
            close(slave);
            setenv("ZORVAN_COM1", name, 1);
        }
    }
    ~PseudoCom1() {
        unsetenv("ZORVAN_COM1");
        if (master >= 0) {
            close(master);
        }
    }
    bool IsOpen() const { return master >= 0; }

private:
    int master = -1;
};

struct DeviceBench {
    DeviceBench() : prompt(dialog), calls({prompt, beeper, delay, serial, printer}) {
        bench.machine.SetSystemCallHandler(&calls);
    }

    BlockingDialog dialog;
    DialogNumberPrompt prompt;
    SilentBeeper beeper;
    SignallingDelay delay;
    SignallingSerial serial;
    NoPrinter printer;
    SystemCalls calls;
    RunBench bench; // last: stops its run before the devices go
};

Signal& EnteredSignal(DeviceBench& devices, int function) {
    switch (function) {
    case 5:
        return devices.dialog.entered;
    case 14:
        return devices.serial.entered;
    default:
        return devices.delay.entered;
    }
}

// MVI A,function; MVI C,0; LXI H,0xFFFF; CALL 5; HLT
void LoadCall(RunBench& bench, int function) {
    bench.Load({MVI_A, function, MVI_C, 0x00, LXI_H, 0xFF, 0xFF, CALL, 0x05, 0x00, HLT});
}

const std::pair<const char*, int> blockingCalls[] = {
    {"number prompt", 5}, {"serial read", 14}, {"delay", 9}};

TEST(RunControlDevices, StopThenCloseOrStopAndCloseWhileBlockedInADevice) {
    PseudoCom1 com1;
    ASSERT_TRUE(com1.IsOpen());
    for (const bool stopAndClose : {false, true}) {
        for (const bool stepInto : {false, true}) {
            for (const auto& [name, function] : blockingCalls) {
                SCOPED_TRACE(std::string(name) + (stepInto ? ", stepped into" : ", run") +
                             (stopAndClose ? ", StopAndClose" : ", Stop, Close"));
                DeviceBench devices;
                RunBench& bench = devices.bench;
                LoadCall(bench, function);
                if (stepInto) {
                    // Three steps on this thread up to the CALL; stepping the CALL returns at once
                    // and leaves the device wait to the worker, with Stop enabled.
                    for (int i = 0; i < 4; ++i) {
                        bench.control.StepInto();
                    }
                    EXPECT_EQ(bench.window.Toolbar(), "Toolbar executing");
                    EXPECT_TRUE(bench.window.RunHoldsMachine());
                } else {
                    bench.control.Run();
                }
                ASSERT_TRUE(EnteredSignal(devices, function).Wait());

                EXPECT_FALSE(bench.control.Close()) << "refused while the run executes";
                if (stopAndClose) {
                    bench.control.StopAndClose();
                    EXPECT_EQ(bench.window.EventsStartingWith("RequestClose").size(), 1u);
                } else {
                    bench.control.Stop();
                }
                EXPECT_TRUE(bench.control.Close());
                EXPECT_TRUE(bench.FlagsClear());
                EXPECT_FALSE(bench.flags.IsSimulatorOpen());
                EXPECT_EQ(bench.machine.pc, 0x0007) << "pc stays on the CALL";
                EXPECT_TRUE(bench.window.EventsStartingWith("Exception").empty())
                    << "a silent stop";
                EXPECT_EQ(DialogNumberPrompt::OpenPrompts(), 0);
                EXPECT_EQ(bench.window.EventsStartingWith("RunEnded").size(), 1u);
                EXPECT_FALSE(bench.window.RunHoldsMachine());
            }
        }
    }
}

TEST(RunControlDevices, SteppingIntoASystemCallThatEndsRefreshesLikeAStep) {
    DeviceBench devices;
    RunBench& bench = devices.bench;
    devices.dialog.shown = 1; // answers "5" at once
    LoadCall(bench, 12);
    bench.machine.pc = 0x0007;
    bench.machine.a = 12; // two keys into L
    bench.machine.c = 1;
    bench.window.sourceAddresses = {0x000A};
    bench.control.StepInto();
    bench.control.WaitForRun();
    EXPECT_EQ(bench.machine.l, 5);
    EXPECT_EQ(bench.machine.pc, 0x000A);
    EXPECT_TRUE(RunCallsAre(bench.window.Events(), {"[RUNNING]", "Focus", "Toolbar executing",
                                                    "RunStarted", "RefreshAll following PC",
                                                    "[READY]", "SourceLine 10", "Toolbar idle"}));
    EXPECT_TRUE(bench.FlagsClear());
}

TEST(RunControlDevices, RunningAgainAfterAStopRepeatsTheCall) {
    DeviceBench devices;
    RunBench& bench = devices.bench;
    LoadCall(bench, 5);
    bench.control.Run();
    ASSERT_TRUE(devices.dialog.entered.Wait());
    bench.control.Stop();
    bench.control.WaitForRun();
    ASSERT_EQ(bench.machine.pc, 0x0007);

    // The cancel of the first run must not reach the second: its prompt answers 5.
    bench.control.Run();
    bench.control.WaitForRun();
    EXPECT_EQ(devices.dialog.shown, 2);
    EXPECT_EQ(bench.machine.a, 5);
    EXPECT_EQ(bench.window.EventsStartingWith("Exception"),
              std::vector<std::string>{"Exception IP = 10 -   Halt executed"});
    EXPECT_TRUE(devices.dialog.warnings.empty());
}

} // namespace
