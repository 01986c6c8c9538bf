#pragma once

#include "editor/CTextPosition.h"
#include "editor/TextLines.h"

#include <cstdint>
#include <string_view>
#include <vector>

// Automatic indentation, block indent and outdent, and the tab-stop caret moves of the editor.
namespace IndentRules {

// The number of leading white-space characters of a line (spaces, tabs, other white space).
int LeadingWhitespace(std::string_view line);
// How many leading characters Shift+Tab removes from a line: up to `tabSize` spaces, or fewer
// spaces followed by one tab, or one tab; 0 when there is nothing to remove.
int OutdentLength(std::string_view line, int tabSize);
// OutdentLength of each line from firstLine to lastLine, for a block outdent.
std::vector<int32_t> OutdentLengths(const TextLines& text, int firstLine, int lastLine,
                                    int tabSize);
// Whether a selection spans more than one line, so that Tab and Shift+Tab act on whole lines.
bool IsBlockSelection(CTextPosition start, CTextPosition end);
// The lines a block indent acts on: from the first line of the selection to its last, the last
// left out when the selection ends at column 0. `start` and `end` are ordered.
void BlockLines(CTextPosition start, CTextPosition end, int& firstLine, int& lastLine);
// Overwrite-mode Tab: the caret moves right to the next tab stop, stopping just after a tab.
int TabStopRight(std::string_view line, int charIndex, int tabSize);
// Shift+Tab without a block: the caret goes left to the previous tab stop.
int TabStopLeft(std::string_view line, int charIndex, int tabSize);

} // namespace IndentRules
