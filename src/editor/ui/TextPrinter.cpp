#include "editor/ui/TextPrinter.h"

#include "editor/ui/CTextView.h"

#include <QFontInfo>
#include <QPainter>
#include <QPrinter>
#include <QSettings>
#include <algorithm>

namespace {

const char* const pageSetupGroup = "TextEdit/PageSetup";

// Screen lines for the rules that work on text.
class ViewLines : public TextLines {
public:
    explicit ViewLines(const CTextView& textView) : view(textView) {}
    int Count() const override { return view.LineCount(); }
    std::string_view Line(int line) const override { return view.LineText(line); }

private:
    const CTextView& view;
};

QString Expand(std::string_view line, int from, int to, int tabSize) {
    QString text;
    for (int i = from; i < to; ++i) {
        if (line[i] == '\t') {
            text += QString(tabSize - static_cast<int>(text.size()) % tabSize, QChar(u' '));
        } else {
            text += QChar(static_cast<unsigned char>(line[i]));
        }
    }
    return text;
}

} // namespace

Pagination::Margins TextPrinter::LoadMargins() {
    QSettings settings;
    settings.beginGroup(QString::fromLatin1(pageSetupGroup));
    const auto value = [&](const char* key) {
        return settings.value(QString::fromLatin1(key), Pagination::defaultMarginHundredthsMm)
            .toInt();
    };
    return {value("LeftMargin"), value("RightMargin"), value("TopMargin"), value("BottomMargin")};
}

void TextPrinter::SaveMargins(const Pagination::Margins& margins) {
    QSettings settings;
    settings.beginGroup(QString::fromLatin1(pageSetupGroup));
    settings.setValue(QStringLiteral("LeftMargin"), margins.left);
    settings.setValue(QStringLiteral("RightMargin"), margins.right);
    settings.setValue(QStringLiteral("TopMargin"), margins.top);
    settings.setValue(QStringLiteral("BottomMargin"), margins.bottom);
}

TextPrinter::TextPrinter(const CTextView& textView, QPrinter* device)
    : view(textView), printer(device) {
    // The page is ours to lay out: margins come from the page setup.
    printer->setFullPage(true);
    font = view.TextFont();
    const double screenDpi = std::max(1, view.logicalDpiY());
    const int screenPixels = QFontInfo(font).pixelSize();
    font.setPixelSize(std::max(
        1, static_cast<int>(screenPixels * printer->resolution() / (2.0 * screenDpi) + 0.5)));
    const QFontMetrics metrics(font, printer);
    lineHeight = std::max(1, metrics.height());
    charWidth = std::max(1, metrics.horizontalAdvance(QLatin1Char('X')));
    const QRect page = printer->pageLayout().fullRectPixels(printer->resolution());
    const double unitsPerMm = printer->resolution() / 25.4;
    area = Pagination::TextArea(page.width(), page.height(), unitsPerMm, unitsPerMm, LoadMargins(),
                                lineHeight, charWidth, view.printHeader, view.printFooter);
    columns = std::max(1, area.width / charWidth);
    rowsPerPage = std::max(1, area.height / lineHeight);
    pages = Pagination::Paginate(ViewLines(view), columns, rowsPerPage, 4);
}

void TextPrinter::Print() {
    QPainter painter;
    if (!painter.begin(printer)) {
        return;
    }
    const int first = printer->fromPage() > 0 ? printer->fromPage() - 1 : 0;
    const int last =
        printer->toPage() > 0 ? std::min(printer->toPage(), PageCount()) - 1 : PageCount() - 1;
    for (int page = first; page <= last; ++page) {
        if (page > first) {
            printer->newPage();
        }
        PrintPage(painter, page);
    }
    painter.end();
}

void TextPrinter::PrintPage(QPainter& painter, int page) {
    painter.setFont(font);
    painter.setPen(Qt::black);
    const int band = 3 * lineHeight / 2;
    const int flags = Qt::AlignHCenter | Qt::TextSingleLine;
    if (view.printHeader) {
        painter.drawText(QRect(area.left, area.top - band, area.width, band),
                         flags | Qt::AlignVCenter, view.PrintHeaderText(page + 1, PageCount()));
    }
    if (view.printFooter) {
        painter.drawText(QRect(area.left, area.top + area.height, area.width, band),
                         flags | Qt::AlignBottom, view.PrintFooterText(page + 1, PageCount()));
    }
    const Pagination::PageStart start = pages[static_cast<std::size_t>(page)];
    const Pagination::PageStart end = page + 1 < PageCount()
                                          ? pages[static_cast<std::size_t>(page) + 1]
                                          : Pagination::PageStart{view.LineCount(), 0};
    int y = area.top;
    for (int line = start.line; line < view.LineCount() && line <= end.line; ++line) {
        const std::string_view text = view.LineText(line);
        const std::vector<Pagination::Row> rows = Pagination::WrapLine(text, columns, 4);
        const int firstRow = line == start.line ? start.row : 0;
        const int lastRow = line == end.line ? end.row : static_cast<int>(rows.size());
        for (int row = firstRow; row < lastRow; ++row) {
            const Pagination::Row& piece = rows[static_cast<std::size_t>(row)];
            painter.drawText(QRect(area.left, y, area.width, lineHeight),
                             Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                             Expand(text, piece.start, piece.end, 4));
            y += lineHeight;
        }
    }
}
