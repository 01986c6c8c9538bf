#pragma once

#include "editor/CTextPosition.h"
#include "editor/SearchOptions.h"
#include "editor/SearchTarget.h"

#include <cstdint>
#include <string>

// What the Replace dialog does, without the dialog: Find Next, Replace and Replace All within
// the selection the dialog was opened with or within the whole file, never wrapping.
class ReplaceSession {
public:
    enum class Scope { Selection = 0, WholeFile = 1 };

    // Values from `saved`. With a selection, the search is limited to it (the block) and starts
    // at its beginning; without one, it covers the whole file from the caret.
    ReplaceSession(SearchTarget& searchTarget, const SearchOptions& saved);

    const SearchOptions& Options() const { return options; }
    // A change of what is searched for, or where, forgets the match last found, so that Replace
    // never replaces text the present search would not find.
    void SetFindWhat(const std::string& text);
    void SetReplaceWith(const std::string& text) { options.replaceWith = text; }
    void SetMatchCase(bool on);
    void SetWholeWord(bool on);
    bool SelectionAllowed() const { return selectionAllowed; }
    Scope GetScope() const { return scope; }
    // Ignored for Scope::Selection when the dialog was opened without a selection.
    void SetScope(Scope newScope);

    bool CanFindNext() const { return !options.findWhat.empty(); }
    // Each shows the next match (true), or the not-found message (false); the next search after
    // a failure starts again at the top of the file or of the block.
    bool FindNext();
    // Replaces the match last found, if any, then finds the next one.
    bool Replace();
    // Replaces every match from here on; the number replaced. Ends with the not-found message.
    int ReplaceAll();
    // The dialog closed: the selection comes back (its ends moved with the replacements inside
    // it); the result holds the values to keep in the settings.
    SearchOptions Finish();

    CTextPosition BlockBegin() const { return blockBegin; }
    CTextPosition BlockEnd() const { return blockEnd; }

private:
    uint32_t Flags() const;
    bool SearchStep();
    bool ReplaceFound();
    void ForgetMatch() { found = false; }

    SearchTarget& target;
    SearchOptions options;
    bool found = false;
    CTextPosition current;
    CTextPosition startPosition;
    bool selectionAllowed = false;
    CTextPosition blockBegin;
    CTextPosition blockEnd;
    Scope scope = Scope::WholeFile;
};
