#include "editor/ui/CFindDlg.h"

#include "editor/FindSession.h"
#include "editor/ui/FindSettings.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {

template <typename Widget> Widget* Control(Widget* widget, const char* name, int id) {
    widget->setObjectName(QLatin1String(name));
    widget->setProperty("controlId", id);
    return widget;
}

} // namespace

CFindDlg::CFindDlg(FindSession& findSession, QWidget* parent)
    : QDialog(parent), session(findSession),
      findWhat(Control(new QLineEdit(this), "findWhat", 8605)),
      wholeWord(Control(new QCheckBox(tr("Match &whole word only"), this), "wholeWord", 8603)),
      matchCase(Control(new QCheckBox(tr("Match &case"), this), "matchCase", 8604)),
      up(Control(new QRadioButton(tr("&Up"), this), "up", 8611)),
      down(Control(new QRadioButton(tr("&Down"), this), "down", 8612)),
      findNext(Control(new QPushButton(tr("&Find Next"), this), "findNext", 1)) {
    setWindowTitle(tr("Find"));
    setProperty("resourceId", resourceId);

    auto* label = new QLabel(tr("Fi&nd what:"), this);
    label->setBuddy(findWhat);
    findWhat->setAccessibleName(tr("Find what:"));
    auto* cancel = Control(new QPushButton(tr("Cancel"), this), "cancel", 2);
    findNext->setDefault(true);

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

    findWhat->setText(FindSettings::ToQt(session.findWhat));
    findWhat->selectAll();
    wholeWord->setChecked(session.wholeWord);
    matchCase->setChecked(session.matchCase);
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
