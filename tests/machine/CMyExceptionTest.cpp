#include "machine/CMyException.h"

#include <gtest/gtest.h>

namespace {

struct PositionRow {
    const char* message;
    int line;
    int column;
};

TEST(CMyException, LineAndColumnAreReadBackOutOfTheMessage) {
    const PositionRow rows[] = {
        {"Line - 3 Column - 7 Undefined symbol", 3, 7},
        {"Line", 0, -1},                         // the word without a number reads as 0
        {"", -1, -1},                            // an empty message has no position
        {"IP = 4096 -   Halt executed", -1, -1}, // the machine's messages carry none
        {"Line - 2 Column", 2, 0},
        {"Line - 0042 Column - 10x", 42, 10},   // the longest run of digits
        {"Column - 12 before Line - 4", 4, 12}, // each word is searched in the whole message
        {"Line Column - 7", 7, 7},              // the first digit after the word, wherever it is
        {"line - 3 column - 4", -1, -1},        // the words are case-sensitive
        {"Lines 5 and Columns 6", 5, 6},
    };
    for (const auto& row : rows) {
        const CMyException error(1, 5, row.message);
        EXPECT_EQ(error.GetLine(), row.line) << '"' << row.message << '"';
        EXPECT_EQ(error.GetColumn(), row.column) << '"' << row.message << '"';
        EXPECT_EQ(error.GetMessage(), row.message);
    }
}

TEST(CMyException, FlagsAndCodes) {
    const CMyException none;
    EXPECT_EQ(none.GetMessage(), "No Error");
    EXPECT_EQ(none.GetLine(), -1);
    EXPECT_EQ(none.GetColumn(), -1);
    EXPECT_EQ(none.errorFlag, 0);
    EXPECT_EQ(none.errorSet, 0);
    EXPECT_FALSE(none.IsBreakpoint());
    EXPECT_FALSE(none.IsStepOutEnd());

    struct Row {
        int errorFlag;
        int code;
        int errorSet;
        bool breakpoint;
        bool stepOutEnd;
    };
    const Row rows[] = {
        {0, 25, 0, true, false}, {0, 10, 0, false, true},   {1, 9, 1, false, false},
        {7, 1, 1, false, false}, {-1, 26, 1, false, false},
    };
    for (const auto& row : rows) {
        const CMyException error(row.errorFlag, row.code, "x");
        EXPECT_EQ(error.GetCode(), row.code);
        EXPECT_EQ(error.errorFlag, row.errorFlag);
        EXPECT_EQ(error.errorSet, row.errorSet) << row.errorFlag;
        EXPECT_EQ(error.IsBreakpoint(), row.breakpoint) << row.code;
        EXPECT_EQ(error.IsStepOutEnd(), row.stepOutEnd) << row.code;
    }
}

} // namespace
