#pragma once

#include "editor/CTextPosition.h"

#include <QAccessibleWidget>

class CTextView;

// What assistive technology reads of a text view: its text (lines joined by "\n"), the caret
// and the selection, as character offsets.
class TextViewAccessible : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit TextViewAccessible(CTextView* view);

    // Makes text views known to the accessibility framework; once per process is enough.
    static void InstallFactory();
    static int OffsetOf(const CTextView& view, CTextPosition position);
    static CTextPosition PositionOf(const CTextView& view, int offset);

    void* interface_cast(QAccessible::InterfaceType type) override;
    QAccessible::State state() const override;
    QString text(QAccessible::Text type) const override;

    void selection(int selectionIndex, int* startOffset, int* endOffset) const override;
    int selectionCount() const override;
    void addSelection(int startOffset, int endOffset) override;
    void removeSelection(int selectionIndex) override;
    void setSelection(int selectionIndex, int startOffset, int endOffset) override;
    int cursorPosition() const override;
    void setCursorPosition(int position) override;
    QString text(int startOffset, int endOffset) const override;
    int characterCount() const override;
    QRect characterRect(int offset) const override;
    int offsetAtPoint(const QPoint& point) const override;
    void scrollToSubstring(int startIndex, int endIndex) override;
    QString attributes(int offset, int* startOffset, int* endOffset) const override;

private:
    CTextView* View() const;
};
