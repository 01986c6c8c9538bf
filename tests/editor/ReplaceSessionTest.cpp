#include "editor/ReplaceSession.h"

#include "support/FakeSearchTarget.h"
#include "support/RecordingMessageBoxes.h"

#include <gtest/gtest.h>

namespace {

class ReplaceSessionTest : public testing::Test {
protected:
    void Load(std::string_view text) { LoadSearchText(buffer, text); }

    RecordingMessageBoxes boxes;
    CTextBuffer buffer;
    FakeSearchTarget target{buffer};
};

TEST_F(ReplaceSessionTest, ReplaceAllWithinAOneLineSelectionKeepsToItAsItWas) {
    Load("ab ab ab ab");
    target.SelectRange({0, 0}, {6, 0});
    ReplaceSession session(target, {false, false, "ab", "abcd"});
    ASSERT_TRUE(session.SelectionAllowed());
    EXPECT_EQ(session.GetScope(), ReplaceSession::Scope::Selection);
    EXPECT_EQ(session.ReplaceAll(), 2);
    EXPECT_EQ(target.Text(), "abcd abcd ab ab");
    // It ends with the message even though it replaced something.
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, "Cannot find string\"ab\"");
    session.Finish();
    EXPECT_EQ(target.selStart, (CTextPosition{0, 0}));
    EXPECT_EQ(target.selEnd, (CTextPosition{10, 0}));
}

TEST_F(ReplaceSessionTest, TheBlockEndMovesOnItsLineAndWithAddedLines) {
    Load("x a a\r\na a y");
    target.SelectRange({2, 0}, {2, 1});
    ReplaceSession session(target, {false, true, "a", "b\rc"});
    EXPECT_EQ(session.ReplaceAll(), 3);
    EXPECT_EQ(target.Text(), "x b\nc b\nc\nb\nc a y");
    EXPECT_EQ(session.BlockBegin(), (CTextPosition{2, 0}));
    EXPECT_EQ(session.BlockEnd(), (CTextPosition{2, 4}));
}

TEST_F(ReplaceSessionTest, WholeFileStartsAtTheCaretWithoutWrapThenFromTheTop) {
    Load("Mov a\r\nmov b\r\nMOV c");
    target.PlaceCaret({1, 1});
    ReplaceSession session(target, {false, false, "mov", "ld"});
    EXPECT_FALSE(session.SelectionAllowed());
    session.SetScope(ReplaceSession::Scope::Selection);
    EXPECT_EQ(session.GetScope(), ReplaceSession::Scope::WholeFile);
    EXPECT_EQ(session.ReplaceAll(), 1);
    EXPECT_EQ(target.Text(), "Mov a\nmov b\nld c");
    EXPECT_EQ(session.ReplaceAll(), 2);
    EXPECT_EQ(target.Text(), "ld a\nld b\nld c");
    EXPECT_EQ(boxes.shown.size(), 2u);
}

TEST_F(ReplaceSessionTest, FindNextMovesOneCharacterOnAndAfterAFailureStartsAtTheTop) {
    Load("aaa x aa");
    ReplaceSession session(target, {true, false, "aa", "b"});
    for (int step = 0; step < 3; ++step) {
        ASSERT_TRUE(session.FindNext());
    }
    EXPECT_FALSE(session.FindNext());
    ASSERT_TRUE(session.FindNext());
    EXPECT_EQ(target.highlights, (std::vector<CTextPosition>{{0, 0}, {1, 0}, {6, 0}, {0, 0}}));
    ASSERT_TRUE(session.Replace());
    EXPECT_EQ(target.Text(), "ba x aa");
    EXPECT_EQ(target.highlights.back(), (CTextPosition{5, 0}));
}

TEST_F(ReplaceSessionTest, ChangingTheSearchForgetsTheMatchInsteadOfReplacingIt) {
    Load("ab cd");
    ReplaceSession session(target, {false, false, "ab", "X"});
    ASSERT_TRUE(session.FindNext());
    session.SetFindWhat("cd");
    ASSERT_TRUE(session.Replace());
    EXPECT_EQ(target.Text(), "ab cd");
    EXPECT_EQ(target.highlights.back(), (CTextPosition{3, 0}));
    ASSERT_FALSE(session.Replace());
    EXPECT_EQ(target.Text(), "ab X");
    EXPECT_EQ(session.Finish(), (SearchOptions{false, false, "cd", "X"}));
}

TEST_F(ReplaceSessionTest, EachReplacementIsTwoUndoGroups) {
    Load("a b a");
    ReplaceSession session(target, {false, false, "a", "c"});
    ASSERT_EQ(session.ReplaceAll(), 2);
    std::string description;
    CTextPosition caret;
    for (const char* expected : {"Replace", "Delete Selection", "Replace", "Delete Selection"}) {
        buffer.UndoDescription(description);
        EXPECT_EQ(description, expected);
        ASSERT_TRUE(buffer.Undo(caret));
    }
    EXPECT_FALSE(buffer.CanUndo());
    EXPECT_EQ(target.Text(), "a b a");
}

TEST_F(ReplaceSessionTest, UndoingAReplaceAllRestoresTheTextByteForByte) {
    std::string text;
    for (int line = 0; line < 1000; ++line) {
        text += line % 7 == 0 ? "\tmvi A,0ffH ; mvi a\r\n" : "\tlxi h,1234H\r\n";
    }
    Load(text);
    ReplaceSession session(target, {true, true, "mvi", "MVI_LONGER"});
    const int replaced = session.ReplaceAll();
    ASSERT_EQ(replaced, 2 * 143);
    CTextPosition caret;
    for (int undo = 0; undo < 2 * replaced; ++undo) {
        ASSERT_TRUE(buffer.Undo(caret));
    }
    EXPECT_FALSE(buffer.CanUndo());
    std::string restored;
    buffer.CopyRange(0, 0, buffer.LineCount() - 1, 0, restored);
    EXPECT_EQ(restored, text);
}

TEST_F(ReplaceSessionTest, ReplaceAllStopsWhenTheTextCannotBeChanged) {
    Load("a a");
    target.readOnly = true;
    ReplaceSession session(target, {false, false, "a", ""});
    EXPECT_EQ(session.ReplaceAll(), 0);
    EXPECT_EQ(target.Text(), "a a");
}

} // namespace
