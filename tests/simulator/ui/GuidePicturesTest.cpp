// The pictures of the guide's teaching-tools sections, taken from the simulator window with an
// assembled program: Step Back, the counter line, Reset on the toolbar, edited ports and stack,
// the Animate delay. They go to the test's temporary folder; scripts/guide-pictures.sh sets
// ZORVAN_GUIDE_PICTURES to docs/screenshots to keep them.

#include "assembler/CParse.h"
#include "simulator/ui/SimulatorWindowHarness.h"
#include "support/TempFolder.h"

#include <QLabel>
#include <QSpinBox>
#include <QToolBar>
#include <gtest/gtest.h>

namespace {

constexpr const char* program = R"(; adds 5 + 4 + 3 + 2 + 1
        .begin 0x0100
        .org 0x0100
start:  lxi sp, 0x2000
        mvi b, 5
        mvi a, 0
loop:   add b
        out 0x10
        push psw
        pop psw
        dcr b
        jnz loop
        sta 0x0200
        hlt
)";

QString PictureFolder(const TempFolder& temporary) {
    const QByteArray kept = qgetenv("ZORVAN_GUIDE_PICTURES");
    return kept.isEmpty() ? QString::fromStdString(temporary.File(""))
                          : QString::fromLocal8Bit(kept);
}

void Save(const QPixmap& picture, const QString& folder, const QString& name) {
    ASSERT_FALSE(picture.isNull()) << name.toStdString();
    EXPECT_TRUE(picture.save(folder + "/" + name)) << name.toStdString();
}

TEST(GuidePictures, TheTeachingToolsAsTheGuideShowsThem) {
    TempFolder temporary;
    const QString folder = PictureFolder(temporary);
    SimulatorDocument doc;
    CParse parser;
    parser.Attach(doc.machine);
    doc.machine.Reset();
    parser.Compile(temporary.Write("sum.85", program));
    doc.machine.Start();
    auto& window = doc.Open();
    window.resize(760, 490);
    window.AnimateDelayControl().setValue(400);

    // Step Back: seven steps into the loop, then one back over the pop.
    for (int i = 0; i < 7; ++i) {
        window.StepInto();
    }
    window.StepBack();
    EXPECT_EQ(doc.machine.pc, 0x010B);
    EXPECT_TRUE(doc.RowChanged(PaneKind::Stack, 0));
    QApplication::processEvents();
    Save(window.grab(), folder, "step-back.png");

    // The counter line after a run to the halt.
    window.Run();
    ASSERT_TRUE(doc.WaitIdle());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !doc.boxes.shown.empty(); }));
    QApplication::processEvents();
    auto& counters = window.CounterLine();
    EXPECT_TRUE(counters.text().startsWith("Instructions 34   T-states "));
    const QRect bar(0, counters.y() - 4, window.width(), counters.height() + 8);
    Save(window.grab(bar), folder, "counters.png");

    // Reset beside Close on the toolbar.
    window.Reset();
    EXPECT_EQ(doc.machine.memory[0x0200], 0);
    Save(window.findChild<QToolBar*>("toolbar")->grab(), folder, "reset.png");

    // A stack word and then a port typed in (each edit refreshes the panes, so the port's row is
    // the red one).
    DialogAnswers answers;
    doc.machine.sp = 0x1FFE;
    window.RefreshAll();
    auto& stack = doc.Pane(PaneKind::Stack);
    stack.Rows().Select(0);
    answers.Add("0x1234");
    stack.Modify();
    auto& ports = doc.Pane(PaneKind::Ports);
    ports.Rows().JumpTo(0x10);
    answers.Add("0x2a");
    ports.Modify();
    EXPECT_EQ(doc.machine.ports[0x10], 0x2A);
    EXPECT_EQ(doc.machine.memory[0x1FFE], 0x34);
    EXPECT_TRUE(answers.Done());
    QApplication::processEvents();
    const QRect panes = stack.geometry().united(ports.geometry()).adjusted(-4, -22, 4, 4);
    Save(window.grab(panes), folder, "ports-stack.png");

    // The Animate delay, set slower.
    window.AnimateDelayControl().setValue(1000);
    auto& delay = window.AnimateDelayControl();
    const QRect control(delay.x() - 110, delay.y() - 4, delay.width() + 114, delay.height() + 8);
    Save(window.grab(control), folder, "animate-delay.png");
    window.AnimateDelayControl().setValue(400);
}

} // namespace
