// The mouse in the text view: clicks, selection by characters, words and lines, the auto-scroll
// while the button is held, the start of text drags and the context menu.
#include "editor/CaretMoves.h"
#include "editor/ui/CTextView.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <algorithm>

void CTextView::mousePressEvent(QMouseEvent* event) {
    const QPoint point = event->position().toPoint();
    const CTextPosition position = PositionAt(point);
    const bool shift = (event->modifiers() & Qt::ShiftModifier) != 0;
    const bool ctrl = (event->modifiers() & Qt::ControlModifier) != 0;
    if (event->button() == Qt::RightButton) {
        CTextPosition start;
        CTextPosition end;
        GetSelection(start, end);
        if (!CaretMoves::IsInside(position, start, end)) {
            MoveCaret(position, false);
        }
        return;
    }
    if (event->button() != Qt::LeftButton) {
        return;
    }
    setFocus(Qt::MouseFocusReason);
    lastMousePoint = pressPoint = point;
    if (selectionMargin && point.x() < marginWidth) {
        if (ctrl) {
            ExecuteCommand(57642); // select all
            return;
        }
        if (!shift) {
            anchor = {0, position.line};
        }
        mouseDrag = MouseDrag::Lines;
    } else {
        CTextPosition start;
        CTextPosition end;
        GetSelection(start, end);
        if (!shift && CaretMoves::IsInside(position, start, end)) {
            mouseDrag = MouseDrag::TextPending;
            return;
        }
        if (!shift) {
            anchor = position;
        }
        mouseDrag = ctrl ? MouseDrag::Words : MouseDrag::Chars;
        if (ctrl) {
            CaretMoves::WordAround(lines, anchor, wordAnchorStart, wordAnchorEnd);
        }
    }
    ExtendMouseSelection(position);
    scrollTimer.start(autoScrollInterval, this);
}

void CTextView::ExtendMouseSelection(CTextPosition to) {
    CTextPosition from = anchor;
    switch (mouseDrag) {
    case MouseDrag::Words: {
        CTextPosition wordStart;
        CTextPosition wordEnd;
        CaretMoves::WordAround(lines, to, wordStart, wordEnd);
        if (CaretMoves::IsBefore(to, wordAnchorStart)) {
            from = wordAnchorEnd;
            to = wordStart;
        } else {
            from = wordAnchorStart;
            to = wordEnd;
        }
        break;
    }
    case MouseDrag::Lines:
        if (to.line >= anchor.line) {
            from = {0, anchor.line};
            to = CaretMoves::AfterLine(lines, to.line);
        } else {
            from = CaretMoves::AfterLine(lines, anchor.line);
            to = {0, to.line};
        }
        break;
    default:
        break;
    }
    SetSelectionRaw(from, to);
    caret = to;
    CaretMoved();
}

void CTextView::mouseMoveEvent(QMouseEvent* event) {
    const QPoint point = event->position().toPoint();
    if (mouseDrag == MouseDrag::TextPending) {
        if ((point - pressPoint).manhattanLength() >= QApplication::startDragDistance()) {
            mouseDrag = MouseDrag::None;
            StartTextDrag();
        }
        return;
    }
    if (mouseDrag == MouseDrag::None || (event->buttons() & Qt::LeftButton) == 0) {
        return;
    }
    lastMousePoint = point;
    ExtendMouseSelection(PositionAt(point));
}

void CTextView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        return;
    }
    if (mouseDrag == MouseDrag::TextPending) {
        // A click inside the selection without a drag just places the caret.
        mouseDrag = MouseDrag::None;
        MoveCaret(PositionAt(event->position().toPoint()), false);
    }
    mouseDrag = MouseDrag::None;
    scrollTimer.stop();
    SetCaretPosition(caret);
}

void CTextView::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || draggingText) {
        return;
    }
    const CTextPosition position = PositionAt(event->position().toPoint());
    lastMousePoint = event->position().toPoint();
    CaretMoves::WordAround(lines, position, wordAnchorStart, wordAnchorEnd);
    anchor = wordAnchorStart;
    mouseDrag = MouseDrag::Words;
    ExtendMouseSelection(position);
    scrollTimer.start(autoScrollInterval, this);
}

void CTextView::AutoScroll() {
    if (mouseDrag == MouseDrag::None || mouseDrag == MouseDrag::TextPending) {
        scrollTimer.stop();
        return;
    }
    const QPoint point = lastMousePoint;
    const int height = LineHeight();
    int lineStep = 0;
    if (point.y() < 0) {
        lineStep = point.y() < -height ? -3 : -1;
    } else if (point.y() >= viewport()->height()) {
        lineStep = point.y() >= viewport()->height() + height ? 3 : 1;
    }
    int columnStep = 0;
    if (point.x() < (selectionMargin ? marginWidth : 1) && mouseDrag != MouseDrag::Lines) {
        columnStep = -1;
    } else if (point.x() >= viewport()->width()) {
        columnStep = 1;
    }
    const int newTop = std::clamp(topLine + lineStep, 0, LineCount() - 1);
    const int newColumn =
        std::clamp(firstColumn + columnStep, 0, std::max(0, horizontalScrollBar()->maximum()));
    if (newTop == topLine && newColumn == firstColumn) {
        return;
    }
    ScrollToLine(newTop);
    ScrollToColumn(newColumn);
    ExtendMouseSelection(PositionAt(point));
}

void CTextView::contextMenuEvent(QContextMenuEvent* event) {
    if (event->reason() != QContextMenuEvent::Mouse) {
        // From the keyboard the menu opens at the caret.
        ShowContextMenu(viewport()->mapToGlobal(PointOf(caret) + QPoint(0, LineHeight())));
        return;
    }
    ShowContextMenu(event->globalPos());
}
