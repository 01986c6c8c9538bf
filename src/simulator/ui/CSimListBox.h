#pragma once

#include "machine/ui/AccessibleItems.h"
#include "simulator/CPaneRows.h"
#include "simulator/CSimContext.h"

#include <QWidget>
#include <functional>

class QMenu;
class QScrollBar;

// One pane of the simulator window: draws the rows of its CPaneRows in a fixed-pitch face, with
// the change marks in red and, in the Instructions pane, the program-counter, shown-address and
// breakpoint markers; routes keys, the scroll bar, the mouse and the context menu to the rows and
// to the edits. Input other than selecting by click is ignored while a run is in progress; edits
// also wait until the run's worker has let go of the machine (`editsAllowed`).
class CSimListBox : public QWidget, public AccessibleItems {
    Q_OBJECT
public:
    static constexpr int InstructionsMargin = 40;

    CSimListBox(PaneKind kind, const CSimContext& context, QWidget* parent);

    CPaneRows& Rows() { return rows; }
    const CPaneRows& Rows() const { return rows; }
    // The text of row `row` as drawn.
    QString RowText(int row) const;
    int RowHeight() const { return rowHeight; }

    // Answers whether the pane may write the machine now.
    void SetEditsAllowed(std::function<bool()> allowed) { editsAllowed = std::move(allowed); }
    // After an edit: refreshes every pane of the window (by default only this one).
    void SetRefreshAll(std::function<void()> refresh) { refreshAll = std::move(refresh); }

    // Shows a new copy of the machine: refills with change marks (and first follows the program
    // counter in the Instructions pane when `followPc`).
    void ShowSnapshot(std::shared_ptr<const SimSnapshot> copy, bool followPc);
    // Instructions pane: shows `address` with the shown-address marker.
    void ShowAddress(std::uint16_t address);
    // Instructions pane: the breakpoint markers from `list`, the rest as shown.
    void ShowBreakpointList(std::vector<BreakpointEntry> list);

    // Modify (Enter, double-click, menu) on the selected row.
    void Modify();
    // Numeric-keypad + and -.
    void StepSelected(int delta);
    void JumpToAddress();
    void ToggleSelectedBreakpoint();
    void EnableDisableSelectedBreakpoint();
    void ShowSource();

    int AccessibleItemCount() const override { return rows.RowCount(); }
    QString AccessibleItemText(int item) const override { return RowText(item); }
    QRect AccessibleItemRect(int item) const override;
    int SelectedAccessibleItem() const override { return rows.SelectedRow(); }

signals:
    // A Registers edit of SP or IP: the Stack or Instructions pane must follow.
    void stackChanged();
    void pcChanged();
    // A status-bar prompt of the context menu.
    void statusPrompt(const QString& text);
    // The Instructions pane's context menu asked for Reset.
    void resetRequested();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    bool RunInProgress() const;
    bool CanEdit() const;
    void Changed(bool changed);
    void OnScrollAction(int action);
    void SyncScrollBar();
    void RefillAfterEdit();
    void ShowBreakpoints();
    void DrawRow(QPainter& painter, int row, const QRect& rect);
    void ShowContextMenu(const QPoint& at);
    std::shared_ptr<const SimSnapshot> TakeSnapshot() const;

    CSimContext context;
    CPaneRows rows;
    QScrollBar* scrollBar;
    int rowHeight = 16;
    std::function<bool()> editsAllowed;
    std::function<void()> refreshAll;
    bool syncingScrollBar = false;
};
