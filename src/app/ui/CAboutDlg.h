#pragma once

#include <QDialog>

// The About box: the program's name and version. A double click shows the splash picture until
// the next key or click.
class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    explicit CAboutDlg(QWidget* parent = nullptr);

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
};
