// Block indent and outdent: every selected line changed at its start as one recorded change,
// told to the views in one notice, undone and redone whole.
#include "EditorTestFiles.h"
#include "editor/BufferLines.h"
#include "editor/CTextBuffer.h"
#include "editor/IndentRules.h"
#include "editor/LineStartsChange.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

constexpr unsigned blockNotice =
    CTextBufferObserver::UpdateLineWidths | CTextBufferObserver::UpdateLineRange;

// Counts the notices and moves a few positions through each change, as a view moves its caret.
class FollowingView : public CTextBufferObserver {
public:
    void OnBufferChange(CTextBufferObserver* source, const CTextChange* change, unsigned notice,
                        int line) override {
        ++notices;
        lastSource = source;
        lastNotice = notice;
        lastLine = line;
        lastEndLine = change != nullptr ? change->end.line : -1;
        if (change != nullptr) {
            for (CTextPosition& position : positions) {
                position = change->AdjustPosition(position);
            }
        }
    }
    void OnEditDone(int action, const std::string&) override { lastAction = action; }

    int notices = 0;
    CTextBufferObserver* lastSource = nullptr;
    unsigned lastNotice = 0;
    int lastLine = -2;
    int lastEndLine = -2;
    int lastAction = -1;
    std::vector<CTextPosition> positions;
};

std::vector<std::string> Lines(const CTextBuffer& buffer) {
    std::vector<std::string> lines;
    for (int line = 0; line < buffer.LineCount(); ++line) {
        lines.push_back(Line(buffer, line));
    }
    return lines;
}

void Fill(CTextBuffer& buffer, const std::string& text) {
    TempFolder folder;
    WriteBytes(folder.File("a.85"), text);
    ASSERT_TRUE(buffer.LoadText(folder.File("a.85")));
}

std::vector<int32_t> Outdents(const CTextBuffer& buffer, int first, int last) {
    return IndentRules::OutdentLengths(BufferLines(&buffer), first, last, 4);
}

} // namespace

TEST(TextBufferBlock, IndentIsOneNoticeOneUndoStepAndMovesPositionsAfterTheLineStart) {
    CTextBuffer buffer;
    Fill(buffer, "a\r\n\tb\r\n  c\r\n\r\nd");
    const std::vector<std::string> before = Lines(buffer);
    FollowingView view;
    view.positions = {{0, 1}, {2, 2}, {1, 0}, {1, 4}};
    buffer.AttachView(&view);

    ASSERT_TRUE(buffer.InsertAtLineStarts(&view, 1, 3, "\t", CTextBuffer::ActionIndent));
    EXPECT_EQ(Lines(buffer), (std::vector<std::string>{"a", "\t\tb", "\t  c", "\t", "d"}));
    EXPECT_EQ(view.notices, 1);
    EXPECT_EQ(view.lastSource, &view);
    EXPECT_EQ(view.lastNotice, blockNotice);
    EXPECT_EQ(view.lastLine, 1);
    EXPECT_EQ(view.lastEndLine, 3);
    EXPECT_EQ(view.lastAction, CTextBuffer::ActionIndent);
    // Column 0 stays before the new tab; lines outside the block do not move.
    EXPECT_EQ(view.positions, (std::vector<CTextPosition>{{0, 1}, {3, 2}, {1, 0}, {1, 4}}));
    EXPECT_TRUE(buffer.IsModified());
    std::string description;
    buffer.UndoDescription(description);
    EXPECT_EQ(description, "Indent");

    CTextPosition caret;
    ASSERT_TRUE(buffer.Undo(caret));
    EXPECT_EQ(Lines(buffer), before);
    EXPECT_EQ(caret, (CTextPosition{0, 1}));
    EXPECT_EQ(view.notices, 2);
    EXPECT_EQ(view.lastSource, nullptr);
    EXPECT_FALSE(buffer.CanUndo());
    EXPECT_FALSE(buffer.IsModified());

    ASSERT_TRUE(buffer.Redo(caret));
    EXPECT_EQ(Lines(buffer), (std::vector<std::string>{"a", "\t\tb", "\t  c", "\t", "d"}));
    EXPECT_EQ(caret, (CTextPosition{1, 3}));
    EXPECT_FALSE(buffer.CanRedo());
}

TEST(TextBufferBlock, OutdentRemovesEachLinesOwnIndentAndUndoPutsItBack) {
    CTextBuffer buffer;
    Fill(buffer, "    a\r\n  \tb\r\n\tc\r\nd\r\n      e\r\n\t");
    const std::vector<std::string> before = Lines(buffer);
    const std::vector<int32_t> counts = Outdents(buffer, 0, 5);
    EXPECT_EQ(counts, (std::vector<int32_t>{4, 3, 1, 0, 4, 1}));
    FollowingView view;
    view.positions = {{2, 0}, {5, 0}, {1, 3}, {6, 4}};
    buffer.AttachView(&view);

    ASSERT_TRUE(buffer.DeleteAtLineStarts(&view, 0, counts, CTextBuffer::ActionIndent));
    EXPECT_EQ(Lines(buffer), (std::vector<std::string>{"a", "b", "c", "d", "  e", ""}));
    EXPECT_EQ(view.notices, 1);
    EXPECT_EQ(view.lastNotice, blockNotice);
    EXPECT_EQ(view.lastEndLine, 5);
    // A position inside the removed indent goes to the line start; one after it moves left.
    EXPECT_EQ(view.positions, (std::vector<CTextPosition>{{0, 0}, {1, 0}, {1, 3}, {2, 4}}));

    // Lines the outdent left alone stay so through undo and redo.
    CTextPosition caret;
    ASSERT_TRUE(buffer.Undo(caret));
    EXPECT_EQ(Lines(buffer), before);
    EXPECT_EQ(caret, (CTextPosition{4, 0}));
    ASSERT_TRUE(buffer.Redo(caret));
    EXPECT_EQ(Lines(buffer), (std::vector<std::string>{"a", "b", "c", "d", "  e", ""}));
    EXPECT_EQ(caret, (CTextPosition{0, 5}));

    // Nothing left to remove: nothing changes and nothing is recorded.
    ASSERT_TRUE(buffer.DeleteAtLineStarts(&view, 0, Outdents(buffer, 0, 3)));
    EXPECT_EQ(view.notices, 3);
    ASSERT_TRUE(buffer.Undo(caret));
    EXPECT_EQ(Lines(buffer), before);
}

TEST(TextBufferBlock, BadBlocksAreRefusedAndNothingIsRecorded) {
    CTextBuffer buffer;
    Fill(buffer, "ab\r\n\tc\r\n" + std::string(CTextBuffer::maxLineLength, 'x'));
    const std::vector<std::string> before = Lines(buffer);
    FollowingView view;
    buffer.AttachView(&view);

    EXPECT_FALSE(buffer.InsertAtLineStarts(&view, -1, 1, "\t"));
    EXPECT_FALSE(buffer.InsertAtLineStarts(&view, 1, 3, "\t"));
    EXPECT_FALSE(buffer.InsertAtLineStarts(&view, 1, 0, "\t"));
    EXPECT_FALSE(buffer.InsertAtLineStarts(&view, 0, 1, "x\ry")) << "a line break";
    EXPECT_FALSE(buffer.InsertAtLineStarts(&view, 1, 2, "\t")) << "a line over the longest";
    EXPECT_FALSE(buffer.DeleteAtLineStarts(&view, 0, {3, 0})) << "more than the line holds";
    EXPECT_FALSE(buffer.DeleteAtLineStarts(&view, 2, {0, 0})) << "past the last line";
    EXPECT_FALSE(buffer.DeleteAtLineStarts(&view, 0, {-1}));
    EXPECT_FALSE(buffer.DeleteAtLineStarts(&view, 0, {}));
    EXPECT_TRUE(buffer.InsertAtLineStarts(&view, 0, 1, "")) << "nothing to insert";

    EXPECT_EQ(Lines(buffer), before);
    EXPECT_EQ(view.notices, 0);
    EXPECT_FALSE(buffer.CanUndo());
    EXPECT_FALSE(buffer.IsModified());
}

// Tab on 2,000 selected lines after some typing, then Undo, un-indents every one of them; so
// does Undo after Shift+Tab, and the typing before stays undoable.
TEST(TextBufferBlock, ABlockOverTheUndoLimitUndoesWhole) {
    constexpr int lineCount = 2000;
    std::string text;
    for (int line = 0; line < lineCount; ++line) {
        text += "mvi a, " + std::to_string(line) + "\r\n";
    }
    CTextBuffer buffer;
    Fill(buffer, text);
    const std::vector<std::string> before = Lines(buffer);
    int endLine = 0;
    int endChar = 0;
    for (int typed = 0; typed < 3; ++typed) {
        ASSERT_TRUE(buffer.InsertChars(nullptr, lineCount, 0, ";", endLine, endChar));
    }
    const auto block = [&](bool indent) {
        buffer.OpenUndoGroup(false);
        const bool done =
            indent ? buffer.InsertAtLineStarts(nullptr, 0, lineCount - 1, "\t",
                                               CTextBuffer::ActionIndent)
                   : buffer.DeleteAtLineStarts(nullptr, 0, Outdents(buffer, 0, lineCount - 1),
                                               CTextBuffer::ActionIndent);
        buffer.CloseUndoGroup(nullptr);
        return done;
    };
    const auto indented = [&] {
        for (int line = 0; line < lineCount; ++line) {
            if (Line(buffer, line) != "\t" + before[static_cast<std::size_t>(line)]) {
                return false;
            }
        }
        return true;
    };

    ASSERT_TRUE(block(true));
    EXPECT_TRUE(indented());
    CTextPosition caret;
    ASSERT_TRUE(buffer.Undo(caret));
    EXPECT_EQ(Line(buffer, 0), before[0]);
    EXPECT_EQ(Line(buffer, lineCount - 1), before[lineCount - 1]);
    ASSERT_TRUE(buffer.Redo(caret));
    ASSERT_TRUE(block(false));
    EXPECT_EQ(Line(buffer, 0), before[0]);
    ASSERT_TRUE(buffer.Undo(caret));
    EXPECT_TRUE(indented());
    ASSERT_TRUE(buffer.Undo(caret));
    EXPECT_EQ(Lines(buffer).front(), before.front());
    EXPECT_EQ(Line(buffer, lineCount), ";;;");
    ASSERT_TRUE(buffer.Undo(caret));
    EXPECT_EQ(Line(buffer, lineCount), ";;");
}
