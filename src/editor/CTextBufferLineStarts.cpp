// Block indent and outdent: changes at the start of every line of a block, made, recorded and
// told to the views as one change, however many lines the block has.
#include "editor/CTextBuffer.h"
#include "editor/LineStartsChange.h"

bool CTextBuffer::CanChangeLineStarts(bool insert, int firstLine, int lastLine,
                                      std::string_view text,
                                      const std::vector<int32_t>& counts) const {
    if (readOnly || firstLine < 0 || lastLine >= LineCount() || firstLine > lastLine ||
        (!counts.empty() && counts.size() != static_cast<std::size_t>(lastLine - firstLine + 1))) {
        return false;
    }
    std::size_t used = 0;
    for (int line = firstLine; line <= lastLine; ++line) {
        const long long count = counts.empty() ? static_cast<long long>(text.size())
                                               : counts[static_cast<std::size_t>(line - firstLine)];
        const long long length = lines[line].length;
        if (count < 0 || (insert ? length + count > maxLineLength : count > length)) {
            return false;
        }
        used += static_cast<std::size_t>(count);
    }
    return !insert || counts.empty() || used <= text.size();
}

bool CTextBuffer::RawChangeLineStarts(CTextBufferObserver* sourceView, bool insert, int firstLine,
                                      int lastLine, std::string_view text,
                                      const std::vector<int32_t>& counts) {
    if (!CanChangeLineStarts(insert, firstLine, lastLine, text, counts)) {
        return false;
    }
    std::size_t offset = 0;
    for (int line = firstLine; line <= lastLine; ++line) {
        const std::size_t count =
            counts.empty()
                ? text.size()
                : static_cast<std::size_t>(counts[static_cast<std::size_t>(line - firstLine)]);
        if (count == 0) {
            continue;
        }
        if (insert) {
            lines[line].Insert(0, text.substr(counts.empty() ? 0 : offset, count));
            offset += count;
        } else {
            lines[line].Erase(0, static_cast<int>(count));
        }
    }
    const LineStartsChange change(firstLine, lastLine, insert,
                                  counts.empty() ? static_cast<int32_t>(text.size()) : 0, counts);
    NotifyViews(sourceView, &change,
                CTextBufferObserver::UpdateLineWidths | CTextBufferObserver::UpdateLineRange,
                firstLine);
    if (!modified) {
        SetModifiedState(true);
    }
    return true;
}

bool CTextBuffer::InsertAtLineStarts(CTextBufferObserver* view, int firstLine, int lastLine,
                                     std::string_view text, int action) {
    // A copy, because the caller's text may lie inside a line that changes.
    std::string inserted(text);
    if (inserted.find('\r') != std::string::npos ||
        !CanChangeLineStarts(true, firstLine, lastLine, inserted, {})) {
        return false;
    }
    if (inserted.empty()) {
        return true;
    }
    RawChangeLineStarts(view, true, firstLine, lastLine, inserted, {});
    Record(view, UndoRecord::Insertion | UndoRecord::LineStarts, {0, firstLine}, {0, lastLine},
           action, std::move(inserted));
    return true;
}

bool CTextBuffer::DeleteAtLineStarts(CTextBufferObserver* view, int firstLine,
                                     const std::vector<int32_t>& counts, int action) {
    if (counts.empty() || counts.size() > lines.size()) {
        return false;
    }
    const int lastLine = firstLine + static_cast<int>(counts.size()) - 1;
    if (!CanChangeLineStarts(false, firstLine, lastLine, {}, counts)) {
        return false;
    }
    std::string deleted;
    for (int line = firstLine; line <= lastLine; ++line) {
        const auto count =
            static_cast<std::size_t>(counts[static_cast<std::size_t>(line - firstLine)]);
        deleted.append(lines[line].View().substr(0, count));
    }
    if (deleted.empty()) {
        return true;
    }
    RawChangeLineStarts(view, false, firstLine, lastLine, {}, counts);
    Record(view, UndoRecord::LineStarts, {0, firstLine}, {0, lastLine}, action, std::move(deleted),
           counts);
    return true;
}
