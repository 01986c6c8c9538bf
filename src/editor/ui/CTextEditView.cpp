#include "editor/ui/CTextEditView.h"

#include "editor/CaretMoves.h"
#include "editor/ClipboardText.h"
#include "editor/EditorCommands.h"
#include "editor/IndentRules.h"
#include "editor/ui/FindCommands.h"
#include "editor/ui/TextViewSearchTarget.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>

CTextEditView::CTextEditView(QWidget* parent) : CTextView(parent) {
    for (const EditorCommands::Command& command : EditorCommands::EditCommands()) {
        AddCommand(command.id);
    }
    Action(EditorCommands::SwitchOverwrite)->setCheckable(true);
    connect(this, &CTextView::overwriteChanged, this,
            [this] { TellPane(StatusPane::Overwrite, OverwriteText()); });
    viewport()->setAcceptDrops(true);
    // Asking the clipboard may wait for another program; ask only when it changes.
    const auto clipboardChanged = [this] {
        clipboardHasText = !QApplication::clipboard()->text().isEmpty();
    };
    clipboardChanged();
    connect(QApplication::clipboard(), &QClipboard::dataChanged, this, clipboardChanged);
    ResetState();
}

CTextEditView::~CTextEditView() = default;

bool CTextEditView::IsEditable() const {
    return buffer != nullptr && !buffer->IsReadOnly();
}

void CTextEditView::ResetState() {
    autoIndent = true;
    overwrite = false;
    CTextView::ResetState();
    if (QAction* action = Action(EditorCommands::SwitchOverwrite)) {
        action->setChecked(false);
    }
    emit overwriteChanged(false);
}

void CTextEditView::SetOverwrite(bool on) {
    overwrite = on;
    Action(EditorCommands::SwitchOverwrite)->setChecked(on);
    emit overwriteChanged(on);
}

// ---- Recorded changes ----

bool CTextEditView::DeleteSelection(int action) {
    if (!HasSelection()) {
        return false;
    }
    CTextPosition start;
    CTextPosition end;
    GetSelection(start, end);
    if (!buffer->DeleteRange(this, start.line, start.charIndex, end.line, end.charIndex, action)) {
        return false;
    }
    SetSelectionRaw(start, start);
    anchor = caret = start;
    return true;
}

bool CTextEditView::InsertAtCaret(std::string_view text, int action) {
    int endLine = 0;
    int endChar = 0;
    if (!buffer->InsertChars(this, caret.line, caret.charIndex, text, endLine, endChar, action)) {
        Beep();
        return false;
    }
    SetSelectionRaw({endChar, endLine}, {endChar, endLine});
    anchor = {endChar, endLine};
    SetCaretPosition({endChar, endLine});
    return true;
}

bool CTextEditView::ReplaceSelection(const std::string& text) {
    if (!IsEditable() || !HasSelection()) {
        return false;
    }
    // Two undo steps, as a replacement made by hand would be: the deletion, then the insertion.
    buffer->OpenUndoGroup(false);
    DeleteSelection(CTextBuffer::ActionDeleteSelection);
    buffer->CloseUndoGroup(this);
    const CTextPosition start = caret;
    buffer->OpenUndoGroup(false);
    const bool inserted = InsertAtCaret(text, CTextBuffer::ActionReplace);
    buffer->CloseUndoGroup(this);
    if (inserted) {
        SelectRange(start, caret);
    }
    ScrollIntoView(caret);
    return true;
}

// ---- Typing ----

void CTextEditView::keyPressEvent(QKeyEvent* event) {
    const Qt::KeyboardModifiers commandKeys =
        event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && commandKeys == 0) {
        TypeCharacter(13);
        return;
    }
    const QString text = event->text();
    if (commandKeys == 0 && !text.isEmpty() && text.at(0).isPrint()) {
        for (const QChar c : text) {
            TypeCharacter(c.unicode());
        }
        return;
    }
    CTextView::keyPressEvent(event);
}

void CTextEditView::TypeCharacter(int code) {
    if (!IsEditable() || (QApplication::mouseButtons() & (Qt::LeftButton | Qt::RightButton))) {
        return;
    }
    const CTextPosition before = caret;
    if (code == 13) {
        if (overwrite && caret.line < LineCount() - 1) {
            MoveCaret({0, caret.line + 1}, false);
        } else {
            buffer->OpenUndoGroup(false);
            DeleteSelection(CTextBuffer::ActionDeleteSelection);
            InsertAtCaret("\r\n", CTextBuffer::ActionTyping);
            buffer->CloseUndoGroup(this);
            ScrollIntoView(caret);
        }
        UpdateActions();
        AfterCharacterTyped(code, before);
        return;
    }
    if (code < 32) {
        return;
    }
    if (code == 0x7F || code > 0xFF) {
        Beep(); // a saved file could not give it back
        return;
    }
    buffer->OpenUndoGroup(code != ' ');
    if (!HasSelection()) {
        if (overwrite && caret.charIndex < LineLength(caret.line)) {
            buffer->DeleteRange(this, caret.line, caret.charIndex, caret.line, caret.charIndex + 1,
                                CTextBuffer::ActionTyping);
        }
    } else {
        DeleteSelection(CTextBuffer::ActionDeleteSelection);
    }
    const char c = static_cast<char>(static_cast<unsigned char>(code));
    InsertAtCaret(std::string_view(&c, 1), CTextBuffer::ActionTyping);
    buffer->CloseUndoGroup(this);
    ScrollIntoView(caret);
    UpdateActions();
    AfterCharacterTyped(code, before);
}

void CTextEditView::AfterCharacterTyped(int, CTextPosition) {
}

void CTextEditView::OnEditDone(int action, const std::string& text) {
    if (!autoIndent || action != CTextBuffer::ActionTyping || text != "\r\n" || overwrite ||
        caret.line == 0) {
        return;
    }
    const std::string_view above = LineText(caret.line - 1);
    const int count = IndentRules::LeadingWhitespace(above);
    if (count == 0) {
        return;
    }
    const std::string indent(above.substr(0, static_cast<std::size_t>(count)));
    int endLine = 0;
    int endChar = 0;
    if (buffer->InsertChars(nullptr, caret.line, caret.charIndex, indent, endLine, endChar,
                            CTextBuffer::ActionAutoIndent)) {
        SetSelectionRaw({endChar, endLine}, {endChar, endLine});
        anchor = {endChar, endLine};
        SetCaretPosition({endChar, endLine});
    }
}

// ---- Commands ----

bool CTextEditView::ExecuteCommand(int commandId) {
    using namespace EditorCommands;
    switch (commandId) {
    case Delete:
    case Backspace:
        DeleteOrBackspace(commandId == Backspace);
        return true;
    case Tab:
        Indent();
        return true;
    case Untab:
        Outdent();
        return true;
    case SwitchOverwrite:
        SetOverwrite(!overwrite);
        return true;
    case EditorCommands::Cut:
        Cut();
        return true;
    case EditorCommands::Paste:
        Paste();
        return true;
    case Undo:
    case Redo:
        UndoRedo(commandId == Undo);
        return true;
    case Replace:
        OnEditReplace();
        return true;
    default:
        return CTextView::ExecuteCommand(commandId);
    }
}

void CTextEditView::DeleteOrBackspace(bool backspace) {
    if (!IsEditable()) {
        return;
    }
    if (HasSelection()) {
        DeleteSelection(backspace ? CTextBuffer::ActionBackspace : CTextBuffer::ActionDelete);
    } else {
        CTextPosition from = caret;
        CTextPosition to = caret;
        if (backspace) {
            if (caret.charIndex == 0 && noBackspaceAtLineStart) {
                return;
            }
            from = CaretMoves::CharLeft(lines, caret);
        } else {
            to = CaretMoves::CharRight(lines, caret);
        }
        if (from == to) {
            return;
        }
        buffer->DeleteRange(this, from.line, from.charIndex, to.line, to.charIndex,
                            backspace ? CTextBuffer::ActionBackspace : CTextBuffer::ActionDelete);
        SetSelectionRaw(from, from);
        anchor = from;
        SetCaretPosition(from);
    }
    SetCaretPosition(caret);
    ScrollIntoView(caret);
}

bool CTextEditView::ChangeSelectedLines(const std::function<void(int first, int last)>& change) {
    CTextPosition start;
    CTextPosition end;
    GetSelection(start, end);
    if (!IndentRules::IsBlockSelection(start, end)) {
        return false;
    }
    int first = 0;
    int last = 0;
    IndentRules::BlockLines(start, end, first, last);
    buffer->OpenUndoGroup(false);
    change(first, last);
    SelectRange({0, first}, CaretMoves::AfterLine(lines, last));
    buffer->CloseUndoGroup(this);
    return true;
}

void CTextEditView::Indent() {
    if (!IsEditable()) {
        return;
    }
    const bool block = ChangeSelectedLines([this](int first, int last) {
        buffer->InsertAtLineStarts(this, first, last, "\t", CTextBuffer::ActionIndent);
    });
    if (block) {
        return;
    }
    if (overwrite && caret.charIndex < LineLength(caret.line)) {
        MoveCaret(
            {IndentRules::TabStopRight(LineText(caret.line), caret.charIndex, tabSize), caret.line},
            false);
        return;
    }
    buffer->OpenUndoGroup(false);
    DeleteSelection(CTextBuffer::ActionDeleteSelection);
    InsertAtCaret("\t", CTextBuffer::ActionTyping);
    buffer->CloseUndoGroup(this);
    ScrollIntoView(caret);
}

void CTextEditView::Outdent() {
    if (!IsEditable()) {
        return;
    }
    const bool block = ChangeSelectedLines([this](int first, int last) {
        buffer->DeleteAtLineStarts(this, first,
                                   IndentRules::OutdentLengths(lines, first, last, tabSize),
                                   CTextBuffer::ActionIndent);
    });
    if (block) {
        return;
    }
    MoveCaret(
        {IndentRules::TabStopLeft(LineText(caret.line), caret.charIndex, tabSize), caret.line},
        false);
}

void CTextEditView::Cut() {
    if (!IsEditable() || !HasSelection()) {
        return;
    }
    CTextPosition start;
    CTextPosition end;
    GetSelection(start, end);
    std::string text;
    CopyRange(start, end, text, "\n");
    PutOnClipboard(text);
    DeleteSelection(CTextBuffer::ActionCut);
    SetCaretPosition(start);
    ScrollIntoView(start);
}

void CTextEditView::Paste() {
    if (!IsEditable()) {
        return;
    }
    const QString clip = QApplication::clipboard()->text();
    std::string text;
    if (!ClipboardText::ToBuffer(clip.toStdU16String(), text)) {
        Beep();
        return;
    }
    buffer->OpenUndoGroup(false);
    DeleteSelection(CTextBuffer::ActionDeleteSelection);
    if (!text.empty()) {
        InsertAtCaret(text, CTextBuffer::ActionPaste);
    }
    buffer->CloseUndoGroup(this);
    ScrollIntoView(caret);
}

bool CTextEditView::CanUndo() const {
    return buffer != nullptr && buffer->CanUndo();
}

bool CTextEditView::CanRedo() const {
    return buffer != nullptr && buffer->CanRedo();
}

QString CTextEditView::UndoMenuText() const {
    std::string description;
    if (buffer != nullptr) {
        buffer->UndoDescription(description);
    }
    if (description.empty()) {
        return QStringLiteral("&Undo\tCtrl+Z");
    }
    return QStringLiteral("&Undo %1\tCtrl+Z").arg(QString::fromStdString(description));
}

QString CTextEditView::RedoMenuText() const {
    std::string description;
    if (buffer != nullptr) {
        buffer->RedoDescription(description);
    }
    if (description.empty()) {
        // The string resource of this case names the key of Undo.
        return QStringLiteral("&Redo\tCtrl+Z");
    }
    return QStringLiteral("&Redo %1\tCtrl+Y").arg(QString::fromStdString(description));
}

QString CTextEditView::OverwriteText() const {
    return overwrite ? QStringLiteral("OVR") : QStringLiteral("INS");
}

QString CTextEditView::CommandText(int id) const {
    switch (id) {
    case EditorCommands::Undo:
        return UndoMenuText();
    case EditorCommands::Redo:
        return RedoMenuText();
    default:
        return CTextView::CommandText(id);
    }
}

void CTextEditView::UpdateStatusPanes() {
    CTextView::UpdateStatusPanes();
    TellPane(StatusPane::Overwrite, OverwriteText());
}

void CTextEditView::UndoRedo(bool undo) {
    if (buffer == nullptr) {
        return;
    }
    CTextPosition position;
    if (undo ? buffer->Undo(position) : buffer->Redo(position)) {
        SelectRange(position, position);
        ScrollIntoView(position);
    }
}

void CTextEditView::UpdateActions() {
    CTextView::UpdateActions();
    const bool editable = IsEditable();
    Action(EditorCommands::Cut)->setEnabled(editable && HasSelection());
    Action(EditorCommands::Paste)
        ->setEnabled(editable && !QApplication::clipboard()->text().isEmpty());
    Action(EditorCommands::Undo)->setEnabled(CanUndo());
    Action(EditorCommands::Redo)->setEnabled(CanRedo());
    Action(EditorCommands::SwitchOverwrite)->setChecked(overwrite);
}

void CTextEditView::UpdateActionTexts() {
    Action(EditorCommands::Undo)->setText(UndoMenuText());
    Action(EditorCommands::Redo)->setText(RedoMenuText());
}

void CTextEditView::ShowContextMenu(const QPoint& globalPos) {
    UpdateActions();
    UpdateActionTexts();
    QMenu menu(this);
    menu.addAction(Action(EditorCommands::Undo));
    menu.addSeparator();
    menu.addAction(Action(EditorCommands::Cut));
    menu.addAction(Action(EditorCommands::Copy));
    menu.addAction(Action(EditorCommands::Paste));
    QAction* remove =
        menu.addAction(tr("&Delete"), this, [this] { ExecuteCommand(EditorCommands::Delete); });
    remove->setEnabled(IsEditable() && HasSelection());
    menu.addSeparator();
    menu.addAction(Action(EditorCommands::SelectAll));
    menu.exec(globalPos);
}

void CTextEditView::Beep() {
    QApplication::beep();
}

void CTextEditView::OnEditReplace() {
    TextViewSearchTarget target(*this);
    FindCommands::Replace(target, this);
}
