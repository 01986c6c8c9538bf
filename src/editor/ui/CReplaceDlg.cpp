#include "editor/ui/CReplaceDlg.h"

#include "editor/ReplaceSession.h"
#include "editor/ui/FindSettings.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

template <typename Widget> Widget* Control(Widget* widget, const char* name, int id) {
    widget->setObjectName(QLatin1String(name));
    widget->setProperty("controlId", id);
    return widget;
}

} // namespace

CReplaceDlg::CReplaceDlg(ReplaceSession& replaceSession, QWidget* parent)
    : QDialog(parent), session(replaceSession),
      findWhat(Control(new QLineEdit(this), "findWhat", 8605)),
      replaceWith(Control(new QLineEdit(this), "replaceWith", 8609)),
      wholeWord(Control(new QCheckBox(tr("Match &whole word only"), this), "wholeWord", 8603)),
      matchCase(Control(new QCheckBox(tr("Match &case"), this), "matchCase", 8604)),
      selection(Control(new QRadioButton(tr("&Selection"), this), "selection", 8613)),
      wholeFile(Control(new QRadioButton(tr("Wh&ole file"), this), "wholeFile", 8614)),
      findNext(Control(new QPushButton(tr("&Find Next"), this), "findNext", 8610)),
      replace(Control(new QPushButton(tr("&Replace"), this), "replace", 8607)),
      replaceAll(Control(new QPushButton(tr("Replace &All"), this), "replaceAll", 8608)) {
    setWindowTitle(tr("Replace"));
    setProperty("resourceId", resourceId);

    auto* findLabel = new QLabel(tr("Fi&nd what:"), this);
    findLabel->setBuddy(findWhat);
    findWhat->setAccessibleName(tr("Find what:"));
    auto* replaceLabel = new QLabel(tr("Re&place with:"), this);
    replaceLabel->setBuddy(replaceWith);
    replaceWith->setAccessibleName(tr("Replace with:"));
    auto* cancel = Control(new QPushButton(tr("Cancel"), this), "cancel", 2);
    findNext->setDefault(true);

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
    findWhat->setText(FindSettings::ToQt(options.findWhat));
    findWhat->selectAll();
    replaceWith->setText(FindSettings::ToQt(options.replaceWith));
    wholeWord->setChecked(options.wholeWord);
    matchCase->setChecked(options.matchCase);
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
