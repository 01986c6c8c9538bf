#include "app/CMyZorvanDoc.h"
#include "app/ui/CMyZorvanView.h"
#include "app/ui/SourceViewDocumentLink.h"
#include "simulator/SourceLineFlags.h"
#include "simulator/SourceViewCommands.h"
#include "support/RecordingMessageBoxes.h"
#include "support/TempFolder.h"

#include <QApplication>
#include <QPointer>
#include <QTest>
#include <gtest/gtest.h>

namespace {

namespace Id = SourceViewCommandId;

// Lines 0-3 put 8085 into the LED's address group through CALL 5; line 4 is where the run stops.
const char* const LedProgram = "        lxi h, 0x8085\n"
                               "        mvi c, 1\n"
                               "        mvi a, 11\n"
                               "        call 5\n"
                               "        mvi l, 0x42\n"
                               "        mvi c, 2\n"
                               "        mvi a, 11\n"
                               "        call 5\n"
                               "        hlt\n";

// The desktop's own simulator window and devices behind a source view.
TEST(SourceViewRun, RunStopsOnASourceBreakpointMarksItsLineAndCall5ReachedTheLed) {
    RecordingMessageBoxes boxes;
    TempFolder folder;
    CMyZorvanDoc document;
    ASSERT_TRUE(document.OpenDocument(folder.Write("led.85", LedProgram)));
    SourceViewDocumentLink link(document);
    auto view = std::make_unique<CMyZorvanView>(link);
    view->show();
    view->SetCaretPosition({0, 4});
    view->OnCommand(Id::ToggleBreakpointKey);

    const C8085Object& machine = document.GetMachine();
    const int blank = machine.GetLedCell(6);
    view->OnCommand(Id::RunKey); // compiles first, then runs
    ASSERT_TRUE(document.IsSimulatorOpen());
    QPointer<QWidget> window = view->Simulator()->Window();
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return (document.GetTextBuffer().LineFlags(4) & LineFlagExecution) != 0; }, 5000));
    EXPECT_EQ(view->GetCursorPos().line, 4);
    EXPECT_EQ(document.GetMachine().pc, document.lineMap.AddressOfLine(5));
    EXPECT_TRUE(boxes.shown.empty()) << "a breakpoint stops silently";
    EXPECT_NE(machine.GetLedCell(2), blank) << "8085 in the address group";
    EXPECT_NE(machine.GetLedCell(5), blank);
    EXPECT_EQ(machine.GetLedCell(6), blank) << "the data pair comes after the breakpoint";

    view->OnCommand(Id::StopAndCloseKey);
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.isNull(); }, 5000));
    EXPECT_FALSE(document.IsSimulatorOpen());
    EXPECT_EQ(view->Simulator(), nullptr);
    view->OnCommand(Id::StopAndCloseKey); // the window is gone: nothing
}

} // namespace
