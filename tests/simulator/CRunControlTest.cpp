#include "RunControlHarness.h"

#include <gtest/gtest.h>

namespace {

constexpr int NOP = 0x00, HLT = 0x76, INR_A = 0x3C, INR_B = 0x04, INR_C = 0x0C, JMP = 0xC3,
              CALL = 0xCD, RET = 0xC9;

using Events = std::vector<std::string>;

TEST(RunControl, CaptionTexts) {
    EXPECT_EQ(CRunControl::CaptionText("prog.85", false), " [prog.85]  [READY]");
    EXPECT_EQ(CRunControl::CaptionText("prog.85", true), " [prog.85]  [RUNNING]");
}

TEST(RunControl, RunStandingOnABreakpointExecutesItFirstAndStopsAtTheNextHit) {
    RunBench bench;
    bench.Load({INR_A, JMP, 0x00, 0x00});
    bench.AddBreakpoint(0x0000, 0, 1);
    bench.window.sourceAddresses = {0x0000, 0x0001};

    for (int round = 1; round <= 3; ++round) {
        bench.window.Clear();
        bench.control.Run();
        bench.control.WaitForRun();
        EXPECT_EQ(bench.machine.a, round) << "one pass of the loop per run";
        EXPECT_EQ(bench.machine.pc, 0x0000);
        // The first step, the start of the worker, then a silent stop.
        EXPECT_TRUE(
            RunCallsAre(bench.window.Events(),
                        {"[READY]", "Toolbar executing", "Toolbar idle", "[RUNNING]", "Focus",
                         "Toolbar executing", "RunStarted", "RefreshAll following PC", "[READY]",
                         "SourceLine 0", "Toolbar idle"}));
    }
    EXPECT_EQ(bench.machine.memory[0x0000], INR_A) << "the planted byte is written back";
    EXPECT_TRUE(bench.FlagsClear());
    ASSERT_EQ(bench.GetBreakpoints().size(), 1u);
    EXPECT_EQ(bench.GetBreakpoints()[0].sourceLine, 0);
}

TEST(RunControl, DisabledBreakpointsDoNotStopARun) {
    RunBench bench;
    bench.Load({NOP, NOP, NOP, HLT});
    bench.AddBreakpoint(0x0002, 2, 0);
    bench.control.Run();
    bench.control.WaitForRun();
    EXPECT_EQ(bench.machine.pc, 0x0003);
    EXPECT_EQ(bench.window.EventsStartingWith("Exception"),
              Events{"Exception IP = 3 -   Halt executed"});
    EXPECT_EQ(bench.machine.memory[0x0002], NOP);
}

TEST(RunControl, HaltShowsTheComposedMessageAfterTheStoppedState) {
    RunBench bench;
    bench.Load({NOP, HLT}, 0x1000);
    bench.machine.pc = 0x1000;
    bench.control.Run();
    bench.control.WaitForRun();
    EXPECT_EQ(bench.machine.pc, 0x1001) << "pc stays on the HLT";
    // No source line at the halt: EndRun puts that into the status bar; then the box. The
    // stopped state is refreshed once, so the run's red marks stay.
    EXPECT_TRUE(RunCallsAre(bench.window.Events(),
                            {"[READY]", "Toolbar executing", "Toolbar idle", "[RUNNING]", "Focus",
                             "Toolbar executing", "RunStarted", "RefreshAll following PC",
                             "[READY]", "Status No equivalent source line", "Toolbar idle",
                             "Exception IP = 4097 -   Halt executed"}));
    const Events messages = bench.window.EventsStartingWith("Status ");
    const Events boxes = bench.window.EventsStartingWith("Exception ");
    const auto events = bench.window.Events();
    EXPECT_LT(std::find(events.begin(), events.end(), messages.front()),
              std::find(events.begin(), events.end(), boxes.front()))
        << "the status line comes before the box";
    EXPECT_TRUE(bench.FlagsClear());
}

TEST(RunControl, AStopInTheFirstStepIsShownAndNoRunStarts) {
    RunBench bench;
    bench.Load({HLT}, 0x0040);
    bench.machine.pc = 0x0040;
    bench.control.Run();
    EXPECT_TRUE(bench.control.LastStepFailed());
    EXPECT_EQ(bench.window.Events(),
              (Events{"[READY]", "Toolbar executing", "Exception IP = 64 -   Halt executed",
                      "Toolbar idle"}));
    EXPECT_TRUE(bench.FlagsClear());
}

struct StepIntoRow {
    const char* name;
    std::initializer_list<int> program;
    Events expected;
};

TEST(RunControl, StepIntoRefreshesAndReportsWhereEachStopBelongs) {
    const StepIntoRow rows[] = {
        {"onto a source line",
         {NOP, NOP},
         {"[READY]", "Toolbar executing", "RefreshAll following PC", "SourceLine 1",
          "Toolbar idle"}},
        {"onto an address without source line",
         {JMP, 0x20, 0x00},
         {"[READY]", "Toolbar executing", "RefreshAll following PC",
          "Status No equivalent source line", "Toolbar idle"}},
        {"onto a halt",
         {HLT},
         {"[READY]", "Toolbar executing", "Exception IP = 0 -   Halt executed", "Toolbar idle"}},
        {"onto an invalid opcode",
         {0xDD},
         {"[READY]", "Toolbar executing", "Exception IP = 0 -  Illegal Instruction ",
          "Toolbar idle"}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        RunBench bench;
        bench.Load(row.program);
        bench.window.sourceAddresses = {0x0000, 0x0001};
        bench.control.StepInto();
        EXPECT_EQ(bench.window.Events(), row.expected);
        EXPECT_TRUE(bench.FlagsClear());
    }
}

struct StepOverRow {
    const char* name;
    std::vector<std::pair<std::uint16_t, std::vector<int>>> program;
    std::vector<std::uint16_t> userBreakpoints;
    bool endless; // needs Stop
    std::uint16_t expectedPc;
    std::string expectedException; // empty: a silent stop
};

TEST(RunControl, StepOverRemovesItsTemporaryBreakpointInEveryEnding) {
    const StepOverRow rows[] = {
        {"a call runs in full",
         {{0x0000, {CALL, 0x10, 0x00, NOP, HLT}}, {0x0010, {INR_A, RET}}},
         {},
         false,
         0x0003,
         ""},
        {"a jump runs on to a halt",
         {{0x0000, {JMP, 0x10, 0x00, NOP}}, {0x0010, {NOP, HLT}}},
         {},
         false,
         0x0011,
         "Exception IP = 17 -   Halt executed"},
        {"a jump runs on to a breakpoint of the user's",
         {{0x0000, {JMP, 0x10, 0x00, NOP}}, {0x0010, {NOP, NOP, JMP, 0x12, 0x00}}},
         {0x0011},
         false,
         0x0011,
         ""},
        {"a jump into an endless loop ends by Stop",
         {{0x0000, {JMP, 0x10, 0x00, NOP}}, {0x0010, {JMP, 0x10, 0x00}}},
         {},
         true,
         0x0010,
         ""},
        {"a breakpoint of the user's at the next instruction",
         {{0x0000, {NOP, NOP, HLT}}},
         {0x0001},
         false,
         0x0001,
         ""},
        {"the first step fails",
         {{0x0000, {HLT}}},
         {0x0001},
         false,
         0x0000,
         "Exception IP = 0 -   Halt executed"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        RunBench bench;
        for (const auto& [address, bytes] : row.program) {
            for (std::size_t i = 0; i < bytes.size(); ++i) {
                bench.machine.memory[static_cast<std::uint16_t>(address + i)] =
                    static_cast<std::uint8_t>(bytes[i]);
            }
        }
        const Memory before = bench.machine.memory;
        for (auto address : row.userBreakpoints) {
            bench.AddBreakpoint(address, 7, 1);
        }
        bench.control.StepOver();
        if (row.endless) {
            bench.control.Stop();
        }
        bench.control.WaitForRun();

        EXPECT_EQ(bench.machine.pc, row.expectedPc);
        const auto exceptions = bench.window.EventsStartingWith("Exception");
        if (row.expectedException.empty()) {
            EXPECT_TRUE(exceptions.empty());
        } else {
            EXPECT_EQ(exceptions, Events{row.expectedException});
        }
        // Exactly the user's breakpoints are left, and no breakpoint byte stays in memory.
        const auto left = bench.GetBreakpoints();
        ASSERT_EQ(left.size(), row.userBreakpoints.size());
        for (std::size_t i = 0; i < left.size(); ++i) {
            EXPECT_EQ(left[i].address, row.userBreakpoints[i]);
            EXPECT_EQ(left[i].sourceLine, 7);
        }
        for (int address = 0; address < 0x100; ++address) {
            ASSERT_EQ(bench.machine.memory[address], before[address]) << address;
        }
        EXPECT_TRUE(bench.FlagsClear());
    }
}

TEST(RunControl, RunToCursorStopsAtTheAddressEvenWhenStandingOnIt) {
    RunBench bench;
    bench.Load({INR_A, INR_A, INR_A, JMP, 0x00, 0x00});
    bench.control.RunToCursor(0x0002);
    bench.control.WaitForRun();
    EXPECT_EQ(bench.machine.pc, 0x0002);
    EXPECT_EQ(bench.machine.a, 2);
    // From the cursor address itself the loop goes round once more.
    bench.control.RunToCursor(0x0002);
    bench.control.WaitForRun();
    EXPECT_EQ(bench.machine.pc, 0x0002);
    EXPECT_EQ(bench.machine.a, 5);
    EXPECT_TRUE(bench.GetBreakpoints().empty());
    EXPECT_TRUE(bench.window.EventsStartingWith("Exception").empty());
}

TEST(RunControl, AnimateIgnoresBreakpointsAndRefreshesAfterEveryInstruction) {
    RunBench bench;
    bench.Load({NOP, HLT});
    bench.AddBreakpoint(0x0000, 0, 1);
    bench.AddBreakpoint(0x0001, 1, 1);
    bench.control.Animate();
    bench.control.WaitForRun();
    EXPECT_EQ(bench.machine.pc, 0x0001);
    EXPECT_EQ(bench.window.EventsStartingWith("Exception"),
              Events{"Exception IP = 1 -   Halt executed"});
    // One refresh per instruction (two) and one at the end of the run; the box keeps them.
    EXPECT_EQ(bench.window.EventsStartingWith("RefreshAll").size(), 3u);
    EXPECT_EQ(bench.machine.memory[0x0000], NOP);
    EXPECT_EQ(bench.machine.memory[0x0001], HLT);
}

TEST(RunControl, StopCutsAnAnimationPauseShort) {
    RunBench bench;
    bench.Load({JMP, 0x00, 0x00});
    bench.control.Animate();
    ASSERT_TRUE(bench.window.WaitFor("RefreshAll following PC"));
    bench.control.Stop();
    bench.control.WaitForRun();
    EXPECT_TRUE(bench.window.EventsStartingWith("Exception").empty());
    EXPECT_EQ(bench.window.EventsStartingWith("[READY]").size(), 1u);
    EXPECT_TRUE(bench.FlagsClear());
}

TEST(RunControl, StepOutStopsAtTheOuterSubroutinesReturnIgnoringBreakpoints) {
    RunBench bench;
    bench.Load({CALL, 0x10, 0x00, HLT});
    bench.Load({CALL, 0x20, 0x00, NOP, RET}, 0x0010);
    bench.Load({RET}, 0x0020);
    bench.AddBreakpoint(0x0013, 3, 1);
    bench.AddBreakpoint(0x0020, 4, 1);
    bench.control.StepInto(); // into the outer subroutine
    ASSERT_EQ(bench.machine.pc, 0x0010);
    bench.window.Clear();

    bench.control.StepOut();
    bench.control.WaitForRun();
    EXPECT_EQ(bench.machine.pc, 0x0003) << "after the outer return";
    EXPECT_TRUE(bench.window.EventsStartingWith("Exception").empty()) << "silent";
    EXPECT_EQ(bench.machine.stepOutArmed, 0) << "left step-out mode";
    EXPECT_TRUE(bench.FlagsClear());

    // At the top level no return stops it: it runs on to the halt.
    bench.control.StepOut();
    bench.control.WaitForRun();
    EXPECT_EQ(bench.window.EventsStartingWith("Exception"),
              Events{"Exception IP = 3 -   Halt executed"});
}

TEST(RunControl, AStepOutEndedByStopLeavesStepOutMode) {
    RunBench bench;
    bench.Load({CALL, 0x10, 0x00, HLT});
    bench.Load({JMP, 0x10, 0x00, RET}, 0x0010);
    bench.control.StepInto(); // into the subroutine's endless loop
    ASSERT_EQ(bench.machine.pc, 0x0010);
    bench.control.StepOut();
    ASSERT_TRUE(bench.window.WaitFor("Focus"));
    bench.control.Stop();
    bench.control.WaitForRun();
    EXPECT_EQ(bench.machine.stepOutArmed, 0);

    // The user moves the program counter past the loop. The return at the depth where Step Out
    // began is now an ordinary return: a step executes it without a stop, and a run goes on to
    // the halt.
    bench.machine.pc = 0x0013;
    bench.window.sourceAddresses = {0x0003};
    bench.window.Clear();
    bench.control.StepInto();
    EXPECT_EQ(bench.machine.pc, 0x0003);
    EXPECT_FALSE(bench.control.LastStepFailed());
    EXPECT_TRUE(bench.window.EventsStartingWith("Exception").empty());
    bench.control.Run();
    bench.control.WaitForRun();
    EXPECT_EQ(bench.window.EventsStartingWith("Exception"),
              Events{"Exception IP = 3 -   Halt executed"});
}

TEST(RunControl, CloseIsRefusedWhileRunningAndClosesAfterStop) {
    RunBench bench;
    bench.Load({INR_A, JMP, 0x00, 0x00});
    bench.control.Run();
    ASSERT_TRUE(bench.window.WaitFor("Focus"));

    EXPECT_FALSE(bench.control.Close());
    EXPECT_TRUE(bench.flags.IsSimulatorOpen());
    // Everything that starts execution is ignored meanwhile.
    const auto before = bench.window.Events().size();
    bench.control.StepInto();
    bench.control.Run();
    bench.control.StepOver();
    bench.control.StepOut();
    bench.control.Animate();
    bench.control.RunToCursor(0x0001);
    EXPECT_EQ(bench.window.Events().size(), before);
    EXPECT_TRUE(bench.flags.IsExecuting());

    bench.control.Stop();
    EXPECT_TRUE(bench.control.Close());
    EXPECT_FALSE(bench.flags.IsSimulatorOpen());
    EXPECT_TRUE(bench.FlagsClear()) << "Close waited for the worker's EndRun";
    EXPECT_EQ(bench.window.Caption(), "[READY]");
    EXPECT_EQ(bench.window.EventsStartingWith("RunEnded").size(), 1u);
    EXPECT_TRUE(bench.GetBreakpoints().empty());
}

TEST(RunControl, StopAndCloseStopsTheRunAndAsksTheWindowToClose) {
    RunBench bench;
    bench.Load({JMP, 0x00, 0x00});
    bench.control.Run();
    ASSERT_TRUE(bench.window.WaitFor("Focus"));
    bench.control.StopAndClose();
    EXPECT_TRUE(bench.window.WaitFor("RequestClose"));
    EXPECT_TRUE(bench.control.Close());
    EXPECT_TRUE(bench.FlagsClear());
    EXPECT_FALSE(bench.flags.IsSimulatorOpen());
}

TEST(RunControl, AWindowThatThrowsAtTheEndOfARunStillEndsIt) {
    RunBench bench;
    bench.Load({NOP, NOP, HLT});
    bench.AddBreakpoint(0x0002, 2, 1);
    bench.window.failRefresh = true;
    bench.control.Run();
    bench.control.WaitForRun();
    EXPECT_TRUE(bench.FlagsClear());
    EXPECT_EQ(bench.machine.memory[0x0002], HLT);
    bench.window.failRefresh = false;
    bench.control.StepInto();
    EXPECT_EQ(bench.window.EventsStartingWith("Exception"),
              Events{"Exception IP = 2 -   Halt executed"});
}

TEST(RunControl, TwoDocumentsRunIndependentlyAtTheSameTime) {
    RunBench first;
    RunBench second;
    first.Load({INR_B, JMP, 0x00, 0x00});
    second.Load({INR_C, JMP, 0x00, 0x00});
    second.AddBreakpoint(0x0001, 1, 1);
    first.control.Run();
    ASSERT_TRUE(first.window.WaitFor("Focus"));

    for (int round = 1; round <= 3; ++round) {
        second.control.Run();
        second.control.WaitForRun();
        EXPECT_EQ(second.machine.pc, 0x0001);
        EXPECT_EQ(second.machine.c, round % 256);
        EXPECT_TRUE(second.FlagsClear());
        EXPECT_TRUE(first.flags.IsExecuting()) << "the other document's run goes on";
    }
    first.control.Stop();
    first.control.WaitForRun();
    EXPECT_EQ(first.machine.c, 0);
    EXPECT_EQ(second.machine.b, 0);
    EXPECT_EQ(first.machine.memory[0x0001], JMP) << "no breakpoint of the other document";
    EXPECT_EQ(second.machine.memory[0x0001], JMP);
    EXPECT_TRUE(first.GetBreakpoints().empty());
    EXPECT_EQ(second.GetBreakpoints().size(), 1u);
}

} // namespace

namespace {

// The calls of a run that ended are still queued when the user starts the next command; the
// window then delivers them. None of them may change what the window shows.
TEST(RunControl, ALateUpdateOfAnEndedRunNeverWins) {
    struct Row {
        const char* next;
        std::string caption, toolbar;
        bool runHoldsMachine;
    };
    const Row rows[] = {{"Run", "[RUNNING]", "Toolbar executing", true},
                        {"StepInto", "[READY]", "Toolbar idle", false}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.next);
        RunBench bench;
        bench.Load({NOP, HLT});
        bench.Load({JMP, 0x10, 0x00}, 0x0010);
        bench.window.deliverLate = true;
        bench.control.Run();
        ASSERT_TRUE(bench.window.WaitFor("RunEnded"));
        bench.control.WaitForRun();
        EXPECT_TRUE(bench.window.RunHoldsMachine()) << "its RunEnded is not delivered yet";

        bench.machine.pc = 0x0010;
        if (std::string(row.next) == "Run") {
            bench.control.Run();
        } else {
            bench.control.StepInto();
        }
        bench.window.DeliverQueued();
        EXPECT_EQ(bench.window.Caption(), row.caption);
        EXPECT_EQ(bench.window.Toolbar(), row.toolbar);
        EXPECT_EQ(bench.window.RunHoldsMachine(), row.runHoldsMachine);
        EXPECT_TRUE(bench.window.EventsStartingWith("Exception").empty());

        // The second run's own calls, late as well, are current and do apply.
        bench.control.Stop();
        bench.control.WaitForRun();
        bench.window.DeliverQueued();
        EXPECT_EQ(bench.window.Caption(), "[READY]");
        EXPECT_EQ(bench.window.Toolbar(), "Toolbar idle");
        EXPECT_FALSE(bench.window.RunHoldsMachine());
    }
}

} // namespace
