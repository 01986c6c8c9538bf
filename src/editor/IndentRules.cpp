#include "editor/IndentRules.h"

#include "editor/TextColumns.h"

#include <algorithm>
#include <cctype>

namespace IndentRules {

int LeadingWhitespace(std::string_view line) {
    int count = 0;
    while (count < static_cast<int>(line.size()) &&
           std::isspace(static_cast<unsigned char>(line[count])) != 0) {
        ++count;
    }
    return count;
}

int OutdentLength(std::string_view line, int tabSize) {
    int spaces = 0;
    while (spaces < tabSize && spaces < static_cast<int>(line.size()) && line[spaces] == ' ') {
        ++spaces;
    }
    if (spaces < tabSize && spaces < static_cast<int>(line.size()) && line[spaces] == '\t') {
        return spaces + 1;
    }
    return spaces;
}

std::vector<int32_t> OutdentLengths(const TextLines& text, int firstLine, int lastLine,
                                    int tabSize) {
    std::vector<int32_t> lengths;
    lengths.reserve(static_cast<std::size_t>(std::max(lastLine - firstLine + 1, 0)));
    for (int line = firstLine; line <= lastLine; ++line) {
        lengths.push_back(OutdentLength(text.Line(line), tabSize));
    }
    return lengths;
}

bool IsBlockSelection(CTextPosition start, CTextPosition end) {
    return start.line != end.line;
}

void BlockLines(CTextPosition start, CTextPosition end, int& firstLine, int& lastLine) {
    firstLine = start.line;
    lastLine = end.line;
    if (end.charIndex == 0 && lastLine > firstLine) {
        --lastLine;
    }
}

int TabStopRight(std::string_view line, int charIndex, int tabSize) {
    const int column = TextColumns::ColumnOf(line, charIndex, tabSize);
    const int steps = tabSize - column % tabSize;
    int index = charIndex;
    for (int i = 0; i < steps && index < static_cast<int>(line.size()); ++i) {
        if (line[index++] == '\t') {
            break;
        }
    }
    return index;
}

int TabStopLeft(std::string_view line, int charIndex, int tabSize) {
    const int column = TextColumns::ColumnOf(line, charIndex, tabSize);
    int target = column - column % tabSize;
    if (target == column && target > 0) {
        target -= tabSize;
    }
    return TextColumns::FirstCharIndexReaching(line, target, tabSize);
}

} // namespace IndentRules
