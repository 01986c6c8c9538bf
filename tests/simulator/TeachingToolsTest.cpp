// Run control's teaching tools: Step Back after steps and runs, with its status notes; Reset to
// the compiled program; a refresh asked for during a run; the Animate delay; the temporary
// breakpoint shown while its run goes on.

#include "RunControlHarness.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <optional>

namespace {

constexpr int HLT = 0x76, INR_A = 0x3C, JMP = 0xC3, CALL = 0xCD, MVI_A = 0x3E, STA = 0x32,
              OUT = 0xD3;

using Events = std::vector<std::string>;

TEST(TeachingTools, StepBackUndoesTheLastInstructionOfARunAndOfASingleStep) {
    RunBench bench;
    bench.Load({MVI_A, 0x05, INR_A, INR_A, HLT});
    bench.window.sourceAddresses = {0x0003};
    bench.control.Run();
    bench.control.WaitForRun();
    EXPECT_EQ(bench.machine.pc, 0x0004);
    EXPECT_EQ(bench.machine.a, 7);
    EXPECT_EQ(bench.control.HistoryReach(), 3u);

    bench.window.Clear();
    bench.control.StepBack();
    EXPECT_EQ(bench.machine.pc, 0x0003);
    EXPECT_EQ(bench.machine.a, 6);
    EXPECT_EQ(bench.machine.instructionCount, 2u);
    // The panes show what the undone instruction had changed; the source view its line.
    EXPECT_EQ(bench.window.Events(),
              (Events{"[READY]", "Toolbar idle", "RefreshAll following PC", "SourceLine 3"}));
    bench.control.StepBack();
    bench.control.StepBack();
    EXPECT_EQ(bench.machine.pc, 0x0000);
    bench.window.Clear();
    bench.control.StepBack();
    EXPECT_EQ(bench.window.EventsStartingWith("Status"),
              Events{"Status No earlier instruction to step back to"});

    // Every command goes on from where Step Back left the machine.
    bench.control.StepInto();
    bench.control.StepInto();
    EXPECT_EQ(bench.machine.a, 6);
    bench.control.StepBack();
    EXPECT_EQ(bench.machine.a, 5);
    bench.control.Run();
    bench.control.WaitForRun();
    EXPECT_EQ(bench.machine.a, 7);
    EXPECT_TRUE(bench.FlagsClear());
}

TEST(TeachingTools, StepBackWithTheHistoryOffSaysSo) {
    RunBench bench;
    bench.Load({INR_A, INR_A});
    bench.control.SetHistoryEnabled(false);
    bench.control.StepInto();
    bench.window.Clear();
    bench.control.StepBack();
    EXPECT_EQ(bench.machine.pc, 1);
    EXPECT_EQ(bench.window.EventsStartingWith("Status"),
              Events{"Status Step Back is off: switch the history on in Preferences"});
    // Switched on again, only what is executed from now on is kept.
    bench.control.SetHistoryEnabled(true);
    bench.control.StepInto();
    bench.control.StepBack();
    EXPECT_EQ(bench.machine.pc, 1);
    bench.control.StepBack();
    EXPECT_EQ(bench.machine.pc, 1);
}

TEST(TeachingTools, StepBackNamesEffectsThatLeftTheMachine) {
    struct Row {
        int function;
        int sub;
        std::optional<std::string> note;
    };
    const Row rows[] = {
        {8, 0, "Stepped back over a system call: the beep stays done"},
        {14, 1, "Stepped back over a system call: the byte read from COM2 stays read"},
        {15, 0, "Stepped back over a system call: the byte sent on COM1 stays sent"},
        {16, 0, "Stepped back over a system call: the printed text stays done"},
        {17, 0, "Stepped back over a system call: the printed text stays done"},
        {5, 0, std::nullopt},  // the key prompt is asked again when the CALL runs again
        {11, 1, std::nullopt}, // LED cells are taken back
        {-1, -1, std::nullopt},
    };
    for (const auto& row : rows) {
        StepHistory::Undone undone;
        undone.systemCall = row.function;
        undone.subFunction = row.sub;
        EXPECT_EQ(CRunControl::StepBackNote(undone), row.note) << row.function;
    }
}

// A document whose program is loaded before its simulator opens, as a compile does.
class CompiledBench : public CBreakpointList {
public:
    explicit CompiledBench(std::initializer_list<int> program) {
        std::uint16_t at = 0x0100;
        for (int byte : program) {
            machine.memory[at++] = static_cast<std::uint8_t>(byte);
        }
        machine.memory[0x0200] = 0x11; // the program's data
        machine.pc = 0x0100;
        machine.ports[0x20] = 0x44;
        control.emplace(machine, *this, flags, window);
        flags.SetSimulatorOpen(true);
    }
    ~CompiledBench() override {
        control->Stop();
        control->WaitForRun();
    }
    C8085Object& GetMachine() override { return machine; }

    C8085Object machine;
    CSimulatorFlags flags;
    RecordingWindow window;
    std::optional<CRunControl> control;
};

TEST(TeachingTools, ResetPutsBackTheProgramAsCompiledAndKeepsTheBreakpoints) {
    // mvi a,99h / sta 0200h / out 20h / hlt: writes over its own data and a port.
    CompiledBench bench({MVI_A, 0x99, STA, 0x00, 0x02, OUT, 0x20, HLT});
    const auto compiled = MachineImage::Take(bench.machine);
    bench.AddBreakpoint(0x0105, 3, 0);
    bench.control->Run();
    bench.control->WaitForRun();
    bench.machine.SetLeftPair(0, 0x80);
    ASSERT_EQ(bench.machine.memory[0x0200], 0x99);
    ASSERT_EQ(bench.machine.ports[0x20], 0x99);

    bench.window.Clear();
    bench.control->Reset();
    EXPECT_TRUE(compiled.Matches(bench.machine));
    EXPECT_EQ(bench.machine.instructionCount, 0u);
    EXPECT_EQ(bench.GetBreakpoints().size(), 1u);
    EXPECT_EQ(bench.GetBreakpoints()[0].enabled, 0);
    // Two refreshes: the second finds nothing changed, so no row is red.
    EXPECT_EQ(bench.window.Events(), (Events{"[READY]", "Toolbar idle", "RefreshAll following PC",
                                             "RefreshAll", "Status No equivalent source line"}));
    EXPECT_EQ(bench.control->HistoryReach(), 0u);
    bench.control->Run();
    bench.control->WaitForRun();
    EXPECT_EQ(bench.machine.memory[0x0200], 0x99); // it runs again as the first time
}

TEST(TeachingTools, ARefreshAskedForDuringARunComesFromTheWorker) {
    RunBench bench;
    bench.Load({INR_A, JMP, 0x00, 0x00});
    EXPECT_FALSE(bench.control.RequestRefresh()); // nothing runs
    bench.control.Run();
    ASSERT_TRUE(bench.window.WaitFor("RunStarted"));
    bench.window.Clear();
    EXPECT_TRUE(bench.control.RequestRefresh());
    ASSERT_TRUE(bench.window.WaitFor("RefreshAll following PC"));
    EXPECT_TRUE(bench.flags.IsRunInProgress());
    EXPECT_EQ(bench.window.Events(), (Events{"RefreshAll following PC"}));
    bench.control.Stop();
    bench.control.WaitForRun();
}

TEST(TeachingTools, AnimateDelayIsKeptWithinItsRange) {
    RunBench bench;
    EXPECT_EQ(bench.control.AnimateDelay(), 400);
    bench.control.SetAnimateDelay(10);
    EXPECT_EQ(bench.control.AnimateDelay(), 50);
    bench.control.SetAnimateDelay(5000);
    EXPECT_EQ(bench.control.AnimateDelay(), 2000);
    bench.control.SetAnimateDelay(750);
    EXPECT_EQ(bench.control.AnimateDelay(), 750);
}

TEST(TeachingTools, StepOverShowsItsTemporaryBreakpointWhileItsRunGoesOn) {
    RunBench bench;
    bench.Load({CALL, 0x10, 0x00, HLT});
    bench.Load({JMP, 0x10, 0x00}, 0x0010); // the subroutine never returns
    bench.control.StepOver();
    ASSERT_TRUE(bench.window.WaitFor("RunStarted"));
    const auto events = bench.window.Events();
    const auto shown = std::find(events.begin(), events.end(), "Breakpoints");
    ASSERT_NE(shown, events.end());
    EXPECT_LT(shown - events.begin(),
              std::find(events.begin(), events.end(), "RunStarted") - events.begin());
    EXPECT_TRUE(bench.HasBreakpoint(0x0003));
    bench.control.Stop();
    bench.control.WaitForRun();
    EXPECT_FALSE(bench.HasBreakpoint(0x0003));
}

} // namespace
