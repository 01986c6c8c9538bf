#pragma once

#include <QDialog>

class FindSession;
class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

// The Find dialog: the text, whole word, match case and the direction. Find Next shows the match
// in the view and closes the dialog; when nothing is found the dialog stays open.
class CFindDlg : public QDialog {
    Q_OBJECT

public:
    static constexpr int resourceId = 8601;

    // Shows the session's values and works on them; the caller finishes the session afterwards.
    explicit CFindDlg(FindSession& findSession, QWidget* parent = nullptr);

private:
    void UpdateButtons();
    void FindNext();

    FindSession& session;
    QLineEdit* findWhat;
    QCheckBox* wholeWord;
    QCheckBox* matchCase;
    QRadioButton* up;
    QRadioButton* down;
    QPushButton* findNext;
};
