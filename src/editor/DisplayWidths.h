#pragma once

#include "editor/TextLines.h"

#include <map>
#include <vector>

// The display length of every line (tabs expanded) and the longest of them, kept up to date
// line by line so that an edit never measures the whole text again.
class DisplayWidths {
public:
    void Reset(const TextLines& text, int tabSize);
    int Width(int line) const { return widths[line]; }
    int Longest() const { return counts.empty() ? 0 : counts.rbegin()->first; }
    int LineCount() const { return static_cast<int>(widths.size()); }

    void LineChanged(const TextLines& text, int line);
    void LinesChanged(const TextLines& text, int first, int last);
    void LinesInserted(const TextLines& text, int line, int count);
    void LinesRemoved(const TextLines& text, int line, int count);

private:
    void Count(int width, int delta);

    int tabSize = 4;
    std::vector<int> widths;
    // How many lines have each width.
    std::map<int, int> counts;
};
