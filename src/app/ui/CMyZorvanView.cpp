#include "app/ui/CMyZorvanView.h"

#include "app/CCompileCommand.h"
#include "app/CMyZorvanDoc.h"
#include "app/ui/CChildFrame.h"
#include "app/ui/CDocumentHolder.h"
#include "app/ui/CMainFrame.h"
#include "app/ui/SourceViewDocumentLink.h"
#include "assembler/KeywordClassifier.h"
#include "dialogs/MessageBoxes.h"
#include "machine/CMyException.h"
#include "simulator/CSimContext.h"
#include "simulator/SourceLineFlags.h"
#include "simulator/SourcePreferences.h"
#include "simulator/SourceViewRules.h"

#include <QApplication>

CMyZorvanView::CMyZorvanView(SourceViewDocumentLink& documentLink, QWidget* parent)
    : CTextEditView(parent), document(documentLink.Document()), link(documentLink),
      marks(document.GetTextBuffer(), document, document.lineMap, document.GetSimulatorFlags(),
            *this),
      simulatorFactory(DefaultSourceViewSimulatorFactory()) {
    setObjectName("CMyZorvanView");
    link.AddView(this);
    AttachToBuffer(&document.GetTextBuffer());
}

CMyZorvanView::~CMyZorvanView() {
    link.RemoveView(this);
}

SourceViewSimulator* CMyZorvanView::Simulator() const {
    return link.Simulator();
}

bool CMyZorvanView::IsSimulatorOpen() const {
    return document.IsSimulatorOpen();
}

void CMyZorvanView::UpdateStatusPanes() {
    CTextEditView::UpdateStatusPanes();
    ShowMiniHelp();
}

void CMyZorvanView::TellCommandStateChanged() {
    if (CommandHost* commandHost = Host()) {
        commandHost->ViewCommandStateChanged(*this);
    }
}

// ---- Compile ----

void CMyZorvanView::Compile() {
    if (IsSimulatorOpen()) {
        return;
    }
    // The assembler reads the file: one that another program changed is looked at first.
    if (CChildFrame* child = CChildFrame::Of(this)) {
        child->Holder().CheckDisk(DiskChangeWatch::Occasion::BeforeCompile);
    }
    AskToSave();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    link.SetActiveView(this);
    const CCompileCommand::Result result =
        CCompileCommand(document).Open([this] { OpenSimulatorWindow(); });
    QApplication::restoreOverrideCursor();
    viewport()->update();
    if (result.outcome == CCompileCommand::Outcome::Failed) {
        ShowCompileError(result.error);
        return;
    }
    if (result.outcome != CCompileCommand::Outcome::Opened) {
        return;
    }
    // The breakpoints were rebuilt after the window first filled its panes.
    RefreshSimulator();
    if (!result.lineMapNotice.empty()) {
        ShowStatusText(result.lineMapNotice);
    }
    if (!result.lineMapError.empty()) {
        MessageBoxes::Tell(SourceViewRules::AppCaption, result.lineMapError,
                           MessageBoxes::Icon::Warning);
    }
    if (result.removedBreakpoints != 0) {
        MessageBoxes::Tell(SourceViewRules::AppCaption, CCompileCommand::InvalidBreakpointsMessage,
                           MessageBoxes::Icon::Warning);
    }
    TellCommandStateChanged();
}

void CMyZorvanView::AskToSave() {
    if (!document.IsModified()) {
        return;
    }
    // In a document window the main window's question and Save (Save As for a new document)
    // are used, so titles and recent files follow.
    CChildFrame* child = CChildFrame::Of(this);
    CMainFrame* main = CMainFrame::Of(this);
    const std::string question = child != nullptr
                                     ? child->Holder().SaveQuestion().toStdString()
                                     : SourceViewRules::SaveChangesQuestion(document.GetTitle());
    // No and Cancel still compile: the assembler reads the file on disk, as it was last saved.
    const auto answer =
        MessageBoxes::Ask(SourceViewRules::AppCaption, question, MessageBoxes::Icon::Warning,
                          MessageBoxes::Buttons::YesNoCancel);
    if (answer != MessageBoxes::Answer::Yes) {
        return;
    }
    if (child != nullptr && main != nullptr) {
        main->SaveDocument(child->Holder());
    } else if (!document.GetPathName().empty() && !document.SaveDocument(document.GetPathName())) {
        MessageBoxes::Tell(SourceViewRules::AppCaption, document.GetErrorMessage(),
                           MessageBoxes::Icon::Warning);
    }
}

void CMyZorvanView::OpenSimulatorWindow() {
    CSimContext context;
    context.machine = &document.GetMachine();
    context.breakpoints = &document;
    context.flags = &document.GetSimulatorFlags();
    context.lineMap = &document.lineMap;
    context.sourceView = &link;
    context.title = document.GetTitle();
    SourceViewSimulator* opened = simulatorFactory(context, window());
    if (opened == nullptr) {
        return;
    }
    link.SetSimulator(opened);
    connect(opened, &SourceViewSimulator::closed, this, &CMyZorvanView::OnSimulatorClosed);
    if (!savedPlacement.isEmpty()) {
        opened->RestorePlacement(savedPlacement);
    }
    opened->Show();
    // Closing the document or the program first stops the run and closes the window.
    if (CChildFrame* frame = CChildFrame::Of(this)) {
        CDocumentHolder& holder = frame->Holder();
        const QPointer<SourceViewSimulator> guard(opened);
        const int handle =
            holder.AddCloser([guard] { return guard.isNull() || guard->StopAndCloseNow(); });
        connect(opened, &QObject::destroyed, &holder,
                [&holder, handle] { holder.RemoveCloser(handle); });
    }
}

void CMyZorvanView::OnSimulatorClosed(const QByteArray& placement) {
    savedPlacement = placement;
    TellCommandStateChanged();
}

void CMyZorvanView::ShowCompileError(const CMyException& e) {
    ShowStatusText(e.GetMessage());
    const auto answer =
        MessageBoxes::Ask(SourceViewRules::AppCaption, SourceViewRules::CompileErrorText(e),
                          MessageBoxes::Icon::Warning, MessageBoxes::Buttons::OkCancel);
    if (answer != MessageBoxes::Answer::Ok) {
        return;
    }
    if (const auto at = SourceViewRules::CompileErrorCaret(e, document.GetTextBuffer())) {
        SetCaretPosition(*at);
        SelectRange(*at, *at);
        ScrollIntoView(*at);
    }
}

bool CMyZorvanView::EnsureSimulator() {
    if (IsSimulatorOpen()) {
        return !document.IsExecuting();
    }
    Compile();
    return IsSimulatorOpen() && Simulator() != nullptr;
}

std::optional<std::uint16_t> CMyZorvanView::CaretLineAddress() {
    try {
        return document.lineMap.AddressOfLine(GetCursorPos().line + 1);
    } catch (const CMyException& e) {
        MessageBoxes::Tell(SourceViewRules::AppCaption, e.GetMessage(),
                           MessageBoxes::Icon::Warning);
        return std::nullopt;
    }
}

// ---- Services ----

void CMyZorvanView::ShowSourceLine(std::uint16_t address) {
    const int line = document.lineMap.LineOfAddress(address) - 1; // throws without a line
    if (line < 0 || line >= LineCount()) {
        return;
    }
    const CTextPosition start{0, line};
    SetCaretPosition(start);
    SelectRange(start, start);
    ScrollIntoView(start);
    BreakpointMarks::MarkExecutionLine(document.GetTextBuffer(), line);
}

void CMyZorvanView::ShowStatusText(const std::string& text) {
    TellPane(StatusPane::Message, QString::fromStdString(text));
}

void CMyZorvanView::ToggleBreakpointAt(std::uint16_t address) {
    marks.ToggleAt(address);
}

void CMyZorvanView::EnableDisableBreakpointAt(std::uint16_t address) {
    marks.EnableDisableAt(address);
}

void CMyZorvanView::SetLineBreakpointMark(int line, BreakpointMarks::Mark mark) {
    if (line >= 0 && line < LineCount()) {
        BreakpointMarks::SetMark(document.GetTextBuffer(), line, mark);
        viewport()->update();
    }
}

void CMyZorvanView::Beep() {
    QApplication::beep();
}

void CMyZorvanView::RefreshSimulator() {
    if (SourceViewSimulator* window = Simulator()) {
        window->RefreshAll();
    }
}

void CMyZorvanView::MoveCaretToLine(int line) {
    const CTextPosition start{0, line};
    SetCaretPosition(start);
    SelectRange(start, start);
    ScrollIntoView(start);
}

// ---- Text ----

CTextBuffer* CMyZorvanView::FindOwnBuffer() {
    return &document.GetTextBuffer();
}

int CMyZorvanView::ColorizeLine(int cookie, int line, std::vector<TextColours::Block>* blocks) {
    if (!SourcePreferences::Current().syntaxHighlighting || blocks == nullptr) {
        return cookie;
    }
    std::vector<ColourBlock> found;
    const int state = ColourLine(LineText(line), cookie, found);
    for (const ColourBlock& block : found) {
        blocks->push_back({static_cast<int>(block.index), block.colourIndex});
    }
    return state;
}

void CMyZorvanView::UpdatePositionPane() {
    CTextEditView::UpdatePositionPane();
    const QString position = PositionText();
    if (position != miniHelpPosition) {
        miniHelpPosition = position;
        ShowMiniHelp();
    }
}

void CMyZorvanView::ShowMiniHelp() {
    if (miniHelpEnabled == 0 || buffer == nullptr || GetCursorPos().line >= LineCount()) {
        return;
    }
    const auto help = SourceViewRules::MiniHelpText(LineText(GetCursorPos().line),
                                                    SourcePreferences::Current().miniHelp);
    if (help) {
        ShowStatusText(*help);
    }
}

void CMyZorvanView::AfterCharacterTyped(int code, CTextPosition caretBefore) {
    CTextEditView::AfterCharacterTyped(code, caretBefore);
    if (code == 13) {
        BreakpointMarks::CarryAcrossEnter(document.GetTextBuffer(), caretBefore.line,
                                          caretBefore.charIndex, GetCursorPos().line);
    }
}
