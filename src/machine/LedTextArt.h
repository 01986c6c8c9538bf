#pragma once

#include <span>
#include <string>

// The LED cells as seven-segment text art, three lines high, for a terminal: each cell is drawn
// from its segment code (a top, b upper right, c lower right, d bottom, e lower left, g middle,
// f upper left, bit 7 the point) and the cells stand in the display's three groups of two, four
// and two, left to right. Every line ends with a line feed and carries no trailing blanks.
std::string LedTextArt(std::span<const int> cells);
