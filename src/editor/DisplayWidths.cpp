#include "editor/DisplayWidths.h"

#include "editor/TextColumns.h"

#include <algorithm>

void DisplayWidths::Reset(const TextLines& text, int tabs) {
    tabSize = tabs;
    counts.clear();
    widths.resize(static_cast<std::size_t>(text.Count()));
    // Most lines are short: count them in a flat table and fill the map once.
    std::vector<int> shortCounts(256, 0);
    for (int line = 0; line < text.Count(); ++line) {
        const int width = TextColumns::DisplayLength(text.Line(line), tabSize);
        widths[line] = width;
        if (width < static_cast<int>(shortCounts.size())) {
            ++shortCounts[width];
        } else {
            Count(width, 1);
        }
    }
    for (int width = 0; width < static_cast<int>(shortCounts.size()); ++width) {
        if (shortCounts[width] != 0) {
            counts[width] += shortCounts[width];
        }
    }
}

void DisplayWidths::Count(int width, int delta) {
    const auto it = counts.try_emplace(width, 0).first;
    it->second += delta;
    if (it->second == 0) {
        counts.erase(it);
    }
}

void DisplayWidths::LineChanged(const TextLines& text, int line) {
    if (line < 0 || line >= LineCount() || line >= text.Count()) {
        return;
    }
    Count(widths[line], -1);
    widths[line] = TextColumns::DisplayLength(text.Line(line), tabSize);
    Count(widths[line], 1);
}

void DisplayWidths::LinesChanged(const TextLines& text, int first, int last) {
    first = std::max(first, 0);
    last = std::min({last, LineCount() - 1, text.Count() - 1});
    // Most lines are short: their counts change in a flat table, and the map once per width.
    std::vector<int> shortDeltas(256, 0);
    const auto count = [&](int width, int delta) {
        if (width < static_cast<int>(shortDeltas.size())) {
            shortDeltas[static_cast<std::size_t>(width)] += delta;
        } else {
            Count(width, delta);
        }
    };
    for (int line = first; line <= last; ++line) {
        count(widths[line], -1);
        widths[line] = TextColumns::DisplayLength(text.Line(line), tabSize);
        count(widths[line], 1);
    }
    for (int width = 0; width < static_cast<int>(shortDeltas.size()); ++width) {
        if (shortDeltas[static_cast<std::size_t>(width)] != 0) {
            Count(width, shortDeltas[static_cast<std::size_t>(width)]);
        }
    }
}

void DisplayWidths::LinesInserted(const TextLines& text, int line, int count) {
    if (count <= 0 || line < 0 || line >= LineCount()) {
        return;
    }
    widths.insert(widths.begin() + line + 1, static_cast<std::size_t>(count), 0);
    for (int i = line + 1; i <= line + count && i < text.Count(); ++i) {
        widths[i] = TextColumns::DisplayLength(text.Line(i), tabSize);
        Count(widths[i], 1);
    }
    LineChanged(text, line);
}

void DisplayWidths::LinesRemoved(const TextLines& text, int line, int count) {
    count = std::min(count, LineCount() - 1 - line);
    if (count <= 0 || line < 0) {
        return;
    }
    for (int i = line + 1; i <= line + count; ++i) {
        Count(widths[i], -1);
    }
    widths.erase(widths.begin() + line + 1, widths.begin() + line + 1 + count);
    LineChanged(text, line);
}
