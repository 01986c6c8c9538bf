#pragma once

#include <QDialog>

class ReplaceSession;
class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

// The Replace dialog: the two texts, whole word, match case and where to replace (the selection
// the dialog was opened with, or the whole file). It stays open until Cancel.
class CReplaceDlg : public QDialog {
    Q_OBJECT

public:
    static constexpr int resourceId = 8602;

    // Shows the session's values and works on them; the caller finishes the session afterwards.
    explicit CReplaceDlg(ReplaceSession& replaceSession, QWidget* parent = nullptr);

private:
    void UpdateButtons();

    ReplaceSession& session;
    QLineEdit* findWhat;
    QLineEdit* replaceWith;
    QCheckBox* wholeWord;
    QCheckBox* matchCase;
    QRadioButton* selection;
    QRadioButton* wholeFile;
    QPushButton* findNext;
    QPushButton* replace;
    QPushButton* replaceAll;
};
