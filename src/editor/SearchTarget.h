#pragma once

#include "editor/CTextPosition.h"
#include "editor/SearchLines.h"
#include "editor/SearchState.h"

#include <string>

// What searching and replacing need of a text view: its lines, caret and selection, a way to
// show a match, a way to replace the selection, and the search it remembers.
class SearchTarget : public SearchLines {
public:
    virtual CTextPosition GetCursorPos() const = 0;
    // False when nothing is selected; otherwise `start` comes before `end`.
    virtual bool GetSelection(CTextPosition& start, CTextPosition& end) const = 0;
    virtual void SelectRange(CTextPosition start, CTextPosition end) = 0;
    // Selects `length` characters from `position` on its line, caret at the end, and shows them.
    virtual void HighlightMatch(CTextPosition position, int length) = 0;
    virtual bool IsEditable() const = 0;
    // Replaces the selection by `text` (two undo groups), selects the inserted text and puts the
    // caret at its end; false when nothing is selected or the text cannot be changed.
    virtual bool ReplaceSelection(const std::string& text) = 0;

    virtual SearchState LastSearch() const = 0;
    virtual void SetLastSearch(const SearchState& state) = 0;
    // A search dialog opens (closes) over the view, which keeps showing its selection meanwhile.
    virtual void SetFindDialogOpen(bool /*open*/) {}
    // Replace All brackets its replacements with these, so that a view can keep every one of
    // them undoable however many there are.
    virtual void BeginReplaceAll() {}
    virtual void EndReplaceAll() {}

    // Where a search in this direction begins: the caret, except that searching upwards begins
    // at the start of the selection, so that the match just shown is not found again.
    CTextPosition SearchOrigin(bool upwards) const {
        CTextPosition start;
        CTextPosition end;
        if (upwards && GetSelection(start, end)) {
            return start;
        }
        return GetCursorPos();
    }
};
