#include "EditorTestFiles.h"
#include "editor/CTextBuffer.h"
#include "editor/CTextChange.h"
#include "editor/DeletionChange.h"
#include "editor/InsertionChange.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace {

// Keeps every notice it is given.
class RecordingView : public CTextBufferObserver {
public:
    struct Notice {
        CTextBufferObserver* source;
        bool insertion;
        bool deletion;
        CTextPosition start;
        CTextPosition end;
        unsigned bits;
        int line;
    };

    void OnBufferChange(CTextBufferObserver* sourceView, const CTextChange* change, unsigned notice,
                        int line) override {
        Notice seen{sourceView, false, false, {}, {}, notice, line};
        if (change != nullptr) {
            seen.insertion = dynamic_cast<const InsertionChange*>(change) != nullptr;
            seen.deletion = dynamic_cast<const DeletionChange*>(change) != nullptr;
            seen.start = change->start;
            seen.end = change->end;
        }
        notices.push_back(seen);
    }
    void OnEditDone(int action, const std::string& text) override {
        edits.emplace_back(action, text);
    }

    std::vector<Notice> notices;
    std::vector<std::pair<int, std::string>> edits;
};

// Forwards the modified state elsewhere, as the document's buffer does; the buffer's own flag
// then never rises.
class ForwardingBuffer : public CTextBuffer {
public:
    void SetModifiedState(bool flag) override { ownerModified = flag; }
    bool ownerModified = false;
};

constexpr unsigned widthsAndOneLine =
    CTextBufferObserver::UpdateLineWidths | CTextBufferObserver::UpdateOneLine;
constexpr unsigned widthsAndCount =
    CTextBufferObserver::UpdateLineWidths | CTextBufferObserver::UpdateLineCount;

CTextPosition Insert(CTextBuffer& buffer, CTextPosition at, const std::string& text,
                     CTextBufferObserver* view = nullptr, int action = CTextBuffer::ActionTyping) {
    CTextPosition end{-1, -1};
    EXPECT_TRUE(
        buffer.InsertChars(view, at.line, at.charIndex, text, end.line, end.charIndex, action));
    return end;
}

// Types as the edit view does: a run of characters up to a space is one undo group.
void Type(CTextBuffer& buffer, CTextPosition& caret, const std::string& text,
          CTextBufferObserver* view) {
    for (char typed : text) {
        buffer.OpenUndoGroup(typed != ' ');
        caret = Insert(buffer, caret, std::string(1, typed), view);
        buffer.CloseUndoGroup(view);
    }
}

struct InsertCase {
    const char* text;
    std::vector<std::string> lines;
    CTextPosition end;
    unsigned notice;
};

TEST(TextBufferInsert, CrAndCrLfBreakLinesButALoneLfDoesNot) {
    const InsertCase rows[] = {
        {"x\ny", {"ax\nyb"}, {4, 0}, widthsAndOneLine},
        {"x\ry", {"ax", "yb"}, {1, 1}, widthsAndCount},
        {"x\r\ny", {"ax", "yb"}, {1, 1}, widthsAndCount},
        {"\r\n\r\n", {"a", "", "b"}, {0, 2}, widthsAndCount},
        {"x\r", {"ax", "b"}, {0, 1}, widthsAndCount},
    };
    for (const InsertCase& row : rows) {
        CTextBuffer buffer;
        RecordingView view;
        buffer.StartEmpty();
        Insert(buffer, {0, 0}, "ab");
        buffer.AttachView(&view);
        EXPECT_EQ(Insert(buffer, {1, 0}, row.text, &view), row.end) << row.text;
        std::vector<std::string> lines;
        for (int line = 0; line < buffer.LineCount(); ++line) {
            lines.push_back(Line(buffer, line));
        }
        EXPECT_EQ(lines, row.lines) << row.text;
        ASSERT_EQ(view.notices.size(), 1u);
        const RecordingView::Notice& notice = view.notices[0];
        EXPECT_EQ(notice.source, &view);
        EXPECT_TRUE(notice.insertion);
        EXPECT_EQ(notice.start, (CTextPosition{1, 0}));
        EXPECT_EQ(notice.end, row.end);
        EXPECT_EQ(notice.bits, row.notice) << row.text;
        EXPECT_EQ(notice.line, 0);
    }
}

TEST(TextBufferInsert, BadPositionsAreRefusedAndNothingIsRecorded) {
    CTextBuffer buffer;
    buffer.StartEmpty();
    Insert(buffer, {0, 0}, "ab\r\ncd");
    const CTextPosition bad[] = {{3, 0}, {-1, 0}, {0, 2}, {0, -1}};
    for (const CTextPosition& at : bad) {
        int endLine = 0;
        int endChar = 0;
        EXPECT_FALSE(buffer.InsertChars(nullptr, at.line, at.charIndex, "x", endLine, endChar));
    }
    EXPECT_FALSE(buffer.DeleteRange(nullptr, 1, 1, 0, 0));
    EXPECT_FALSE(buffer.DeleteRange(nullptr, 0, 0, 1, 3));
    EXPECT_EQ(AllText(buffer), "ab\r\ncd");
    CTextPosition caret;
    EXPECT_TRUE(buffer.Undo(caret));
    EXPECT_FALSE(buffer.CanUndo());
}

TEST(TextBufferInsert, NoLineGrowsPastTheLongestALoadAccepts) {
    const std::string longest(CTextBuffer::maxLineLength, 'x');
    const std::string tooLong[] = {
        longest,                     // the line it is typed into
        longest + "\r\n",            // the first line
        "\r\n" + longest,            // the last line, with the text after the caret
        "\r\n" + longest + "y\r\n",  // a line in between
        "\r" + longest + "y\rz\r\n", // a line in between, lone CR breaks
    };
    for (std::size_t row = 0; row < std::size(tooLong); ++row) {
        SCOPED_TRACE(row);
        const std::string& text = tooLong[row];
        CTextBuffer buffer;
        buffer.StartEmpty();
        Insert(buffer, {0, 0}, "ab");
        int endLine = 0;
        int endChar = 0;
        EXPECT_FALSE(buffer.InsertChars(nullptr, 0, 1, text, endLine, endChar));
        EXPECT_EQ(AllText(buffer), "ab");
        CTextPosition caret;
        EXPECT_TRUE(buffer.Undo(caret));
        EXPECT_FALSE(buffer.CanUndo()) << "nothing recorded";
    }
    CTextBuffer buffer;
    buffer.StartEmpty();
    Insert(buffer, {0, 0}, "ab");
    Insert(buffer, {1, 0}, "\r\n" + longest + "\r\n");
    EXPECT_EQ(buffer.LineLength(1), CTextBuffer::maxLineLength);
}

TEST(TextBufferUndo, DeletionAcrossLinesComesBackWithCrLfInAnyStyle) {
    TempFolder folder;
    const std::string path = folder.File("unix.85");
    const std::string bytes = "one\n\rtwo\n\rthree\n\rfour";
    WriteBytes(path, bytes);
    CTextBuffer buffer;
    ASSERT_TRUE(buffer.LoadText(path));
    ASSERT_EQ(buffer.LineEndStyle(), 1);
    RecordingView view;
    buffer.AttachView(&view);

    ASSERT_TRUE(buffer.DeleteRange(&view, 0, 2, 2, 3, CTextBuffer::ActionCut));
    EXPECT_EQ(AllText(buffer), "onee\r\nfour");
    EXPECT_EQ(view.notices.back().bits, widthsAndCount);
    EXPECT_TRUE(view.notices.back().deletion);
    EXPECT_EQ(view.edits.back(), (std::pair<int, std::string>{3, "e\r\ntwo\r\nthr"}));

    std::string description;
    buffer.UndoDescription(description);
    EXPECT_EQ(description, "Cut");
    CTextPosition caret;
    ASSERT_TRUE(buffer.Undo(caret));
    EXPECT_EQ(caret, (CTextPosition{3, 2}));
    EXPECT_EQ(view.notices.back().source, nullptr);
    buffer.RedoDescription(description);
    EXPECT_EQ(description, "Cut");
    ASSERT_TRUE(buffer.SaveText(path));
    EXPECT_EQ(ReadBytes(path), bytes);

    ASSERT_TRUE(buffer.Redo(caret));
    EXPECT_EQ(caret, (CTextPosition{2, 0}));
    EXPECT_EQ(AllText(buffer), "onee\r\nfour");
    EXPECT_FALSE(buffer.Redo(caret));
}

TEST(TextBufferUndo, LinesWithTheirOwnCrComeBackWhole) {
    // Lines cut at LF keep their CRs; undoing their deletion must not cut them at those CRs.
    TempFolder folder;
    const std::string path = folder.File("mac.85");
    const std::string bytes = "a\rb\nc\r\nd\r\ne";
    WriteBytes(path, bytes);
    CTextBuffer buffer;
    ASSERT_TRUE(buffer.LoadText(path));
    ASSERT_EQ(buffer.LineEndStyle(), 2);
    ASSERT_EQ(buffer.LineCount(), 4); // "a\rb", "c\r", "d\r", "e"

    const CTextPosition ranges[][2] = {{{0, 0}, {1, 1}}, {{1, 0}, {1, 3}}, {{2, 1}, {2, 2}}};
    CTextPosition caret;
    for (const auto& range : ranges) {
        ASSERT_TRUE(buffer.DeleteRange(nullptr, range[0].line, range[0].charIndex, range[1].line,
                                       range[1].charIndex));
        ASSERT_TRUE(buffer.Undo(caret));
        EXPECT_EQ(buffer.LineCount(), 4);
        EXPECT_EQ(caret, range[1]);
        ASSERT_TRUE(buffer.Redo(caret));
        ASSERT_TRUE(buffer.Undo(caret));
    }
    ASSERT_TRUE(buffer.SaveText(path));
    EXPECT_EQ(ReadBytes(path), bytes);
}

TEST(TextBufferUndo, TypingUpToASpaceIsOneGroup) {
    CTextBuffer buffer;
    RecordingView view;
    buffer.StartEmpty();
    CTextPosition caret;
    Type(buffer, caret, "abc def", &view);
    EXPECT_EQ(view.edits.size(), 7u);

    ASSERT_TRUE(buffer.Undo(caret));
    EXPECT_EQ(AllText(buffer), "abc");
    EXPECT_EQ(caret, (CTextPosition{3, 0}));
    ASSERT_TRUE(buffer.Undo(caret));
    EXPECT_EQ(AllText(buffer), "");
    EXPECT_FALSE(buffer.Undo(caret));
    ASSERT_TRUE(buffer.Redo(caret));
    EXPECT_EQ(AllText(buffer), "abc");
    EXPECT_EQ(caret, (CTextPosition{3, 0}));

    // New typing drops what could have been redone.
    Type(buffer, caret, "x", &view);
    EXPECT_FALSE(buffer.CanRedo());
    ASSERT_TRUE(buffer.Undo(caret));
    EXPECT_EQ(AllText(buffer), "");
}

TEST(TextBufferUndo, LimitDropsWholeOldestGroups) {
    CTextBuffer buffer;
    buffer.StartEmpty();
    CTextPosition caret;
    std::string typed;
    for (int group = 0; group < 130; ++group) {
        buffer.OpenUndoGroup(false);
        for (int i = 0; i < 8; ++i) {
            typed += static_cast<char>('a' + (group + i) % 26);
            caret = Insert(buffer, caret, typed.substr(typed.size() - 1));
        }
        buffer.CloseUndoGroup(nullptr);
    }
    int undone = 0;
    while (buffer.Undo(caret)) {
        ++undone;
    }
    // 1040 records at eight a group: the two oldest groups went at records 1025 and 1033.
    EXPECT_EQ(undone, 128);
    EXPECT_EQ(AllText(buffer), typed.substr(0, 16));
}

// The limit never cuts the group being recorded: Undo takes it back whole, however long, and
// older groups make room for it. Rows: groups of one typed letter before, then a group of
// `records` single letters, opened anew or merged into the group before it.
struct LongGroupCase {
    const char* name;
    int olderGroups;
    int records;
    bool merged;
};

class LongGroup : public testing::TestWithParam<LongGroupCase> {};

TEST_P(LongGroup, UndoesWholeAndOlderGroupsMakeRoom) {
    const LongGroupCase& row = GetParam();
    CTextBuffer buffer;
    buffer.StartEmpty();
    CTextPosition caret;
    Type(buffer, caret, std::string(static_cast<std::size_t>(row.olderGroups), ' '), nullptr);
    buffer.OpenUndoGroup(row.merged);
    for (int i = 0; i < row.records; ++i) {
        caret = Insert(buffer, caret, "z");
    }
    buffer.CloseUndoGroup(nullptr);
    ASSERT_EQ(buffer.LineLength(0), row.olderGroups + row.records);

    ASSERT_TRUE(buffer.Undo(caret));
    const int kept = row.merged ? 0 : row.olderGroups;
    EXPECT_EQ(AllText(buffer), std::string(static_cast<std::size_t>(kept), ' '));
    EXPECT_EQ(caret, (CTextPosition{kept, 0}));
    // Older groups stay only while the long group leaves room for them.
    EXPECT_EQ(buffer.CanUndo(), kept > 0 && kept + row.records < CTextBuffer::defaultUndoLimit);

    // Redo brings the whole group back, and the next group drops it when it is over the limit.
    ASSERT_TRUE(buffer.Redo(caret));
    EXPECT_EQ(buffer.LineLength(0), row.olderGroups + row.records);
    Type(buffer, caret, " ", nullptr);
    ASSERT_TRUE(buffer.Undo(caret));
    EXPECT_EQ(buffer.CanUndo(), row.olderGroups + row.records < CTextBuffer::defaultUndoLimit);
}

const LongGroupCase longGroupCases[] = {
    {"AloneOverTheLimit", 0, CTextBuffer::defaultUndoLimit + 6, false},
    {"AfterTypingOverTheLimit", 10, 2000, false},
    {"AfterTypingUnderTheLimit", 10, 500, false},
    {"MergedIntoTheGroupBefore", 1, 1500, true},
};

INSTANTIATE_TEST_SUITE_P(Records, LongGroup, testing::ValuesIn(longGroupCases),
                         [](const auto& row) { return std::string(row.param.name); });

// The same modified-state rules hold for a buffer that keeps the flag itself and for one that
// forwards it to its document, except that the forwarding one never reads as saved again after
// undo or redo (its own flag never rises): only a save clears its owner's flag.
class ModifiedState : public testing::TestWithParam<bool> {
protected:
    void SetUp() override {
        if (GetParam()) {
            auto forwarding = std::make_unique<ForwardingBuffer>();
            forwarded = forwarding.get();
            buffer = std::move(forwarding);
        } else {
            buffer = std::make_unique<CTextBuffer>();
        }
        buffer->StartEmpty();
    }
    bool Modified() const {
        return forwarded != nullptr ? forwarded->ownerModified : buffer->IsModified();
    }
    void Save() { ASSERT_TRUE(buffer->SaveText(folder.File("a.85"))); }
    void Undo() { buffer->Undo(caret); }
    void Redo() { buffer->Redo(caret); }

    TempFolder folder;
    std::unique_ptr<CTextBuffer> buffer;
    ForwardingBuffer* forwarded = nullptr;
    CTextPosition caret;
};

TEST_P(ModifiedState, FollowsUndoAndRedoToTheSavedPoint) {
    Insert(*buffer, {0, 0}, "a");
    Insert(*buffer, {1, 0}, "b");
    EXPECT_TRUE(Modified());
    Save();
    EXPECT_FALSE(Modified());
    Insert(*buffer, {2, 0}, "c");
    EXPECT_TRUE(Modified());
    const bool modifiedAtSavedPoint = forwarded != nullptr;
    Undo();
    EXPECT_EQ(Modified(), modifiedAtSavedPoint);
    Undo();
    EXPECT_TRUE(Modified());
    Redo();
    EXPECT_EQ(Modified(), modifiedAtSavedPoint);
    Redo();
    EXPECT_TRUE(Modified());
    Save();
    EXPECT_FALSE(Modified());
    Insert(*buffer, {3, 0}, "d");
    EXPECT_TRUE(Modified());
}

TEST_P(ModifiedState, SavedPointThrownAwayByNewTypingIsNeverReachedAgain) {
    Insert(*buffer, {0, 0}, "a");
    Save();
    Undo();
    Insert(*buffer, {0, 0}, "b"); // same record count as at the save, different text
    EXPECT_TRUE(Modified());
    Undo();
    EXPECT_TRUE(Modified());
    Redo();
    EXPECT_TRUE(Modified());
}

TEST_P(ModifiedState, SavedPointMovesWithTheLimitAndIsLostWithItsGroup) {
    const int limit = CTextBuffer::defaultUndoLimit;
    Insert(*buffer, {0, 0}, "s");
    Save();
    for (int i = 1; i <= limit; ++i) {
        Insert(*buffer, {i, 0}, "x");
    }
    // The last record dropped the "s" record; the saved text is still reached by undoing all.
    int undone = 0;
    while (buffer->Undo(caret)) {
        ++undone;
        EXPECT_EQ(Modified(), undone < limit || forwarded != nullptr) << undone;
    }
    EXPECT_EQ(undone, limit);
    EXPECT_EQ(AllText(*buffer), "s");

    // Saved with nothing left to undo; one record over the limit then drops the saved point.
    Save();
    for (int i = 1; i <= limit + 1; ++i) {
        Insert(*buffer, {i, 0}, "x");
    }
    while (buffer->Undo(caret)) {
        EXPECT_TRUE(Modified());
    }
    EXPECT_EQ(AllText(*buffer), "sx");
    while (buffer->Redo(caret)) {
        EXPECT_TRUE(Modified());
    }
}

INSTANTIATE_TEST_SUITE_P(OwnOrForwarded, ModifiedState, testing::Bool());

TEST(TextBufferFlags, SingleBitsOnlyAndNumberedBookmarksMove) {
    CTextBuffer buffer;
    RecordingView view;
    buffer.StartEmpty();
    Insert(buffer, {0, 0}, "a\r\nb\r\nc\r\nd");
    buffer.AttachView(&view);
    const uint32_t three = CTextBuffer::NumberedBookmark(3);
    constexpr unsigned marks =
        CTextBufferObserver::UpdateOneLine | CTextBufferObserver::UpdateMarksOnly;

    buffer.ChangeLineFlag(1, 0x3, true, false);
    EXPECT_EQ(buffer.LineFlags(1), 0u);
    EXPECT_EQ(buffer.FindFlaggedLine(0x3), -1);
    EXPECT_TRUE(view.notices.empty());

    buffer.ChangeLineFlag(1, three, true, true);
    buffer.ChangeLineFlag(2, three, true, true);
    EXPECT_EQ(buffer.LineFlags(1), 0u);
    EXPECT_EQ(buffer.LineFlags(2), three);
    EXPECT_EQ(buffer.FindFlaggedLine(three), 2);
    ASSERT_EQ(view.notices.size(), 3u);
    EXPECT_EQ(view.notices[1].line, 1); // taken off line 1 first
    EXPECT_EQ(view.notices[2].line, 2);
    EXPECT_EQ(view.notices[2].bits, marks);

    buffer.ChangeLineFlag(2, three, true, true); // no change, no notice
    EXPECT_EQ(view.notices.size(), 3u);
    buffer.ChangeLineFlag(-1, three, false, true);
    EXPECT_EQ(buffer.FindFlaggedLine(three), -1);
    buffer.ChangeLineFlag(7, three, true, true);
    buffer.ChangeLineFlag(-1, three, false, false);
    EXPECT_EQ(buffer.FindFlaggedLine(three), -1);
}

TEST(TextBufferFlags, BookmarkSearchWrapsOnce) {
    CTextBuffer buffer;
    buffer.StartEmpty();
    Insert(buffer, {0, 0}, "0\r\n1\r\n2\r\n3\r\n4");
    EXPECT_EQ(buffer.NextBookmarkedLine(2), -1);
    EXPECT_EQ(buffer.PreviousBookmarkedLine(2), -1);
    buffer.ChangeLineFlag(1, CTextBuffer::LineFlagBookmark, true, false);
    buffer.ChangeLineFlag(3, CTextBuffer::LineFlagBookmark, true, false);
    // {from, next, previous}
    const int rows[][3] = {{0, 1, 3}, {1, 3, 3}, {2, 3, 1}, {3, 1, 1}, {4, 1, 3}};
    for (const auto& row : rows) {
        EXPECT_EQ(buffer.NextBookmarkedLine(row[0]), row[1]) << row[0];
        EXPECT_EQ(buffer.PreviousBookmarkedLine(row[0]), row[2]) << row[0];
    }
}

TEST(TextBufferCopy, UsesTheGivenLineEndAndRefusesRangesOutsideTheText) {
    CTextBuffer buffer;
    buffer.StartEmpty();
    Insert(buffer, {0, 0}, "abc\r\n\r\ndef");
    std::string text;
    buffer.CopyRange(0, 1, 2, 2, text, "\n");
    EXPECT_EQ(text, "bc\n\nde");
    buffer.CopyRange(2, 1, 2, 3, text);
    EXPECT_EQ(text, "ef");
    buffer.CopyRange(2, 1, 0, 0, text);
    EXPECT_EQ(text, "");
    buffer.CopyRange(0, 0, 2, 4, text);
    EXPECT_EQ(text, "");
}

TEST(TextBufferViews, LoadNoticeAndDetaching) {
    CTextBuffer buffer;
    RecordingView view;
    buffer.AttachView(&view);
    buffer.AttachView(&view);
    buffer.StartEmpty();
    ASSERT_EQ(view.notices.size(), 1u);
    EXPECT_EQ(view.notices[0].bits, CTextBufferObserver::UpdateAll);
    EXPECT_EQ(view.notices[0].line, -1);
    buffer.DetachView(&view);
    Insert(buffer, {0, 0}, "x");
    EXPECT_EQ(view.notices.size(), 1u);
}

// Detaches itself from its buffer on the first notice it gets.
class LeavingView : public RecordingView {
public:
    explicit LeavingView(CTextBuffer& watched) : buffer(watched) {}
    void OnBufferChange(CTextBufferObserver* sourceView, const CTextChange* change, unsigned notice,
                        int line) override {
        RecordingView::OnBufferChange(sourceView, change, notice, line);
        buffer.DetachView(this);
    }
    CTextBuffer& buffer;
};

TEST(TextBufferViews, AViewLeavingWhileToldDoesNotCostTheNextViewItsNotice) {
    CTextBuffer buffer;
    LeavingView leaving(buffer);
    RecordingView staying;
    buffer.AttachView(&leaving);
    buffer.AttachView(&staying);
    buffer.StartEmpty();
    Insert(buffer, {0, 0}, "x");
    EXPECT_EQ(leaving.notices.size(), 1u);
    ASSERT_EQ(staying.notices.size(), 2u);
    EXPECT_EQ(staying.notices[0].bits, CTextBufferObserver::UpdateAll);
    EXPECT_TRUE(staying.notices[1].insertion);
}

TEST(TextBufferActions, DescriptionsOfKnownCodesOnly) {
    CTextBuffer buffer;
    buffer.StartEmpty();
    std::string description = "stale";
    buffer.UndoDescription(description);
    EXPECT_EQ(description, "");
    Insert(buffer, {0, 0}, "x", nullptr, 42);
    description = "stale";
    buffer.UndoDescription(description);
    EXPECT_EQ(description, "");
    EXPECT_FALSE(buffer.DescribeAction(11, description));
    EXPECT_FALSE(buffer.DescribeAction(-1, description));
    ASSERT_TRUE(buffer.DescribeAction(CTextBuffer::ActionDelete, description));
    EXPECT_EQ(description, "Delete");
    ASSERT_TRUE(buffer.DescribeAction(CTextBuffer::ActionAutoIndent, description));
    EXPECT_EQ(description, "Auto Indent");
}

} // namespace
