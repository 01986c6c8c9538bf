#include "editor/ui/TextViewSearchTarget.h"

#include "editor/CTextBuffer.h"
#include "editor/ui/CTextEditView.h"

#include <limits>

int TextViewSearchTarget::LineCount() const {
    return view.LineCount();
}

std::string_view TextViewSearchTarget::LineText(int line) const {
    return view.LineText(line);
}

CTextPosition TextViewSearchTarget::GetCursorPos() const {
    return view.GetCursorPos();
}

bool TextViewSearchTarget::GetSelection(CTextPosition& start, CTextPosition& end) const {
    view.GetSelection(start, end);
    return view.HasSelection();
}

void TextViewSearchTarget::SelectRange(CTextPosition start, CTextPosition end) {
    view.SelectRange(start, end);
}

void TextViewSearchTarget::HighlightMatch(CTextPosition position, int length) {
    view.HighlightMatch(position, length);
}

bool TextViewSearchTarget::IsEditable() const {
    return view.IsEditable();
}

bool TextViewSearchTarget::ReplaceSelection(const std::string& text) {
    auto* editView = qobject_cast<CTextEditView*>(&view);
    return editView != nullptr && editView->ReplaceSelection(text);
}

SearchState TextViewSearchTarget::LastSearch() const {
    const CTextView::SearchState& search = view.search;
    return {search.hasLastSearch, search.lastFlags, search.lastWhat, search.repeatedSearch};
}

void TextViewSearchTarget::SetLastSearch(const SearchState& state) {
    view.search = {state.hasLastSearch, state.lastFlags, state.lastWhat, state.repeatedSearch};
}

void TextViewSearchTarget::SetFindDialogOpen(bool open) {
    view.SetFindDialogOpen(open);
}

// Every replacement of a Replace All stays undoable: the undo limit is lifted while it runs. Once
// it is back, each later change drops only the oldest group, as always.
void TextViewSearchTarget::BeginReplaceAll() {
    if (CTextBuffer* buffer = view.Buffer()) {
        savedUndoLimit = buffer->UndoLimit();
        buffer->SetUndoLimit(std::numeric_limits<int>::max());
    }
}

void TextViewSearchTarget::EndReplaceAll() {
    if (CTextBuffer* buffer = view.Buffer()) {
        buffer->SetUndoLimit(savedUndoLimit);
    }
}
