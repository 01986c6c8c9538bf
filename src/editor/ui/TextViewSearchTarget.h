#pragma once

#include "editor/SearchTarget.h"

class CTextView;

// A text view as searching sees it. Replacing needs an edit view; in a plain text view nothing
// can be replaced.
class TextViewSearchTarget final : public SearchTarget {
public:
    explicit TextViewSearchTarget(CTextView& textView) : view(textView) {}

    int LineCount() const override;
    std::string_view LineText(int line) const override;
    CTextPosition GetCursorPos() const override;
    bool GetSelection(CTextPosition& start, CTextPosition& end) const override;
    void SelectRange(CTextPosition start, CTextPosition end) override;
    void HighlightMatch(CTextPosition position, int length) override;
    bool IsEditable() const override;
    bool ReplaceSelection(const std::string& text) override;
    SearchState LastSearch() const override;
    void SetLastSearch(const SearchState& state) override;
    void SetFindDialogOpen(bool open) override;
    void BeginReplaceAll() override;
    void EndReplaceAll() override;

private:
    CTextView& view;
    int savedUndoLimit = 0;
};
