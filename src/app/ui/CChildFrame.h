#pragma once

#include <QList>
#include <QMdiSubWindow>
#include <functional>

class CDocumentHolder;
class QSplitter;

// Makes the view of one pane of a document window: a widget that is also a CommandTarget
// (editor/ui/CommandTarget.h), so that the main window can hand it its commands.
using ViewFactory = std::function<QWidget*(CDocumentHolder& holder, QWidget* parent)>;

// A document window: up to 2 by 2 panes, each a view of the same document made by the view
// factory. The extra row and column start collapsed at the right and bottom edges; dragging the
// splitter handle from there opens them, and dragging a pane below 30 by 30 pixels closes it
// again. The two rows keep their column split in step.
class CChildFrame : public QMdiSubWindow {
    Q_OBJECT
public:
    static constexpr int MinimumPaneSize = 30;

    CChildFrame(CDocumentHolder& holder, const ViewFactory& factory, QWidget* parent = nullptr);
    ~CChildFrame() override;

    // The frame a widget lives in, or null.
    static CChildFrame* Of(const QWidget* widget);

    CDocumentHolder& Holder() { return holder; }
    // The four panes in row order (top left, top right, bottom left, bottom right).
    const QList<QWidget*>& Views() const { return views; }
    // The panes that are open (not collapsed).
    QList<QWidget*> OpenViews() const;
    // The pane that last had the focus.
    QWidget* ActiveView() const { return activeView; }
    void SetActiveView(QWidget* view);
    // Opens `rows` by `columns` panes of equal size (1 or 2 each).
    void Split(int rows, int columns);
    // Focus to the next open pane.
    void NextPane();

    // Asked when the frame is about to close; false keeps it open.
    std::function<bool(CChildFrame*)> closeRequest;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    CDocumentHolder& holder;
    QSplitter* rowSplitter;
    QSplitter* columnSplitters[2];
    QList<QWidget*> views;
    QWidget* activeView = nullptr;
};
