#include "editor/Pagination.h"

#include "VectorLines.h"

#include <gtest/gtest.h>

using Pagination::PageStart;

namespace {

std::vector<std::string> Rows(const std::string& line, int columns) {
    std::vector<std::string> rows;
    for (const Pagination::Row& row : Pagination::WrapLine(line, columns, 4)) {
        rows.push_back(line.substr(row.start, row.end - row.start));
    }
    return rows;
}

} // namespace

TEST(Pagination, LinesWrapAtWordBreaksAndLongWordsAreBroken) {
    EXPECT_EQ(Rows("", 10), std::vector<std::string>{""});
    EXPECT_EQ(Rows("mvi a, 10", 10), std::vector<std::string>{"mvi a, 10"});
    EXPECT_EQ(Rows("one two three", 8), (std::vector<std::string>{"one two", "three"}));
    EXPECT_EQ(Rows("abcdefghij", 4), (std::vector<std::string>{"abcd", "efgh", "ij"}));
    EXPECT_EQ(Rows("ab cdefghij", 4), (std::vector<std::string>{"ab", "cdef", "ghij"}));
    // A tab wider than the row still ends the row; blanks at a break are dropped.
    EXPECT_EQ(Rows("\t\tx", 2), (std::vector<std::string>{"", "x"}));
    EXPECT_EQ(Pagination::RowCount(std::string(1000, 'x'), 0, 4), 1000);
}

TEST(Pagination, ALineThatDoesNotFitStartsTheNextPageAndTallLinesAreSplit) {
    const VectorLines text{"a", "b", "ccc ccc ccc", "d"};
    // "ccc ccc ccc" takes three rows of 4 columns.
    EXPECT_EQ(Pagination::Paginate(text, 4, 4, 4), (std::vector<PageStart>{{0, 0}, {2, 0}}));
    EXPECT_EQ(Pagination::Paginate(text, 4, 2, 4),
              (std::vector<PageStart>{{0, 0}, {2, 0}, {2, 2}}));
    EXPECT_EQ(Pagination::Paginate(text, 4, 0, 4).size(), 6u); // at least one row per page
    EXPECT_EQ(Pagination::Paginate(VectorLines{""}, 4, 3, 4).size(), 1u);
}

TEST(Pagination, DefaultMarginsLeaveTenMillimetresAndImpossibleOnesFallBack) {
    // A4 at 10 units per millimetre, lines 50 units high, a footer.
    const Pagination::Area area = Pagination::TextArea(2100, 2970, 10, 10, {}, 50, 20, false, true);
    EXPECT_EQ(area.left, 100);
    EXPECT_EQ(area.top, 100);
    EXPECT_EQ(area.width, 1900);
    EXPECT_EQ(area.height, 2770 - 75);
    const Pagination::Area huge =
        Pagination::TextArea(2100, 2970, 10, 10, {20000, 20000, 100, 100}, 50, 20, true, true);
    EXPECT_EQ(huge.left, 100);
    EXPECT_EQ(huge.top, 175);
    EXPECT_EQ(huge.width, 1900);
    const Pagination::Area tiny = Pagination::TextArea(150, 150, 10, 10, {}, 50, 20, false, false);
    EXPECT_GE(tiny.width, 20);
    EXPECT_GE(tiny.height, 50);
}
