#include "editor/FindInText.h"

#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <vector>

namespace {

class Lines final : public SearchLines {
public:
    Lines(std::initializer_list<std::string> text) : lines(text) {}
    int LineCount() const override { return static_cast<int>(lines.size()); }
    std::string_view LineText(int line) const override { return lines[line]; }

private:
    std::vector<std::string> lines;
};

using SearchFlags::MatchCase;
using SearchFlags::Upwards;
using SearchFlags::WholeWord;

struct Case {
    const char* name;
    Lines text;
    std::string what;
    CTextPosition start;
    uint32_t flags;
    bool wrap;
    std::optional<CTextPosition> expected;
};

void Check(const Case& c, std::optional<CTextPosition> found) {
    SCOPED_TRACE(c.name);
    ASSERT_EQ(found.has_value(), c.expected.has_value());
    if (found) {
        EXPECT_EQ(found->charIndex, c.expected->charIndex);
        EXPECT_EQ(found->line, c.expected->line);
    }
}

TEST(FindInText, FindsByCaseWordDirectionAndWrap) {
    const std::vector<Case> cases = {
        {"case-insensitive finds both forms",
         {"x mvi a", "MVI B"},
         "Mvi",
         {3, 0},
         0,
         false,
         CTextPosition{0, 1}},
        {"match case tells them apart",
         {"MVI B", "mvi a"},
         "mvi",
         {0, 0},
         MatchCase,
         false,
         CTextPosition{0, 1}},
        {"match case finds nothing else", {"MVI B"}, "mvi", {0, 0}, MatchCase, true, {}},
        {"one letter alone between spaces",
         {"bab a c"},
         "a",
         {0, 0},
         WholeWord,
         false,
         CTextPosition{4, 0}},
        {"one letter inside a word only", {"bab ax"}, "a", {0, 0}, WholeWord, true, {}},
        {"after a part-of-word occurrence",
         {"a_a a"},
         "a",
         {0, 0},
         WholeWord,
         false,
         CTextPosition{4, 0}},
        {"whole word looks beside the start",
         {"abc bc"},
         "bc",
         {1, 0},
         WholeWord,
         false,
         CTextPosition{4, 0}},
        {"whole word at the line end", {"x=a"}, "a", {0, 0}, WholeWord, false, CTextPosition{2, 0}},
        {"downwards from the caret", {"ab ab"}, "ab", {1, 0}, 0, false, CTextPosition{3, 0}},
        {"only before the caret, no wrap", {"target", "other"}, "target", {0, 1}, 0, false, {}},
        {"only before the caret, wrap",
         {"target", "other"},
         "target",
         {0, 1},
         0,
         true,
         CTextPosition{0, 0}},
        {"start beyond the text wraps", {"x", "ab"}, "ab", {9, 9}, 0, true, CTextPosition{0, 1}},
        {"up: previous match on the line",
         {"a a a"},
         "a",
         {4, 0},
         Upwards,
         false,
         CTextPosition{2, 0}},
        {"up: a match ending at the caret",
         {"a a a"},
         "a",
         {3, 0},
         Upwards,
         false,
         CTextPosition{2, 0}},
        {"up: last match of a line above",
         {"x a a", "b"},
         "a",
         {1, 1},
         Upwards,
         false,
         CTextPosition{4, 0}},
        {"up: nothing before the top", {"a b", "c"}, "a", {0, 0}, Upwards, false, {}},
        {"up: wraps from the end", {"a b", "c a"}, "a", {0, 0}, Upwards, true, CTextPosition{2, 1}},
        {"up: whole word",
         {"a ab", "x"},
         "a",
         {0, 1},
         Upwards | WholeWord,
         false,
         CTextPosition{0, 0}},
        {"empty text finds nothing", {"abc"}, "", {0, 0}, 0, true, {}},
    };
    for (const Case& c : cases) {
        CTextPosition found;
        Check(c, FindInText(c.text, c.what, c.start, c.flags, c.wrap, found) ? std::optional(found)
                                                                             : std::nullopt);
    }
}

struct BlockCase {
    const char* name;
    CTextPosition start;
    CTextPosition begin;
    CTextPosition end;
    bool wrap;
    std::optional<CTextPosition> expected;
};

TEST(FindInBlock, KeepsEveryMatchInsideTheBlock) {
    const Lines text{"abcabc", "xbc", "bcbc"};
    const std::vector<BlockCase> cases = {
        {"start moves to the block's beginning", {0, 0}, {2, 0}, {6, 0}, false, {{4, 0}}},
        {"a match must end inside the block", {2, 0}, {0, 0}, {5, 0}, false, {}},
        {"wrap goes back to the block's beginning", {2, 0}, {0, 0}, {5, 0}, true, {{1, 0}}},
        {"block over lines", {0, 0}, {5, 0}, {3, 2}, false, {{1, 1}}},
        {"block ending inside a match on its last line", {0, 2}, {0, 2}, {3, 2}, false, {{0, 2}}},
        {"start after the block", {0, 2}, {0, 0}, {3, 1}, false, {}},
        {"empty block", {0, 0}, {1, 0}, {1, 0}, true, {}},
        {"block given back to front", {0, 0}, {3, 1}, {0, 1}, false, {{1, 1}}},
    };
    for (const BlockCase& c : cases) {
        SCOPED_TRACE(c.name);
        CTextPosition found;
        const bool hit = FindInBlock(text, "bc", c.start, c.begin, c.end, 0, c.wrap, found);
        ASSERT_EQ(hit, c.expected.has_value());
        if (hit) {
            EXPECT_EQ(found, *c.expected);
        }
    }
}

} // namespace
