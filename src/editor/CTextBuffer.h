#pragma once

#include "editor/CTextBufferObserver.h"
#include "editor/CTextPosition.h"
#include "editor/LineEnd.h"
#include "editor/LineRecord.h"
#include "editor/UndoRecord.h"

#include <climits>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// The text of one document: its lines with a flag word each, loading and saving in four
// line-end styles, every change recorded in undo groups, and the attached views told of each
// change. All text is 8-bit characters. Failures are false results; the caller tells the user.
class CTextBuffer {
public:
    // What a recorded change was, for the Undo and Redo menu texts.
    enum Action {
        ActionUnknown = 0,
        ActionPaste = 1,
        ActionDeleteSelection = 2,
        ActionCut = 3,
        ActionTyping = 4,
        ActionBackspace = 5,
        ActionIndent = 6,
        ActionDragDrop = 7,
        ActionReplace = 8,
        ActionDelete = 9,
        ActionAutoIndent = 10,
    };

    // Line flag bits 0 to 9 are the numbered bookmarks 0 to 9, each on one line at most; this
    // is the plain bookmark, on any number of lines.
    static constexpr uint32_t LineFlagBookmark = 0x100000;
    static constexpr uint32_t NumberedBookmark(int number) { return 1u << number; }

    // Why the last load failed.
    enum class LoadFailure {
        None,
        Missing,
        NotAFile,
        NoPermission,
        TooLarge,
        LineTooLong,
        ReadError,
        OutOfMemory,
        UnknownStyle,
    };

    static constexpr int defaultUndoLimit = 1024;
    // No line grows longer than this, so that display columns and pixel widths of a line stay
    // far inside 32 bits; files with longer lines are not loaded.
    static constexpr int maxLineLength = 1 << 20;
    // Line counts and lengths are 32-bit, so larger files cannot be held.
    static constexpr std::size_t maxFileSize = INT_MAX - 1;

    CTextBuffer() = default;
    CTextBuffer(const CTextBuffer&) = delete;
    CTextBuffer& operator=(const CTextBuffer&) = delete;
    virtual ~CTextBuffer();

    // Sets `description` to the action's menu text; false for an unknown code.
    virtual bool DescribeAction(int action, std::string& description) const;
    // The document's buffer replaces this to forward the state to the document.
    virtual void SetModifiedState(bool flag);

    bool StartEmpty(int style = 0);
    bool LoadText(const std::string& path, int style = LineEnd::Automatic);
    LoadFailure LastLoadFailure() const { return loadFailure; }
    // Why the last load failed, in words for the message that the file was not opened; empty
    // after a successful load.
    std::string LoadFailureText() const;
    bool SaveText(const std::string& path, int style = LineEnd::Automatic,
                  bool clearModified = true);
    // After a save that failed only at the final rename: the file that holds the new text.
    const std::string& KeptTemporaryPath() const { return keptTemporaryPath; }
    void ReleaseAll();
    // How many undo records are kept before the oldest groups are dropped; a load or a fresh
    // start sets it back to defaultUndoLimit. The group being recorded is never cut: it is kept
    // whole even when it alone holds more records.
    int UndoLimit() const { return undoLimit; }
    void SetUndoLimit(int limit) { undoLimit = limit; }

    bool IsInitialised() const { return initialised; }
    bool IsModified() const { return modified; }
    bool IsReadOnly() const { return readOnly; }
    int LineEndStyle() const { return lineEndStyle; }

    // Plain reads; the caller passes a valid line index.
    int LineCount() const { return static_cast<int>(lines.size()); }
    int LineLength(int line) const { return lines[line].length; }
    const char* LineText(int line) const;
    uint32_t LineFlags(int line) const { return lines[line].flags; }

    // Acts only on a flag with exactly one bit. Line -1 means the line that has the flag.
    void ChangeLineFlag(int line, uint32_t flag, bool set, bool exclusive);
    int FindFlaggedLine(uint32_t flag) const;
    // The next (previous) line with the plain bookmark after (before) `line`, wrapping once.
    int NextBookmarkedLine(int line) const;
    int PreviousBookmarkedLine(int line) const;

    // The text of the range with `lineEnd` between lines; empty for a range outside the text.
    void CopyRange(int startLine, int startChar, int endLine, int endChar, std::string& text,
                   std::string_view lineEnd = "\r\n") const;
    // Recorded changes. CR and CR LF in inserted text break lines; a lone LF stays in the line.
    bool InsertChars(CTextBufferObserver* view, int line, int charIndex, std::string_view text,
                     int& endLine, int& endChar, int action = ActionUnknown);
    bool DeleteRange(CTextBufferObserver* view, int startLine, int startChar, int endLine,
                     int endChar, int action = ActionUnknown);
    // Block indent and outdent, each recorded as one change and told to the views at once: `text`
    // (without CR) put before every line from firstLine to lastLine; or the first counts[i]
    // characters of line firstLine + i removed (0 leaves a line alone).
    bool InsertAtLineStarts(CTextBufferObserver* view, int firstLine, int lastLine,
                            std::string_view text, int action = ActionUnknown);
    bool DeleteAtLineStarts(CTextBufferObserver* view, int firstLine,
                            const std::vector<int32_t>& counts, int action = ActionUnknown);

    bool CanUndo() const { return undoPosition > 0; }
    bool CanRedo() const { return undoPosition < static_cast<int>(undoRecords.size()); }
    // Undo (redo) one group; `position` receives where the caret goes. False when there is
    // nothing to undo (redo).
    bool Undo(CTextPosition& position);
    bool Redo(CTextPosition& position);
    void OpenUndoGroup(bool mergeWithPrevious = false);
    void CloseUndoGroup(CTextBufferObserver* view = nullptr);
    void UndoDescription(std::string& description) const;
    void RedoDescription(std::string& description) const;

    void AttachView(CTextBufferObserver* view);
    void DetachView(CTextBufferObserver* view);
    void NotifyViews(CTextBufferObserver* sourceView, const CTextChange* change, unsigned notice,
                     int line);

private:
    // The saved text can no longer be reached by undo or redo.
    static constexpr int unreachable = -1;

    bool IsValidPosition(CTextPosition position) const;
    // Both ends inside the text, the start not after the end.
    bool IsValidRange(CTextPosition start, CTextPosition end) const;
    void ResetAfterLoad(int style, bool fileReadOnly);
    bool RawInsert(CTextBufferObserver* sourceView, CTextPosition at,
                   const std::vector<std::string_view>& pieces, CTextPosition& end);
    bool RawDelete(CTextBufferObserver* sourceView, CTextPosition start, CTextPosition end);
    // Each line from firstLine to lastLine gets (loses) its piece at the start: all of `text`,
    // or with `counts`, the next counts[i] characters of it (counts[i] characters).
    bool CanChangeLineStarts(bool insert, int firstLine, int lastLine, std::string_view text,
                             const std::vector<int32_t>& counts) const;
    bool RawChangeLineStarts(CTextBufferObserver* sourceView, bool insert, int firstLine,
                             int lastLine, std::string_view text,
                             const std::vector<int32_t>& counts);
    // Records the change in the open group, or as a group of its own when none is open.
    void Record(CTextBufferObserver* view, uint32_t flags, CTextPosition start, CTextPosition end,
                int action, std::string text, std::vector<int32_t> lineLengths = {});
    void RecordUndo(UndoRecord record);
    // Drops the oldest group, unless it is the only one left and `keepLast`; false when nothing
    // was dropped.
    bool DropOldestGroup(bool keepLast);
    // Replays a record: inserts its text (`insert`) or deletes it; `position` receives the
    // start or end of the change as Undo and Redo place the caret.
    void Replay(const UndoRecord& record, bool insert, bool undoing, CTextPosition& position);
    bool FailLoad(LoadFailure failure, int errorNumber = 0);
    void UpdateModifiedState();

    bool initialised = false;
    bool readOnly = false;
    bool modified = false;
    int lineEndStyle = 0;
    int undoLimit = defaultUndoLimit;
    std::vector<LineRecord> lines;
    std::deque<UndoRecord> undoRecords;
    int undoPosition = 0;
    int savedPosition = 0;
    bool groupOpen = false;
    bool groupStartPending = false;
    std::vector<CTextBufferObserver*> views;
    // The file as loaded; lines that own no block point into it.
    std::unique_ptr<char[]> loadBlock;
    std::string keptTemporaryPath;
    LoadFailure loadFailure = LoadFailure::None;
    int loadErrorNumber = 0;
    int loadFailureLine = 0;
};
