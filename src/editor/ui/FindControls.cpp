#include "editor/ui/FindControls.h"

#include "editor/ui/FindSettings.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

QLineEdit* FindControls::FindWhat(QWidget* dialog) {
    return Named(new QLineEdit(dialog), "findWhat", 8605);
}

QLabel* FindControls::FindWhatLabel(QWidget* dialog, QLineEdit* findWhat) {
    auto* label = new QLabel(QObject::tr("Fi&nd what:"), dialog);
    label->setBuddy(findWhat);
    findWhat->setAccessibleName(QObject::tr("Find what:"));
    return label;
}

QCheckBox* FindControls::WholeWord(QWidget* dialog) {
    return Named(new QCheckBox(QObject::tr("Match &whole word only"), dialog), "wholeWord", 8603);
}

QCheckBox* FindControls::MatchCase(QWidget* dialog) {
    return Named(new QCheckBox(QObject::tr("Match &case"), dialog), "matchCase", 8604);
}

QPushButton* FindControls::FindNext(QWidget* dialog, int id) {
    auto* button = Named(new QPushButton(QObject::tr("&Find Next"), dialog), "findNext", id);
    button->setDefault(true);
    return button;
}

QPushButton* FindControls::Cancel(QWidget* dialog) {
    return Named(new QPushButton(QObject::tr("Cancel"), dialog), "cancel", 2);
}

void FindControls::Show(QLineEdit* findWhat, QCheckBox* wholeWord, QCheckBox* matchCase,
                        const std::string& text, bool whole, bool match) {
    findWhat->setText(FindSettings::ToQt(text));
    findWhat->selectAll();
    wholeWord->setChecked(whole);
    matchCase->setChecked(match);
}
