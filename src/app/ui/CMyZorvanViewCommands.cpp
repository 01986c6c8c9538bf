#include "app/CMyZorvanDoc.h"
#include "app/CommandTable.h"
#include "app/ui/CBreakpointsDlg.h"
#include "app/ui/CMyZorvanView.h"
#include "app/ui/CPreferencesDlg.h"
#include "app/ui/SourceViewDocumentLink.h"
#include "editor/EditorCommands.h"
#include "editor/ui/FindCommands.h"
#include "simulator/SourcePreferences.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>

namespace {

// The editor commands behind the context menu's entries.
int EditorCommandOf(SourceViewAction action) {
    switch (action) {
    case SourceViewAction::Undo:
        return EditorCommands::Undo;
    case SourceViewAction::Cut:
        return EditorCommands::Cut;
    case SourceViewAction::Copy:
        return EditorCommands::Copy;
    case SourceViewAction::Paste:
        return EditorCommands::Paste;
    case SourceViewAction::Delete:
        return EditorCommands::Delete;
    case SourceViewAction::SelectAll:
        return EditorCommands::SelectAll;
    default:
        return 0;
    }
}

// The print commands of the main window, which the text view carries out.
using CommandTable::FilePrint;
using CommandTable::FilePrintPreview;
using CommandTable::FilePrintSetup;

QString TextOf(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

SourceViewState CMyZorvanView::State() const {
    return {true, document.IsSimulatorOpen(), document.IsExecuting()};
}

CommandTarget::State CMyZorvanView::CommandState(int id) const {
    if (const SourceViewCommand* command = FindSourceViewCommand(id)) {
        if (command->enable == SourceViewEnable::ContextMenu) {
            return {true, ContextEntryEnabled(command->action), false};
        }
        return {true, IsSourceViewCommandEnabled(command->enable, State()), false};
    }
    if (id == FilePrint || id == FilePrintPreview || id == FilePrintSetup) {
        return {true, true, false};
    }
    return CTextEditView::CommandState(id);
}

bool CMyZorvanView::OnCommand(int id) {
    if (const SourceViewCommand* command = FindSourceViewCommand(id)) {
        if (!CommandState(id).enabled) {
            return false;
        }
        Execute(command->action);
        return true;
    }
    switch (id) {
    case FilePrint:
        OnFilePrint();
        return true;
    case FilePrintPreview:
        OnFilePrintPreview();
        return true;
    case FilePrintSetup:
        OnFilePageSetup();
        return true;
    default:
        break;
    }
    return CTextEditView::OnCommand(id);
}

void CMyZorvanView::Execute(SourceViewAction action) {
    switch (action) {
    case SourceViewAction::Compile:
        Compile();
        break;
    case SourceViewAction::EnsureSimulator:
        EnsureSimulator();
        break;
    case SourceViewAction::Run:
        Run();
        break;
    case SourceViewAction::StepInto:
        StepInto();
        break;
    case SourceViewAction::StepOver:
        StepOver();
        break;
    case SourceViewAction::RunToCursor:
        RunToCursor();
        break;
    case SourceViewAction::ShowAddress:
        ShowAddress();
        break;
    case SourceViewAction::ToggleBreakpoint:
        ToggleBreakpoint();
        break;
    case SourceViewAction::EnableDisableBreakpoint:
        EnableDisableBreakpoint();
        break;
    case SourceViewAction::Breakpoints:
        ShowBreakpointsDialog();
        break;
    case SourceViewAction::StopAndClose:
        StopAndCloseSimulator();
        break;
    case SourceViewAction::HtmlHelp:
        if (CommandHost* commandHost = Host()) {
            commandHost->ViewHelpRequested();
        }
        break;
    case SourceViewAction::Preferences:
        ShowPreferencesDialog();
        break;
    default:
        ExecuteCommand(EditorCommandOf(action));
        break;
    }
    TellCommandStateChanged();
}

void CMyZorvanView::Run() {
    if (EnsureSimulator()) {
        Simulator()->Run();
    }
}

void CMyZorvanView::StepInto() {
    if (EnsureSimulator()) {
        Simulator()->StepInto();
    }
}

void CMyZorvanView::StepOver() {
    if (EnsureSimulator()) {
        Simulator()->StepOver();
    }
}

void CMyZorvanView::RunToCursor() {
    if (!EnsureSimulator()) {
        return;
    }
    if (const auto address = CaretLineAddress()) {
        if (SourceViewSimulator* window = Simulator()) {
            window->RunToCursor(*address);
        }
    }
}

void CMyZorvanView::ShowAddress() {
    SourceViewSimulator* window = Simulator();
    if (window == nullptr) {
        return;
    }
    if (const auto address = CaretLineAddress()) {
        window->ShowAddress(*address);
    }
}

void CMyZorvanView::ToggleBreakpoint() {
    marks.ToggleOnLine(GetCursorPos().line);
}

void CMyZorvanView::EnableDisableBreakpoint() {
    marks.EnableDisableOnLine(GetCursorPos().line);
}

void CMyZorvanView::ShowBreakpointsDialog() {
    if (document.IsExecuting()) {
        Beep();
        return;
    }
    BreakpointsDialogModel listed(document.GetBreakpoints(), [this](std::uint16_t address) {
        return InstructionSet::InstructionText(document.GetMachine().memory, address, "");
    });
    if (!document.IsSimulatorOpen()) {
        // Marks set since the last compile (or before the first) are breakpoints to come.
        listed.AddMarkedLines(BreakpointMarks::MarkedLines(document.GetTextBuffer()));
    }
    CBreakpointsDlg dialog(std::move(listed), *this, this);
    dialog.exec();
}

void CMyZorvanView::StopAndCloseSimulator() {
    if (SourceViewSimulator* window = Simulator()) {
        window->StopAndClose();
    }
}

void CMyZorvanView::ShowPreferencesDialog() {
    SourcePreferences& preferences = SourcePreferences::Current();
    CPreferencesDlg dialog(preferences, this);
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    const SourcePreferences chosen = dialog.Chosen();
    preferences.miniHelp = chosen.miniHelp;
    if (chosen.syntaxHighlighting != preferences.syntaxHighlighting) {
        preferences.syntaxHighlighting = chosen.syntaxHighlighting;
        // The preference is every view's.
        for (QWidget* widget : QApplication::allWidgets()) {
            if (auto* view = qobject_cast<CMyZorvanView*>(widget)) {
                view->viewport()->update();
            }
        }
    }
}

// ---- Searching ----

void CMyZorvanView::OnEditFind() {
    FindCommands::Find(searchTarget, this);
}

void CMyZorvanView::OnEditRepeat() {
    FindCommands::FindNext(searchTarget);
}

void CMyZorvanView::OnEditFindPrevious() {
    FindCommands::FindPrevious(searchTarget);
}

void CMyZorvanView::OnEditReplace() {
    FindCommands::Replace(searchTarget, this);
}

// ---- Context menu ----

bool CMyZorvanView::ContextEntryEnabled(SourceViewAction action) const {
    switch (action) {
    case SourceViewAction::Undo:
        return CanUndo();
    case SourceViewAction::Cut:
    case SourceViewAction::Delete:
        return IsEditable() && HasSelection();
    case SourceViewAction::Copy:
        return HasSelection();
    case SourceViewAction::Paste: {
        const QMimeData* clip = QApplication::clipboard()->mimeData();
        return IsEditable() && clip != nullptr && clip->hasText();
    }
    default:
        return true;
    }
}

QMenu* CMyZorvanView::BuildContextMenu() {
    auto* menu = new QMenu(this);
    menu->setObjectName(QStringLiteral("menu%1").arg(ContextMenuResource));
    for (const int id : SourceViewContextMenuIds()) {
        const SourceViewCommand* command = FindSourceViewCommand(id);
        const CommandTable::Command* entryText = CommandTable::Find(id);
        if (command == nullptr || entryText == nullptr) {
            menu->addSeparator();
            continue;
        }
        QAction* entry = menu->addAction(TextOf(entryText->menuText));
        entry->setData(id);
        entry->setEnabled(ContextEntryEnabled(command->action));
        connect(entry, &QAction::triggered, this, [this, id] { OnCommand(id); });
    }
    return menu;
}

void CMyZorvanView::ShowContextMenu(const QPoint& globalPos) {
    QMenu* menu = BuildContextMenu();
    menu->exec(globalPos);
    delete menu;
}

// ---- Focus ----

void CMyZorvanView::focusInEvent(QFocusEvent* event) {
    link.SetActiveView(this);
    CTextEditView::focusInEvent(event);
}
