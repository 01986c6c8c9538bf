// The commands of the text view: caret moves, selection, copy, bookmarks, page setup and the
// find keys.
#include "editor/CaretMoves.h"
#include "editor/EditorCommands.h"
#include "editor/ui/CTextView.h"
#include "editor/ui/FindCommands.h"
#include "editor/ui/TextViewSearchTarget.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <algorithm>

QAction* CTextView::AddCommand(int commandId) {
    const EditorCommands::Command* command = EditorCommands::Lookup(commandId);
    auto* action = new QAction(command != nullptr ? tr(command->name) : QString(), this);
    action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    action->setData(commandId);
    // The enabling of the next key depends on what this one did.
    connect(action, &QAction::triggered, this, [this, commandId] {
        ExecuteCommand(commandId);
        UpdateActions();
    });
    addAction(action);
    actions.insert(commandId, action);
    actionList.append(action);
    return action;
}

QAction* CTextView::Action(int commandId) const {
    return actions.value(commandId, nullptr);
}

CommandTarget::State CTextView::CommandState(int id) const {
    QAction* action = Action(id);
    if (action == nullptr) {
        return {};
    }
    EnsureActionsUpdated();
    return {true, action->isEnabled(), action->isChecked()};
}

bool CTextView::OnCommand(int id) {
    if (!CommandState(id).enabled) {
        return false;
    }
    ExecuteCommand(id);
    UpdateActions();
    return true;
}

void CTextView::EnsureActionsUpdated() const {
    if (actionUpdatePending) {
        auto* self = const_cast<CTextView*>(this);
        self->actionUpdatePending = false;
        self->UpdateActions();
        self->UpdateActionTexts();
    }
}

void CTextView::UpdateStatusPanes() {
    TellPane(StatusPane::Position, PositionText());
    TellPane(StatusPane::LineEnd, LineEndStyleText());
    TellPane(StatusPane::ReadOnly, IsReadOnlyBuffer() ? QStringLiteral("READ") : QString());
}

void CTextView::TellPane(int paneId, const QString& text) {
    if (host != nullptr) {
        host->ViewPaneText(*this, paneId, text);
    }
}

void CTextView::BuildActions() {
    for (const EditorCommands::Command& command : EditorCommands::ViewCommands()) {
        AddCommand(command.id);
    }
}

void CTextView::UpdateActions() {
    const bool bookmarks = HasBookmarks();
    for (int id : {EditorCommands::NextBookmark, EditorCommands::PreviousBookmark,
                   EditorCommands::ClearAllBookmarks}) {
        Action(id)->setEnabled(bookmarks);
    }
    Action(EditorCommands::Copy)->setEnabled(HasSelection());
    const bool repeatable = search.hasLastSearch && !search.lastWhat.empty();
    Action(EditorCommands::FindNext)->setEnabled(repeatable);
    Action(EditorCommands::FindPrevious)->setEnabled(repeatable);
    EmitStatus();
}

void CTextView::OnEditFind() {
    TextViewSearchTarget target(*this);
    FindCommands::Find(target, this);
    UpdateActions();
}

void CTextView::OnEditRepeat() {
    TextViewSearchTarget target(*this);
    FindCommands::FindNext(target);
}

void CTextView::OnEditFindPrevious() {
    TextViewSearchTarget target(*this);
    FindCommands::FindPrevious(target);
}

bool CTextView::ExecuteCommand(int commandId) {
    using namespace EditorCommands;
    const Command* command = EditorCommands::Lookup(commandId);
    const bool extend = command != nullptr && command->extendsSelection;
    const TextLines& text = lines;
    CTextPosition start;
    CTextPosition end;
    GetSelection(start, end);
    // Plain moves with a selection start from its edge.
    const bool collapse = !extend && HasSelection();
    switch (commandId) {
    case CharLeft:
    case ExtCharLeft:
        MoveCaret(collapse ? start : CaretMoves::CharLeft(text, caret), extend);
        break;
    case CharRight:
    case ExtCharRight:
        MoveCaret(collapse ? end : CaretMoves::CharRight(text, caret), extend);
        break;
    case WordLeft:
    case ExtWordLeft:
        MoveCaret(collapse ? start : CaretMoves::WordLeft(text, caret), extend);
        break;
    case WordRight:
    case ExtWordRight:
        MoveCaret(collapse ? end : CaretMoves::WordRight(text, caret), extend);
        break;
    case LineUp:
    case ExtLineUp:
    case LineDown:
    case ExtLineDown: {
        const bool up = commandId == LineUp || commandId == ExtLineUp;
        const CTextPosition from = collapse ? (up ? start : end) : caret;
        const int keep = idealColumn;
        MoveCaret(CaretMoves::LineUpDown(text, from, up ? -1 : 1, keep, tabSize), extend);
        idealColumn = keep;
        break;
    }
    case ScrollUp:
        if (topLine > 0) {
            ScrollToLine(topLine - 1);
        }
        break;
    case ScrollDown:
        if (topLine < LineCount() - 1) {
            ScrollToLine(topLine + 1);
        }
        break;
    case PageUp:
    case ExtPageUp:
    case PageDown:
    case ExtPageDown: {
        const int step = std::max(1, LinesOnScreen() - 1);
        const int delta = commandId == PageUp || commandId == ExtPageUp ? -step : step;
        const int last = LineCount() - 1;
        ScrollToLine(std::clamp(topLine + delta, 0, last));
        const int line = std::clamp(caret.line + delta, 0, last);
        const int keep = idealColumn;
        MoveCaret({std::min(caret.charIndex, LineLength(line)), line}, extend);
        idealColumn = keep;
        break;
    }
    case Home:
    case ExtHome:
        MoveCaret(CaretMoves::SmartHome(text, caret), extend);
        break;
    case EditorCommands::LineEnd:
    case ExtLineEnd:
        MoveCaret(CaretMoves::LineEnd(text, caret), extend);
        break;
    case TextBegin:
    case ExtTextBegin:
        MoveCaret({0, 0}, extend);
        break;
    case EditorCommands::TextEnd:
    case ExtTextEnd:
        MoveCaret(CaretMoves::TextEnd(text), extend);
        break;
    case SelectAll:
        SelectRange({0, 0}, CaretMoves::TextEnd(text));
        break;
    case Copy:
        if (HasSelection()) {
            std::string copied;
            CopyRange(start, end, copied, "\n");
            PutOnClipboard(copied);
        }
        break;
    case ClearBookmarks:
        for (int n = 0; n < 10 && buffer != nullptr; ++n) {
            buffer->ChangeLineFlag(-1, CTextBuffer::NumberedBookmark(n), false, false);
        }
        break;
    case EditorCommands::TogglePlainBookmark:
        TogglePlainBookmark();
        break;
    case NextBookmark:
    case PreviousBookmark:
        GoToBookmark(commandId == NextBookmark);
        break;
    case ClearAllBookmarks:
        ClearPlainBookmarks();
        break;
    case PageSetup:
        OnFilePageSetup();
        break;
    case Find:
        OnEditFind();
        break;
    case FindNext:
        OnEditRepeat();
        break;
    case FindPrevious:
        OnEditFindPrevious();
        break;
    default:
        if (commandId >= ToggleBookmark0 && commandId < ToggleBookmark0 + 10) {
            ToggleNumberedBookmark(commandId - ToggleBookmark0);
        } else if (commandId >= GoBookmark0 && commandId < GoBookmark0 + 10) {
            GoToNumberedBookmark(commandId - GoBookmark0);
        } else {
            return false;
        }
    }
    return true;
}

void CTextView::ToggleNumberedBookmark(int number) {
    if (buffer == nullptr || buffer->LineCount() == 0) {
        return;
    }
    const uint32_t flag = CTextBuffer::NumberedBookmark(number);
    const bool set = (buffer->LineFlags(caret.line) & flag) == 0;
    buffer->ChangeLineFlag(caret.line, flag, set, true);
}

void CTextView::GoToNumberedBookmark(int number) {
    if (buffer == nullptr) {
        return;
    }
    const int line = buffer->FindFlaggedLine(CTextBuffer::NumberedBookmark(number));
    if (line >= 0) {
        MoveCaret({0, line}, false);
    }
}

void CTextView::TogglePlainBookmark() {
    if (buffer == nullptr || buffer->LineCount() == 0) {
        return;
    }
    const bool set = (buffer->LineFlags(caret.line) & CTextBuffer::LineFlagBookmark) == 0;
    buffer->ChangeLineFlag(caret.line, CTextBuffer::LineFlagBookmark, set, false);
    bookmarksKnown = false;
    UpdateActions();
}

void CTextView::GoToBookmark(bool next) {
    if (buffer == nullptr || !HasBookmarks()) {
        return;
    }
    const int line =
        next ? buffer->NextBookmarkedLine(caret.line) : buffer->PreviousBookmarkedLine(caret.line);
    if (line >= 0) {
        MoveCaret({0, line}, false);
    }
}

void CTextView::ClearPlainBookmarks() {
    if (buffer == nullptr) {
        return;
    }
    for (int line = buffer->NextBookmarkedLine(0); line >= 0;
         line = buffer->NextBookmarkedLine(line)) {
        buffer->ChangeLineFlag(line, CTextBuffer::LineFlagBookmark, false, false);
    }
    bookmarksKnown = false;
    UpdateActions();
}

void CTextView::ShowContextMenu(const QPoint& globalPos) {
    QMenu menu(this);
    menu.addAction(Action(EditorCommands::Copy));
    menu.addSeparator();
    menu.addAction(Action(EditorCommands::SelectAll));
    UpdateActions();
    menu.exec(globalPos);
}
