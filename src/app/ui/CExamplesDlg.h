#pragma once

#include "app/ExampleCatalog.h"

#include <QDialog>
#include <QString>
#include <vector>

class QLabel;
class QListWidget;
class QPushButton;

// Help > Examples: the example programs by file name, with what each one shows, and Open.
// Enter or a double click opens the one selected; the first is selected at the start.
class CExamplesDlg : public QDialog {
    Q_OBJECT
public:
    explicit CExamplesDlg(std::vector<ExampleCatalog::Example> listed, QWidget* parent = nullptr);

    // The path of the example chosen, empty while none is.
    QString ChosenPath() const;
    QListWidget* List() const { return list; }
    QLabel* Description() const { return description; }

private:
    void ShowSelected();

    std::vector<ExampleCatalog::Example> examples;
    QListWidget* list = nullptr;
    QLabel* description = nullptr;
    QPushButton* openButton = nullptr;
};
