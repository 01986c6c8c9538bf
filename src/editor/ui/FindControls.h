#pragma once

#include <QString>
#include <string>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

// The controls the Find and Replace dialogs share, each named and numbered as its dialog control
// (objectName, the "controlId" property). The dialogs make them in their own order, which is the
// order the Tab key follows.
class FindControls {
public:
    template <typename Widget> static Widget* Named(Widget* widget, const char* name, int id) {
        widget->setObjectName(QLatin1String(name));
        widget->setProperty("controlId", id);
        return widget;
    }

    static QLineEdit* FindWhat(QWidget* dialog);
    // "Fi&nd what:", the label whose key moves to `findWhat`.
    static QLabel* FindWhatLabel(QWidget* dialog, QLineEdit* findWhat);
    static QCheckBox* WholeWord(QWidget* dialog);
    static QCheckBox* MatchCase(QWidget* dialog);
    // The default button.
    static QPushButton* FindNext(QWidget* dialog, int id);
    static QPushButton* Cancel(QWidget* dialog);

    // The values the dialog opens with; the text is selected, to be typed over.
    static void Show(QLineEdit* findWhat, QCheckBox* wholeWord, QCheckBox* matchCase,
                     const std::string& text, bool whole, bool match);
};
