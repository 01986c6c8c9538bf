#include "editor/ReplaceSession.h"

#include "editor/FindInText.h"
#include "editor/SearchFlags.h"
#include "editor/SearchMessages.h"

#include <algorithm>

ReplaceSession::ReplaceSession(SearchTarget& searchTarget, const SearchOptions& saved)
    : target(searchTarget), options(saved) {
    if (target.GetSelection(blockBegin, blockEnd)) {
        selectionAllowed = true;
        scope = Scope::Selection;
        current = blockBegin;
    } else {
        current = target.GetCursorPos();
    }
    startPosition = current;
}

void ReplaceSession::SetFindWhat(const std::string& text) {
    if (text != options.findWhat) {
        options.findWhat = text;
        ForgetMatch();
    }
}

void ReplaceSession::SetMatchCase(bool on) {
    if (on != options.matchCase) {
        options.matchCase = on;
        ForgetMatch();
    }
}

void ReplaceSession::SetWholeWord(bool on) {
    if (on != options.wholeWord) {
        options.wholeWord = on;
        ForgetMatch();
    }
}

void ReplaceSession::SetScope(Scope newScope) {
    if (newScope == Scope::Selection && !selectionAllowed) {
        return;
    }
    if (newScope != scope) {
        scope = newScope;
        ForgetMatch();
    }
}

uint32_t ReplaceSession::Flags() const {
    return (options.matchCase ? SearchFlags::MatchCase : 0) |
           (options.wholeWord ? SearchFlags::WholeWord : 0);
}

bool ReplaceSession::SearchStep() {
    found = false;
    if (!CanFindNext()) {
        return false;
    }
    CTextPosition match;
    const bool hit = scope == Scope::WholeFile
                         ? FindInText(target, options.findWhat, current, Flags(), false, match)
                         : FindInBlock(target, options.findWhat, current, blockBegin, blockEnd,
                                       Flags(), false, match);
    if (!hit) {
        SearchMessages::ShowNotFound(options.findWhat);
        startPosition = scope == Scope::WholeFile ? CTextPosition{0, 0} : blockBegin;
        return false;
    }
    target.HighlightMatch(match, static_cast<int>(options.findWhat.size()));
    current = match;
    found = true;
    return true;
}

// The match is selected and begins at `current`. Afterwards `current` is the end of the inserted
// text, and block ends behind the match have moved with the text.
bool ReplaceSession::ReplaceFound() {
    const CTextPosition matchEnd{current.charIndex + static_cast<int32_t>(options.findWhat.size()),
                                 current.line};
    if (!target.ReplaceSelection(options.replaceWith)) {
        found = false;
        return false;
    }
    const CTextPosition after = target.GetCursorPos();
    const auto follow = [&](CTextPosition& end) {
        if (end.line == current.line && end.charIndex > current.charIndex) {
            end = {after.charIndex + std::max(end.charIndex - matchEnd.charIndex, 0), after.line};
        } else if (end.line > current.line) {
            end.line += after.line - current.line;
        }
    };
    if (selectionAllowed) {
        follow(blockBegin);
        follow(blockEnd);
    }
    current = after;
    return true;
}

bool ReplaceSession::FindNext() {
    if (found) {
        ++current.charIndex;
    } else {
        current = startPosition;
    }
    return SearchStep();
}

bool ReplaceSession::Replace() {
    if (found) {
        if (!ReplaceFound()) {
            return false;
        }
    } else {
        current = startPosition;
    }
    return SearchStep();
}

int ReplaceSession::ReplaceAll() {
    if (!found) {
        current = startPosition;
        if (!SearchStep()) {
            return 0;
        }
    }
    struct Bracket {
        SearchTarget& target;
        explicit Bracket(SearchTarget& replaced) : target(replaced) { target.BeginReplaceAll(); }
        ~Bracket() { target.EndReplaceAll(); }
        Bracket(const Bracket&) = delete;
        Bracket& operator=(const Bracket&) = delete;
    } bracket(target);
    int count = 0;
    do {
        if (!ReplaceFound()) {
            break;
        }
        ++count;
    } while (SearchStep());
    return count;
}

SearchOptions ReplaceSession::Finish() {
    if (selectionAllowed) {
        target.SelectRange(blockBegin, blockEnd);
    }
    return options;
}
