#pragma once

#include "editor/CTextBuffer.h"
#include "editor/SearchTarget.h"
#include "support/TempFolder.h"

#include <string>
#include <vector>

// A view over a real text buffer as far as searching needs one: a caret, a selection, the last
// search, and ReplaceSelection as the edit view does it (two recorded changes).
class FakeSearchTarget final : public SearchTarget {
public:
    explicit FakeSearchTarget(CTextBuffer& textBuffer) : buffer(textBuffer) {}

    int LineCount() const override { return buffer.LineCount(); }
    std::string_view LineText(int line) const override {
        return {buffer.LineText(line), static_cast<std::size_t>(buffer.LineLength(line))};
    }
    CTextPosition GetCursorPos() const override { return caret; }
    bool GetSelection(CTextPosition& start, CTextPosition& end) const override {
        start = selStart;
        end = selEnd;
        return !(selStart == selEnd);
    }
    void SelectRange(CTextPosition start, CTextPosition end) override {
        selStart = start;
        selEnd = end;
        caret = end;
    }
    void HighlightMatch(CTextPosition position, int length) override {
        highlights.push_back(position);
        SelectRange(position, {position.charIndex + length, position.line});
    }
    bool IsEditable() const override { return !readOnly; }
    bool ReplaceSelection(const std::string& text) override {
        if (readOnly || selStart == selEnd ||
            !buffer.DeleteRange(nullptr, selStart.line, selStart.charIndex, selEnd.line,
                                selEnd.charIndex, CTextBuffer::ActionDeleteSelection)) {
            return false;
        }
        CTextPosition end;
        buffer.InsertChars(nullptr, selStart.line, selStart.charIndex, text, end.line,
                           end.charIndex, CTextBuffer::ActionReplace);
        SelectRange(selStart, end);
        return true;
    }
    SearchState LastSearch() const override { return state; }
    void SetLastSearch(const SearchState& newState) override { state = newState; }

    // Caret and selection at `position`, nothing selected.
    void PlaceCaret(CTextPosition position) { SelectRange(position, position); }
    // The whole text with "\n" between lines.
    std::string Text() const {
        std::string text;
        for (int line = 0; line < buffer.LineCount(); ++line) {
            text.append(LineText(line));
            if (line + 1 < buffer.LineCount()) {
                text.push_back('\n');
            }
        }
        return text;
    }

    CTextBuffer& buffer;
    CTextPosition caret;
    CTextPosition selStart;
    CTextPosition selEnd;
    SearchState state;
    std::vector<CTextPosition> highlights;
    bool readOnly = false; // as a view whose text cannot change
};

// Loads `text` (lines separated by "\r\n") into `buffer` as a file, so nothing is left to undo.
inline void LoadSearchText(CTextBuffer& buffer, std::string_view text) {
    const TempFolder folder;
    buffer.LoadText(folder.Write("text.85", text), 0);
}
