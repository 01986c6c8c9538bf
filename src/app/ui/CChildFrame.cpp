#include "app/ui/CChildFrame.h"

#include "app/ui/CDocumentHolder.h"

#include <QCloseEvent>
#include <QSplitter>

namespace {

void Collapse(QSplitter* splitter, int open) {
    const int total =
        splitter->orientation() == Qt::Horizontal ? splitter->width() : splitter->height();
    const int share = std::max(total, 2 * CChildFrame::MinimumPaneSize) / open;
    splitter->setSizes(open == 2 ? QList<int>{share, share} : QList<int>{share, 0});
}

} // namespace

CChildFrame::CChildFrame(CDocumentHolder& documentHolder, const ViewFactory& factory,
                         QWidget* parent)
    : QMdiSubWindow(parent), holder(documentHolder) {
    setAttribute(Qt::WA_DeleteOnClose);
    rowSplitter = new QSplitter(Qt::Vertical);
    for (int row = 0; row < 2; ++row) {
        columnSplitters[row] = new QSplitter(Qt::Horizontal, rowSplitter);
        rowSplitter->addWidget(columnSplitters[row]);
    }
    setWidget(rowSplitter);
    for (int row = 0; row < 2; ++row) {
        for (int column = 0; column < 2; ++column) {
            QWidget* view = factory(holder, columnSplitters[row]);
            view->setMinimumSize(MinimumPaneSize, MinimumPaneSize);
            columnSplitters[row]->addWidget(view);
            views.append(view);
        }
        columnSplitters[row]->setChildrenCollapsible(true);
        columnSplitters[row]->setHandleWidth(6);
    }
    rowSplitter->setChildrenCollapsible(true);
    rowSplitter->setHandleWidth(6);
    // The rows share their column split, as one grid.
    connect(columnSplitters[0], &QSplitter::splitterMoved, this,
            [this] { columnSplitters[1]->setSizes(columnSplitters[0]->sizes()); });
    connect(columnSplitters[1], &QSplitter::splitterMoved, this,
            [this] { columnSplitters[0]->setSizes(columnSplitters[1]->sizes()); });
    resize(480, 320);
    Split(1, 1);
    activeView = views.front();
    setFocusProxy(activeView);
    holder.AddFrame(this);
}

CChildFrame::~CChildFrame() {
    holder.RemoveFrame(this);
}

CChildFrame* CChildFrame::Of(const QWidget* widget) {
    for (auto* w = const_cast<QWidget*>(widget); w != nullptr; w = w->parentWidget()) {
        if (auto* frame = qobject_cast<CChildFrame*>(w)) {
            return frame;
        }
    }
    return nullptr;
}

QList<QWidget*> CChildFrame::OpenViews() const {
    QList<QWidget*> open;
    const QList<int> rows = rowSplitter->sizes();
    for (int row = 0; row < 2; ++row) {
        const QList<int> columns = columnSplitters[row]->sizes();
        for (int column = 0; column < 2; ++column) {
            if (rows[row] > 0 && columns[column] > 0) {
                open.append(views[row * 2 + column]);
            }
        }
    }
    return open;
}

void CChildFrame::SetActiveView(QWidget* view) {
    if (views.contains(view)) {
        activeView = view;
        setFocusProxy(view);
    }
}

void CChildFrame::Split(int rows, int columns) {
    Collapse(rowSplitter, std::clamp(rows, 1, 2));
    Collapse(columnSplitters[0], std::clamp(columns, 1, 2));
    Collapse(columnSplitters[1], std::clamp(columns, 1, 2));
}

void CChildFrame::NextPane() {
    const QList<QWidget*> open = OpenViews();
    if (open.isEmpty()) {
        return;
    }
    const auto at = open.indexOf(activeView);
    QWidget* next = open[(at + 1) % open.size()];
    SetActiveView(next);
    next->setFocus(Qt::OtherFocusReason);
}

void CChildFrame::closeEvent(QCloseEvent* event) {
    if (closeRequest && !closeRequest(this)) {
        event->ignore();
        return;
    }
    QMdiSubWindow::closeEvent(event);
}
