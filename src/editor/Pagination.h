#pragma once

#include "editor/TextLines.h"

#include <string_view>
#include <vector>

// Breaking printed text into rows and pages. Widths are in character columns of a fixed-pitch
// font, heights in rows.
namespace Pagination {

constexpr int defaultMarginHundredthsMm = 1000;

// Rows wrap at word breaks; a word wider than a row is broken; blanks at a break are dropped.
struct Row {
    int start = 0;
    int end = 0;
};
std::vector<Row> WrapLine(std::string_view line, int columns, int tabSize);
int RowCount(std::string_view line, int columns, int tabSize);

// A page begins at a row of a line.
struct PageStart {
    int line = 0;
    int row = 0;
    friend bool operator==(const PageStart&, const PageStart&) = default;
};
// A line that does not fit on the rest of a page starts the next page; a line taller than a
// page is split. There is always at least one page.
std::vector<PageStart> Paginate(const TextLines& text, int columns, int rowsPerPage, int tabSize);

// The printed text area in device units, from the printable area, the four margins and the
// line height; header and footer bands take 1.5 lines each.
struct Area {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};
struct Margins {
    int left = defaultMarginHundredthsMm;
    int right = defaultMarginHundredthsMm;
    int top = defaultMarginHundredthsMm;
    int bottom = defaultMarginHundredthsMm;
};
// Margins that would leave less than one character and one line of text fall back to the
// defaults, and if even those leave no room, to none. `unitsPerMmX/Y` convert margins.
Area TextArea(int printableWidth, int printableHeight, double unitsPerMmX, double unitsPerMmY,
              Margins margins, int lineHeight, int charWidth, bool header, bool footer);

} // namespace Pagination
