#pragma once

#include "simulator/BreakpointsDialogModel.h"

#include <QDialog>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class QListWidget;
class QListWidgetItem;
class QPushButton;
class SourceViewServices;

// Dialog 154 "Breakpoints": the document's breakpoints as a check-box list. Remove and Remove All
// take effect only when OK is pressed, through the source view, so marks and list stay together;
// Cancel changes nothing.
class CBreakpointsDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int ResourceId = 154;

    CBreakpointsDlg(const std::vector<BreakpointEntry>& entries,
                    const std::function<std::string(std::uint16_t)>& instructionText,
                    SourceViewServices& view, QWidget* parent = nullptr)
        : CBreakpointsDlg(BreakpointsDialogModel(entries, instructionText), view, parent) {}
    // The items of `listed` (entries, and marked lines not compiled yet).
    CBreakpointsDlg(BreakpointsDialogModel listed, SourceViewServices& view,
                    QWidget* parent = nullptr);

    QListWidget* List() const { return list; }
    QPushButton* RemoveButton() const { return removeButton; }
    QPushButton* RemoveAllButton() const { return removeAllButton; }

public slots:
    void Remove();
    void RemoveAll();
    void accept() override;

private:
    void OnItemChanged(QListWidgetItem* item);
    void UpdateButtons();

    BreakpointsDialogModel model;
    SourceViewServices& sourceView;
    QListWidget* list = nullptr;
    QPushButton* removeButton = nullptr;
    QPushButton* removeAllButton = nullptr;
};
