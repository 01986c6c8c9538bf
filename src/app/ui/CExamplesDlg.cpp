#include "app/ui/CExamplesDlg.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

CExamplesDlg::CExamplesDlg(std::vector<ExampleCatalog::Example> listed, QWidget* parent)
    : QDialog(parent), examples(std::move(listed)) {
    setWindowTitle(tr("Examples"));
    setObjectName("CExamplesDlg");

    auto* heading = new QLabel(tr("&Example programs:"), this);
    list = new QListWidget(this);
    list->setAccessibleName(tr("Example programs"));
    heading->setBuddy(list);
    for (const ExampleCatalog::Example& example : examples) {
        list->addItem(QString::fromStdString(example.name));
    }
    description = new QLabel(this);
    description->setWordWrap(true);
    description->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    description->setTextInteractionFlags(Qt::TextSelectableByMouse);
    description->setAccessibleName(tr("What the example shows"));
    description->setMinimumHeight(description->fontMetrics().lineSpacing() * 5);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Open | QDialogButtonBox::Cancel, this);
    openButton = buttons->button(QDialogButtonBox::Open);
    openButton->setText(tr("&Open"));
    openButton->setDefault(true);
    buttons->button(QDialogButtonBox::Cancel)->setText(tr("Cancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(list, &QListWidget::currentRowChanged, this, &CExamplesDlg::ShowSelected);
    connect(list, &QListWidget::itemActivated, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addWidget(list, 1);
    layout->addWidget(description);
    layout->addWidget(buttons);
    resize(520, 420);

    if (!examples.empty()) {
        list->setCurrentRow(0);
    }
    ShowSelected();
    list->setFocus();
}

QString CExamplesDlg::ChosenPath() const {
    const int row = list->currentRow();
    if (row < 0 || row >= static_cast<int>(examples.size())) {
        return {};
    }
    return QString::fromStdString(examples[static_cast<std::size_t>(row)].path);
}

void CExamplesDlg::ShowSelected() {
    const int row = list->currentRow();
    const bool chosen = row >= 0 && row < static_cast<int>(examples.size());
    description->setText(
        chosen ? QString::fromStdString(examples[static_cast<std::size_t>(row)].description)
               : QString());
    openButton->setEnabled(chosen);
}
