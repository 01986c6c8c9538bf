// Drawing the text view: only the rows in the paint event's rectangle, each line from its
// colour runs, the margin pictures and the caret.
#include "editor/CaretMoves.h"
#include "editor/TextColumns.h"
#include "editor/ui/CTextView.h"
#include "editor/ui/MarginPictures.h"

#include <QPaintEvent>
#include <QPainter>
#include <algorithm>

namespace {

// Display text of characters [from, to) of a line starting at display column `column`,
// tabs expanded; `column` moves along.
QString Expand(std::string_view line, int from, int to, int& column, int tabSize,
               bool showWhitespace) {
    QString text;
    text.reserve(to - from);
    for (int i = from; i < to; ++i) {
        const auto c = static_cast<unsigned char>(line[i]);
        if (c == '\t') {
            const int width = tabSize - column % tabSize;
            text += showWhitespace ? QChar(0x00BB) : QChar(u' ');
            text += QString(width - 1, QChar(u' '));
            column += width;
            continue;
        }
        text += c == ' ' && showWhitespace ? QChar(0x2022) : QChar(c);
        ++column;
    }
    return text;
}

} // namespace

void CTextView::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    const QRect area = event->rect();
    const int height = LineHeight();
    const int margin = selectionMargin ? marginWidth : 1;
    const int width = viewport()->width();
    const int firstRow = area.top() / height;
    const int lastRow = area.bottom() / height;
    for (int row = firstRow; row <= lastRow; ++row) {
        const int line = topLine + row < LineCount() ? topLine + row : -1;
        const QRect marginCell(0, row * height, margin, height);
        const QRect textCell(margin, row * height, width - margin, height);
        if (area.intersects(marginCell)) {
            DrawMarginCell(painter, marginCell, line);
        }
        if (area.intersects(textCell)) {
            painter.setClipRect(textCell);
            DrawLine(painter, textCell, line);
            painter.setClipping(false);
        }
    }
    // The caret, or the grey drop caret while a drop is aimed here.
    const auto drawCaret = [&](CTextPosition position, const QColor& colour) {
        const QPoint point = PointOf(position);
        if (point.x() >= margin && position.line >= topLine) {
            painter.fillRect(QRect(point.x(), point.y(), 2, height), colour);
        }
    };
    if (dropCaretShown) {
        drawCaret(dropCaretPosition, Qt::gray);
    } else if (hasFocus() && caretBlinkOn && mouseDrag == MouseDrag::None) {
        drawCaret(caret, ColorOf(TextColours::NormalText));
    }
}

void CTextView::DrawMarginCell(QPainter& painter, const QRect& rect, int line) {
    if (!selectionMargin) {
        painter.fillRect(rect, ColorOf(TextColours::Background));
        return;
    }
    painter.fillRect(rect, ColorOf(TextColours::SelectionMargin));
    if (line < 0) {
        return;
    }
    const int picture = TextColours::MarginPicture(LineFlags(line));
    if (picture >= 0) {
        const int size = std::min(16, rect.height());
        MarginPictures::Draw(
            painter, QRect(rect.left() + 2, rect.top() + (rect.height() - size) / 2, size, size),
            picture);
    }
}

void CTextView::DrawLine(QPainter& painter, const QRect& rect, int line) {
    if (line < 0) {
        painter.fillRect(rect, ColorOf(TextColours::AfterText));
        return;
    }
    QColor background;
    QColor lineText;
    bool fillRow = false;
    LineColors(line, background, lineText, fillRow);
    if (!background.isValid()) {
        background = ColorOf(TextColours::Background);
    }
    const std::string_view text = LineText(line);
    const int length = static_cast<int>(text.size());
    std::vector<TextColours::Block> blocks;
    if (length > 0) {
        const int before = colouring.StateBefore(
            line, [this](int state, int index) { return ColorizeLine(state, index, nullptr); });
        blocks.reserve(16);
        colouring.Store(line, ColorizeLine(before, line, &blocks));
    }
    const int cw = CharWidth();
    const int left = rect.left() - firstColumn * cw;
    const int endColumn = DisplayLength(line);
    painter.fillRect(rect, fillRow ? background : ColorOf(TextColours::AfterText));
    painter.fillRect(QRect(left, rect.top(), endColumn * cw, rect.height()), background);

    CTextPosition start;
    CTextPosition end;
    GetSelection(start, end);
    const bool selectionShown = SelectionShown() && !(start == end);
    const int selFrom = !selectionShown || start.line > line ? length + 1
                        : start.line < line                  ? 0
                                                             : start.charIndex;
    const int selTo = !selectionShown || end.line < line ? -1
                      : end.line > line                  ? length + 1
                                                         : end.charIndex;
    const int lastVisibleColumn = firstColumn + rect.width() / cw + 1;
    int column = 0;
    for (const TextColours::Run& run : TextColours::RunsFromBlocks(blocks, length)) {
        // Split the run where the selection starts and ends.
        const int selectedFrom = std::clamp(selFrom, run.start, run.end);
        const int selectedTo = std::clamp(selTo, selectedFrom, run.end);
        const int cuts[] = {run.start, selectedFrom, selectedTo, run.end};
        for (int piece = 0; piece < 3; ++piece) {
            const int from = cuts[piece];
            const int to = cuts[piece + 1];
            if (from >= to) {
                continue;
            }
            const int startColumn = column;
            if (startColumn > lastVisibleColumn) {
                break;
            }
            const QString shown = Expand(text, from, to, column, tabSize, showWhitespace);
            if (column < firstColumn) {
                continue;
            }
            const bool selected = piece == 1;
            const QRect box(left + startColumn * cw, rect.top(), (column - startColumn) * cw,
                            rect.height());
            if (selected) {
                painter.fillRect(box, ColorOf(TextColours::SelectionBackground));
            }
            painter.setPen(selected             ? ColorOf(TextColours::SelectionText)
                           : lineText.isValid() ? lineText
                                                : ColorOf(run.colour));
            painter.setFont(TextFont(IsBold(run.colour), IsItalic(run.colour)));
            painter.drawText(box, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextDontClip, shown);
        }
    }
    // The line end inside the selection shows as one selected character cell.
    if (selectionShown && selFrom <= length && selTo > length) {
        painter.fillRect(QRect(left + endColumn * cw, rect.top(), cw, rect.height()),
                         ColorOf(TextColours::SelectionBackground));
    }
}
