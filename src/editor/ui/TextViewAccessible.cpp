#include "editor/ui/TextViewAccessible.h"

#include "editor/CaretMoves.h"
#include "editor/ui/CTextView.h"

#include <QAbstractScrollArea>
#include <algorithm>

namespace {

QAccessibleInterface* MakeInterface(const QString&, QObject* object) {
    if (auto* view = qobject_cast<CTextView*>(object)) {
        return new TextViewAccessible(view);
    }
    return nullptr;
}

} // namespace

TextViewAccessible::TextViewAccessible(CTextView* view)
    : QAccessibleWidget(view, QAccessible::EditableText) {
}

void TextViewAccessible::InstallFactory() {
    static const bool installed = [] {
        QAccessible::installFactory(MakeInterface);
        return true;
    }();
    (void)installed;
}

CTextView* TextViewAccessible::View() const {
    return static_cast<CTextView*>(widget());
}

int TextViewAccessible::OffsetOf(const CTextView& view, CTextPosition position) {
    int offset = 0;
    for (int line = 0; line < position.line && line < view.LineCount(); ++line) {
        offset += view.LineLength(line) + 1;
    }
    return offset + position.charIndex;
}

CTextPosition TextViewAccessible::PositionOf(const CTextView& view, int offset) {
    int line = 0;
    offset = std::max(offset, 0);
    while (line + 1 < view.LineCount() && offset > view.LineLength(line)) {
        offset -= view.LineLength(line) + 1;
        ++line;
    }
    return {std::min(offset, view.LineLength(line)), line};
}

void* TextViewAccessible::interface_cast(QAccessible::InterfaceType type) {
    if (type == QAccessible::TextInterface) {
        return static_cast<QAccessibleTextInterface*>(this);
    }
    return QAccessibleWidget::interface_cast(type);
}

QAccessible::State TextViewAccessible::state() const {
    QAccessible::State state = QAccessibleWidget::state();
    state.editable = View()->IsEditable();
    state.readOnly = !View()->IsEditable();
    state.multiLine = true;
    state.selectableText = true;
    return state;
}

QString TextViewAccessible::text(QAccessible::Text type) const {
    if (type == QAccessible::Value) {
        return text(0, characterCount());
    }
    return QAccessibleWidget::text(type);
}

void TextViewAccessible::selection(int selectionIndex, int* startOffset, int* endOffset) const {
    *startOffset = *endOffset = 0;
    if (selectionIndex == 0 && View()->HasSelection()) {
        CTextPosition start;
        CTextPosition end;
        View()->GetSelection(start, end);
        *startOffset = OffsetOf(*View(), start);
        *endOffset = OffsetOf(*View(), end);
    }
}

int TextViewAccessible::selectionCount() const {
    return View()->HasSelection() ? 1 : 0;
}

void TextViewAccessible::addSelection(int startOffset, int endOffset) {
    setSelection(0, startOffset, endOffset);
}

void TextViewAccessible::removeSelection(int selectionIndex) {
    if (selectionIndex == 0) {
        View()->SetCaretPosition(View()->GetCursorPos());
        View()->SelectRange(View()->GetCursorPos(), View()->GetCursorPos());
    }
}

void TextViewAccessible::setSelection(int selectionIndex, int startOffset, int endOffset) {
    if (selectionIndex == 0) {
        View()->SelectRange(PositionOf(*View(), startOffset), PositionOf(*View(), endOffset));
    }
}

int TextViewAccessible::cursorPosition() const {
    return OffsetOf(*View(), View()->GetCursorPos());
}

void TextViewAccessible::setCursorPosition(int position) {
    const CTextPosition at = PositionOf(*View(), position);
    View()->SelectRange(at, at);
    View()->ScrollIntoView(at);
}

QString TextViewAccessible::text(int startOffset, int endOffset) const {
    std::string copied;
    View()->CopyRange(PositionOf(*View(), startOffset), PositionOf(*View(), endOffset), copied,
                      "\n");
    return QString::fromLatin1(copied.data(), static_cast<qsizetype>(copied.size()));
}

int TextViewAccessible::characterCount() const {
    const int last = View()->LineCount() - 1;
    return OffsetOf(*View(), {View()->LineLength(last), last});
}

QRect TextViewAccessible::characterRect(int offset) const {
    const CTextPosition at = PositionOf(*View(), offset);
    const QPoint point = View()->PointOf(at);
    const QPoint global = View()->viewport()->mapToGlobal(point);
    return {global, QSize(View()->CharWidth(), View()->LineHeight())};
}

int TextViewAccessible::offsetAtPoint(const QPoint& point) const {
    return OffsetOf(*View(), View()->PositionAt(View()->viewport()->mapFromGlobal(point)));
}

void TextViewAccessible::scrollToSubstring(int startIndex, int endIndex) {
    View()->ScrollIntoView(PositionOf(*View(), endIndex));
    View()->ScrollIntoView(PositionOf(*View(), startIndex));
}

QString TextViewAccessible::attributes(int offset, int* startOffset, int* endOffset) const {
    *startOffset = *endOffset = offset;
    return {};
}
