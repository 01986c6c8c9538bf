#include "simulator/SourceViewRules.h"

#include "editor/CTextBuffer.h"
#include "machine/CMyException.h"
#include "simulator/SourceViewCommands.h"

#include <gtest/gtest.h>
#include <set>

namespace {

struct EnableCase {
    int id;
    // Enabled in: no document; closed; open and idle; open and executing.
    bool noDocument, closed, openIdle, openExecuting;
};

TEST(SourceViewCommands, EnablingFollowsDocumentSimulatorAndExecution) {
    namespace Id = SourceViewCommandId;
    const EnableCase cases[] = {
        {Id::CompileButton, true, true, false, false},
        {Id::CompileMenu, false, true, false, false},
        {Id::RunMenu, false, true, true, false},
        {Id::RunKey, true, true, true, false},
        {Id::StepIntoMenu, false, true, true, false},
        {Id::StepOverMenu, false, true, true, false},
        {Id::ShowAddressButton, false, false, true, true},
        {Id::ToggleBreakpointKey, true, true, true, true},
    };
    for (const EnableCase& c : cases) {
        const SourceViewCommand* command = FindSourceViewCommand(c.id);
        ASSERT_NE(command, nullptr) << c.id;
        const auto enabled = [&](SourceViewState state) {
            return IsSourceViewCommandEnabled(command->enable, state);
        };
        EXPECT_EQ(enabled({false, false, false}), c.noDocument) << c.id;
        EXPECT_EQ(enabled({true, false, false}), c.closed) << c.id;
        EXPECT_EQ(enabled({true, true, false}), c.openIdle) << c.id;
        EXPECT_EQ(enabled({true, true, true}), c.openExecuting) << c.id;
    }
}

TEST(SourceViewCommands, IdsAreUniqueAndEveryActionHasACommand) {
    std::set<int> ids;
    std::set<SourceViewAction> actions;
    for (const SourceViewCommand& command : SourceViewCommands()) {
        EXPECT_TRUE(ids.insert(command.id).second) << command.id;
        EXPECT_EQ(FindSourceViewCommand(command.id), &command) << command.id;
        actions.insert(command.action);
    }
    for (int action = 0; action <= static_cast<int>(SourceViewAction::SelectAll); ++action) {
        EXPECT_EQ(actions.count(static_cast<SourceViewAction>(action)), 1u) << action;
    }
    EXPECT_EQ(FindSourceViewCommand(1), nullptr);
}

struct CaretCase {
    const char* message;
    bool moves;
    int line, column;
};

TEST(SourceViewRules, CompileErrorCaretIsClampedAndSkippedWithoutALine) {
    CTextBuffer text;
    text.StartEmpty(0);
    int endLine = 0;
    int endChar = 0;
    text.InsertChars(nullptr, 0, 0, "  mvi a, 1\r\nbad", endLine, endChar);
    const CaretCase cases[] = {
        {"Line - 1 Column - 3 Unknown", true, 0, 2}, {"Line - 2 Column - 40 Unknown", true, 1, 3},
        {"Line - 9 Column - 1 Unknown", true, 1, 0}, {"Line - 1 Column - 0 Unknown", true, 0, 0},
        {"Cannot open file", false, 0, 0},
    };
    for (const CaretCase& c : cases) {
        const CMyException e(1, 20, c.message);
        const auto caret = SourceViewRules::CompileErrorCaret(e, text);
        ASSERT_EQ(caret.has_value(), c.moves) << c.message;
        if (caret) {
            EXPECT_EQ(*caret, (CTextPosition{c.column, c.line})) << c.message;
        }
    }
    EXPECT_EQ(SourceViewRules::CompileErrorText(CMyException(1, 20, "Oops")),
              "Oops\n\nPress OK to goto source");
}

TEST(SourceViewRules, MiniHelpForInstructionsAndDirectivesOnly) {
    const auto instruction = SourceViewRules::MiniHelpText("  MVI A, 5 ; load", true);
    ASSERT_TRUE(instruction.has_value());
    EXPECT_FALSE(instruction->empty());
    const auto directive = SourceViewRules::MiniHelpText(".org 0x100", true);
    ASSERT_TRUE(directive.has_value());
    EXPECT_NE(*directive, *instruction);
    EXPECT_FALSE(SourceViewRules::MiniHelpText("; a comment", true).has_value());
    EXPECT_FALSE(SourceViewRules::MiniHelpText("  MVI A, 5", false).has_value());
    EXPECT_EQ(SourceViewRules::SaveChangesQuestion("a.85"), "Save changes to a.85?");
}

} // namespace
