#include "simulator/ui/CValueDlg.h"

#include "dialogs/MessageBoxes.h"
#include "simulator/PaneEdits.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

CValueDlg::CValueDlg(const QString& promptText, const QString& text, QWidget* parent)
    : QDialog(parent), prompt(new QLabel(promptText, this)), edit(new QLineEdit(text, this)) {
    setWindowTitle("Zorvan");
    prompt->setObjectName("prompt");
    prompt->setWordWrap(true);
    edit->setObjectName("value");
    edit->setMaxLength(1023);
    edit->setAccessibleName(promptText);
    auto* buttons = new QDialogButtonBox(this);
    auto* done = buttons->addButton("&Done", QDialogButtonBox::AcceptRole);
    buttons->addButton("Cancel", QDialogButtonBox::RejectRole);
    done->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(prompt);
    layout->addWidget(edit);
    layout->addWidget(buttons);
    edit->selectAll();
    edit->setFocus();
}

QString CValueDlg::Text() const {
    return edit->text();
}

void CValueDlg::SetText(const QString& text) {
    edit->setText(text);
    edit->selectAll();
}

QString CValueDlg::Prompt() const {
    return prompt->text();
}

std::optional<int> CValueDlg::Ask(QWidget* parent, const std::string& prompt,
                                  const std::string& initialText, int min, int max) {
    CValueDlg dialog(QString::fromStdString(prompt), QString::fromStdString(initialText), parent);
    while (dialog.exec() == QDialog::Accepted) {
        const auto checked = PaneEdits::CheckValue(dialog.Text().toStdString(), min, max);
        if (checked.value) {
            return checked.value;
        }
        MessageBoxes::Tell("Error", checked.error, MessageBoxes::Icon::Error);
    }
    return std::nullopt;
}
