#pragma once

#include "editor/ui/CTextView.h"

#include <QString>
#include <functional>
#include <string>

class QMimeData;

// A text view that edits: typing with undo groups, Enter with automatic indentation, overwrite
// mode, block indent and outdent, cut and paste, undo and redo, and moving or copying text by
// dragging it within and between views.
class CTextEditView : public CTextView {
    Q_OBJECT

public:
    explicit CTextEditView(QWidget* parent = nullptr);
    ~CTextEditView() override;

    // A buffer is attached and it is not read-only.
    bool IsEditable() const override;
    // Replaces the selection by `text` (nothing without a selection), which ends selected with
    // the caret at its end.
    bool ReplaceSelection(const std::string& text);

    bool IsOverwrite() const { return overwrite; }
    void SetOverwrite(bool on);
    bool autoIndent = true;
    bool noBackspaceAtLineStart = false;

    bool CanUndo() const;
    bool CanRedo() const;
    // The Edit menu's texts, naming the action undo or redo would take back.
    QString UndoMenuText() const;
    QString RedoMenuText() const;
    // The overwrite pane's text: "OVR" or "INS".
    QString OverwriteText() const;

    QString CommandText(int id) const override;
    void UpdateStatusPanes() override;

    // A typed character, as if from the keyboard (13 is Enter).
    void TypeCharacter(int code);

    void OnEditDone(int action, const std::string& text) override;

public slots:
    // The replace dialog, carried out by the find and replace classes.
    virtual void OnEditReplace();

protected:
    void ResetState() override;
    bool ExecuteCommand(int commandId) override;
    void UpdateActions() override;
    void UpdateActionTexts() override;
    void ShowContextMenu(const QPoint& globalPos) override;
    // After the editor has handled a typed character: the source view keeps its marks on their
    // statements after Enter.
    virtual void AfterCharacterTyped(int code, CTextPosition caretBefore);

    // Dragging text out of this view: runs the desktop's drag loop and gives its result; tests
    // replace it.
    void StartTextDrag() override;
    virtual Qt::DropAction RunDrag(QMimeData* mime);
    // Text dropped here at `point`; copies with `copy`, else moves. False when nothing was
    // inserted (a drop inside the text being dragged, or text the buffer cannot take).
    bool DropText(const QMimeData* mime, const QPoint& point, bool copy);

    void keyPressEvent(QKeyEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    bool DeleteSelection(int action);
    bool InsertAtCaret(std::string_view text, int action);
    void DeleteOrBackspace(bool backspace);
    void Indent();
    void Outdent();
    void Cut();
    void Paste();
    void UndoRedo(bool undo);
    // With a block selection, changes its lines from first to last in one undo group, selects
    // them whole and answers true; otherwise false.
    bool ChangeSelectedLines(const std::function<void(int first, int last)>& change);
    void ScrollNearEdges(const QPoint& point);
    // False when the drag is settled without a drop caret: files, or text the view cannot take.
    bool DragCarriesText(QDragMoveEvent* event);
    void Beep();

    bool overwrite = false;
    bool clipboardHasText = false;
};
