#include "editor/FindInText.h"

#include <algorithm>
#include <string>

namespace {

constexpr std::size_t none = std::string_view::npos;

bool IsWordChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

char Upper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

bool Before(CTextPosition a, CTextPosition b) {
    return a.line < b.line || (a.line == b.line && a.charIndex < b.charIndex);
}

// The nearest place inside the text: before the first line is its start, after the last line
// the text's end, and beyond a line's end that line's end.
CTextPosition Clamp(const SearchLines& text, CTextPosition position) {
    if (position.line < 0) {
        return {0, 0};
    }
    if (position.line >= text.LineCount()) {
        return EndOfText(text);
    }
    const int length = static_cast<int>(text.LineText(position.line).size());
    position.charIndex = std::clamp(position.charIndex, 0, length);
    return position;
}

// Finds one text within ranges of lines. The folded copy of a line is kept in one buffer, so a
// search through many lines allocates once.
class LineMatcher {
public:
    LineMatcher(std::string_view what, uint32_t flags)
        : matchCase((flags & SearchFlags::MatchCase) != 0),
          wholeWord((flags & SearchFlags::WholeWord) != 0), needle(what) {
        if (!matchCase) {
            std::transform(needle.begin(), needle.end(), needle.begin(), Upper);
        }
    }

    // The first match lying wholly within [from, to) of `line`, or none.
    std::size_t First(std::string_view line, std::size_t from, std::size_t to) {
        const std::string_view piece = Piece(line, from, to);
        for (std::size_t at = piece.find(needle); at != none; at = piece.find(needle, at + 1)) {
            if (Counts(line, from + at)) {
                return from + at;
            }
        }
        return none;
    }

    // The last match lying wholly within [from, to) of `line`, or none. Walking forwards lets
    // the fast forward search do the work.
    std::size_t Last(std::string_view line, std::size_t from, std::size_t to) {
        const std::string_view piece = Piece(line, from, to);
        std::size_t last = none;
        for (std::size_t at = piece.find(needle); at != none; at = piece.find(needle, at + 1)) {
            if (Counts(line, from + at)) {
                last = from + at;
            }
        }
        return last;
    }

private:
    std::string_view Piece(std::string_view line, std::size_t from, std::size_t to) {
        const std::string_view piece = line.substr(from, to - from);
        if (matchCase) {
            return piece;
        }
        folded.resize(piece.size());
        std::transform(piece.begin(), piece.end(), folded.begin(), Upper);
        return folded;
    }

    // A whole word is judged by its neighbours in the full line, not in the searched piece.
    bool Counts(std::string_view line, std::size_t at) const {
        if (!wholeWord) {
            return true;
        }
        const std::size_t end = at + needle.size();
        return (at == 0 || !IsWordChar(line[at - 1])) &&
               (end >= line.size() || !IsWordChar(line[end]));
    }

    bool matchCase;
    bool wholeWord;
    std::string needle;
    std::string folded;
};

// Downwards from `from` to `to`: the first match of the first line that has one.
bool SearchDown(const SearchLines& text, LineMatcher& matcher, CTextPosition from, CTextPosition to,
                CTextPosition& found) {
    for (int line = from.line; line <= to.line; ++line) {
        const std::string_view chars = text.LineText(line);
        const std::size_t low = line == from.line ? static_cast<std::size_t>(from.charIndex) : 0;
        const std::size_t high =
            line == to.line ? static_cast<std::size_t>(to.charIndex) : chars.size();
        if (low >= high) {
            continue;
        }
        const std::size_t at = matcher.First(chars, low, high);
        if (at != none) {
            found = {static_cast<int32_t>(at), line};
            return true;
        }
    }
    return false;
}

// Upwards from `from` back to `to`: the last match of the first line that has one.
bool SearchUp(const SearchLines& text, LineMatcher& matcher, CTextPosition from, CTextPosition to,
              CTextPosition& found) {
    for (int line = from.line; line >= to.line; --line) {
        const std::string_view chars = text.LineText(line);
        const std::size_t low = line == to.line ? static_cast<std::size_t>(to.charIndex) : 0;
        const std::size_t high =
            line == from.line ? static_cast<std::size_t>(from.charIndex) : chars.size();
        if (low >= high) {
            continue;
        }
        const std::size_t at = matcher.Last(chars, low, high);
        if (at != none) {
            found = {static_cast<int32_t>(at), line};
            return true;
        }
    }
    return false;
}

} // namespace

CTextPosition EndOfText(const SearchLines& text) {
    const int last = text.LineCount() - 1;
    if (last < 0) {
        return {0, 0};
    }
    return {static_cast<int32_t>(text.LineText(last).size()), last};
}

bool FindInBlock(const SearchLines& text, std::string_view what, CTextPosition start,
                 CTextPosition blockBegin, CTextPosition blockEnd, uint32_t flags, bool wrap,
                 CTextPosition& found) {
    if (what.empty() || text.LineCount() <= 0) {
        return false;
    }
    blockBegin = Clamp(text, blockBegin);
    blockEnd = Clamp(text, blockEnd);
    if (Before(blockEnd, blockBegin)) {
        std::swap(blockBegin, blockEnd);
    }
    if (blockBegin == blockEnd) {
        return false;
    }
    start = std::clamp(Clamp(text, start), blockBegin, blockEnd,
                       [](CTextPosition a, CTextPosition b) { return Before(a, b); });
    LineMatcher matcher(what, flags);
    if ((flags & SearchFlags::Upwards) != 0) {
        return SearchUp(text, matcher, start, blockBegin, found) ||
               (wrap && SearchUp(text, matcher, blockEnd, blockBegin, found));
    }
    return SearchDown(text, matcher, start, blockEnd, found) ||
           (wrap && SearchDown(text, matcher, blockBegin, blockEnd, found));
}

bool FindInText(const SearchLines& text, std::string_view what, CTextPosition start, uint32_t flags,
                bool wrap, CTextPosition& found) {
    return FindInBlock(text, what, start, {0, 0}, EndOfText(text), flags, wrap, found);
}
