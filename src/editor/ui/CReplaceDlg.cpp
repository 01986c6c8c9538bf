#include "editor/ui/CReplaceDlg.h"

#include "editor/ReplaceSession.h"
#include "editor/ui/FindControls.h"
#include "editor/ui/FindSettings.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

CReplaceDlg::CReplaceDlg(ReplaceSession& replaceSession, QWidget* parent)
    : QDialog(parent), session(replaceSession), findWhat(FindControls::FindWhat(this)),
      replaceWith(FindControls::Named(new QLineEdit(this), "replaceWith", 8609)),
      wholeWord(FindControls::WholeWord(this)), matchCase(FindControls::MatchCase(this)),
      selection(FindControls::Named(new QRadioButton(tr("&Selection"), this), "selection", 8613)),
      wholeFile(FindControls::Named(new QRadioButton(tr("Wh&ole file"), this), "wholeFile", 8614)),
      findNext(FindControls::FindNext(this, 8610)),
      replace(FindControls::Named(new QPushButton(tr("&Replace"), this), "replace", 8607)),
      replaceAll(
          FindControls::Named(new QPushButton(tr("Replace &All"), this), "replaceAll", 8608)) {
    setWindowTitle(tr("Replace"));
    setProperty("resourceId", resourceId);

    QLabel* findLabel = FindControls::FindWhatLabel(this, findWhat);
    auto* replaceLabel = new QLabel(tr("Re&place with:"), this);
    replaceLabel->setBuddy(replaceWith);
    replaceWith->setAccessibleName(tr("Replace with:"));
    QPushButton* cancel = FindControls::Cancel(this);

    auto* scope = new QGroupBox(tr("Replace in"), this);
    auto* scopeLayout = new QVBoxLayout(scope);
    scopeLayout->addWidget(selection);
    scopeLayout->addWidget(wholeFile);

    auto* layout = new QGridLayout(this);
    layout->addWidget(findLabel, 0, 0);
    layout->addWidget(findWhat, 0, 1, 1, 2);
    layout->addWidget(findNext, 0, 3);
    layout->addWidget(replaceLabel, 1, 0);
    layout->addWidget(replaceWith, 1, 1, 1, 2);
    layout->addWidget(replace, 1, 3);
    layout->addWidget(wholeWord, 2, 0, 1, 2);
    layout->addWidget(scope, 2, 2, 3, 1);
    layout->addWidget(replaceAll, 2, 3);
    layout->addWidget(matchCase, 3, 0, 1, 2);
    layout->addWidget(cancel, 3, 3);
    layout->setColumnStretch(1, 1);
    layout->setRowStretch(4, 1);

    const SearchOptions& options = session.Options();
    FindControls::Show(findWhat, wholeWord, matchCase, options.findWhat, options.wholeWord,
                       options.matchCase);
    replaceWith->setText(FindSettings::ToQt(options.replaceWith));
    selection->setEnabled(session.SelectionAllowed());
    (session.GetScope() == ReplaceSession::Scope::Selection ? selection : wholeFile)
        ->setChecked(true);
    UpdateButtons();

    connect(findWhat, &QLineEdit::textChanged, this, [this](const QString& text) {
        session.SetFindWhat(FindSettings::FromQt(text));
        UpdateButtons();
    });
    connect(replaceWith, &QLineEdit::textChanged, this,
            [this](const QString& text) { session.SetReplaceWith(FindSettings::FromQt(text)); });
    connect(wholeWord, &QCheckBox::toggled, this, [this](bool on) { session.SetWholeWord(on); });
    connect(matchCase, &QCheckBox::toggled, this, [this](bool on) { session.SetMatchCase(on); });
    connect(selection, &QRadioButton::toggled, this, [this](bool on) {
        session.SetScope(on ? ReplaceSession::Scope::Selection : ReplaceSession::Scope::WholeFile);
    });
    connect(findNext, &QPushButton::clicked, this, [this] { session.FindNext(); });
    connect(replace, &QPushButton::clicked, this, [this] { session.Replace(); });
    connect(replaceAll, &QPushButton::clicked, this, [this] { session.ReplaceAll(); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

// An empty text cannot be searched for, so nothing that searches is offered.
void CReplaceDlg::UpdateButtons() {
    const bool searchable = session.CanFindNext();
    findNext->setEnabled(searchable);
    replace->setEnabled(searchable);
    replaceAll->setEnabled(searchable);
}
