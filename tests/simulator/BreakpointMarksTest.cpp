#include "SourceMarksBench.h"
#include "simulator/SourceLineFlags.h"

#include <gtest/gtest.h>

namespace {

constexpr std::uint32_t On = LineFlagBreakpoint;
constexpr std::uint32_t Off = LineFlagBreakpointDisabled;

TEST(BreakpointMarks, F9WithTheSimulatorClosedTogglesOnlyTheMark) {
    SourceMarksBench bench;
    bench.marks.ToggleOnLine(1); // no code there: a mark is still allowed until the compile
    EXPECT_EQ(bench.Flags(1), On);
    bench.marks.ToggleOnLine(1);
    EXPECT_EQ(bench.Flags(1), 0u);
    bench.Mark(2, Off);
    bench.marks.ToggleOnLine(2);
    EXPECT_EQ(bench.Flags(2), On) << "a disabled breakpoint becomes enabled";
    bench.marks.ToggleOnLine(2);
    EXPECT_EQ(bench.Flags(2), 0u);
    EXPECT_TRUE(bench.GetBreakpoints().empty());
    EXPECT_EQ(bench.beeps + bench.refreshes, 0);
}

TEST(BreakpointMarks, F9WithTheSimulatorOpenKeepsListAndMarkTogether) {
    SourceMarksBench bench;
    bench.flags.SetSimulatorOpen(true);
    bench.marks.ToggleOnLine(2);
    ASSERT_EQ(bench.GetBreakpoints().size(), 1u);
    EXPECT_EQ(bench.GetBreakpoints()[0].address, 0x12);
    // Made from a source line, the entry carries it: the Breakpoints dialog shows "at Line 3".
    EXPECT_EQ(bench.GetBreakpoints()[0].sourceLine, 2);
    EXPECT_EQ(bench.Flags(2), On);

    bench.SetBreakpointEnabled(0x12, 0);
    bench.Mark(2, Off);
    bench.text.ChangeLineFlag(2, On, false, false);
    bench.marks.ToggleOnLine(2);
    EXPECT_EQ(bench.Flags(2), On) << "a disabled breakpoint is enabled, not removed";
    EXPECT_TRUE(bench.IsBreakpointEnabled(0x12));

    bench.marks.ToggleOnLine(2);
    EXPECT_TRUE(bench.GetBreakpoints().empty());
    EXPECT_EQ(bench.Flags(2), 0u);
    EXPECT_EQ(bench.refreshes, 3);

    bench.marks.ToggleOnLine(1);
    EXPECT_EQ(bench.beeps, 1) << "a line without an address";
    EXPECT_EQ(bench.Flags(1), 0u);
}

TEST(BreakpointMarks, BreakpointCommandsAreRefusedWhileTheProgramExecutes) {
    SourceMarksBench bench;
    bench.flags.SetSimulatorOpen(true);
    bench.flags.SetExecuting(true);
    bench.marks.ToggleOnLine(2);
    bench.marks.EnableDisableOnLine(2);
    EXPECT_EQ(bench.beeps, 2);
    EXPECT_TRUE(bench.GetBreakpoints().empty());
    EXPECT_EQ(bench.Flags(2), 0u);
}

TEST(BreakpointMarks, CtrlF9SwapsAnOpenSimulatorsBreakpointAndBeepsOtherwise) {
    SourceMarksBench bench;
    bench.Mark(2, On);
    bench.marks.EnableDisableOnLine(2);
    EXPECT_EQ(bench.beeps, 1) << "simulator closed";
    EXPECT_EQ(bench.Flags(2), On);

    bench.flags.SetSimulatorOpen(true);
    bench.AddBreakpoint(0x12, 2, 1);
    bench.marks.EnableDisableOnLine(2);
    EXPECT_FALSE(bench.IsBreakpointEnabled(0x12));
    EXPECT_EQ(bench.Flags(2), Off);
    EXPECT_EQ(bench.caretLines, std::vector<int>{2});
    bench.marks.EnableDisableOnLine(2);
    EXPECT_TRUE(bench.IsBreakpointEnabled(0x12));
    EXPECT_EQ(bench.Flags(2), On);

    bench.marks.EnableDisableOnLine(1);
    EXPECT_EQ(bench.beeps, 2) << "a line without an address";
    bench.marks.EnableDisableOnLine(3);
    EXPECT_EQ(bench.Flags(3), 0u) << "an address without a breakpoint is left alone";
}

TEST(BreakpointMarks, ToggleAtAnAddressMovesTheMarkOfItsSourceLine) {
    SourceMarksBench bench;
    bench.flags.SetSimulatorOpen(true);
    bench.marks.ToggleAt(0x13);
    EXPECT_EQ(bench.Flags(3), On);
    EXPECT_TRUE(bench.HasBreakpoint(0x13));

    bench.SetBreakpointEnabled(0x13, 0);
    bench.marks.EnableDisableAt(0x13); // back on
    bench.marks.EnableDisableAt(0x13); // off again
    EXPECT_EQ(bench.Flags(3), Off);
    bench.marks.ToggleAt(0x13);
    EXPECT_FALSE(bench.HasBreakpoint(0x13));
    EXPECT_EQ(bench.Flags(3), 0u) << "removing a disabled breakpoint removes its mark";

    bench.marks.ToggleAt(0x4000); // no source line: the list only
    EXPECT_TRUE(bench.HasBreakpoint(0x4000));
    EXPECT_EQ(bench.refreshes, 5);
}

struct EnterCase {
    const char* name;
    int column;              // caret column when Enter was typed on line 2 "  inr a"
    std::uint32_t extraMark; // another mark on the line
    bool moves;
};

class CarryAcrossEnter : public testing::TestWithParam<EnterCase> {};

TEST_P(CarryAcrossEnter, TakesAnEnabledMarkAlongWithTheStatement) {
    const EnterCase& c = GetParam();
    SourceMarksBench bench;
    bench.Mark(2, On);
    if (c.extraMark != 0) {
        bench.Mark(2, c.extraMark);
    }
    int endLine = 0;
    int endChar = 0;
    bench.text.InsertChars(nullptr, 2, c.column, "\r\n", endLine, endChar);
    ASSERT_EQ(endLine, 3);
    BreakpointMarks::CarryAcrossEnter(bench.text, 2, c.column, endLine);
    EXPECT_EQ((bench.Flags(3) & On) != 0, c.moves);
    EXPECT_EQ((bench.Flags(2) & On) != 0, !c.moves);
}

INSTANTIATE_TEST_SUITE_P(
    Enter, CarryAcrossEnter,
    testing::Values(EnterCase{"AtLineStart", 0, 0, true}, EnterCase{"AfterTheIndent", 2, 0, true},
                    EnterCase{"InTheStatement", 4, 0, false},
                    EnterCase{"WithABookmark", 0, CTextBuffer::LineFlagBookmark, false},
                    EnterCase{"WithTheExecutionMark", 0, LineFlagExecution, false}),
    [](const testing::TestParamInfo<EnterCase>& p) { return p.param.name; });

TEST(BreakpointMarks, OneExecutionLineAtATime) {
    SourceMarksBench bench;
    BreakpointMarks::MarkExecutionLine(bench.text, 2);
    BreakpointMarks::MarkExecutionLine(bench.text, 2);
    EXPECT_EQ(bench.Flags(2), LineFlagExecution) << "two stops on one line keep it marked";
    BreakpointMarks::MarkExecutionLine(bench.text, 3);
    EXPECT_EQ(bench.Flags(2), 0u);
    EXPECT_EQ(bench.Flags(3), LineFlagExecution);
    BreakpointMarks::MarkExecutionLine(bench.text, -1);
    EXPECT_EQ(bench.Flags(3), 0u);
}

TEST(BreakpointMarks, MarkedLinesGiveTheirNumberStateAndText) {
    SourceMarksBench bench;
    bench.Mark(0, On);
    bench.Mark(2, Off);
    const auto marked = BreakpointMarks::MarkedLines(bench.text);
    ASSERT_EQ(marked.size(), 2u);
    EXPECT_EQ(marked[0].line, 0);
    EXPECT_TRUE(marked[0].enabled);
    EXPECT_EQ(marked[0].text, "start: mvi a, 1");
    EXPECT_EQ(marked[1].line, 2);
    EXPECT_FALSE(marked[1].enabled);
    EXPECT_EQ(marked[1].text, "inr a");
}

} // namespace
