#include "editor/CTextBuffer.h"

#include "editor/CFileReader.h"
#include "editor/DeletionChange.h"
#include "editor/HugePages.h"
#include "editor/InsertionChange.h"
#include "editor/LineRecord.h"
#include "files/CAtomicFileWriter.h"

#include <algorithm>
#include <array>
#include <bit>
#include <climits>
#include <cstring>
#include <new>

namespace {

constexpr std::array<const char*, 11> actionDescriptions = {
    "Unknown", "Paste",         "Delete Selection", "Cut",    "Typing",     "Backspace",
    "Indent",  "Drag And Drop", "Replace",          "Delete", "Auto Indent"};

// Line counts and lengths are 32-bit, so larger files cannot be held.
constexpr std::size_t maxFileSize = INT_MAX - 1;

// Cuts the loaded bytes into lines at each complete `lineEnd`, matched byte by byte: a byte
// that breaks a partial match is not tried again as the start of a new line end. The lines
// point into `data`. False when a line is longer than allowed.
bool SplitIntoLines(char* data, std::size_t size, std::string_view lineEnd,
                    std::vector<LineRecord>& lines) {
    lines.reserve(static_cast<std::size_t>(std::count(data, data + size, lineEnd.back())) + 1);
    AdviseHugePages(lines.data(), lines.capacity() * sizeof(LineRecord));
    std::size_t lineStart = 0;
    std::size_t matched = 0;
    const auto cutLine = [&](std::size_t end) {
        if (end - lineStart > static_cast<std::size_t>(CTextBuffer::maxLineLength)) {
            return false;
        }
        lines.push_back({data + lineStart, static_cast<int>(end - lineStart), 0, 0});
        return true;
    };
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] != lineEnd[matched]) {
            matched = 0;
            continue;
        }
        if (++matched == lineEnd.size()) {
            if (!cutLine(i + 1 - lineEnd.size())) {
                return false;
            }
            lineStart = i + 1;
            matched = 0;
        }
    }
    return cutLine(size);
}

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

bool CTextBuffer::LoadText(const std::string& path, int style) {
    if (style != LineEnd::Automatic && !LineEnd::IsValid(style)) {
        return false;
    }
    try {
        CFileReader reader;
        if (!reader.Read(path, maxFileSize)) {
            return false;
        }
        const std::size_t size = reader.Size();
        std::unique_ptr<char[]> data = reader.TakeData();
        // A NUL byte means a binary file, not a source text.
        if (std::memchr(data.get(), 0, size) != nullptr) {
            return false;
        }
        if (style == LineEnd::Automatic) {
            style = LineEnd::Detect({data.get(), std::min(size, LineEnd::detectionBlockSize)});
        }
        std::vector<LineRecord> loaded;
        if (!SplitIntoLines(data.get(), size, LineEnd::Text(style), loaded)) {
            return false;
        }
        // Only now is the old text given up, so a failed load leaves it as it was.
        ReleaseAll();
        lines = std::move(loaded);
        loadBlock = std::move(data);
        ResetAfterLoad(style, !reader.IsWritable());
    } catch (const std::bad_alloc&) {
        return false;
    }
    NotifyViews(nullptr, nullptr, CTextBufferObserver::UpdateAll, -1);
    return true;
}

bool CTextBuffer::SaveText(const std::string& path, int style, bool clearModified) {
    keptTemporaryPath.clear();
    if (style == LineEnd::Automatic) {
        style = lineEndStyle;
    }
    // A released buffer holds no text; writing it would empty the file.
    if (!initialised || !LineEnd::IsValid(style)) {
        return false;
    }
    try {
        CAtomicFileWriter writer(path);
        if (!writer.Open()) {
            return false;
        }
        const std::string_view lineEnd = LineEnd::Text(style);
        for (std::size_t i = 0; i < lines.size(); ++i) {
            if (!writer.Write(lines[i].View()) ||
                (i + 1 < lines.size() && !writer.Write(lineEnd))) {
                return false;
            }
        }
        if (!writer.Commit()) {
            keptTemporaryPath = writer.KeptTemporaryPath();
            return false;
        }
    } catch (const std::bad_alloc&) {
        return false;
    }
    if (clearModified) {
        SetModifiedState(false);
        savedPosition = undoPosition;
    }
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
    const bool openedHere = !groupOpen;
    if (openedHere) {
        OpenUndoGroup(false);
    }
    RecordUndo(true, start, end, std::move(inserted), action);
    if (openedHere) {
        CloseUndoGroup(view);
    }
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
    const bool openedHere = !groupOpen;
    if (openedHere) {
        OpenUndoGroup(false);
    }
    RecordUndo(false, start, end, std::move(deleted), action, std::move(lineLengths));
    if (openedHere) {
        CloseUndoGroup(view);
    }
    return true;
}

void CTextBuffer::RecordUndo(bool isInsertion, CTextPosition start, CTextPosition end,
                             std::string text, int action, std::vector<int32_t> lineLengths) {
    undoRecords.erase(undoRecords.begin() + undoPosition, undoRecords.end());
    // The records that led back to the saved text were just thrown away.
    if (savedPosition > undoPosition) {
        savedPosition = unreachable;
    }
    if (static_cast<int>(undoRecords.size()) >= undoLimit) {
        DropOldestGroup();
    }
    UndoRecord record;
    record.undoFlags = isInsertion ? UndoRecord::Insertion : 0;
    // The first record kept always begins a group, so undo never runs past the front.
    if (groupStartPending || undoRecords.empty()) {
        record.undoFlags |= UndoRecord::GroupStart;
    }
    groupStartPending = false;
    record.start = start;
    record.end = end;
    record.action = action;
    record.text = std::move(text);
    record.lineLengths = std::move(lineLengths);
    undoRecords.push_back(std::move(record));
    undoPosition = static_cast<int>(undoRecords.size());
}

void CTextBuffer::DropOldestGroup() {
    int count = 1;
    while (count < static_cast<int>(undoRecords.size()) && !undoRecords[count].BeginsGroup()) {
        ++count;
    }
    undoRecords.erase(undoRecords.begin(), undoRecords.begin() + count);
    undoPosition -= count;
    // The saved position moves with the records; once its record is gone, no undo or redo
    // can bring the saved text back.
    savedPosition = savedPosition >= count ? savedPosition - count : unreachable;
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

bool CTextBuffer::Undo(CTextPosition& position) {
    if (!CanUndo()) {
        return false;
    }
    bool groupStart = false;
    while (!groupStart && undoPosition > 0) {
        const UndoRecord& record = undoRecords[--undoPosition];
        if (record.IsInsertion()) {
            RawDelete(nullptr, record.start, record.end);
            position = record.start;
        } else {
            CTextPosition end;
            RawInsert(nullptr, record.start, record.Lines(), end);
            position = record.end;
        }
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
        if (record.IsInsertion()) {
            CTextPosition end;
            RawInsert(nullptr, record.start, record.Lines(), end);
            position = record.end;
        } else {
            RawDelete(nullptr, record.start, record.end);
            position = record.start;
        }
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
