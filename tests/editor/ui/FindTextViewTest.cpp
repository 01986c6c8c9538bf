#include "editor/FindRepeat.h"
#include "editor/ReplaceSession.h"
#include "editor/SearchFlags.h"
#include "editor/ui/CTextEditView.h"
#include "editor/ui/TextViewSearchTarget.h"
#include "support/FakeSearchTarget.h"
#include "support/RecordingMessageBoxes.h"

#include <QAction>
#include <gtest/gtest.h>

namespace {

std::string Line(const CTextBuffer& buffer, int line) {
    return {buffer.LineText(line), static_cast<std::size_t>(buffer.LineLength(line))};
}

class FindTextViewTest : public testing::Test {
protected:
    FindTextViewTest() {
        LoadSearchText(buffer, "mvi a, 1\r\nmvi b, mvi\r\nhlt");
        view.resize(400, 200);
        view.AttachToBuffer(&buffer);
    }

    RecordingMessageBoxes boxes;
    CTextBuffer buffer;
    CTextEditView view;
    TextViewSearchTarget target{view};
};

TEST_F(FindTextViewTest, RepeatedSearchesMoveTheViewsSelectionAndKeepItsSearch) {
    view.search = {true, SearchFlags::WholeWord, "mvi", false};
    view.SetCaretPosition({0, 1});
    ASSERT_TRUE(FindRepeat::Repeat(target, false));
    CTextPosition start;
    CTextPosition end;
    view.GetSelection(start, end);
    EXPECT_EQ(start, (CTextPosition{0, 1}));
    EXPECT_EQ(end, (CTextPosition{3, 1}));
    EXPECT_EQ(view.GetCursorPos(), end);
    EXPECT_TRUE(view.search.repeatedSearch);
    ASSERT_TRUE(FindRepeat::Repeat(target, true));
    view.GetSelection(start, end);
    EXPECT_EQ(start, (CTextPosition{0, 0}));
}

TEST_F(FindTextViewTest, ReplaceAllInTheSelectionEditsTheBufferAndRestoresTheSelection) {
    view.SelectRange({0, 0}, {3, 1});
    ReplaceSession session(target, {true, true, "mvi", "ld"});
    EXPECT_EQ(session.ReplaceAll(), 2);
    session.Finish();
    EXPECT_EQ(Line(buffer, 0), "ld a, 1");
    EXPECT_EQ(Line(buffer, 1), "ld b, mvi");
    CTextPosition start;
    CTextPosition end;
    view.GetSelection(start, end);
    EXPECT_EQ(start, (CTextPosition{0, 0}));
    EXPECT_EQ(end, (CTextPosition{2, 1}));
    CTextPosition caret;
    while (buffer.Undo(caret)) {
    }
    EXPECT_EQ(Line(buffer, 0), "mvi a, 1");
    EXPECT_EQ(Line(buffer, 1), "mvi b, mvi");
}

TEST(FindTextView, EveryReplacementOfALargeReplaceAllIsTwoUndoStepsAndAllOfThemUndo) {
    std::string text;
    for (int i = 0; i < 1500; ++i) {
        text += "mvi a, " + std::to_string(i) + "\r\n";
    }
    text += "hlt";
    CTextBuffer buffer;
    LoadSearchText(buffer, text);
    CTextEditView view;
    view.AttachToBuffer(&buffer);
    TextViewSearchTarget target(view);
    EXPECT_FALSE(view.Action(57640)->isEnabled()) << "F3 before any search";
    RecordingMessageBoxes boxes;
    ReplaceSession session(target, {true, true, "mvi", "ld"});
    ASSERT_EQ(session.ReplaceAll(), 1500);
    EXPECT_EQ(buffer.UndoLimit(), CTextBuffer::defaultUndoLimit);
    std::string description;
    buffer.UndoDescription(description);
    EXPECT_EQ(description, "Replace");
    CTextPosition caret;
    int steps = 0;
    while (buffer.Undo(caret)) {
        ++steps;
    }
    EXPECT_EQ(steps, 3000);
    EXPECT_EQ(Line(buffer, 0), "mvi a, 0");
    EXPECT_EQ(Line(buffer, 1499), "mvi a, 1499");
}

TEST(FindTextView, APlainTextViewCannotReplace) {
    CTextBuffer buffer;
    LoadSearchText(buffer, "mvi");
    CTextView view;
    view.AttachToBuffer(&buffer);
    TextViewSearchTarget target(view);
    view.SelectRange({0, 0}, {3, 0});
    EXPECT_FALSE(target.IsEditable());
    EXPECT_FALSE(target.ReplaceSelection("x"));
    EXPECT_EQ(target.LineText(0), "mvi");
}

} // namespace
