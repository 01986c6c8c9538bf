#pragma once

#include "simulator/SourcePreferences.h"

#include <QDialog>

class QCheckBox;

// Dialog 169 "Edit Preferences": syntax highlighting and the mini help in the status bar; also
// whether the simulator keeps a history for Step Back (a setting kept in the settings store,
// written when the dialog is accepted).
class CPreferencesDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int ResourceId = 169;

    explicit CPreferencesDlg(const SourcePreferences& shown, QWidget* parent = nullptr);

    // The check boxes' states.
    SourcePreferences Chosen() const;
    QCheckBox* SyntaxBox() const { return syntaxBox; }
    QCheckBox* MiniHelpBox() const { return miniHelpBox; }
    QCheckBox* HistoryBox() const { return historyBox; }

    void accept() override;

private:
    QCheckBox* syntaxBox = nullptr;
    QCheckBox* miniHelpBox = nullptr;
    QCheckBox* historyBox = nullptr;
};
