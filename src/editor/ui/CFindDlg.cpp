#include "editor/ui/CFindDlg.h"

#include "editor/FindSession.h"
#include "editor/ui/FindControls.h"
#include "editor/ui/FindSettings.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

CFindDlg::CFindDlg(FindSession& findSession, QWidget* parent)
    : QDialog(parent), session(findSession), findWhat(FindControls::FindWhat(this)),
      wholeWord(FindControls::WholeWord(this)), matchCase(FindControls::MatchCase(this)),
      up(FindControls::Named(new QRadioButton(tr("&Up"), this), "up", 8611)),
      down(FindControls::Named(new QRadioButton(tr("&Down"), this), "down", 8612)),
      findNext(FindControls::FindNext(this, 1)) {
    setWindowTitle(tr("Find"));
    setProperty("resourceId", resourceId);

    QLabel* label = FindControls::FindWhatLabel(this, findWhat);
    QPushButton* cancel = FindControls::Cancel(this);

    auto* direction = new QGroupBox(tr("Direction"), this);
    auto* directionLayout = new QHBoxLayout(direction);
    directionLayout->addWidget(up);
    directionLayout->addWidget(down);

    auto* layout = new QGridLayout(this);
    layout->addWidget(label, 0, 0);
    layout->addWidget(findWhat, 0, 1, 1, 2);
    layout->addWidget(findNext, 0, 3);
    layout->addWidget(wholeWord, 1, 0, 1, 2);
    layout->addWidget(direction, 1, 2, 2, 1);
    layout->addWidget(cancel, 1, 3);
    layout->addWidget(matchCase, 2, 0, 1, 2);
    layout->setColumnStretch(1, 1);

    FindControls::Show(findWhat, wholeWord, matchCase, session.findWhat, session.wholeWord,
                       session.matchCase);
    (session.upwards ? up : down)->setChecked(true);
    UpdateButtons();

    connect(findWhat, &QLineEdit::textChanged, this, [this](const QString& text) {
        session.findWhat = FindSettings::FromQt(text);
        UpdateButtons();
    });
    connect(wholeWord, &QCheckBox::toggled, this, [this](bool on) { session.wholeWord = on; });
    connect(matchCase, &QCheckBox::toggled, this, [this](bool on) { session.matchCase = on; });
    connect(up, &QRadioButton::toggled, this, [this](bool on) { session.upwards = on; });
    connect(findNext, &QPushButton::clicked, this, &CFindDlg::FindNext);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void CFindDlg::UpdateButtons() {
    findNext->setEnabled(session.CanFindNext());
}

void CFindDlg::FindNext() {
    if (session.FindNext()) {
        accept();
    }
}
