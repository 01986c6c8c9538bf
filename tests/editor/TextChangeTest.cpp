#include "editor/DeletionChange.h"
#include "editor/InsertionChange.h"

#include <gtest/gtest.h>

namespace {

struct AdjustCase {
    CTextPosition before;
    CTextPosition after;
};

// Text inserted from (4, 2) to (3, 4): two lines were added.
TEST(InsertionChange, MovesPositionsAtAndAfterTheInsertion) {
    const InsertionChange change({4, 2}, {3, 4});
    const AdjustCase rows[] = {
        {{9, 1}, {9, 1}}, // line before
        {{4, 2}, {4, 2}}, // at the start: stays
        {{2, 2}, {2, 2}}, // before the start on its line
        {{6, 2}, {5, 4}}, // after the start: carried to the end's line
        {{0, 3}, {0, 5}}, // later lines move down
    };
    for (const AdjustCase& row : rows) {
        EXPECT_EQ(change.AdjustPosition(row.before), row.after)
            << row.before.charIndex << "," << row.before.line;
    }
}

// Text deleted from (4, 2) to (3, 4).
TEST(DeletionChange, PullsPositionsInsideToTheStartAndLaterOnesUp) {
    const DeletionChange change({4, 2}, {3, 4});
    const AdjustCase rows[] = {
        {{9, 1}, {9, 1}}, // line before
        {{2, 2}, {2, 2}}, // before the start on its line
        {{7, 2}, {4, 2}}, // after the start on its line
        {{5, 3}, {4, 2}}, // a line inside
        {{1, 4}, {4, 2}}, // before the end on its line
        {{3, 4}, {4, 2}}, // at the end
        {{8, 4}, {9, 2}}, // after the end on its line
        {{6, 5}, {6, 3}}, // later lines move up
    };
    for (const AdjustCase& row : rows) {
        EXPECT_EQ(change.AdjustPosition(row.before), row.after)
            << row.before.charIndex << "," << row.before.line;
    }
}

} // namespace
