#pragma once

#include "editor/Pagination.h"

#include <QFont>
#include <QString>
#include <vector>

class CTextView;
class QPainter;
class QPrinter;

// Prints the text of a view: the screen font scaled to the printer, the page's text area inside
// the margins of the page setup, lines wrapped at word breaks, a header and footer per page.
class TextPrinter {
public:
    TextPrinter(const CTextView& view, QPrinter* printer);

    int PageCount() const { return static_cast<int>(pages.size()); }
    int RowsPerPage() const { return rowsPerPage; }
    // Prints the pages of the printer's range (all when it has none).
    void Print();

    // The page setup margins in hundredths of a millimetre, from the settings.
    static Pagination::Margins LoadMargins();
    static void SaveMargins(const Pagination::Margins& margins);

private:
    void PrintPage(QPainter& painter, int page);

    const CTextView& view;
    QPrinter* printer;
    QFont font;
    int lineHeight = 1;
    int charWidth = 1;
    int columns = 1;
    int rowsPerPage = 1;
    Pagination::Area area;
    std::vector<Pagination::PageStart> pages;
};
