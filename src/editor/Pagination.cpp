#include "editor/Pagination.h"

#include <algorithm>
#include <cctype>

namespace Pagination {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// The end of the row that starts at `start` and where the next row starts.
int RowEnd(std::string_view line, int start, int columns, int tabSize, int& next) {
    const int length = static_cast<int>(line.size());
    int column = 0;
    int end = start;
    while (end < length) {
        const int width = line[end] == '\t' ? tabSize - column % tabSize : 1;
        if (column + width > columns && end > start) {
            break;
        }
        column += width;
        ++end;
    }
    if (end == length) {
        next = length;
        return end;
    }
    int rowEnd = end;
    if (!IsBlank(line[end])) {
        int wordStart = end;
        while (wordStart > start && !IsBlank(line[wordStart - 1])) {
            --wordStart;
        }
        if (wordStart > start) {
            rowEnd = wordStart;
        }
    }
    next = rowEnd;
    while (next < length && IsBlank(line[next])) {
        ++next;
    }
    while (rowEnd > start && IsBlank(line[rowEnd - 1])) {
        --rowEnd;
    }
    return rowEnd;
}

template <typename Visit>
void ForEachRow(std::string_view line, int columns, int tabSize, Visit visit) {
    columns = std::max(columns, 1);
    int start = 0;
    do {
        int next = 0;
        const int end = RowEnd(line, start, columns, tabSize, next);
        visit(Row{start, end});
        start = next;
    } while (start < static_cast<int>(line.size()));
}

} // namespace

std::vector<Row> WrapLine(std::string_view line, int columns, int tabSize) {
    std::vector<Row> rows;
    ForEachRow(line, columns, tabSize, [&](Row row) { rows.push_back(row); });
    return rows;
}

int RowCount(std::string_view line, int columns, int tabSize) {
    if (line.size() < static_cast<std::size_t>(std::max(columns, 1)) / std::max(tabSize, 1)) {
        return 1; // even all tabs would fit
    }
    int count = 0;
    ForEachRow(line, columns, tabSize, [&](Row) { ++count; });
    return count;
}

std::vector<PageStart> Paginate(const TextLines& text, int columns, int rowsPerPage, int tabSize) {
    rowsPerPage = std::max(rowsPerPage, 1);
    std::vector<PageStart> pages{{0, 0}};
    int used = 0;
    for (int line = 0; line < text.Count(); ++line) {
        const int rows = RowCount(text.Line(line), columns, tabSize);
        if (used > 0 && used + rows > rowsPerPage) {
            pages.push_back({line, 0});
            used = 0;
        }
        int row = 0;
        while (rows - row > rowsPerPage - used) {
            row += rowsPerPage - used;
            pages.push_back({line, row});
            used = 0;
        }
        used += rows - row;
    }
    return pages;
}

Area TextArea(int printableWidth, int printableHeight, double unitsPerMmX, double unitsPerMmY,
              Margins margins, int lineHeight, int charWidth, bool header, bool footer) {
    lineHeight = std::max(lineHeight, 1);
    charWidth = std::max(charWidth, 1);
    const int bands = (header ? 3 * lineHeight / 2 : 0) + (footer ? 3 * lineHeight / 2 : 0);
    const auto place = [&](const Margins& m) {
        Area area;
        area.left = static_cast<int>(m.left * unitsPerMmX / 100.0);
        area.top = static_cast<int>(m.top * unitsPerMmY / 100.0);
        area.width = printableWidth - area.left - static_cast<int>(m.right * unitsPerMmX / 100.0);
        area.height = printableHeight - area.top - static_cast<int>(m.bottom * unitsPerMmY / 100.0);
        return area;
    };
    const auto fits = [&](const Area& area) {
        return margins.left >= 0 && margins.right >= 0 && margins.top >= 0 && margins.bottom >= 0 &&
               area.width >= charWidth && area.height - bands >= lineHeight;
    };
    Area area = place(margins);
    if (!fits(area)) {
        margins = Margins{};
        area = place(margins);
        if (!fits(area)) {
            area = place(Margins{0, 0, 0, 0});
        }
    }
    if (header) {
        area.top += 3 * lineHeight / 2;
        area.height -= 3 * lineHeight / 2;
    }
    if (footer) {
        area.height -= 3 * lineHeight / 2;
    }
    area.width = std::max(area.width, charWidth);
    area.height = std::max(area.height, lineHeight);
    return area;
}

} // namespace Pagination
