// The simulator window over run control: panes after a step, edits and their follow-ups, the
// toolbar through a run, the number prompt with Stop and Close, keys, accessibility.

#include "machine/ui/CLedWindow.h"
#include "simulator/CRunControl.h"
#include "simulator/RegisterRows.h"
#include "simulator/ui/SimulatorWindowHarness.h"

#include <QAction>
#include <QSignalSpy>
#include <gtest/gtest.h>

namespace {

// mvi a,0bh / lxi sp,2000h / xra a / jmp 0
const std::initializer_list<int> stepProgram = {0x3E, 0x0B, 0x31, 0x00, 0x20,
                                                0xAF, 0xC3, 0x00, 0x00};

QString AccessibleRow(QWidget& pane, int row) {
    QAccessibleInterface* list = QAccessible::queryAccessibleInterface(&pane);
    return list->child(row)->text(QAccessible::Name);
}

} // namespace

TEST(SimulatorWindow, PanesAfterStepsShowFormatsChangeMarksAndMarkers) {
    SimulatorDocument doc;
    doc.Load(stepProgram);
    auto& window = doc.Open();
    EXPECT_EQ(window.windowTitle(), " [test.85]  [READY]");
    EXPECT_EQ(window.LedWindow().windowTitle(), " [test.85]  [READY]   LED Display ");
    EXPECT_TRUE(window.LedWindow().isVisible());
    EXPECT_FALSE(doc.RowChanged(PaneKind::Registers,
                                RegisterRows::RowOf("A"))); // opening leaves nothing red

    window.StepInto();
    EXPECT_EQ(doc.Row(PaneKind::Registers, RegisterRows::RowOf("A")), "A  0B");
    EXPECT_EQ(doc.Row(PaneKind::Registers, RegisterRows::RowOf("IP")), "IP 0002");
    EXPECT_TRUE(doc.RowChanged(PaneKind::Registers, RegisterRows::RowOf("A")));
    EXPECT_TRUE(doc.RowChanged(PaneKind::Registers, RegisterRows::RowOf("IP")));
    EXPECT_FALSE(doc.RowChanged(PaneKind::Registers, RegisterRows::RowOf("B")));
    EXPECT_EQ(doc.sourceView.lines, std::vector<std::uint16_t>{2});
    auto& instructions = doc.Pane(PaneKind::Instructions).Rows();
    EXPECT_TRUE(instructions.IsPcRow(1));
    EXPECT_TRUE(doc.Row(PaneKind::Instructions, 1).startsWith("0002 "));

    window.StepInto();
    window.StepInto(); // xra a after reset (S set): S, Z and P change, AC and CY stay
    EXPECT_TRUE(doc.RowChanged(PaneKind::Registers, RegisterRows::RowOf("A")));
    EXPECT_FALSE(doc.RowChanged(PaneKind::Registers, RegisterRows::RowOf("SP")));
    for (int row = 0; row < 5; ++row) {
        EXPECT_EQ(doc.RowChanged(PaneKind::Flags, row), row == 0 || row == 1 || row == 3) << row;
    }
    EXPECT_EQ(doc.Row(PaneKind::Stack, 0), "SP   0000");

    // Screen readers read each row exactly as drawn.
    EXPECT_EQ(AccessibleRow(doc.Pane(PaneKind::Registers), RegisterRows::RowOf("A")), "A  00");
    EXPECT_EQ(AccessibleRow(doc.Pane(PaneKind::Registers), RegisterRows::RowOf("SP")), "SP 2000");
    EXPECT_EQ(AccessibleRow(doc.Pane(PaneKind::MemoryDump), 0), "0000 3e");
}

TEST(SimulatorWindow, ModifyMemoryRegistersSpAndIpWithTheirFollowUps) {
    SimulatorDocument doc;
    doc.Load(stepProgram);
    doc.machine.memory[0x3000] = 0x34;
    doc.machine.memory[0x3001] = 0x12;
    doc.Open();
    DialogAnswers answers;

    auto& memory = doc.Pane(PaneKind::MemoryDump);
    memory.Rows().JumpTo(0x1234);
    answers.Add("3e");  // "Invalid Number ", asked again
    answers.Add("256"); // out of range, asked again
    answers.Add("076");
    memory.Modify();
    EXPECT_EQ(doc.machine.memory[0x1234], 076);
    EXPECT_EQ(answers.prompts.front(), "0x0000");
    ASSERT_EQ(doc.boxes.shown.size(), 2u);
    EXPECT_EQ(doc.boxes.shown[0].caption, "Error");
    EXPECT_EQ(doc.boxes.shown[0].text, "Invalid Number ");
    EXPECT_EQ(doc.boxes.shown[1].text, "Number should be within 0 and 255");
    EXPECT_EQ(doc.Row(PaneKind::MemoryDump, memory.Rows().SelectedRow()), "1234 3e");
    EXPECT_TRUE(doc.RowChanged(PaneKind::MemoryDump, memory.Rows().SelectedRow()));

    auto& registers = doc.Pane(PaneKind::Registers);
    registers.Rows().Select(RegisterRows::RowOf("HL")); // HL takes any value up to 65535
    answers.Add("65535");
    registers.Modify();
    EXPECT_EQ(doc.machine.HL(), 0xFFFF);
    EXPECT_EQ(doc.Row(PaneKind::Registers, RegisterRows::RowOf("HL")), "HL FFFF");

    registers.Rows().Select(
        RegisterRows::RowOf("SP")); // SP: the Stack pane shows the words at the new SP at once
    answers.Add("0x3000");
    registers.Modify();
    EXPECT_EQ(doc.Row(PaneKind::Stack, 0), "SP   1234");

    registers.Rows().Select(RegisterRows::RowOf("IP")); // IP: the Instructions pane follows
    answers.Add("0x4000");
    registers.Modify();
    EXPECT_EQ(doc.Pane(PaneKind::Instructions).Rows().FirstAddress(), 0x4000);
    EXPECT_TRUE(doc.Pane(PaneKind::Instructions).Rows().IsPcRow(0));

    // Keypad + on SP refreshes the Stack pane like Modify.
    registers.Rows().Select(RegisterRows::RowOf("SP"));
    QTest::keyClick(&registers, Qt::Key_Minus, Qt::KeypadModifier);
    QTest::keyClick(&registers, Qt::Key_Minus, Qt::KeypadModifier);
    EXPECT_EQ(doc.machine.sp, 0x2FFE);
    EXPECT_EQ(doc.Row(PaneKind::Stack, 1), "SP+2 1234");

    // The Instructions pane assembles in place.
    auto& instructions = doc.Pane(PaneKind::Instructions);
    instructions.Rows().JumpTo(0x4000);
    answers.Add("mvi b, 7");
    instructions.Modify();
    EXPECT_EQ(doc.machine.memory[0x4000], 0x06);
    EXPECT_EQ(doc.machine.memory[0x4001], 0x07);
    EXPECT_TRUE(answers.Done());
}

TEST(SimulatorWindow, ToolbarFollowsARunAndStopEndsIt) {
    SimulatorDocument doc;
    doc.Load({0xC3, 0x00, 0x00}); // jmp 0
    auto& window = doc.Open();
    using Command = CSimulatorDlg::Command;
    const std::vector<Command> idle = {
        Command::Run,     Command::StepInto,         Command::StepOver,
        Command::StepOut, Command::RunToCursor,      Command::Close,
        Command::Animate, Command::ToggleBreakpoint, Command::EnableDisableBreakpoint};
    auto enabled = [&](const std::vector<Command>& names) {
        for (const auto name : names) {
            if (!window.Action(name)->isEnabled()) {
                return false;
            }
        }
        return true;
    };
    EXPECT_TRUE(enabled(idle));
    EXPECT_FALSE(window.Action(CSimulatorDlg::Command::Stop)->isEnabled());

    window.Run();
    EXPECT_TRUE(window.Action(CSimulatorDlg::Command::Stop)->isEnabled());
    EXPECT_EQ(window.windowTitle(), " [test.85]  [RUNNING]");
    for (const auto& name : idle) {
        EXPECT_FALSE(window.Action(name)->isEnabled()) << CSimulatorDlg::CommandText(name);
    }
    EXPECT_TRUE(enabled({Command::Refresh, Command::ToggleLed}));
    // Close is refused while running; the Enter key edits nothing.
    EXPECT_FALSE(window.Close());
    QTest::keyClick(&doc.Pane(PaneKind::Registers), Qt::Key_Return);
    EXPECT_TRUE(doc.boxes.shown.empty());

    QTest::keyClick(&window, Qt::Key_Pause, Qt::ControlModifier);
    ASSERT_TRUE(doc.WaitIdle());
    EXPECT_TRUE(enabled(idle));
    EXPECT_FALSE(window.Action(CSimulatorDlg::Command::Stop)->isEnabled());
    EXPECT_TRUE(doc.boxes.shown.empty()); // a stop by the user is silent
}

TEST(SimulatorWindow, KeysRunStepAndHaltIsShown) {
    SimulatorDocument doc;
    doc.Load({0x3E, 0x01, 0x00, 0x76}); // mvi a,1 / nop / hlt
    auto& window = doc.Open();
    QTest::keyClick(&window, Qt::Key_F11);
    EXPECT_EQ(doc.machine.pc, 2);
    QTest::keyClick(&window, Qt::Key_F5);
    ASSERT_TRUE(doc.WaitIdle());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !doc.boxes.shown.empty(); }));
    EXPECT_EQ(doc.boxes.shown[0].caption, "Exception");
    EXPECT_NE(doc.boxes.shown[0].text.find("Halt"), std::string::npos);
    EXPECT_EQ(doc.Row(PaneKind::Registers, RegisterRows::RowOf("IP")), "IP 0003");
}

TEST(SimulatorWindow, PromptAnsweredStoppedAndClosed) {
    SimulatorDocument doc;
    // mvi a,5 / call 5 / jmp 0: the keyboard prompt again and again.
    doc.Load({0x3E, 0x05, 0xCD, 0x05, 0x00, 0xC3, 0x00, 0x00});
    auto& window = doc.Open();
    QSignalSpy opened(&doc.numberDialog, &QtNumberDialog::opened);

    window.Run();
    ASSERT_TRUE(opened.wait(5000));
    auto* prompt = qobject_cast<QDialog*>(opened.takeFirst().at(0).value<QDialog*>());
    ASSERT_NE(prompt, nullptr);
    EXPECT_TRUE(window.Action(CSimulatorDlg::Command::Stop)->isEnabled());
    prompt->findChild<QLineEdit*>()->setText("0x7");
    prompt->accept();
    ASSERT_TRUE(opened.wait(5000)); // the program loops back to the prompt
    EXPECT_EQ(doc.machine.a, 5);    // the loop's mvi a,5 ran after the answer 7

    // Stop closes the open prompt; then Close closes the window.
    QPointer<QDialog> second = qobject_cast<QDialog*>(opened.takeFirst().at(0).value<QDialog*>());
    window.Stop();
    ASSERT_TRUE(QTest::qWaitFor([&] { return second.isNull() || !second->isVisible(); }));
    ASSERT_TRUE(doc.WaitIdle());
    EXPECT_EQ(doc.machine.pc, 2); // still on the call: running again repeats it
    QSignalSpy closed(&window, &CSimulatorDlg::closed);
    EXPECT_TRUE(window.Close());
    EXPECT_EQ(closed.count(), 1);
    EXPECT_FALSE(doc.flags.IsSimulatorOpen());
    EXPECT_TRUE(QTest::qWaitFor([&] { return doc.window.isNull(); }));
}

TEST(SimulatorWindow, ShiftF5ClosesWhileThePromptIsOpen) {
    SimulatorDocument doc;
    doc.Load({0x3E, 0x05, 0xCD, 0x05, 0x00, 0x76});
    auto& window = doc.Open();
    QSignalSpy opened(&doc.numberDialog, &QtNumberDialog::opened);
    QSignalSpy closed(&window, &CSimulatorDlg::closed);
    window.Run();
    ASSERT_TRUE(opened.wait(5000));
    QPointer<QDialog> prompt = qobject_cast<QDialog*>(opened.takeFirst().at(0).value<QDialog*>());
    window.StopAndClose();
    ASSERT_TRUE(QTest::qWaitFor([&] { return doc.window.isNull(); }));
    EXPECT_EQ(closed.count(), 1);
    EXPECT_TRUE(QTest::qWaitFor([&] { return prompt.isNull() || !prompt->isVisible(); }));
    EXPECT_EQ(DialogNumberPrompt::OpenPrompts(), 0);
}

TEST(SimulatorWindow, PlacementAndLedToggle) {
    QByteArray placement;
    {
        SimulatorDocument doc;
        auto& window = doc.Open();
        window.setGeometry(40, 50, 700, 470);
        window.ToggleLed();
        EXPECT_FALSE(window.LedWindow().isVisible());
        EXPECT_FALSE(window.Action(CSimulatorDlg::Command::ToggleLed)->isChecked());
        window.ToggleLed();
        window.LedWindow().close(); // the user's close only hides it
        EXPECT_FALSE(window.IsLedVisible());
        EXPECT_FALSE(window.Action(CSimulatorDlg::Command::ToggleLed)->isChecked());
        QObject::connect(&window, &CSimulatorDlg::closed,
                         [&](const QByteArray& saved) { placement = saved; });
        ASSERT_TRUE(window.Close());
    }
    SimulatorDocument doc;
    auto& window = doc.Open();
    window.RestorePlacement(placement);
    EXPECT_EQ(window.size(), QSize(700, 470));
}

TEST(SimulatorWindow, LedFollowsAFullSpeedRunAndAnimateRefreshesThePanes) {
    SimulatorDocument doc;
    // loop: inr l / mvi a,0bh / mvi c,0 / call 5 / jmp loop: L shown in the left pair, for ever.
    doc.Load({0x2C, 0x3E, 0x0B, 0x0E, 0x00, 0xCD, 0x05, 0x00, 0xC3, 0x00, 0x00});
    auto& window = doc.Open();
    QAccessibleInterface* led = QAccessible::queryAccessibleInterface(&window.LedWindow());
    const QString before = led->child(1)->text(QAccessible::Name);
    window.Run();
    ASSERT_TRUE(QTest::qWaitFor([&] { return led->child(1)->text(QAccessible::Name) != before; }));
    EXPECT_EQ(window.windowTitle(), " [test.85]  [RUNNING]");
    window.Stop();
    ASSERT_TRUE(doc.WaitIdle());

    doc.machine.pc = 0;
    window.Animate();
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return doc.Row(PaneKind::Registers, RegisterRows::RowOf("IP")) == "IP 0001"; }));
    EXPECT_TRUE(doc.Pane(PaneKind::Instructions).Rows().IsPcRow(1));
    window.Stop();
    ASSERT_TRUE(doc.WaitIdle());
}

TEST(SimulatorWindow, BreakpointKeysOnTheSelectedInstruction) {
    SimulatorDocument doc;
    doc.Load(stepProgram);
    doc.context.sourceView = nullptr; // no source view: the window keeps the list itself
    auto& window = doc.Open();
    auto& instructions = doc.Pane(PaneKind::Instructions);
    instructions.Rows().Select(1);
    QTest::keyClick(&window, Qt::Key_F9);
    EXPECT_TRUE(doc.IsBreakpointEnabled(2));
    EXPECT_EQ(instructions.Rows().BreakpointOf(1), CPaneRows::Breakpoint::Enabled);
    QTest::keyClick(&window, Qt::Key_F9, Qt::ControlModifier);
    EXPECT_EQ(instructions.Rows().BreakpointOf(1), CPaneRows::Breakpoint::Disabled);
    QTest::keyClick(&window, Qt::Key_F9);
    EXPECT_FALSE(doc.HasBreakpoint(2));
    EXPECT_EQ(instructions.Rows().BreakpointOf(1), CPaneRows::Breakpoint::None);
}

TEST(SimulatorWindow, EveryToolbarButtonHasAPictureThatPaints) {
    SimulatorDocument doc;
    auto& window = doc.Open();
    for (std::size_t i = 0; i < CSimulatorDlg::CommandCount; ++i) {
        const auto command = static_cast<CSimulatorDlg::Command>(i);
        QAction* action = window.Action(command);
        ASSERT_NE(action, nullptr) << CSimulatorDlg::CommandText(command);
        EXPECT_EQ(action->text(), QString::fromLatin1(CSimulatorDlg::CommandText(command)));
        if (command == CSimulatorDlg::Command::StopAndClose) {
            continue; // keys only
        }
        const QImage image = action->icon().pixmap(24, 24).toImage();
        int painted = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                painted += qAlpha(image.pixel(x, y)) > 0 ? 1 : 0;
            }
        }
        EXPECT_GT(painted, 20) << CSimulatorDlg::CommandText(command);
    }
}
