#include "editor/CaretMoves.h"

#include "editor/TextColumns.h"

#include <algorithm>
#include <cctype>
#include <utility>

namespace CaretMoves {

namespace {

bool IsBlank(char c) {
    return std::isspace(static_cast<unsigned char>(c)) != 0;
}

int Length(const TextLines& text, int line) {
    return static_cast<int>(text.Line(line).size());
}

// The class of a character for word moves: 0 blank, 1 word character, 2 anything else.
int CharClass(char c) {
    return IsBlank(c) ? 0 : IsWordChar(c) ? 1 : 2;
}

} // namespace

bool IsWordChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '_';
}

CTextPosition CharLeft(const TextLines& text, CTextPosition at) {
    if (at.charIndex > 0) {
        return {at.charIndex - 1, at.line};
    }
    if (at.line > 0) {
        return {Length(text, at.line - 1), at.line - 1};
    }
    return at;
}

CTextPosition CharRight(const TextLines& text, CTextPosition at) {
    if (at.charIndex < Length(text, at.line)) {
        return {at.charIndex + 1, at.line};
    }
    if (at.line + 1 < text.Count()) {
        return {0, at.line + 1};
    }
    return at;
}

CTextPosition WordLeft(const TextLines& text, CTextPosition at) {
    if (at.charIndex == 0) {
        if (at.line == 0) {
            return at;
        }
        at = {Length(text, at.line - 1), at.line - 1};
    }
    const std::string_view line = text.Line(at.line);
    int i = at.charIndex;
    while (i > 0 && IsBlank(line[i - 1])) {
        --i;
    }
    if (i > 0) {
        const int kind = CharClass(line[i - 1]);
        while (i > 0 && CharClass(line[i - 1]) == kind) {
            --i;
        }
    }
    return {i, at.line};
}

CTextPosition WordRight(const TextLines& text, CTextPosition at) {
    if (at.charIndex >= Length(text, at.line)) {
        if (at.line + 1 >= text.Count()) {
            return at;
        }
        at = {0, at.line + 1};
    }
    const std::string_view line = text.Line(at.line);
    const int length = static_cast<int>(line.size());
    int i = at.charIndex;
    while (i < length && IsBlank(line[i])) {
        ++i;
    }
    if (i < length) {
        const int kind = CharClass(line[i]);
        while (i < length && CharClass(line[i]) == kind) {
            ++i;
        }
    }
    return {i, at.line};
}

CTextPosition SmartHome(const TextLines& text, CTextPosition at) {
    const std::string_view line = text.Line(at.line);
    int first = 0;
    while (first < static_cast<int>(line.size()) && IsBlank(line[first])) {
        ++first;
    }
    if (first == static_cast<int>(line.size()) || first == at.charIndex) {
        first = 0;
    }
    return {first, at.line};
}

CTextPosition LineEnd(const TextLines& text, CTextPosition at) {
    return {Length(text, at.line), at.line};
}

CTextPosition TextEnd(const TextLines& text) {
    const int last = text.Count() - 1;
    return {Length(text, last), last};
}

CTextPosition LineUpDown(const TextLines& text, CTextPosition at, int lines, int idealColumn,
                         int tabSize) {
    const int target = std::clamp(at.line + lines, 0, text.Count() - 1);
    if (target == at.line) {
        return at;
    }
    return {TextColumns::NearestCharIndex(text.Line(target), idealColumn, tabSize), target};
}

void WordAround(const TextLines& text, CTextPosition at, CTextPosition& start, CTextPosition& end) {
    const std::string_view line = text.Line(at.line);
    int from = std::min(at.charIndex, static_cast<int>(line.size()));
    int to = from;
    while (from > 0 && IsWordChar(line[from - 1])) {
        --from;
    }
    while (to < static_cast<int>(line.size()) && IsWordChar(line[to])) {
        ++to;
    }
    start = {from, at.line};
    end = {to, at.line};
}

CTextPosition AfterLine(const TextLines& text, int line) {
    if (line + 1 < text.Count()) {
        return {0, line + 1};
    }
    return {Length(text, line), line};
}

bool IsBefore(CTextPosition a, CTextPosition b) {
    return a.line < b.line || (a.line == b.line && a.charIndex < b.charIndex);
}

bool IsInside(CTextPosition at, CTextPosition start, CTextPosition end) {
    Order(start, end);
    return !IsBefore(at, start) && IsBefore(at, end);
}

void Order(CTextPosition& start, CTextPosition& end) {
    if (IsBefore(end, start)) {
        std::swap(start, end);
    }
}

} // namespace CaretMoves
