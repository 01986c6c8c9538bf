#include "SourceViewBench.h"
#include "assembler/KeywordClassifier.h"
#include "simulator/SourceLineFlags.h"
#include "simulator/SourcePreferences.h"
#include "simulator/SourceViewCommands.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <gtest/gtest.h>

namespace {

namespace Id = SourceViewCommandId;

TEST(SourceView, CompileErrorBoxPutsTheCaretOnTheErrorWhenOk) {
    SourceViewBench bench("  nop\n  mvi q, 0\n");
    bench.Caret(0, 2);
    bench.view->OnCommand(Id::CompileKey); // Cancel: the caret stays
    ASSERT_EQ(bench.boxes.shown.size(), 1u);
    const auto& box = bench.boxes.shown[0];
    EXPECT_EQ(box.caption, "Zorvan");
    EXPECT_EQ(box.buttons, MessageBoxes::Buttons::OkCancel);
    EXPECT_NE(box.text.find("Line - 2 Column - "), std::string::npos) << box.text;
    EXPECT_TRUE(box.text.ends_with("\n\nPress OK to goto source"));
    EXPECT_EQ(bench.view->GetCursorPos(), (CTextPosition{2, 0}));
    EXPECT_EQ(bench.opened, 0);

    bench.boxes.answers.push_back(MessageBoxes::Answer::Ok);
    bench.view->OnCommand(Id::CompileKey);
    EXPECT_EQ(bench.view->GetCursorPos().line, 1);
    EXPECT_FALSE(bench.view->HasSelection());
    EXPECT_FALSE(bench.document.IsSimulatorOpen());
}

TEST(SourceView, CompileOpensTheSimulatorAndRebuildsBreakpointsFromTheMarks) {
    SourceViewBench bench(CountingProgram);
    bench.Caret(4);
    bench.view->OnCommand(Id::ToggleBreakpointKey); // a comment line: dropped at the compile
    bench.Caret(3);
    bench.view->OnCommand(Id::ToggleBreakpointKey);
    EXPECT_EQ(bench.Flags(3), LineFlagBreakpoint);

    bench.view->OnCommand(Id::CompileKey);
    ASSERT_EQ(bench.opened, 1);
    ASSERT_EQ(bench.boxes.shown.size(), 1u);
    EXPECT_EQ(bench.boxes.shown[0].text, "One or more invalid breakpoints have been removed");
    EXPECT_EQ(bench.Flags(4), 0u);
    const auto breakpoints = bench.document.GetBreakpoints();
    ASSERT_EQ(breakpoints.size(), 1u);
    EXPECT_EQ(breakpoints[0].address, 0x12);
    EXPECT_EQ(breakpoints[0].sourceLine, 3);

    EXPECT_FALSE(bench.view->CommandState(Id::CompileButton).enabled) << "open: no compile";
    bench.view->OnCommand(Id::CompileKey);
    EXPECT_EQ(bench.opened, 1);

    bench.view->OnCommand(Id::RunKey);
    bench.Caret(4);
    bench.view->OnCommand(Id::RunToCursorKey);
    ASSERT_EQ(bench.boxes.shown.size(), 2u);
    EXPECT_EQ(bench.boxes.shown[1].text, "Source Line 5 has No equivalent 8085 memory address");
    bench.Caret(5);
    bench.view->OnCommand(Id::RunToCursorKey);
    bench.view->OnCommand(Id::ShowAddressButton);
    // The compile refreshes the window once its breakpoints are rebuilt, so they show at once.
    EXPECT_EQ(bench.last->calls,
              (std::vector<std::string>{"RefreshAll", "Run", "RunToCursor 19", "ShowAddress 19"}));
}

TEST(SourceView, ShiftF5AfterTheWindowClosedTouchesNothingAndTheNextOpeningGetsItsPlace) {
    SourceViewBench bench(CountingProgram);
    bench.view->Compile();
    ASSERT_NE(bench.view->Simulator(), nullptr);
    bench.view->OnCommand(Id::StopAndCloseKey);
    QApplication::processEvents();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(bench.view->Simulator(), nullptr);
    bench.view->OnCommand(Id::StopAndCloseKey); // no window: nothing

    bench.view->Compile();
    ASSERT_EQ(bench.opened, 2);
    EXPECT_EQ(bench.last->restored, QByteArray("placement"));
}

TEST(SourceView, AModifiedDocumentIsOfferedSavingButNoStillCompilesTheFile) {
    SourceViewBench bench(CountingProgram);
    bench.Caret(0);
    bench.view->TypeCharacter('x');
    ASSERT_TRUE(bench.document.IsModified());
    bench.boxes.answers.push_back(MessageBoxes::Answer::No);
    bench.view->Compile();
    ASSERT_GE(bench.boxes.shown.size(), 1u);
    EXPECT_EQ(bench.boxes.shown[0].text, "Save changes to prog.85?");
    EXPECT_EQ(bench.boxes.shown[0].buttons, MessageBoxes::Buttons::YesNoCancel);
    EXPECT_EQ(bench.opened, 1) << "the file on disk is assembled";
    EXPECT_TRUE(bench.document.IsModified());
}

TEST(SourceView, MarksFollowEnterAndEditsIntoTheNextCompile) {
    SourceViewBench bench(CountingProgram);
    bench.Caret(5);
    bench.view->OnCommand(Id::ToggleBreakpointKey);
    bench.Caret(5, 0);
    bench.view->TypeCharacter(13); // a new line in front of "cpi 3"
    EXPECT_EQ(bench.Flags(5), 0u);
    EXPECT_EQ(bench.Flags(6), LineFlagBreakpoint);
    bench.Caret(6, 10);
    bench.view->TypeCharacter(13); // inside the statement: the mark stays
    EXPECT_EQ(bench.Flags(6), LineFlagBreakpoint);
    while (bench.view->LineText(6) != "        cpi 3" && bench.view->CanUndo()) {
        bench.view->OnCommand(57643); // undo the split (and its indent)
    }
    ASSERT_TRUE(bench.document.SaveDocument(bench.path));

    bench.view->Compile();
    const auto breakpoints = bench.document.GetBreakpoints();
    ASSERT_EQ(breakpoints.size(), 1u);
    EXPECT_EQ(breakpoints[0].address, 0x13);
    EXPECT_EQ(breakpoints[0].sourceLine, 6);
}

TEST(SourceView, MiniHelpOfTheCaretLineGoesToTheMessagePane) {
    SourceViewBench bench(CountingProgram);
    PaneRecorder spy;
    bench.view->SetCommandHost(&spy);
    const auto lastMessage = [&]() -> QString {
        for (auto it = spy.panes.crbegin(); it != spy.panes.crend(); ++it) {
            if (it->first == StatusPane::Message) {
                return it->second;
            }
        }
        return {};
    };
    bench.Caret(5, 3); // an instruction
    EXPECT_EQ(lastMessage().toStdString(), std::string(*GetLineHelp("        cpi 3")));
    bench.Caret(1, 3); // a directive
    EXPECT_EQ(lastMessage().toStdString(), std::string(*GetLineHelp("        .org 0x0010")));
    spy.panes.clear();
    bench.Caret(4, 3); // a comment: no help
    EXPECT_EQ(lastMessage(), QString());
}

TEST(SourceView, ASimulatorWhoseViewClosedFallsBackToAnotherViewOfTheDocument) {
    SourceViewBench bench(CountingProgram);
    auto second = std::make_unique<CMyZorvanView>(bench.link);
    bench.view->Compile();
    SourceViewServices* services = bench.last->context.sourceView;
    ASSERT_NE(services, nullptr);
    std::unique_ptr<QWidget> window(bench.last->window);
    window->setParent(nullptr);
    bench.view.reset(); // the compiling view goes, its simulator window stays
    services->ShowSourceLine(0x13);
    EXPECT_EQ(second->GetCursorPos().line, 5);
    EXPECT_EQ(bench.Flags(5), LineFlagExecution);
    services->ToggleBreakpointAt(0x12);
    EXPECT_EQ(bench.Flags(3), LineFlagBreakpoint);
    EXPECT_TRUE(bench.document.HasBreakpoint(0x12));

    second.reset(); // no view left: the link still keeps the window's marks in the text
    ASSERT_TRUE(bench.link.Views().isEmpty());
    services->ToggleBreakpointAt(0x12);
    EXPECT_EQ(bench.Flags(3), 0u);
    EXPECT_FALSE(bench.document.HasBreakpoint(0x12));
}

TEST(SourceView, SyntaxColouringFollowsThePreference) {
    SourceViewBench bench(CountingProgram);
    SourcePreferences& preferences = SourcePreferences::Current();
    std::vector<TextColours::Block> blocks;
    bench.view->ColorizeLine(0, 5, &blocks);
    EXPECT_FALSE(blocks.empty());
    preferences.syntaxHighlighting = false;
    blocks.clear();
    bench.view->ColorizeLine(0, 5, &blocks);
    preferences.syntaxHighlighting = true;
    EXPECT_TRUE(blocks.empty());
}

TEST(SourceView, ContextMenuOffersWhatTheTextAllows) {
    SourceViewBench bench(CountingProgram);
    const auto enabled = [&](QMenu* menu, int id) {
        for (QAction* action : menu->actions()) {
            if (action->data().toInt() == id) {
                return action->isEnabled();
            }
        }
        ADD_FAILURE() << id;
        return false;
    };
    std::unique_ptr<QMenu> menu(bench.view->BuildContextMenu());
    EXPECT_FALSE(enabled(menu.get(), Id::ContextUndo));
    EXPECT_FALSE(enabled(menu.get(), Id::ContextCut));
    EXPECT_FALSE(enabled(menu.get(), Id::ContextDelete));
    EXPECT_TRUE(enabled(menu.get(), Id::ContextSelectAll));
    bench.view->SelectRange({0, 2}, {5, 2});
    bench.view->TypeCharacter('y');
    bench.view->SelectRange({0, 3}, {4, 3});
    menu.reset(bench.view->BuildContextMenu());
    EXPECT_TRUE(enabled(menu.get(), Id::ContextUndo));
    EXPECT_TRUE(enabled(menu.get(), Id::ContextCopy));
    EXPECT_TRUE(enabled(menu.get(), Id::ContextDelete));
}

} // namespace
