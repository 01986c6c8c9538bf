#include "app/ui/CPreferencesDlg.h"

#include "simulator/ui/SimulatorSettings.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QVBoxLayout>

CPreferencesDlg::CPreferencesDlg(const SourcePreferences& shown, QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(tr("Edit Preferences"));
    setObjectName("CPreferencesDlg");
    syntaxBox = new QCheckBox(tr("&Syntax Highlighting"), this);
    miniHelpBox = new QCheckBox(tr("S&how mini help in status bar"), this);
    syntaxBox->setChecked(shown.syntaxHighlighting);
    miniHelpBox->setChecked(shown.miniHelp);
    historyBox = new QCheckBox(tr("Keep a Step &Back history in the simulator"), this);
    historyBox->setChecked(SimulatorSettings::StepBackHistory());

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(tr("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(tr("Cancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(syntaxBox);
    layout->addWidget(miniHelpBox);
    layout->addWidget(historyBox);
    layout->addWidget(buttons);
}

void CPreferencesDlg::accept() {
    SimulatorSettings::SetStepBackHistory(historyBox->isChecked());
    QDialog::accept();
}

SourcePreferences CPreferencesDlg::Chosen() const {
    SourcePreferences chosen;
    chosen.syntaxHighlighting = syntaxBox->isChecked();
    chosen.miniHelp = miniHelpBox->isChecked();
    return chosen;
}
