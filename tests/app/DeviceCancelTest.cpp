#include "../machine/PseudoTerminal.h"
#include "../machine/ScopedEnvironment.h"
#include "app/DeviceSet.h"
#include "machine/C8085Object.h"
#include "machine/CMyException.h"
#include "machine/CSerialPort.h"
#include "machine/CancelSignal.h"
#include "simulator/DialogNumberPrompt.h"
#include "simulator/NumberDialog.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <thread>

// Stopping a run from another thread while the machine waits in a device.

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

class BlockedDeviceTest : public ::testing::Test {
protected:
    BlockedDeviceTest() {
        devices.Attach(machine);
        machine.WriteByteAndWord(0x0200, 0xCD, 0x0005);
    }

    // Runs the system call on a worker, cancels from here, and returns what the worker caught.
    std::optional<CMyException> CallAndCancel(std::uint8_t a, std::uint8_t c, std::uint16_t hl) {
        machine.pc = 0x0200;
        machine.a = a;
        machine.c = c;
        machine.h = static_cast<std::uint8_t>(hl >> 8);
        machine.l = static_cast<std::uint8_t>(hl);
        std::optional<CMyException> caught;
        std::thread worker([this, &caught] {
            try {
                machine.Step();
            } catch (const CMyException& stop) {
                caught = stop;
            }
        });
        std::this_thread::sleep_for(30ms);
        calls.CancelWaits();
        worker.join();
        return caught;
    }

    PseudoTerminal line;
    ScopedEnvironment com1{"ZORVAN_COM1", line.deviceName};
    UnansweredDialog dialog;
    CSerialPort serial;
    DeviceSet devices{dialog, {.serial = &serial}};
    SystemCalls& calls = devices.Calls();
    C8085Object machine;
};

TEST_F(BlockedDeviceTest, EveryBlockingCallStopsSilentlyOnTheCall) {
    struct Row {
        const char* name;
        std::uint8_t a, c;
        std::uint16_t hl;
    };
    const Row rows[] = {{"delay of 7.6 minutes", 9, 0, 0xFFFF},
                        {"serial read with nothing sent", 14, 0, 0},
                        {"key prompt", 5, 0, 0},
                        {"four keys prompt", 12, 0, 0},
                        {"two keys prompt", 12, 1, 0},
                        {"beep", 8, 0, 0}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        calls.RearmWaits();
        const auto stop = CallAndCancel(row.a, row.c, row.hl);
        ASSERT_TRUE(stop);
        EXPECT_EQ(stop->code, StopCode::Cancelled);
        EXPECT_EQ(stop->errorFlag, 0);
        EXPECT_EQ(stop->message, "IP = 512 -   Run stopped");
        EXPECT_EQ(machine.pc, 0x0200);
        EXPECT_FALSE(serial.IsOpen());
        EXPECT_EQ(DialogNumberPrompt::OpenPrompts(), 0);
    }

    // Re-armed, the same calls complete again.
    calls.RearmWaits();
    line.Write("!");
    machine.pc = 0x0200;
    machine.a = 14;
    machine.c = 0;
    machine.Step();
    EXPECT_EQ(machine.b, '!');
    machine.pc = 0x0200;
    machine.a = 9;
    machine.h = machine.l = 0;
    machine.Step();
    EXPECT_EQ(machine.pc, 0x0203);
}

} // namespace
