#pragma once

#include "editor/CTextPosition.h"
#include "editor/SearchOptions.h"
#include "editor/SearchTarget.h"

#include <cstdint>
#include <string>

// What the Find dialog does, without the dialog: its starting values, Find Next, and what is
// kept when it closes. The dialog edits the public options directly.
class FindSession {
public:
    // From the view's last search if it has one, else from `saved`, direction down; a selection
    // within one line gives the text.
    FindSession(SearchTarget& searchTarget, const SearchOptions& saved);

    uint32_t Flags() const;
    bool CanFindNext() const { return !findWhat.empty(); }
    // Searches from the caret with wrap. Found: the match is shown and the dialog should close.
    // Not found: the message, and the next try starts at the top of the text.
    bool FindNext();
    // The dialog closed either way: the view remembers the search (unless its text is empty) and
    // the result holds the values to keep in the settings.
    SearchOptions Finish();

    bool matchCase = false;
    bool wholeWord = false;
    bool upwards = false;
    std::string findWhat;

private:
    SearchTarget& target;
    bool fromTop = false;
};
