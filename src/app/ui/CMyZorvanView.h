#pragma once

#include "app/ui/SourceViewSimulator.h"
#include "editor/ui/CTextEditView.h"
#include "editor/ui/TextViewSearchTarget.h"
#include "simulator/BreakpointMarks.h"
#include "simulator/SourceViewCommands.h"
#include "simulator/SourceViewServices.h"

#include <QByteArray>
#include <QPointer>
#include <QString>
#include <cstdint>
#include <optional>
#include <string>

class CMyException;
class CMyZorvanDoc;
class SourceViewDocumentLink;

// The editor view of an ".85" source document: the text editor with the simulator's commands
// (compile, run, step, breakpoints), breakpoint marks on source lines, navigation between lines
// and addresses, the editing context menu, the preferences and the mini help of the caret line.
//
// Commands reach it from the main window as ids (the command table) through CommandTarget; the
// texts of the status bar leave it through its CommandHost.
class CMyZorvanView : public CTextEditView,
                      public SourceViewServices,
                      private BreakpointMarks::Effects {
    Q_OBJECT
public:
    static constexpr int ContextMenuResource = 168;

    // A view of the link's document; the link must outlive the view.
    explicit CMyZorvanView(SourceViewDocumentLink& documentLink, QWidget* parent = nullptr);
    ~CMyZorvanView() override;

    CMyZorvanDoc& Document() { return document; }
    // The document's simulator window while it is open, else null.
    SourceViewSimulator* Simulator() const;
    // Replaces the desktop's simulator window (tests).
    void SetSimulatorFactory(SourceViewSimulatorFactory factory) {
        simulatorFactory = std::move(factory);
    }

    // The frame's side of the commands.
    State CommandState(int id) const override;
    bool OnCommand(int id) override;
    void UpdateStatusPanes() override;

    // The commands.
    void Compile();
    bool EnsureSimulator();
    void Run();
    void StepInto();
    void StepOver();
    void RunToCursor();
    void ShowAddress();
    void ToggleBreakpoint();
    void EnableDisableBreakpoint();
    void ShowBreakpointsDialog();
    void StopAndCloseSimulator();
    void ShowPreferencesDialog();
    // The context menu 168 as it would open now (enabled entries set); the caller owns it.
    QMenu* BuildContextMenu();

    // Services to the simulator window and its panes.
    void ShowSourceLine(std::uint16_t address) override;
    void ShowStatusText(const std::string& text) override;
    void ToggleBreakpointAt(std::uint16_t address) override;
    void EnableDisableBreakpointAt(std::uint16_t address) override;
    void SetLineBreakpointMark(int line, BreakpointMarks::Mark mark) override;

    // Colouring through the assembler's keyword classes while syntax highlighting is on.
    int ColorizeLine(int cookie, int line, std::vector<TextColours::Block>* blocks) override;
    CTextBuffer* FindOwnBuffer() override;
    // Adds the mini help of the caret line to the message pane.
    void UpdatePositionPane() override;

public slots:
    // Find, Find Next, Find Previous and Replace over this view's text.
    void OnEditFind() override;
    void OnEditRepeat() override;
    void OnEditFindPrevious() override;
    void OnEditReplace() override;

protected:
    // The simulator window follows the view of its document that was active last.
    void focusInEvent(QFocusEvent* event) override;
    void ShowContextMenu(const QPoint& globalPos) override;
    void AfterCharacterTyped(int code, CTextPosition caretBefore) override;

private:
    void Beep() override;
    void RefreshSimulator() override;
    void MoveCaretToLine(int line) override;

    bool IsSimulatorOpen() const;
    bool ContextEntryEnabled(SourceViewAction action) const;
    SourceViewState State() const;
    void Execute(SourceViewAction action);
    void AskToSave();
    void OpenSimulatorWindow();
    void ShowCompileError(const CMyException& e);
    // The address of the caret's line; a line without one shows the line map's message.
    std::optional<std::uint16_t> CaretLineAddress();
    void OnSimulatorClosed(const QByteArray& placement);
    void ShowMiniHelp();
    void TellCommandStateChanged();

    CMyZorvanDoc& document;
    SourceViewDocumentLink& link;
    BreakpointMarks marks;
    TextViewSearchTarget searchTarget{*this};
    SourceViewSimulatorFactory simulatorFactory;
    QByteArray savedPlacement;
    int miniHelpEnabled = 1;
    QString miniHelpPosition;
};
