// Step Back's history: every kind of instruction undone exactly, whether it was stepped or run at
// full speed; system calls undone without asking a device again; edits and planted breakpoints
// between executions; how far back it goes and how much memory it keeps.

#include "machine/StepHistory.h"

#include "MachineTestSupport.h"
#include "SystemCallsFakes.h"
#include "machine/C8085Object.h"
#include "machine/MachineImage.h"
#include "machine/SystemCalls.h"

#include <atomic>
#include <gtest/gtest.h>
#include <vector>

namespace {

// Machine with recording devices and a history observing its system calls.
struct HistoryBench {
    explicit HistoryBench(const StepHistory::Limits& limits = {})
        : calls({prompt, beeper, delay, serial, printer}), history(limits) {
        machine.SetSystemCallHandler(&calls);
        machine.SetSystemCallObserver(&history);
    }

    void Load(std::initializer_list<std::uint8_t> program, std::uint16_t at = 0) {
        ::Load(machine, at, program);
        machine.sp = 0x4000;
    }
    // One execution of single steps, as Step Into or Animate records them.
    void StepEach(int count) {
        for (int i = 0; i < count; ++i) {
            history.Begin(machine);
            machine.Step();
            history.Checkpoint(machine);
            history.End(machine);
        }
    }
    // One execution at full speed, as a run records it.
    void RunFast(std::uint64_t count) {
        const std::atomic<int> running{1};
        history.Begin(machine);
        std::uint64_t done = 0;
        while (done < count) {
            done += machine.RunWhile(running, std::min<std::uint64_t>(count - done, 1000));
            history.Checkpoint(machine);
        }
        history.End(machine);
    }

    FakePrompt prompt;
    FakeBeeper beeper;
    FakeDelay delay;
    FakeSerial serial;
    FakePrinter printer;
    SystemCalls calls;
    C8085Object machine;
    StepHistory history;
};

// Every write the history has to take back: registers and flags, memory through HL, BC, DE and
// an address, the stack (push, call, rst, xthl), a port, and the call depth.
const std::initializer_list<std::uint8_t> everyKind = {
    0x3E, 0x9C,       // 00 mvi a,9ch
    0x21, 0x00, 0x20, // 02 lxi h,2000h
    0x77,             // 05 mov m,a
    0x36, 0x11,       // 06 mvi m,11h
    0x34,             // 08 inr m
    0x35,             // 09 dcr m
    0x01, 0x10, 0x20, // 0a lxi b,2010h
    0x02,             // 0d stax b
    0x11, 0x20, 0x20, // 0e lxi d,2020h
    0x12,             // 11 stax d
    0x32, 0x30, 0x20, // 12 sta 2030h
    0x22, 0x40, 0x20, // 15 shld 2040h
    0xC5,             // 18 push b
    0xF5,             // 19 push psw
    0xE3,             // 1a xthl
    0xD3, 0x07,       // 1b out 07h
    0x87,             // 1d add a
    0x27,             // 1e daa
    0xCD, 0x40, 0x00, // 1f call 0040h
    0xFF,             // 22 rst 7
    0xF1,             // 23 pop psw
    0xC1,             // 24 pop b
    0x09,             // 25 dad b
    0xEB,             // 26 xchg
    0xF9,             // 27 sphl
    0x76,             // 28 hlt
};

void LoadEveryKind(HistoryBench& bench) {
    bench.Load(everyKind);
    ::Load(bench.machine, 0x40, {0x3C, 0xC9}); // 40: inr a / ret
    ::Load(bench.machine, 0x38, {0x3D, 0xC9}); // 38: dcr a / ret
    bench.machine.pc = 0;
}

// The images a plain machine goes through on the same program, one before each instruction.
std::vector<MachineImage> ReferenceImages(int steps) {
    HistoryBench reference;
    LoadEveryKind(reference);
    std::vector<MachineImage> images;
    for (int i = 0; i < steps; ++i) {
        images.push_back(MachineImage::Take(reference.machine));
        reference.machine.Step();
    }
    images.push_back(MachineImage::Take(reference.machine));
    return images;
}

TEST(StepHistory, EveryKindOfInstructionIsUndoneWhetherSteppedOrRun) {
    constexpr int steps = 29; // up to the hlt
    const auto images = ReferenceImages(steps);
    for (const bool fullSpeed : {false, true}) {
        HistoryBench bench;
        LoadEveryKind(bench);
        if (fullSpeed) {
            bench.RunFast(steps);
        } else {
            bench.StepEach(steps);
        }
        ASSERT_TRUE(images[steps].Matches(bench.machine));
        EXPECT_EQ(bench.machine.memory[0x2000], 0x11);
        EXPECT_EQ(bench.machine.ports[7], 0x9C);
        EXPECT_EQ(bench.history.Reach(), static_cast<std::uint64_t>(steps));
        for (int i = steps - 1; i >= 0; --i) {
            const auto undone = bench.history.StepBack(bench.machine);
            ASSERT_TRUE(undone) << i;
            EXPECT_EQ(undone->pc, images[static_cast<std::size_t>(i)].state.pc);
            EXPECT_TRUE(images[static_cast<std::size_t>(i)].Matches(bench.machine))
                << "before instruction " << i << (fullSpeed ? " at full speed" : " stepped");
        }
        EXPECT_FALSE(bench.history.StepBack(bench.machine));
        EXPECT_TRUE(images[0].Matches(bench.machine));
    }
}

TEST(StepHistory, AfterSteppingBackExecutionGoesOnFromThere) {
    const auto images = ReferenceImages(12);
    HistoryBench bench;
    LoadEveryKind(bench);
    bench.StepEach(10);
    for (int i = 0; i < 4; ++i) {
        bench.history.StepBack(bench.machine);
    }
    EXPECT_TRUE(images[6].Matches(bench.machine));
    bench.RunFast(6); // to instruction 12 again
    EXPECT_TRUE(images[12].Matches(bench.machine));
    for (int i = 0; i < 12; ++i) {
        ASSERT_TRUE(bench.history.StepBack(bench.machine));
    }
    EXPECT_TRUE(images[0].Matches(bench.machine));
}

TEST(StepHistory, SystemCallsAreTakenBackWithoutAskingTheDevicesAgain) {
    HistoryBench bench;
    bench.prompt.answer = 9;
    bench.Load({
        0x3E, 0x05,       // mvi a,5       keyboard: A = the key
        0xCD, 0x05, 0x00, // call 5
        0x67,             // mov h,a
        0x2E, 0x34,       // mvi l,34h
        0x3E, 0x0B,       // mvi a,11      H and L into the LED
        0x0E, 0x01,       // mvi c,1
        0xCD, 0x05, 0x00, // call 5
        0x3E, 0x10,       // mvi a,16      print the character in B
        0x0E, 0x00,       // mvi c,0
        0xCD, 0x05, 0x00, // call 5
        0x3E, 0x08,       // mvi a,8       beep
        0xCD, 0x05, 0x00, // call 5
    });
    const auto before = MachineImage::Take(bench.machine);
    bench.RunFast(12);
    EXPECT_EQ(bench.machine.h, 9);
    EXPECT_EQ(bench.machine.GetLedCell(2), 0x5F); // 0
    EXPECT_EQ(bench.machine.GetLedCell(3), 0x6F); // 9
    EXPECT_EQ(bench.prompt.requests.size(), 1u);
    EXPECT_EQ(bench.printer.texts.size(), 1u);
    EXPECT_EQ(bench.beeper.beeps.size(), 1u);

    std::vector<int> undoneCalls;
    while (const auto undone = bench.history.StepBack(bench.machine)) {
        if (undone->systemCall >= 0) {
            undoneCalls.push_back(undone->systemCall);
        }
    }
    EXPECT_EQ(undoneCalls, (std::vector<int>{8, 16, 11, 5}));
    EXPECT_TRUE(before.Matches(bench.machine));
    // Nothing was asked, printed or beeped again; what left the machine stays done.
    EXPECT_EQ(bench.prompt.requests.size(), 1u);
    EXPECT_EQ(bench.printer.texts.size(), 1u);
    EXPECT_EQ(bench.beeper.beeps.size(), 1u);

    // Executing forward again asks again.
    bench.prompt.answer = 3;
    bench.StepEach(3);
    EXPECT_EQ(bench.prompt.requests.size(), 2u);
    EXPECT_EQ(bench.machine.h, 3);
}

TEST(StepHistory, EditsBetweenExecutionsAreWhereSteppingBackPassesThem) {
    HistoryBench bench;
    bench.Load({0x3C, 0x3C, 0x3C, 0x3C}); // inr a, four times
    bench.StepEach(2);
    bench.machine.a = 0x40; // the user types a new A
    bench.machine.memory[0x3000] = 0x77;
    bench.StepEach(2);
    EXPECT_EQ(bench.machine.a, 0x42);
    bench.history.StepBack(bench.machine);
    bench.history.StepBack(bench.machine);
    EXPECT_EQ(bench.machine.a, 0x40); // as the user left it
    EXPECT_EQ(bench.machine.memory[0x3000], 0x77);
    bench.history.StepBack(bench.machine);
    EXPECT_EQ(bench.machine.a, 1); // before the edit: the machine as it was then
    EXPECT_EQ(bench.machine.memory[0x3000], 0x00);
    EXPECT_EQ(bench.machine.pc, 1);
}

TEST(StepHistory, SteppingBackIntoARunWritesTheBreakpointBytesBack) {
    HistoryBench bench;
    bench.Load({0x00, 0x00, 0x00, 0x3E, 0x01}); // nop x3 / mvi a,1
    // A breakpoint planted at 0x0003 for the run, which stops on it.
    bench.machine.memory[3] = 0x08;
    bench.history.Begin(bench.machine, {{0x0003, 0x3E}});
    bench.machine.Step();
    bench.machine.Step();
    bench.machine.Step();
    EXPECT_THROW(bench.machine.Step(), CMyException);
    bench.history.End(bench.machine, StopCode::Breakpoint);
    bench.machine.memory[3] = 0x3E; // the run's end writes the byte back
    ASSERT_TRUE(bench.history.StepBack(bench.machine));
    EXPECT_EQ(bench.machine.pc, 2);
    EXPECT_EQ(bench.machine.memory[3], 0x3E);
    bench.StepEach(2); // goes on unplanted: mvi a,1 runs
    EXPECT_EQ(bench.machine.a, 1);
}

// inx h / mov m,l / jmp 0 from HL = 1000h: writes over memory for ever.
void LoadMemoryWriter(HistoryBench& bench) {
    bench.Load({0x23, 0x75, 0xC3, 0x00, 0x00});
    bench.machine.h = 0x10;
}

TEST(StepHistory, GoesBackAHundredThousandInstructionsWithTheDefaultLimits) {
    HistoryBench reference;
    LoadMemoryWriter(reference);
    for (int i = 0; i < 200'000; ++i) {
        reference.machine.Step();
    }
    const auto expected = MachineImage::Take(reference.machine);

    HistoryBench bench;
    LoadMemoryWriter(bench);
    bench.RunFast(300'000);
    EXPECT_GE(bench.history.Reach(), 300'000u);
    for (int i = 0; i < 100'000; ++i) {
        ASSERT_TRUE(bench.history.StepBack(bench.machine)) << i;
    }
    EXPECT_TRUE(expected.Matches(bench.machine));
    EXPECT_LE(bench.history.Bytes(), bench.history.GetLimits().maxBytes);
}

TEST(StepHistory, KeepsWhatItsLimitsAllow) {
    StepHistory::Limits limits;
    limits.maxInstructions = 5000;
    limits.checkpointInterval = 1000;
    limits.replayInterval = 100;
    HistoryBench bench(limits);
    LoadMemoryWriter(bench);
    bench.RunFast(20'000);
    const std::uint64_t reach = bench.history.Reach();
    EXPECT_GE(reach, limits.maxInstructions);
    EXPECT_LE(reach, limits.maxInstructions + limits.checkpointInterval);
    std::uint64_t back = 0;
    while (bench.history.StepBack(bench.machine)) {
        ++back;
    }
    EXPECT_EQ(back, reach);
    EXPECT_EQ(bench.machine.instructionCount, 20'000 - reach);

    // Memory: a history that may hold 300 KiB keeps to it, with less reach.
    limits.maxBytes = 300 * 1024;
    limits.maxInstructions = 1'000'000;
    HistoryBench small(limits);
    LoadMemoryWriter(small);
    small.RunFast(200'000); // rewrites about 64 KiB every 200,000 instructions
    EXPECT_LE(small.history.Bytes(), limits.maxBytes);
    EXPECT_GE(small.history.Reach(), limits.checkpointInterval);
    EXPECT_LT(small.history.Reach(), 200'000u);
}

TEST(StepHistory, CountersAndStepOutGoBackToo) {
    HistoryBench bench;
    bench.Load({0xCD, 0x10, 0x00, 0x76});
    bench.machine.memory[0x10] = 0xC9; // ret
    bench.StepEach(1);
    bench.machine.SetStepOut(1);
    bench.history.Begin(bench.machine);
    EXPECT_THROW(bench.machine.Step(), CMyException);
    bench.history.End(bench.machine, StopCode::StepOutEnd);
    EXPECT_EQ(bench.machine.instructionCount, 2u);
    EXPECT_EQ(bench.machine.tStateCount, 28u);
    bench.machine.SetStepOut(0);
    ASSERT_TRUE(bench.history.StepBack(bench.machine));
    EXPECT_EQ(bench.machine.pc, 0x10);
    EXPECT_EQ(bench.machine.callDepth, 1);
    EXPECT_EQ(bench.machine.instructionCount, 1u);
    EXPECT_EQ(bench.machine.tStateCount, 18u);
    ASSERT_TRUE(bench.history.StepBack(bench.machine));
    EXPECT_EQ(bench.machine.callDepth, 0);
    EXPECT_EQ(bench.machine.tStateCount, 0u);
    bench.history.Clear();
    EXPECT_FALSE(bench.history.StepBack(bench.machine));
}

} // namespace
