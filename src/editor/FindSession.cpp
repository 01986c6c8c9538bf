#include "editor/FindSession.h"

#include "editor/FindInText.h"
#include "editor/SearchFlags.h"
#include "editor/SearchMessages.h"

FindSession::FindSession(SearchTarget& searchTarget, const SearchOptions& saved)
    : target(searchTarget) {
    const SearchState last = target.LastSearch();
    if (last.hasLastSearch) {
        matchCase = (last.lastFlags & SearchFlags::MatchCase) != 0;
        wholeWord = (last.lastFlags & SearchFlags::WholeWord) != 0;
        upwards = (last.lastFlags & SearchFlags::Upwards) != 0;
        findWhat = last.lastWhat;
    } else {
        matchCase = saved.matchCase;
        wholeWord = saved.wholeWord;
        findWhat = saved.findWhat;
    }
    CTextPosition start;
    CTextPosition end;
    if (target.GetSelection(start, end) && start.line == end.line) {
        const std::string_view line = target.LineText(start.line);
        if (end.charIndex <= static_cast<int>(line.size())) {
            findWhat = line.substr(start.charIndex, end.charIndex - start.charIndex);
        }
    }
}

uint32_t FindSession::Flags() const {
    return (matchCase ? SearchFlags::MatchCase : 0) | (wholeWord ? SearchFlags::WholeWord : 0) |
           (upwards ? SearchFlags::Upwards : 0);
}

bool FindSession::FindNext() {
    if (!CanFindNext()) {
        return false;
    }
    const CTextPosition origin = fromTop ? CTextPosition{0, 0} : target.SearchOrigin(upwards);
    CTextPosition found;
    if (FindInText(target, findWhat, origin, Flags(), true, found)) {
        target.HighlightMatch(found, static_cast<int>(findWhat.size()));
        return true;
    }
    SearchMessages::ShowNotFound(findWhat);
    fromTop = true;
    return false;
}

SearchOptions FindSession::Finish() {
    if (!findWhat.empty()) {
        SearchState state = target.LastSearch();
        state.hasLastSearch = true;
        state.lastWhat = findWhat;
        state.lastFlags = Flags();
        target.SetLastSearch(state);
    }
    return {matchCase, wholeWord, findWhat, {}};
}
