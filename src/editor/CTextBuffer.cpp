#include "editor/CTextBuffer.h"

#include "editor/DeletionChange.h"
#include "editor/InsertionChange.h"
#include "editor/LineRecord.h"

#include <algorithm>
#include <array>
#include <bit>

namespace {

constexpr std::array<const char*, 11> actionDescriptions = {
    "Unknown", "Paste",         "Delete Selection", "Cut",    "Typing",     "Backspace",
    "Indent",  "Drag And Drop", "Replace",          "Delete", "Auto Indent"};

} // namespace

CTextBuffer::~CTextBuffer() {
    ReleaseAll();
}

bool CTextBuffer::DescribeAction(int action, std::string& description) const {
    if (action < 0 || action >= static_cast<int>(actionDescriptions.size())) {
        return false;
    }
    description = actionDescriptions[static_cast<std::size_t>(action)];
    return true;
}

void CTextBuffer::SetModifiedState(bool flag) {
    modified = flag;
}

void CTextBuffer::ReleaseAll() {
    for (LineRecord& line : lines) {
        line.Free();
    }
    lines.clear();
    loadBlock.reset();
    undoRecords.clear();
    // With the records gone, no position may point into them.
    undoPosition = 0;
    savedPosition = 0;
    groupOpen = false;
    groupStartPending = false;
    initialised = false;
}

void CTextBuffer::ResetAfterLoad(int style, bool fileReadOnly) {
    lineEndStyle = style;
    initialised = true;
    readOnly = fileReadOnly;
    modified = false;
    groupOpen = false;
    groupStartPending = false;
    undoLimit = defaultUndoLimit;
    undoPosition = 0;
    savedPosition = 0;
}

bool CTextBuffer::StartEmpty(int style) {
    ReleaseAll();
    lines.emplace_back();
    ResetAfterLoad(LineEnd::IsValid(style) ? style : 0, false);
    NotifyViews(nullptr, nullptr, CTextBufferObserver::UpdateAll, -1);
    return true;
}

const char* CTextBuffer::LineText(int line) const {
    const char* chars = lines[line].chars;
    return chars != nullptr ? chars : "";
}

void CTextBuffer::ChangeLineFlag(int line, uint32_t flag, bool set, bool exclusive) {
    if (!std::has_single_bit(flag)) {
        return;
    }
    if (line == -1) {
        line = FindFlaggedLine(flag);
        exclusive = false;
    }
    if (line < 0 || line >= LineCount()) {
        return;
    }
    const uint32_t oldFlags = lines[line].flags;
    const uint32_t newFlags = set ? oldFlags | flag : oldFlags & ~flag;
    if (newFlags == oldFlags) {
        return;
    }
    constexpr unsigned marksNotice =
        CTextBufferObserver::UpdateOneLine | CTextBufferObserver::UpdateMarksOnly;
    if (exclusive && set) {
        const int holder = FindFlaggedLine(flag);
        if (holder >= 0) {
            lines[holder].flags &= ~flag;
            NotifyViews(nullptr, nullptr, marksNotice, holder);
        }
    }
    lines[line].flags = newFlags;
    NotifyViews(nullptr, nullptr, marksNotice, line);
}

int CTextBuffer::FindFlaggedLine(uint32_t flag) const {
    if (!std::has_single_bit(flag)) {
        return -1;
    }
    for (int line = 0; line < LineCount(); ++line) {
        if ((lines[line].flags & flag) != 0) {
            return line;
        }
    }
    return -1;
}

int CTextBuffer::NextBookmarkedLine(int line) const {
    const auto marked = [this](int index) { return (lines[index].flags & LineFlagBookmark) != 0; };
    const bool valid = line >= 0 && line < LineCount();
    const int start = valid && marked(line) ? line + 1 : std::max(line, 0);
    for (int index = start; index < LineCount(); ++index) {
        if (marked(index)) {
            return index;
        }
    }
    for (int index = 0; index < LineCount(); ++index) {
        if (marked(index)) {
            return index;
        }
    }
    return -1;
}

int CTextBuffer::PreviousBookmarkedLine(int line) const {
    const auto marked = [this](int index) { return (lines[index].flags & LineFlagBookmark) != 0; };
    const bool valid = line >= 0 && line < LineCount();
    const int start = valid && marked(line) ? line - 1 : std::min(line, LineCount() - 1);
    for (int index = start; index >= 0; --index) {
        if (marked(index)) {
            return index;
        }
    }
    for (int index = LineCount() - 1; index >= 0; --index) {
        if (marked(index)) {
            return index;
        }
    }
    return -1;
}

bool CTextBuffer::IsValidPosition(CTextPosition position) const {
    return position.line >= 0 && position.line < LineCount() && position.charIndex >= 0 &&
           position.charIndex <= lines[position.line].length;
}

bool CTextBuffer::IsValidRange(CTextPosition start, CTextPosition end) const {
    return IsValidPosition(start) && IsValidPosition(end) &&
           (start.line < end.line || (start.line == end.line && start.charIndex <= end.charIndex));
}

void CTextBuffer::CopyRange(int startLine, int startChar, int endLine, int endChar,
                            std::string& text, std::string_view lineEnd) const {
    text.clear();
    const CTextPosition start{startChar, startLine};
    const CTextPosition end{endChar, endLine};
    if (!IsValidRange(start, end)) {
        return;
    }
    if (startLine == endLine) {
        text.assign(lines[startLine].View().substr(startChar, endChar - startChar));
        return;
    }
    std::size_t size = 0;
    for (int line = startLine; line <= endLine; ++line) {
        size += static_cast<std::size_t>(lines[line].length) + lineEnd.size();
    }
    text.reserve(size);
    text.append(lines[startLine].View().substr(startChar));
    text.append(lineEnd);
    for (int line = startLine + 1; line < endLine; ++line) {
        text.append(lines[line].View());
        text.append(lineEnd);
    }
    text.append(lines[endLine].View().substr(0, endChar));
}

bool CTextBuffer::RawInsert(CTextBufferObserver* sourceView, CTextPosition at,
                            const std::vector<std::string_view>& pieces, CTextPosition& end) {
    if (readOnly || !IsValidPosition(at)) {
        return false;
    }
    LineRecord& first = lines[at.line];
    const std::size_t tailLength = static_cast<std::size_t>(first.length - at.charIndex);
    unsigned notice = CTextBufferObserver::UpdateLineWidths;
    if (pieces.size() == 1) {
        const std::string_view text = pieces.front();
        if (first.length + text.size() > static_cast<std::size_t>(maxLineLength)) {
            return false;
        }
        first.Insert(at.charIndex, text);
        end = {at.charIndex + static_cast<int>(text.size()), at.line};
        notice |= CTextBufferObserver::UpdateOneLine;
    } else {
        const auto tooLong = [](std::size_t length) {
            return length > static_cast<std::size_t>(maxLineLength);
        };
        if (tooLong(at.charIndex + pieces.front().size()) ||
            tooLong(pieces.back().size() + tailLength) ||
            std::any_of(pieces.begin() + 1, pieces.end() - 1,
                        [&](std::string_view piece) { return tooLong(piece.size()); }) ||
            lines.size() + pieces.size() > maxFileSize) {
            return false;
        }
        const std::string tail(first.View().substr(at.charIndex));
        std::vector<LineRecord> added(pieces.size() - 1);
        for (std::size_t i = 1; i < pieces.size(); ++i) {
            added[i - 1].Append(pieces[i]);
        }
        first.length = at.charIndex;
        first.Append(pieces.front());
        end = {added.back().length, at.line + static_cast<int>(added.size())};
        added.back().Append(tail);
        lines.insert(lines.begin() + at.line + 1, added.begin(), added.end());
        notice |= CTextBufferObserver::UpdateLineCount;
    }
    const InsertionChange change(at, end);
    NotifyViews(sourceView, &change, notice, at.line);
    if (!modified) {
        SetModifiedState(true);
    }
    return true;
}

bool CTextBuffer::RawDelete(CTextBufferObserver* sourceView, CTextPosition start,
                            CTextPosition end) {
    if (readOnly || !IsValidRange(start, end)) {
        return false;
    }
    unsigned notice = CTextBufferObserver::UpdateLineWidths;
    if (start.line == end.line) {
        lines[start.line].Erase(start.charIndex, end.charIndex);
        notice |= CTextBufferObserver::UpdateOneLine;
    } else {
        const std::string_view rest = lines[end.line].View().substr(end.charIndex);
        if (start.charIndex + rest.size() > static_cast<std::size_t>(maxLineLength)) {
            return false;
        }
        LineRecord& joined = lines[start.line];
        joined.length = start.charIndex;
        joined.Append(rest);
        for (int line = start.line + 1; line <= end.line; ++line) {
            lines[line].Free();
        }
        lines.erase(lines.begin() + start.line + 1, lines.begin() + end.line + 1);
        notice |= CTextBufferObserver::UpdateLineCount;
    }
    const DeletionChange change(start, end);
    NotifyViews(sourceView, &change, notice, start.line);
    if (!modified) {
        SetModifiedState(true);
    }
    return true;
}

bool CTextBuffer::InsertChars(CTextBufferObserver* view, int line, int charIndex,
                              std::string_view text, int& endLine, int& endChar, int action) {
    const CTextPosition start{charIndex, line};
    if (text.empty()) {
        // Nothing to record: the text stays as it is and so does the modified state.
        if (readOnly || !IsValidPosition(start)) {
            return false;
        }
        endLine = line;
        endChar = charIndex;
        return true;
    }
    // A copy, because the caller's text may lie inside a line that the insertion moves.
    std::string inserted(text);
    CTextPosition end;
    if (!RawInsert(view, start, LineEnd::SplitAtBreaks(inserted), end)) {
        return false;
    }
    endLine = end.line;
    endChar = end.charIndex;
    Record(view, UndoRecord::Insertion, start, end, action, std::move(inserted));
    return true;
}

bool CTextBuffer::DeleteRange(CTextBufferObserver* view, int startLine, int startChar, int endLine,
                              int endChar, int action) {
    const CTextPosition start{startChar, startLine};
    const CTextPosition end{endChar, endLine};
    if (readOnly || !IsValidRange(start, end)) {
        return false;
    }
    if (start == end) {
        return true;
    }
    std::string deleted;
    CopyRange(startLine, startChar, endLine, endChar, deleted);
    // Each line join adds one CR; any other CR would cut the text into other lines on undo.
    std::vector<int32_t> lineLengths;
    if (std::count(deleted.begin(), deleted.end(), '\r') != endLine - startLine) {
        for (int line = startLine; line <= endLine; ++line) {
            const int from = line == startLine ? startChar : 0;
            const int to = line == endLine ? endChar : LineLength(line);
            lineLengths.push_back(to - from);
        }
    }
    if (!RawDelete(view, start, end)) {
        return false;
    }
    Record(view, 0, start, end, action, std::move(deleted), std::move(lineLengths));
    return true;
}

void CTextBuffer::Record(CTextBufferObserver* view, uint32_t flags, CTextPosition start,
                         CTextPosition end, int action, std::string text,
                         std::vector<int32_t> lineLengths) {
    UndoRecord record;
    record.undoFlags = flags;
    record.start = start;
    record.end = end;
    record.action = action;
    record.text = std::move(text);
    record.lineLengths = std::move(lineLengths);
    const bool openedHere = !groupOpen;
    if (openedHere) {
        OpenUndoGroup(false);
    }
    RecordUndo(std::move(record));
    if (openedHere) {
        CloseUndoGroup(view);
    }
}

void CTextBuffer::RecordUndo(UndoRecord record) {
    undoRecords.erase(undoRecords.begin() + undoPosition, undoRecords.end());
    // The records that led back to the saved text were just thrown away.
    if (savedPosition > undoPosition) {
        savedPosition = unreachable;
    }
    // The oldest groups make room, but never the group this record joins: undo takes back a
    // whole group or nothing.
    const bool beginsGroup = groupStartPending || undoRecords.empty();
    while (static_cast<int>(undoRecords.size()) >= undoLimit && !undoRecords.empty()) {
        if (!DropOldestGroup(!beginsGroup)) {
            break;
        }
    }
    // The first record kept always begins a group, so undo never runs past the front.
    if (beginsGroup || undoRecords.empty()) {
        record.undoFlags |= UndoRecord::GroupStart;
    }
    groupStartPending = false;
    undoRecords.push_back(std::move(record));
    undoPosition = static_cast<int>(undoRecords.size());
}

bool CTextBuffer::DropOldestGroup(bool keepLast) {
    const int size = static_cast<int>(undoRecords.size());
    int count = 1;
    while (count < size && !undoRecords[count].BeginsGroup()) {
        ++count;
    }
    if (keepLast && count == size) {
        return false;
    }
    undoRecords.erase(undoRecords.begin(), undoRecords.begin() + count);
    undoPosition -= count;
    // The saved position moves with the records; once its record is gone, no undo or redo
    // can bring the saved text back.
    savedPosition = savedPosition >= count ? savedPosition - count : unreachable;
    return true;
}

// Reads the buffer's own flag, as every change does. A subclass that forwards the state elsewhere
// never raises that flag, so for it undo and redo only ever mark the text modified: its owner
// stays modified until the next save, even back at the saved point.
void CTextBuffer::UpdateModifiedState() {
    if (modified && undoPosition == savedPosition) {
        SetModifiedState(false);
    } else if (!modified && undoPosition != savedPosition) {
        SetModifiedState(true);
    }
}

void CTextBuffer::Replay(const UndoRecord& record, bool insert, bool undoing,
                         CTextPosition& position) {
    if (record.IsAtLineStarts()) {
        RawChangeLineStarts(nullptr, insert, record.start.line, record.end.line, record.text,
                            record.lineLengths);
        // Undo ends on the block's first line, redo on its last, after what was put back.
        const int line = undoing ? record.start.line : record.end.line;
        const std::size_t index = static_cast<std::size_t>(line - record.start.line);
        const int32_t piece = !insert ? 0
                              : record.lineLengths.empty()
                                  ? static_cast<int32_t>(record.text.size())
                                  : record.lineLengths[index];
        position = {piece, line};
    } else if (insert) {
        CTextPosition end;
        RawInsert(nullptr, record.start, record.Lines(), end);
        position = record.end;
    } else {
        RawDelete(nullptr, record.start, record.end);
        position = record.start;
    }
}

bool CTextBuffer::Undo(CTextPosition& position) {
    if (!CanUndo()) {
        return false;
    }
    bool groupStart = false;
    while (!groupStart && undoPosition > 0) {
        const UndoRecord& record = undoRecords[--undoPosition];
        Replay(record, !record.IsInsertion(), true, position);
        groupStart = record.BeginsGroup();
    }
    UpdateModifiedState();
    return true;
}

bool CTextBuffer::Redo(CTextPosition& position) {
    if (!CanRedo()) {
        return false;
    }
    do {
        const UndoRecord& record = undoRecords[undoPosition];
        Replay(record, record.IsInsertion(), false, position);
        ++undoPosition;
    } while (CanRedo() && !undoRecords[undoPosition].BeginsGroup());
    UpdateModifiedState();
    return true;
}

void CTextBuffer::OpenUndoGroup(bool mergeWithPrevious) {
    groupOpen = true;
    groupStartPending = undoPosition == 0 || !mergeWithPrevious;
}

void CTextBuffer::CloseUndoGroup(CTextBufferObserver* view) {
    groupOpen = false;
    if (view != nullptr && undoPosition > 0) {
        groupStartPending = true;
        // Copies: the view may record further changes, which can drop this record.
        const UndoRecord& last = undoRecords[undoPosition - 1];
        const int action = last.action;
        const std::string text = last.text;
        view->OnEditDone(action, text);
    }
}

void CTextBuffer::UndoDescription(std::string& description) const {
    description.clear();
    if (undoPosition <= 0) {
        return;
    }
    int index = undoPosition - 1;
    while (index > 0 && !undoRecords[index].BeginsGroup()) {
        --index;
    }
    if (!DescribeAction(undoRecords[index].action, description)) {
        description.clear();
    }
}

void CTextBuffer::RedoDescription(std::string& description) const {
    description.clear();
    if (CanRedo() && !DescribeAction(undoRecords[undoPosition].action, description)) {
        description.clear();
    }
}

void CTextBuffer::AttachView(CTextBufferObserver* view) {
    if (view != nullptr && std::find(views.begin(), views.end(), view) == views.end()) {
        views.push_back(view);
    }
}

void CTextBuffer::DetachView(CTextBufferObserver* view) {
    std::erase(views, view);
}

void CTextBuffer::NotifyViews(CTextBufferObserver* sourceView, const CTextChange* change,
                              unsigned notice, int line) {
    // A view may detach itself or others while it is told: every view attached when the notice
    // began is told once, unless it has left by its turn.
    const std::vector<CTextBufferObserver*> told = views;
    for (CTextBufferObserver* view : told) {
        if (std::find(views.begin(), views.end(), view) != views.end()) {
            view->OnBufferChange(sourceView, change, notice, line);
        }
    }
}
