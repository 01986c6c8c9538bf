#include "VectorLines.h"
#include "editor/CaretMoves.h"
#include "editor/IndentRules.h"
#include "editor/TextColumns.h"

#include <gtest/gtest.h>

namespace {

CTextPosition At(int charIndex, int line) {
    return {charIndex, line};
}

void ExpectAt(CTextPosition actual, CTextPosition expected) {
    EXPECT_EQ(actual.line, expected.line);
    EXPECT_EQ(actual.charIndex, expected.charIndex);
}

} // namespace

TEST(TextColumns, TabsAdvanceToTheNextStop) {
    EXPECT_EQ(TextColumns::ColumnOf("\tA", 1, 4), 4);
    EXPECT_EQ(TextColumns::ColumnOf("ab\tc", 3, 4), 4);
    EXPECT_EQ(TextColumns::ColumnOf("abcd\tx", 5, 4), 8);
    EXPECT_EQ(TextColumns::DisplayLength("a\tb\t", 4), 8);
    // Up and down keep the column nearest to the ideal one, ties to the left.
    EXPECT_EQ(TextColumns::NearestCharIndex("\tabc", 2, 4), 0);
    EXPECT_EQ(TextColumns::NearestCharIndex("\tabc", 3, 4), 1);
    EXPECT_EQ(TextColumns::NearestCharIndex("ab", 10, 4), 2);
    EXPECT_EQ(TextColumns::CharIndexAtPoint("abc", 1.4, 4), 1);
    EXPECT_EQ(TextColumns::CharIndexAtPoint("abc", 1.6, 4), 2);
}

TEST(CaretMoves, CharacterMovesCrossLineEndsButNotTheTextEdges) {
    const VectorLines text{"ab", "c"};
    ExpectAt(CaretMoves::CharLeft(text, At(0, 1)), At(2, 0));
    ExpectAt(CaretMoves::CharLeft(text, At(0, 0)), At(0, 0));
    ExpectAt(CaretMoves::CharRight(text, At(2, 0)), At(0, 1));
    ExpectAt(CaretMoves::CharRight(text, At(1, 1)), At(1, 1));
}

TEST(CaretMoves, WordMovesSkipBlanksThenOneRunOfTheSameKind) {
    const VectorLines text{"mov a, b_1  ;x", "  next"};
    const struct {
        CTextPosition from;
        bool right;
        CTextPosition to;
    } cases[] = {
        {At(14, 0), false, At(13, 0)}, // "x"
        {At(13, 0), false, At(12, 0)}, // ";"
        {At(12, 0), false, At(7, 0)},  // "b_1" is one word
        {At(7, 0), false, At(5, 0)},   // ","
        {At(0, 1), false, At(13, 0)},  // from column 0 to the previous line's end first
        {At(0, 0), true, At(3, 0)},    {At(5, 0), true, At(6, 0)}, {At(6, 0), true, At(10, 0)},
        {At(14, 0), true, At(6, 1)}, // at the line end, on to the next line
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.from.charIndex << "," << c.from.line);
        ExpectAt(c.right ? CaretMoves::WordRight(text, c.from) : CaretMoves::WordLeft(text, c.from),
                 c.to);
    }
}

TEST(CaretMoves, HomeGoesToTheFirstNonBlankThenToColumnZero) {
    const VectorLines text{"\t  lda 5", "   "};
    ExpectAt(CaretMoves::SmartHome(text, At(7, 0)), At(3, 0));
    ExpectAt(CaretMoves::SmartHome(text, At(3, 0)), At(0, 0));
    ExpectAt(CaretMoves::SmartHome(text, At(2, 1)), At(0, 1));
}

TEST(CaretMoves, UpAndDownKeepTheIdealColumnAndStopAtTheEdges) {
    const VectorLines text{"abcdefgh", "ab", "\tabcdef"};
    ExpectAt(CaretMoves::LineUpDown(text, At(6, 0), 1, 6, 4), At(2, 1));
    ExpectAt(CaretMoves::LineUpDown(text, At(2, 1), 1, 6, 4), At(3, 2));
    ExpectAt(CaretMoves::LineUpDown(text, At(3, 2), 1, 6, 4), At(3, 2));
    ExpectAt(CaretMoves::LineUpDown(text, At(3, 0), -1, 3, 4), At(3, 0));
}

TEST(CaretMoves, WordAroundAPointAndRanges) {
    const VectorLines text{"  call do_it;"};
    CTextPosition start;
    CTextPosition end;
    CaretMoves::WordAround(text, At(9, 0), start, end);
    ExpectAt(start, At(7, 0));
    ExpectAt(end, At(12, 0));
    EXPECT_TRUE(CaretMoves::IsInside(At(3, 0), At(5, 0), At(2, 0)));
    EXPECT_FALSE(CaretMoves::IsInside(At(5, 0), At(2, 0), At(5, 0)));
    ExpectAt(CaretMoves::AfterLine(text, 0), At(13, 0));
}

TEST(IndentRules, OutdentRemovesOneTabStopOfIndentation) {
    const struct {
        const char* line;
        int removed;
    } cases[] = {{"  \tx", 3}, {"    x", 4}, {"      x", 4}, {"\t\tx", 1}, {"x", 0}, {" ", 1}};
    for (const auto& c : cases) {
        EXPECT_EQ(IndentRules::OutdentLength(c.line, 4), c.removed) << c.line;
    }
    EXPECT_EQ(IndentRules::LeadingWhitespace("\t\t lda"), 3);
    EXPECT_EQ(IndentRules::LeadingWhitespace("   "), 3);
}

TEST(IndentRules, BlockLinesLeaveOutALastLineSelectedOnlyAtColumnZero) {
    int first = 0;
    int last = 0;
    IndentRules::BlockLines(At(4, 2), At(0, 5), first, last);
    EXPECT_EQ(first, 2);
    EXPECT_EQ(last, 4);
    IndentRules::BlockLines(At(4, 2), At(1, 5), first, last);
    EXPECT_EQ(last, 5);
    EXPECT_FALSE(IndentRules::IsBlockSelection(At(0, 3), At(9, 3)));
}

TEST(IndentRules, TabStopMovesOfTheCaret) {
    EXPECT_EQ(IndentRules::TabStopRight("abcdefgh", 1, 4), 4);
    EXPECT_EQ(IndentRules::TabStopRight("a\tbcdefgh", 0, 4), 2); // stops after the tab
    EXPECT_EQ(IndentRules::TabStopRight("ab", 1, 4), 2);
    EXPECT_EQ(IndentRules::TabStopLeft("abcdefgh", 6, 4), 4);
    EXPECT_EQ(IndentRules::TabStopLeft("abcdefgh", 4, 4), 0); // already on a stop
    EXPECT_EQ(IndentRules::TabStopLeft("\tabcd", 3, 4), 1);
    EXPECT_EQ(IndentRules::TabStopLeft("abc", 0, 4), 0);
}
