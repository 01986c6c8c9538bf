#include "editor/FindSession.h"

#include "editor/FindRepeat.h"
#include "editor/SearchFlags.h"
#include "support/FakeSearchTarget.h"
#include "support/RecordingMessageBoxes.h"

#include <gtest/gtest.h>

namespace {

class FindSessionTest : public testing::Test {
protected:
    void Load(std::string_view text) { LoadSearchText(buffer, text); }

    RecordingMessageBoxes boxes;
    CTextBuffer buffer;
    FakeSearchTarget target{buffer};
};

TEST_F(FindSessionTest, StartsFromTheLastSearchElseFromTheSettings) {
    Load("mov a, b\r\nmvi c, 1");
    const SearchOptions saved{true, true, "saved", ""};
    {
        const FindSession fresh(target, saved);
        EXPECT_TRUE(fresh.matchCase);
        EXPECT_TRUE(fresh.wholeWord);
        EXPECT_FALSE(fresh.upwards);
        EXPECT_EQ(fresh.findWhat, "saved");
    }
    target.state = {true, SearchFlags::Upwards | SearchFlags::WholeWord, "last", false};
    const FindSession repeated(target, saved);
    EXPECT_FALSE(repeated.matchCase);
    EXPECT_TRUE(repeated.wholeWord);
    EXPECT_TRUE(repeated.upwards);
    EXPECT_EQ(repeated.findWhat, "last");
}

TEST_F(FindSessionTest, ASelectionWithinOneLineGivesTheText) {
    Load("mov a, b\r\nmvi c, 1");
    target.SelectRange({4, 0}, {8, 0});
    EXPECT_EQ(FindSession(target, {}).findWhat, "a, b");
    target.SelectRange({4, 0}, {3, 1});
    EXPECT_EQ(FindSession(target, {false, false, "kept", ""}).findWhat, "kept");
}

TEST_F(FindSessionTest, TextOnlyBeforeTheCaretIsFoundThroughTheWrapAndAgainWithF3) {
    Load("target\r\nother\r\nlast");
    target.PlaceCaret({2, 1});
    FindSession session(target, {false, false, "TARGET", ""});
    ASSERT_TRUE(session.FindNext());
    EXPECT_EQ(target.selStart, (CTextPosition{0, 0}));
    EXPECT_EQ(target.selEnd, (CTextPosition{6, 0}));
    EXPECT_EQ(session.Finish(), (SearchOptions{false, false, "TARGET", ""}));
    EXPECT_TRUE(FindRepeat::CanRepeat(target));

    target.PlaceCaret({0, 2});
    EXPECT_TRUE(FindRepeat::Repeat(target, false));
    EXPECT_EQ(target.highlights.back(), (CTextPosition{0, 0}));
    EXPECT_TRUE(target.state.repeatedSearch);
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(FindSessionTest, NotFoundTellsTheTextAndTriesAgainFromTheTop) {
    Load("a x a");
    target.PlaceCaret({1, 0});
    FindSession session(target, {false, false, "zz", ""});
    EXPECT_FALSE(session.FindNext());
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, "Cannot find string\"zz\"");
    EXPECT_EQ(boxes.shown[0].buttons, MessageBoxes::Buttons::Ok);
    session.findWhat = "a";
    ASSERT_TRUE(session.FindNext());
    EXPECT_EQ(target.highlights.back(), (CTextPosition{0, 0}));
}

TEST_F(FindSessionTest, AnEmptyTextNeitherSearchesNorArmsF3) {
    Load("abc");
    FindSession session(target, {});
    EXPECT_FALSE(session.CanFindNext());
    EXPECT_FALSE(session.FindNext());
    session.Finish();
    EXPECT_FALSE(target.state.hasLastSearch);
    EXPECT_FALSE(FindRepeat::CanRepeat(target));
    EXPECT_FALSE(FindRepeat::Repeat(target, false));
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_TRUE(target.highlights.empty());
}

TEST_F(FindSessionTest, ShiftF3SearchesTheOtherWayAndBothWrap) {
    Load("a a\r\na");
    target.state = {true, 0, "a", false};
    target.HighlightMatch({2, 0}, 1);
    const struct {
        bool otherWay;
        CTextPosition expected;
    } steps[] = {
        {false, {0, 1}}, {false, {0, 0}}, {true, {0, 1}}, {true, {2, 0}}, {true, {0, 0}},
    };
    for (const auto& step : steps) {
        ASSERT_TRUE(FindRepeat::Repeat(target, step.otherWay));
        EXPECT_EQ(target.highlights.back(), step.expected);
    }
    EXPECT_EQ(target.state.lastFlags, 0u);
}

TEST_F(FindSessionTest, F3WithoutAFoundTextShowsTheMessage) {
    Load("abc");
    target.state = {true, SearchFlags::MatchCase, "ABC", false};
    EXPECT_FALSE(FindRepeat::Repeat(target, true));
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, "Cannot find string\"ABC\"");
    EXPECT_FALSE(target.state.repeatedSearch);
}

} // namespace
