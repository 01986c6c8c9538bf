// Dragging text out of an edit view and dropping text or files on it.
#include "editor/CaretMoves.h"
#include "editor/ClipboardText.h"
#include "editor/ui/CTextEditView.h"

#include <QApplication>
#include <QDrag>
#include <QDragEnterEvent>
#include <QMimeData>
#include <QScrollBar>
#include <QUrl>

namespace {

// The view a text drag started from, while its drag loop runs; drops into any pane of the same
// buffer check the dragged text through it.
CTextEditView* dragSource = nullptr;

constexpr int edgeZone = 5;

} // namespace

void CTextEditView::StartTextDrag() {
    if (!HasSelection()) {
        return;
    }
    GetSelection(draggedStart, draggedEnd);
    std::string text;
    CopyRange(draggedStart, draggedEnd, text, "\n");
    auto* mime = new QMimeData;
    mime->setText(QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())));
    const bool editable = IsEditable();
    if (editable) {
        buffer->OpenUndoGroup(false);
    }
    draggingText = true;
    dragSource = this;
    const Qt::DropAction result = RunDrag(mime);
    dragSource = nullptr;
    if (result == Qt::MoveAction && editable) {
        buffer->DeleteRange(this, draggedStart.line, draggedStart.charIndex, draggedEnd.line,
                            draggedEnd.charIndex, CTextBuffer::ActionDragDrop);
    }
    draggingText = false;
    if (editable) {
        buffer->CloseUndoGroup(this);
    }
    viewport()->update();
}

Qt::DropAction CTextEditView::RunDrag(QMimeData* mime) {
    auto* drag = new QDrag(this);
    drag->setMimeData(mime);
    return drag->exec(IsEditable() ? Qt::CopyAction | Qt::MoveAction : Qt::CopyAction,
                      Qt::MoveAction);
}

bool CTextEditView::DropText(const QMimeData* mime, const QPoint& point, bool copy) {
    (void)copy;
    const CTextPosition at = PositionAt(point);
    // A drop inside the text being dragged, in any pane of the same buffer, changes nothing.
    if (dragSource != nullptr && dragSource->Buffer() == buffer &&
        CaretMoves::IsInside(at, dragSource->draggedStart, dragSource->draggedEnd)) {
        MoveCaret(at, false);
        return false;
    }
    std::string text;
    if (!IsEditable() || !ClipboardText::ToBuffer(mime->text().toStdU16String(), text) ||
        text.empty()) {
        return false;
    }
    // A drop from another buffer makes its own undo step; within one buffer it joins the
    // dragging view's "Drag And Drop" group.
    const bool ownGroup = dragSource == nullptr || dragSource->Buffer() != buffer;
    if (ownGroup) {
        buffer->OpenUndoGroup(false);
    }
    int endLine = 0;
    int endChar = 0;
    const bool inserted = buffer->InsertChars(this, at.line, at.charIndex, text, endLine, endChar,
                                              CTextBuffer::ActionDragDrop);
    if (ownGroup) {
        buffer->CloseUndoGroup(this);
    }
    if (!inserted) {
        return false;
    }
    // Where the inserted text is now: a move out of this buffer may shift it later.
    SelectRange(at, {endChar, endLine});
    ScrollIntoView(caret);
    setFocus(Qt::OtherFocusReason);
    return true;
}

bool CTextEditView::DragCarriesText(QDragMoveEvent* event) {
    // Files are taken (the main window opens them); text only where it may be edited.
    if (event->mimeData()->hasUrls()) {
        event->acceptProposedAction();
        return false;
    }
    if (!IsEditable() || !event->mimeData()->hasText()) {
        event->ignore();
        return false;
    }
    return true;
}

void CTextEditView::dragEnterEvent(QDragEnterEvent* event) {
    if (DragCarriesText(event)) {
        event->accept();
        dragMoveEvent(event);
    }
}

void CTextEditView::dragMoveEvent(QDragMoveEvent* event) {
    if (!DragCarriesText(event)) {
        return;
    }
    const QPoint point = event->position().toPoint();
    ScrollNearEdges(point);
    dropCaretShown = true;
    dropCaretPosition = PositionAt(point);
    viewport()->update();
    const bool copy = (event->modifiers() & Qt::ControlModifier) != 0;
    event->setDropAction(copy ? Qt::CopyAction : Qt::MoveAction);
    event->accept();
}

void CTextEditView::dragLeaveEvent(QDragLeaveEvent*) {
    dropCaretShown = false;
    viewport()->update();
}

void CTextEditView::dropEvent(QDropEvent* event) {
    dropCaretShown = false;
    viewport()->update();
    const QMimeData* mime = event->mimeData();
    if (mime->hasUrls()) {
        QStringList paths;
        for (const QUrl& url : mime->urls()) {
            if (url.isLocalFile()) {
                paths.append(url.toLocalFile());
            }
        }
        if (!paths.isEmpty()) {
            event->acceptProposedAction();
            emit filesDropped(paths);
            return;
        }
    }
    const bool copy = (event->modifiers() & Qt::ControlModifier) != 0;
    if (!mime->hasText() || !DropText(mime, event->position().toPoint(), copy)) {
        event->setDropAction(Qt::IgnoreAction);
        event->ignore();
        return;
    }
    event->setDropAction(copy ? Qt::CopyAction : Qt::MoveAction);
    event->accept();
}

void CTextEditView::ScrollNearEdges(const QPoint& point) {
    const int margin = SelectionMargin() ? marginWidth : 1;
    if (point.y() < edgeZone && topLine > 0) {
        ScrollToLine(topLine - 1);
    } else if (point.y() >= viewport()->height() - edgeZone && topLine < LineCount() - 1) {
        ScrollToLine(topLine + 1);
    }
    if (point.x() < margin + edgeZone && firstColumn > 0) {
        ScrollToColumn(firstColumn - 1);
    } else if (point.x() >= viewport()->width() - edgeZone &&
               firstColumn < horizontalScrollBar()->maximum()) {
        ScrollToColumn(firstColumn + 1);
    }
}
