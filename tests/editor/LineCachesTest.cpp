#include "VectorLines.h"
#include "editor/ColouringStates.h"
#include "editor/DisplayWidths.h"

#include <gtest/gtest.h>

namespace {

// A colouring where a line holding "/*" opens a comment state and "*/" closes it.
struct CommentColouring {
    const VectorLines& text;
    int calls = 0;
    int operator()(int state, int line) {
        ++calls;
        const std::string_view s = text.Line(line);
        if (s.find("/*") != std::string_view::npos) {
            return 1;
        }
        if (s.find("*/") != std::string_view::npos) {
            return 0;
        }
        return state;
    }
};

} // namespace

TEST(ColouringStates, AnEditRecoloursOnlyAsFarAsTheStateChanges) {
    VectorLines text(std::vector<std::string>(1000, "code"));
    text.lines[500] = "*/";
    CommentColouring colour{text};
    ColouringStates states;
    states.Reset(text.Count());
    const auto hook = [&](int state, int line) { return colour(state, line); };
    EXPECT_EQ(states.StateBefore(999, hook), 0);
    EXPECT_EQ(colour.calls, 999);

    // An edit that leaves the state alone costs one line, even far below.
    text.lines[10] = "code!";
    states.LineChanged(10);
    colour.calls = 0;
    EXPECT_EQ(states.StateBefore(999, hook), 0);
    EXPECT_EQ(colour.calls, 1);

    // Opening a comment recolours down to where it closes, and no further.
    text.lines[10] = "/*";
    states.LineChanged(10);
    colour.calls = 0;
    EXPECT_EQ(states.StateBefore(400, hook), 1);
    EXPECT_EQ(states.StateBefore(999, hook), 0);
    EXPECT_EQ(colour.calls, 491);

    // Two edits: the lower one is coloured again even when the upper one settles at once.
    text.lines[700] = "/*";
    states.LineChanged(700);
    text.lines[20] = "x";
    states.LineChanged(20);
    EXPECT_EQ(states.StateBefore(999, hook), 1);
}

TEST(ColouringStates, InsertedAndRemovedLinesKeepTheStatesBelowInPlace) {
    VectorLines text{"a", "/*", "b", "*/", "c"};
    CommentColouring colour{text};
    const auto hook = [&](int state, int line) { return colour(state, line); };
    ColouringStates states;
    states.Reset(text.Count());
    EXPECT_EQ(states.StateBefore(3, hook), 1);
    text.lines.insert(text.lines.begin() + 1, {"x", "y"});
    states.LinesInserted(0, 2);
    EXPECT_EQ(states.LineCount(), 7);
    EXPECT_EQ(states.StateBefore(5, hook), 1);
    EXPECT_EQ(states.StateBefore(6, hook), 0);
    text.lines.erase(text.lines.begin() + 3, text.lines.begin() + 5); // "/*" and "b"
    states.LinesRemoved(2, 2);
    EXPECT_EQ(states.StateBefore(4, hook), 0);
}

TEST(ColouringStates, ARangeOfChangedLinesIsColouredAgainUpToWhereTheStateSettles) {
    VectorLines text(std::vector<std::string>(100, "code"));
    text.lines[90] = "*/";
    CommentColouring colour{text};
    const auto hook = [&](int state, int line) { return colour(state, line); };
    ColouringStates states;
    states.Reset(text.Count());
    EXPECT_EQ(states.StateBefore(100, hook), 0);

    // Lines 10 to 19 change without a comment: they and the line after them are coloured again.
    states.LinesChanged(10, 19);
    colour.calls = 0;
    EXPECT_EQ(states.StateBefore(100, hook), 0);
    EXPECT_EQ(colour.calls, 11);

    // One of them opens a comment: everything down to its end is coloured again.
    text.lines[15] = "/*";
    states.LinesChanged(10, 19);
    colour.calls = 0;
    EXPECT_EQ(states.StateBefore(50, hook), 1);
    EXPECT_EQ(states.StateBefore(100, hook), 0);
    EXPECT_EQ(colour.calls, 81);

    // A range reaching past the end is cut to the text.
    states.LinesChanged(95, 200);
    EXPECT_EQ(states.LineCount(), 100);
    EXPECT_EQ(states.StateBefore(100, hook), 0);
}

TEST(DisplayWidths, TheLongestLineFollowsEveryChange) {
    VectorLines text{"ab", "\tabcdef", "x"};
    DisplayWidths widths;
    widths.Reset(text, 4);
    EXPECT_EQ(widths.Width(1), 10);
    EXPECT_EQ(widths.Longest(), 10);
    text.lines[1] = "a";
    widths.LineChanged(text, 1);
    EXPECT_EQ(widths.Longest(), 2);
    text.lines.insert(text.lines.begin() + 1, std::string(300, 'z'));
    widths.LinesInserted(text, 0, 1);
    EXPECT_EQ(widths.Longest(), 300);
    text.lines.erase(text.lines.begin() + 1);
    widths.LinesRemoved(text, 0, 1);
    EXPECT_EQ(widths.Longest(), 2);
    EXPECT_EQ(widths.LineCount(), 3);

    // A block of changed lines, short and long ones, as a block indent leaves them.
    text.lines = {"ab", "\t" + std::string(300, 'y'), "\tx", std::string(299, 'w')};
    widths.Reset(text, 4);
    EXPECT_EQ(widths.Longest(), 304);
    for (std::string& line : text.lines) {
        line.erase(0, 1);
    }
    widths.LinesChanged(text, 0, 3);
    EXPECT_EQ(widths.Longest(), 300);
    EXPECT_EQ(widths.Width(0), 1);
    EXPECT_EQ(widths.Width(2), 1);
    text.lines[3] = std::string(301, 'w');
    widths.LinesChanged(text, 3, 9);
    EXPECT_EQ(widths.Longest(), 301);
    text.lines[3] = "w";
    widths.LinesChanged(text, 2, 3);
    EXPECT_EQ(widths.Longest(), 300);
}
