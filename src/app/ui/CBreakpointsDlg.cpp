#include "app/ui/CBreakpointsDlg.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

CBreakpointsDlg::CBreakpointsDlg(BreakpointsDialogModel listed, SourceViewServices& view,
                                 QWidget* parent)
    : QDialog(parent), model(std::move(listed)), sourceView(view) {
    setWindowTitle(tr("Breakpoints"));
    setObjectName("CBreakpointsDlg");

    list = new QListWidget(this);
    list->setObjectName("breakpointList");
    list->setAccessibleName(tr("Breakpoints"));
    list->setFont(QFont("Monospace"));
    for (const auto& entry : model.Items()) {
        auto* item = new QListWidgetItem(QString::fromStdString(entry.text), list);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(entry.checked ? Qt::Checked : Qt::Unchecked);
    }
    if (list->count() > 0) {
        list->setCurrentRow(0);
    }
    connect(list, &QListWidget::itemChanged, this, &CBreakpointsDlg::OnItemChanged);

    removeButton = new QPushButton(tr("&Remove"), this);
    removeAllButton = new QPushButton(tr("Remove &All"), this);
    connect(removeButton, &QPushButton::clicked, this, &CBreakpointsDlg::Remove);
    connect(removeAllButton, &QPushButton::clicked, this, &CBreakpointsDlg::RemoveAll);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(tr("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(tr("Cancel"));
    buttons->addButton(removeButton, QDialogButtonBox::ActionRole);
    buttons->addButton(removeAllButton, QDialogButtonBox::ActionRole);
    removeButton->setAutoDefault(false);
    removeAllButton->setAutoDefault(false);
    connect(buttons, &QDialogButtonBox::accepted, this, &CBreakpointsDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CBreakpointsDlg::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list);
    layout->addWidget(buttons);
    resize(420, 260);
    UpdateButtons();
}

void CBreakpointsDlg::OnItemChanged(QListWidgetItem* item) {
    model.SetChecked(list->row(item), item->checkState() == Qt::Checked);
}

void CBreakpointsDlg::Remove() {
    const int row = list->currentRow();
    const int next = model.Remove(row);
    if (row < 0 || row >= list->count()) {
        return;
    }
    delete list->takeItem(row);
    list->setCurrentRow(next);
    UpdateButtons();
}

void CBreakpointsDlg::RemoveAll() {
    model.RemoveAll();
    list->clear();
    UpdateButtons();
}

void CBreakpointsDlg::accept() {
    model.Apply(sourceView);
    QDialog::accept();
}

void CBreakpointsDlg::UpdateButtons() {
    removeButton->setEnabled(model.CanRemove());
    removeAllButton->setEnabled(model.CanRemove());
}
