#include "editor/TextColumns.h"

#include <cstring>

namespace TextColumns {

namespace {

int Advance(char c, int column, int tabSize) {
    return c == '\t' ? column + tabSize - column % tabSize : column + 1;
}

} // namespace

int ColumnOf(std::string_view line, int charIndex, int tabSize) {
    const int end = charIndex < static_cast<int>(line.size()) ? charIndex : int(line.size());
    // Lines without tabs are the common case and need no walk.
    if (end <= 0 || std::memchr(line.data(), '\t', static_cast<std::size_t>(end)) == nullptr) {
        return end < 0 ? 0 : end;
    }
    int column = 0;
    for (int i = 0; i < end; ++i) {
        column = Advance(line[i], column, tabSize);
    }
    return column;
}

int DisplayLength(std::string_view line, int tabSize) {
    return ColumnOf(line, static_cast<int>(line.size()), tabSize);
}

int NearestCharIndex(std::string_view line, int column, int tabSize) {
    int current = 0;
    const int length = static_cast<int>(line.size());
    for (int i = 0; i < length; ++i) {
        const int next = Advance(line[i], current, tabSize);
        if (next > column) {
            return column - current <= next - column ? i : i + 1;
        }
        current = next;
    }
    return length;
}

int FirstCharIndexReaching(std::string_view line, int column, int tabSize) {
    int current = 0;
    const int length = static_cast<int>(line.size());
    for (int i = 0; i < length; ++i) {
        if (current >= column) {
            return i;
        }
        current = Advance(line[i], current, tabSize);
    }
    return length;
}

int CharIndexAtPoint(std::string_view line, double column, int tabSize) {
    int current = 0;
    const int length = static_cast<int>(line.size());
    for (int i = 0; i < length; ++i) {
        const int next = Advance(line[i], current, tabSize);
        if (column < next) {
            return column - current < next - column ? i : i + 1;
        }
        current = next;
    }
    return length;
}

} // namespace TextColumns
