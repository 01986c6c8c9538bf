#include "simulator/ui/CEnterInstructionDlg.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

CEnterInstructionDlg::CEnterInstructionDlg(const QString& instructionText,
                                           const QString& locationText, QWidget* parent)
    : QDialog(parent), instruction(new QLineEdit(instructionText, this)),
      location(new QLineEdit(locationText, this)) {
    setWindowTitle("Zorvan");
    instruction->setObjectName("instruction");
    location->setObjectName("location");
    instruction->setAccessibleName("Enter Instruction");
    location->setAccessibleName("At Location");
    auto* form = new QFormLayout;
    form->addRow("Enter Instruction", instruction);
    form->addRow("At Location", location);
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton("&Accept", QDialogButtonBox::AcceptRole)->setDefault(true);
    buttons->addButton("Cancel", QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    instruction->selectAll();
    instruction->setFocus();
}

QString CEnterInstructionDlg::Instruction() const {
    return instruction->text();
}

QString CEnterInstructionDlg::Location() const {
    return location->text();
}
