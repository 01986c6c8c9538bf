#pragma once

#include <string_view>

// Display columns of a line: every character takes one column except a tab, which advances to
// the next multiple of the tab size.
namespace TextColumns {

constexpr int defaultTabSize = 4;

// The display column at which the character at `charIndex` starts (the line's display length
// for `charIndex` at or after its end).
int ColumnOf(std::string_view line, int charIndex, int tabSize);
int DisplayLength(std::string_view line, int tabSize);
// The character index whose display column comes closest to `column` (ties go left), at most
// the line's length.
int NearestCharIndex(std::string_view line, int column, int tabSize);
// The first character index whose display column reaches `column`; the line's length if none.
int FirstCharIndexReaching(std::string_view line, int column, int tabSize);
// The character index under display column `column`, rounding to the nearer character edge,
// as a mouse click chooses it.
int CharIndexAtPoint(std::string_view line, double column, int tabSize);

} // namespace TextColumns
