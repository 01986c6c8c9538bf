#pragma once

#include <QDialog>
#include <optional>
#include <string>

class QLabel;
class QLineEdit;

// Dialog 131: a prompt, one edit field, "&Done" and "Cancel", captioned "Zorvan". The panes ask
// values through Ask (modal); the number prompt of the keyboard system calls shows the same
// dialog without a modal loop (see QtNumberDialog).
class CValueDlg : public QDialog {
    Q_OBJECT
public:
    CValueDlg(const QString& prompt, const QString& text, QWidget* parent);

    QString Text() const;
    void SetText(const QString& text);
    QString Prompt() const;

    // Asks until the text is a number within min..max ("Error" boxes for "Invalid Number " and
    // the range) or the user cancels (null).
    static std::optional<int> Ask(QWidget* parent, const std::string& prompt,
                                  const std::string& initialText, int min, int max);

private:
    QLabel* prompt;
    QLineEdit* edit;
};
