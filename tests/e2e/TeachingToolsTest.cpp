// The simulator's teaching tools as a student reaches them in the whole program, from the keyboard
// and the mouse: Reset, the instruction and T-state counter, Step Back with the history switch in
// Preferences, typing into the Ports and Stack panes, and the pace of Animate.
#include "Program.h"
#include "app/CMyZorvanDoc.h"
#include "app/CommandTable.h"
#include "app/ui/CMainFrame.h"
#include "app/ui/CMyZorvanView.h"
#include "editor/ui/CommandTarget.h"
#include "machine/C8085Object.h"
#include "simulator/CPaneRows.h"
#include "simulator/CRunControl.h"
#include "simulator/ui/CSimListBox.h"
#include "simulator/ui/CSimulatorDlg.h"
#include "simulator/ui/SimulatorSettings.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QTest>
#include <QToolButton>

namespace {

// Writes over its own data byte at 0100h, reads port 10h, pushes a word.
constexpr const char* program = "        .setbyte 0x0100, 0x11\n"
                                "start:  mvi a, 0x99\n"
                                "        sta 0x0100\n"
                                "        in 0x10\n"
                                "        push b\n"
                                "        hlt\n";
constexpr std::uint16_t data = 0x0100;

// The value typed into the value dialog, then Enter.
ModalAnswers::Answer TypeValue(const QString& text) {
    return [text](QWidget* modal) {
        auto* edit = modal->findChild<QLineEdit*>();
        ASSERT_NE(edit, nullptr);
        edit->selectAll();
        QTest::keyClicks(edit, text);
        QTest::keyClick(edit, Qt::Key_Return);
    };
}

class TeachingTools : public ProgramTest {
protected:
    // The program compiled with F7; the simulator window active.
    CSimulatorDlg& Compiled() {
        StartProgram(Write("tools.85", program));
        Press(Qt::Key_F7);
        Settle();
        CSimulatorDlg* window = Simulator();
        EXPECT_NE(window, nullptr);
        Activate(window);
        return *window;
    }
    C8085Object& Machine() { return Document().GetMachine(); }
    // A click on a row of a pane.
    void ClickRow(CSimListBox& pane, int row) {
        Click(&pane, pane.AccessibleItemRect(row).center());
    }
};

TEST_F(TeachingTools, CtrlF5PutsBackTheProgramAsCompiledAfterItWroteOverItsData) {
    CSimulatorDlg& window = Compiled();
    ASSERT_EQ(Machine().memory[data], 0x11);
    modals.Queue(ModalAnswers::Click("OK"));
    Press(Qt::Key_F5);
    Settle();
    ASSERT_EQ(Machine().memory[data], 0x99);
    Activate(&window);
    Press(Qt::Key_F5, Qt::ControlModifier);
    Settle();
    EXPECT_EQ(Machine().memory[data], 0x11);
    EXPECT_EQ(Machine().pc, 0);
    EXPECT_TRUE(window.windowTitle().endsWith("[READY]"));
    EXPECT_EQ(window.CounterLine().text(), "Instructions 0   T-states 0   (0.000 ms at 3.072 MHz)");
}

TEST_F(TeachingTools, TheCounterLineCountsEachStepAndItsButtonZeroesIt) {
    CSimulatorDlg& window = Compiled();
    Press(Qt::Key_F11); // mvi: 7
    Press(Qt::Key_F11); // sta: 13
    Settle();
    EXPECT_EQ(window.CounterLine().text(),
              "Instructions 2   T-states 20   (0.007 ms at 3.072 MHz)");
    Click(&window.ZeroButton(), window.ZeroButton().rect().center());
    EXPECT_EQ(window.CounterLine().text(), "Instructions 0   T-states 0   (0.000 ms at 3.072 MHz)");
}

TEST_F(TeachingTools, F12StepsBackAndThePreferencesSwitchTurnsTheHistoryOff) {
    CSimulatorDlg& window = Compiled();
    Press(Qt::Key_F11);
    Press(Qt::Key_F11);
    Settle();
    ASSERT_EQ(Machine().memory[data], 0x99);
    Press(Qt::Key_F12);
    Settle();
    EXPECT_EQ(Machine().pc, 2);
    EXPECT_EQ(Machine().memory[data], 0x11);

    // Edit > Preferences: the history switch off.
    Activate(&Main());
    modals.Queue([](QWidget* modal) {
        for (auto* box : modal->findChildren<QCheckBox*>()) {
            if (box->text().contains("Step &Back")) {
                box->click();
            }
        }
        QTest::keyClick(modal, Qt::Key_Return);
    });
    Main().Action(CommandTable::EditPreferences)->trigger();
    Settle();
    EXPECT_FALSE(SimulatorSettings::StepBackHistory());
    Activate(&window);
    Press(Qt::Key_F11);
    Press(Qt::Key_F12);
    Settle();
    EXPECT_EQ(Machine().pc, 5) << "nothing was stepped back";
    EXPECT_EQ(Main().PaneText(StatusPane::Message),
              "Step Back is off: switch the history on in Preferences");
    SimulatorSettings::SetStepBackHistory(true);
}

TEST_F(TeachingTools, APortAndAStackWordAreTypedIntoTheirPanes) {
    CSimulatorDlg& window = Compiled();
    CSimListBox& ports = window.Pane(PaneKind::Ports);
    ClickRow(ports, 0x10 - ports.Rows().FirstAddress());
    modals.Queue(TypeValue("0x5a"));
    Press(Qt::Key_Return);
    Settle();
    EXPECT_EQ(Machine().ports[0x10], 0x5A);
    Activate(&window);
    Press(Qt::Key_F11);
    Press(Qt::Key_F11);
    Press(Qt::Key_F11); // in 10h
    Settle();
    EXPECT_EQ(Machine().a, 0x5A);

    CSimListBox& stack = window.Pane(PaneKind::Stack);
    ClickRow(stack, 1);
    modals.Queue(TypeValue("0x1234"));
    Press(Qt::Key_Return);
    Settle();
    const std::uint16_t word = Machine().sp + 2;
    EXPECT_EQ(Machine().memory[word], 0x34);
    EXPECT_EQ(Machine().memory[static_cast<std::uint16_t>(word + 1)], 0x12);
    EXPECT_EQ(stack.RowText(1), "SP+2 1234");
}

TEST_F(TeachingTools, TheAnimateDelayTypedInIsKeptAndTakenByTheRun) {
    CSimulatorDlg& window = Compiled();
    QSpinBox& delay = window.AnimateDelayControl();
    Click(&delay, delay.rect().center());
    ASSERT_TRUE(WaitFor([&delay] { return delay.hasFocus(); }));
    delay.selectAll();
    Type("1500");
    Press(Qt::Key_Tab);
    Settle();
    EXPECT_EQ(delay.value(), 1500);
    EXPECT_EQ(window.RunControl().AnimateDelay(), 1500);
    EXPECT_EQ(SimulatorSettings::AnimateDelayMs(), 1500);
    SimulatorSettings::SetAnimateDelayMs(400);
}

} // namespace
