#pragma once

#include <QDialog>

class QLineEdit;

// Dialog 132: the instruction to assemble and the location to put it at.
class CEnterInstructionDlg : public QDialog {
    Q_OBJECT
public:
    CEnterInstructionDlg(const QString& instruction, const QString& location, QWidget* parent);

    QString Instruction() const;
    QString Location() const;

private:
    QLineEdit* instruction;
    QLineEdit* location;
};
