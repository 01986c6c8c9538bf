// The simulator window's teaching tools and the repairs of its run display: Refresh during a run,
// the Step Over breakpoint shown while it runs, Jump near the end of memory, red marks that stay
// after a stop box, Reset, Step Back, the counter line, editable ports and stack words, the
// Animate delay and the history switch.

#include "simulator/CRunControl.h"
#include "simulator/RegisterRows.h"
#include "simulator/ui/SimulatorSettings.h"
#include "simulator/ui/SimulatorWindowHarness.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QLabel>
#include <QMenu>
#include <QSpinBox>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

int RowOfAddress(CSimListBox& pane, int address) {
    const auto& rows = pane.Rows().Rows();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (rows[i].key == address) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

TEST(TeachingToolsWindow, RefreshDuringARunShowsTheMachineAsItIsNow) {
    SimulatorDocument doc;
    doc.Load({0x3C, 0xC3, 0x00, 0x00}); // inr a / jmp 0
    auto& window = doc.Open();
    ASSERT_EQ(doc.Row(PaneKind::Registers, RegisterRows::RowOf("A")), "A  00");
    window.Run();
    ASSERT_TRUE(window.Action(CSimulatorDlg::Command::Refresh)->isEnabled());
    window.Action(CSimulatorDlg::Command::Refresh)->trigger();
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return doc.Row(PaneKind::Registers, RegisterRows::RowOf("A")) != "A  00"; }));
    EXPECT_TRUE(doc.flags.IsRunInProgress());
    EXPECT_EQ(window.windowTitle(), " [test.85]  [RUNNING]");
    window.Stop();
    ASSERT_TRUE(doc.WaitIdle());
}

TEST(TeachingToolsWindow, StepOverDrawsItsTemporaryBreakpointWhileItRuns) {
    SimulatorDocument doc;
    doc.Load({0xCD, 0x10, 0x00, 0x76}); // call 0010h / hlt
    doc.Load({0xC3, 0x10, 0x00}, 0x10); // a subroutine that never returns
    auto& window = doc.Open();
    auto& instructions = doc.Pane(PaneKind::Instructions);
    const int next = RowOfAddress(instructions, 3);
    ASSERT_GE(next, 0);
    window.StepOver();
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return instructions.Rows().BreakpointOf(next) == CPaneRows::Breakpoint::Enabled; }));
    EXPECT_TRUE(doc.flags.IsRunInProgress());
    window.Stop();
    ASSERT_TRUE(doc.WaitIdle());
    EXPECT_EQ(instructions.Rows().BreakpointOf(next), CPaneRows::Breakpoint::None);
}

TEST(TeachingToolsWindow, JumpNearTheEndOfMemoryShowsTheLastRowsBelowTheLimit) {
    SimulatorDocument doc;
    doc.Open();
    DialogAnswers answers;
    auto& instructions = doc.Pane(PaneKind::Instructions);
    const int rowCount = instructions.Rows().RowCount();
    answers.Add("0xfffe");
    instructions.JumpToAddress();
    EXPECT_EQ(instructions.Rows().FirstAddress(), 0x10000 - rowCount);
    EXPECT_TRUE(
        doc.Row(PaneKind::Instructions, instructions.Rows().SelectedRow()).startsWith("fffe "));
    EXPECT_TRUE(doc.Row(PaneKind::Instructions, rowCount - 1).startsWith("ffff "));
    // The Memory Dump does the same.
    auto& memory = doc.Pane(PaneKind::MemoryDump);
    answers.Add("0xfffe");
    memory.JumpToAddress();
    EXPECT_EQ(memory.Rows().FirstAddress(), 0x10000 - memory.Rows().RowCount());
    EXPECT_TRUE(answers.Done());
}

TEST(TeachingToolsWindow, TheRedMarksOfARunStayAfterItsExceptionBox) {
    SimulatorDocument doc;
    doc.Load({0x00, 0x3E, 0x05, 0x76}); // nop / mvi a,5 / hlt
    auto& window = doc.Open();
    window.Run();
    ASSERT_TRUE(doc.WaitIdle());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !doc.boxes.shown.empty(); }));
    EXPECT_EQ(doc.boxes.shown[0].caption, "Exception");
    EXPECT_EQ(doc.Row(PaneKind::Registers, RegisterRows::RowOf("A")), "A  05");
    EXPECT_TRUE(doc.RowChanged(PaneKind::Registers, RegisterRows::RowOf("A")));
    EXPECT_TRUE(doc.RowChanged(PaneKind::Registers, RegisterRows::RowOf("IP")));
    EXPECT_FALSE(doc.RowChanged(PaneKind::Registers, RegisterRows::RowOf("B")));
}

TEST(TeachingToolsWindow, ResetStartsTheProgramAgainAsCompiled) {
    SimulatorDocument doc;
    // mvi a,99h / sta 0200h / out 01h / hlt, with its data byte 11h at 0200h.
    doc.Load({0x3E, 0x99, 0x32, 0x00, 0x02, 0xD3, 0x01, 0x76});
    doc.machine.memory[0x200] = 0x11;
    auto& window = doc.Open();
    window.Run();
    ASSERT_TRUE(doc.WaitIdle());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !doc.boxes.shown.empty(); }));
    ASSERT_EQ(doc.machine.memory[0x200], 0x99);
    EXPECT_TRUE(window.Action(CSimulatorDlg::Command::Reset)->isEnabled());

    QTest::keyClick(&window, Qt::Key_F5, Qt::ControlModifier);
    EXPECT_EQ(doc.machine.memory[0x200], 0x11);
    EXPECT_EQ(doc.machine.ports[1], 0);
    EXPECT_EQ(doc.machine.pc, 0);
    EXPECT_EQ(window.windowTitle(), " [test.85]  [READY]");
    EXPECT_EQ(doc.Row(PaneKind::Registers, RegisterRows::RowOf("A")), "A  00");
    for (int row = 0; row < RegisterRows::count; ++row) {
        EXPECT_FALSE(doc.RowChanged(PaneKind::Registers, row)) << row;
    }
    EXPECT_FALSE(doc.RowChanged(PaneKind::Ports, 1));
    EXPECT_EQ(window.CounterLine().text(), "Instructions 0   T-states 0   (0.000 ms at 3.072 MHz)");

    // The Instructions pane's context menu has it too.
    window.Run();
    ASSERT_TRUE(doc.WaitIdle());
    ASSERT_EQ(doc.machine.memory[0x200], 0x99);
    QTimer::singleShot(50, [] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        for (QAction* action : menu->actions()) {
            if (action->text() == "&Reset") {
                action->trigger();
            }
        }
        menu->close();
    });
    auto& instructions = doc.Pane(PaneKind::Instructions);
    QContextMenuEvent menuKey(QContextMenuEvent::Keyboard, QPoint(5, 5),
                              instructions.mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(&instructions, &menuKey);
    EXPECT_EQ(doc.machine.memory[0x200], 0x11);
}

TEST(TeachingToolsWindow, StepBackShowsWhatTheInstructionHadChanged) {
    SimulatorDocument doc;
    doc.Load({0x3E, 0x07, 0x06, 0x09, 0x3E, 0x08, 0x0E, 0x00, 0xCD, 0x05, 0x00});
    // mvi a,7 / mvi b,9 / mvi a,8 / mvi c,0 / call 5 (beep)
    auto& window = doc.Open();
    window.StepInto();
    window.StepInto();
    EXPECT_EQ(window.CounterLine().text(),
              "Instructions 2   T-states 14   (0.005 ms at 3.072 MHz)");
    QTest::keyClick(&window, Qt::Key_F12);
    EXPECT_EQ(doc.machine.pc, 2);
    EXPECT_EQ(doc.Row(PaneKind::Registers, RegisterRows::RowOf("B")), "B  00");
    EXPECT_TRUE(
        doc.RowChanged(PaneKind::Registers, RegisterRows::RowOf("B"))); // what mvi b had changed
    EXPECT_FALSE(doc.RowChanged(PaneKind::Registers, RegisterRows::RowOf("A")));
    EXPECT_EQ(window.CounterLine().text(), "Instructions 1   T-states 7   (0.002 ms at 3.072 MHz)");

    for (int i = 0; i < 4; ++i) {
        window.StepInto(); // the call runs on the worker: wait for it
        ASSERT_TRUE(doc.WaitIdle());
    }
    ASSERT_EQ(doc.beeper.beeps.size(), 1u);
    window.Action(CSimulatorDlg::Command::StepBack)->trigger();
    EXPECT_EQ(doc.machine.pc, 8);
    EXPECT_EQ(doc.sourceView.status.back(), "Stepped back over a system call: the beep stays done");
    EXPECT_EQ(doc.beeper.beeps.size(), 1u);
}

TEST(TeachingToolsWindow, TheCounterLineCountsAndItsButtonZeroesIt) {
    SimulatorDocument doc;
    doc.Load({0x00, 0xC3, 0x00, 0x00}); // nop / jmp 0
    auto& window = doc.Open();
    window.StepInto();
    window.StepInto();
    EXPECT_EQ(window.CounterLine().text(),
              "Instructions 2   T-states 14   (0.005 ms at 3.072 MHz)");
    window.ZeroButton().click();
    EXPECT_EQ(window.CounterLine().text(), "Instructions 0   T-states 0   (0.000 ms at 3.072 MHz)");
    window.Run();
    EXPECT_FALSE(window.ZeroButton().isEnabled());
    window.Stop();
    ASSERT_TRUE(doc.WaitIdle());
    EXPECT_TRUE(window.ZeroButton().isEnabled());
    EXPECT_GT(doc.machine.instructionCount, 0u);
    EXPECT_EQ(window.CounterLine().text().toStdString(),
              SimSnapshot::CounterText(doc.machine.instructionCount, doc.machine.tStateCount));
}

TEST(TeachingToolsWindow, PortsAndStackWordsAreEditedLikeMemory) {
    SimulatorDocument doc;
    doc.Load({0xDB, 0x01}); // in 01h
    doc.machine.sp = 0x2000;
    doc.Open();
    DialogAnswers answers;

    auto& ports = doc.Pane(PaneKind::Ports);
    ports.Rows().Select(1);
    answers.Add("5a"); // "Invalid Number ", asked again
    answers.Add("0x5a");
    ports.Modify();
    EXPECT_EQ(doc.machine.ports[1], 0x5A);
    EXPECT_EQ(doc.Row(PaneKind::Ports, 1), "01 5a");
    EXPECT_TRUE(doc.RowChanged(PaneKind::Ports, 1));
    ASSERT_EQ(doc.boxes.shown.size(), 1u);
    EXPECT_EQ(doc.boxes.shown[0].text, "Invalid Number ");
    QTest::keyClick(&ports, Qt::Key_Plus, Qt::KeypadModifier);
    EXPECT_EQ(doc.machine.ports[1], 0x5B);
    doc.window->StepInto();
    EXPECT_EQ(doc.machine.a, 0x5B); // IN reads what was typed

    auto& stack = doc.Pane(PaneKind::Stack);
    stack.Rows().Select(1);
    answers.Add("0x1234");
    stack.Modify();
    EXPECT_EQ(doc.machine.memory[0x2002], 0x34);
    EXPECT_EQ(doc.machine.memory[0x2003], 0x12);
    EXPECT_EQ(doc.Row(PaneKind::Stack, 1), "SP+2 1234");
    QTest::keyClick(&stack, Qt::Key_Minus, Qt::KeypadModifier);
    EXPECT_EQ(doc.Row(PaneKind::Stack, 1), "SP+2 1233");
    // Memory Dump and Instructions are refilled from the new memory.
    auto& memory = doc.Pane(PaneKind::MemoryDump);
    memory.Rows().JumpTo(0x2002);
    EXPECT_EQ(doc.Row(PaneKind::MemoryDump, memory.Rows().SelectedRow()), "2002 33");
    EXPECT_TRUE(answers.Done());
}

TEST(TeachingToolsWindow, TheAnimateDelayIsKeptInTheSettingsAndReachesTheRun) {
    SimulatorSettings::SetAnimateDelayMs(400);
    {
        SimulatorDocument doc;
        auto& window = doc.Open();
        auto& delay = window.AnimateDelayControl();
        EXPECT_EQ(delay.value(), 400);
        EXPECT_EQ(delay.minimum(), 50);
        EXPECT_EQ(delay.maximum(), 2000);
        delay.setValue(1250);
        EXPECT_EQ(window.RunControl().AnimateDelay(), 1250);
    }
    EXPECT_EQ(SimulatorSettings::AnimateDelayMs(), 1250);
    SimulatorDocument doc;
    auto& window = doc.Open();
    EXPECT_EQ(window.AnimateDelayControl().value(), 1250);
    EXPECT_EQ(window.RunControl().AnimateDelay(), 1250);
    SimulatorSettings::SetAnimateDelayMs(400);
}

TEST(TeachingToolsWindow, WithTheHistorySwitchedOffStepBackSaysSo) {
    SimulatorSettings::SetStepBackHistory(false);
    SimulatorDocument doc;
    doc.Load({0x3C, 0x3C});
    auto& window = doc.Open();
    window.StepInto();
    window.StepBack();
    EXPECT_EQ(doc.machine.pc, 1);
    EXPECT_EQ(doc.sourceView.status.back(),
              "Step Back is off: switch the history on in Preferences");
    SimulatorSettings::SetStepBackHistory(true);
    window.StepInto();
    window.StepBack();
    EXPECT_EQ(doc.machine.pc, 1);
}

} // namespace
