#include "app/ui/CMainFrame.h"

#include "app/CommandEnabling.h"
#include "app/ExampleCatalog.h"
#include "app/ui/CAboutDlg.h"
#include "app/ui/CAppInfo.h"
#include "app/ui/CChildFrame.h"
#include "app/ui/CDocumentHolder.h"
#include "app/ui/CExamplesDlg.h"
#include "app/ui/CPlaceholderView.h"
#include "app/ui/DocumentList.h"
#include "app/ui/ToolbarIcons.h"
#include "dialogs/MessageBoxes.h"
#include "simulator/ui/CSimulatorDlg.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMenuBar>
#include <QMimeData>
#include <QPageSetupDialog>
#include <QPrinter>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>

namespace {

QString ToQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

CMainFrame::CMainFrame(QWidget* parent)
    : QMainWindow(parent), documentList(new DocumentList(*this, this)) {
    setWindowTitle(CAppInfo::Title);
    setAccessibleName(CAppInfo::Title);
    setAcceptDrops(true);
    viewFactory = [](CDocumentHolder& holder, QWidget* parentWidget) -> QWidget* {
        return new CPlaceholderView(holder.Document().GetTextBuffer(), parentWidget);
    };

    mdiArea = new QMdiArea(this);
    mdiArea->setAccessibleName(QStringLiteral("Documents"));
    mdiArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    mdiArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(mdiArea);

    CreateActions();
    CreateMenus();
    CreateToolbar();
    CreateStatusBar();
    ShowMenus(false);

    connect(mdiArea, &QMdiArea::subWindowActivated, this, &CMainFrame::ActiveWindowChanged);
    connect(qApp, &QApplication::focusChanged, this,
            [this](QWidget*, QWidget* now) { FocusChanged(now); });
    resize(900, 640);
    UpdateCommandUI();
}

CMainFrame::~CMainFrame() {
    disconnect(qApp, nullptr, this, nullptr);
    // The windows go before the documents they show, simulators first: a simulator's worker and
    // windows hold on to its document until its closer has stopped and closed them.
    documentList->StopAll();
    // A closed simulator window waits for a deferred deletion that would now come too late.
    qDeleteAll(findChildren<CSimulatorDlg*>());
    // Closed ones, waiting for deletion, included.
    for (CChildFrame* window : mdiArea->findChildren<CChildFrame*>()) {
        delete window;
    }
    mdiArea->disconnect(this);
    documentList->DeleteAll();
    delete printer;
}

CMainFrame* CMainFrame::Of(const QWidget* widget) {
    for (auto* w = const_cast<QWidget*>(widget); w != nullptr; w = w->parentWidget()) {
        if (auto* frame = qobject_cast<CMainFrame*>(w)) {
            return frame;
        }
    }
    return nullptr;
}

void CMainFrame::SetViewFactory(ViewFactory factory) {
    viewFactory = std::move(factory);
}

void CMainFrame::SetFileDialogs(FileDialogs dialogs) {
    documentList->SetFileDialogs(std::move(dialogs));
}

QList<CDocumentHolder*> CMainFrame::Documents() const {
    return documentList->Documents();
}

const CRecentFileList& CMainFrame::RecentFiles() const {
    return documentList->RecentFiles();
}

// ---- Commands ----

void CMainFrame::CreateActions() {
    for (const CommandTable::Command& command : CommandTable::Commands()) {
        auto* action = new QAction(ToQString(command.menuText), this);
        action->setObjectName(QStringLiteral("command%1").arg(command.id));
        action->setData(command.id);
        action->setStatusTip(ToQString(command.Prompt()));
        action->setToolTip(ToQString(command.ToolTip()));
        QList<QKeySequence> keys;
        for (std::string_view key : CommandTable::KeysOf(command.id)) {
            keys.append(QKeySequence(ToQString(key)));
        }
        // F1 is the application's everywhere, dialogs included (CAppShell).
        if (command.id != CommandTable::HelpKey) {
            action->setShortcuts(keys);
        }
        if (command.hook == CommandTable::EnableHook::ToolbarShown ||
            command.hook == CommandTable::EnableHook::StatusShown) {
            action->setCheckable(true);
        }
        // Caret moves and deletions repeat while their key is held, as typing does.
        action->setAutoRepeat(command.hook == CommandTable::EnableHook::View &&
                              command.menuText.empty());
        const int id = command.id;
        connect(action, &QAction::triggered, this, [this, id] { RunCommand(id); });
        // Keys work in every menu state, and for commands that are in no menu.
        addAction(action);
        actions[id] = action;
    }
    UpdateRecentActions();
}

QMenu* CMainFrame::BuildMenu(const CommandTable::Menu& menu) {
    auto* result = new QMenu(ToQString(menu.title), this);
    for (const CommandTable::MenuItem& item : menu.items) {
        if (item.id == CommandTable::Separator) {
            result->addSeparator();
        } else if (item.id == CommandTable::RecentFiles) {
            for (int slot = 0; slot < CommandTable::RecentFileCount; ++slot) {
                result->addAction(actions.at(CommandTable::FileRecentFirst + slot));
            }
        } else {
            result->addAction(actions.at(item.id));
        }
    }
    connect(result, &QMenu::aboutToShow, this, &CMainFrame::UpdateCommandUI);
    return result;
}

void CMainFrame::CreateMenus() {
    for (const CommandTable::Menu& menu : CommandTable::NoDocumentMenu()) {
        noDocumentMenus.append(BuildMenu(menu));
    }
    for (const CommandTable::Menu& menu : CommandTable::DocumentMenu()) {
        documentMenus.append(BuildMenu(menu));
        if (menu.title == "&Window") {
            QMenu* windowMenu = documentMenus.back();
            connect(windowMenu, &QMenu::aboutToShow, this,
                    [this, windowMenu] { ListWindows(*windowMenu); });
        }
    }
}

void CMainFrame::ListWindows(QMenu& menu) {
    // The open document windows below the Window commands, the active one checked.
    for (QAction* action : menu.actions()) {
        if (action->property("documentWindow").isValid()) {
            menu.removeAction(action);
            action->deleteLater();
        }
    }
    const QList<QMdiSubWindow*> windows = mdiArea->subWindowList();
    if (!windows.isEmpty()) {
        menu.addSeparator()->setProperty("documentWindow", true);
    }
    for (qsizetype index = 0; index < windows.size(); ++index) {
        QPointer<QMdiSubWindow> window = windows[index];
        QAction* action =
            menu.addAction(QStringLiteral("&%1 %2").arg(index + 1).arg(window->windowTitle()));
        action->setProperty("documentWindow", true);
        action->setCheckable(true);
        action->setChecked(window == mdiArea->currentSubWindow());
        connect(action, &QAction::triggered, this, [this, window] {
            if (window != nullptr) {
                mdiArea->setActiveSubWindow(window);
            }
        });
    }
}

void CMainFrame::ShowMenus(bool forDocument) {
    if (forDocument == documentMenuShown && !menuBar()->actions().isEmpty()) {
        return;
    }
    documentMenuShown = forDocument;
    menuBar()->clear();
    for (QMenu* menu : forDocument ? documentMenus : noDocumentMenus) {
        menuBar()->addMenu(menu);
    }
}

void CMainFrame::CreateToolbar() {
    toolbar = new QToolBar(QStringLiteral("Standard"), this);
    toolbar->setObjectName(QStringLiteral("toolbar%1").arg(CommandTable::ViewToolbar));
    toolbar->setIconSize(QSize(20, 20));
    for (int id : CommandTable::Toolbar()) {
        if (id == CommandTable::Separator) {
            toolbar->addSeparator();
        } else {
            QAction* action = actions.at(id);
            action->setIcon(ToolbarIcons::For(id));
            toolbar->addAction(action);
            // Named after its tip: several buttons have no menu text, and Undo's changes.
            if (QWidget* button = toolbar->widgetForAction(action)) {
                button->setAccessibleName(ToQString(CommandTable::Find(id)->ToolTip()));
            }
        }
    }
    addToolBar(Qt::TopToolBarArea, toolbar);
    connect(toolbar, &QToolBar::visibilityChanged, this, &CMainFrame::UpdateCommandUI);
}

void CMainFrame::CreateStatusBar() {
    struct PaneSpec {
        int id;
        const char* widest;
        const char* description;
    };
    static const PaneSpec specs[] = {
        {StatusPane::Position, "==============", "Line and column"},
        {StatusPane::LineEnd, "UNIX", "Line ends"},
        {StatusPane::Overwrite, "OVR", "Overwrite"},
        {StatusPane::ReadOnly, "READ", "Read only"},
        {StatusPane::CapsLock, "CAP", "Caps Lock"},
        {StatusPane::NumLock, "NUM", "Num Lock"},
    };
    QStatusBar* bar = statusBar();
    bar->setObjectName(QStringLiteral("statusBar%1").arg(CommandTable::ViewStatusBar));
    auto* message = new QLabel(QStringLiteral("Ready"), bar);
    message->setAccessibleDescription(QStringLiteral("Message"));
    bar->addWidget(message, 1);
    panes[StatusPane::Message] = message;
    for (const PaneSpec& spec : specs) {
        auto* pane = new QLabel(bar);
        pane->setAccessibleDescription(spec.description);
        pane->setAlignment(Qt::AlignCenter);
        pane->setMinimumWidth(pane->fontMetrics().horizontalAdvance(spec.widest) + 8);
        bar->addPermanentWidget(pane);
        panes[spec.id] = pane;
    }
}

QAction* CMainFrame::Action(int id) const {
    const auto found = actions.find(id);
    return found == actions.end() ? nullptr : found->second;
}

void CMainFrame::RunCommand(int id) {
    using namespace CommandTable;
    CChildFrame* frame = ActiveChildFrame();
    CDocumentHolder* holder = frame != nullptr ? &frame->Holder() : nullptr;
    // The active view first, then the main window.
    if (CommandTarget* view = ActiveTarget(); view != nullptr && view->OnCommand(id)) {
        UpdateCommandUI();
        return;
    }
    if (id >= FileRecentFirst && id < FileRecentFirst + RecentFileCount) {
        documentList->OpenRecent(id - FileRecentFirst);
        return;
    }
    switch (id) {
    case FileNew:
        NewDocument();
        break;
    case FileOpen:
        documentList->OpenChosen();
        break;
    case FileClose:
        if (holder != nullptr) {
            documentList->Close(*holder);
        }
        break;
    case FileSave:
        if (holder != nullptr) {
            documentList->Save(*holder);
        }
        break;
    case FileSaveAs:
        if (holder != nullptr) {
            documentList->SaveAs(*holder);
        }
        break;
    case FilePrintSetup:
        PrintSetup();
        break;
    case AppExit:
        close();
        break;
    case AppAbout: {
        CAboutDlg about(this);
        about.exec();
        break;
    }
    case ViewToolbar:
        toolbar->setVisible(!toolbar->isVisible());
        break;
    case ViewStatusBar:
        statusBar()->setVisible(!statusBar()->isVisible());
        break;
    case WindowNew:
        if (holder != nullptr) {
            NewWindow(*holder);
        }
        break;
    case WindowCascade:
        mdiArea->cascadeSubWindows();
        break;
    case WindowTile:
        mdiArea->tileSubWindows();
        break;
    case NextPane:
        if (frame != nullptr) {
            frame->NextPane();
        }
        break;
    case HelpDocumentation:
    case HelpKey:
        ShowHelp();
        break;
    case HelpExamples:
        OpenExample();
        break;
    default:
        break;
    }
    UpdateCommandUI();
}

void CMainFrame::UpdateCommandUI() {
    commandUpdatePending = false;
    CommandEnabling::FrameState state;
    state.hasDocument = ActiveChildFrame() != nullptr;
    state.toolbarShown = toolbar == nullptr || !toolbar->isHidden();
    state.statusBarShown = !statusBar()->isHidden();
    state.recentFileCount = static_cast<int>(RecentFiles().Files().size());
    CommandTarget* view = ActiveTarget();
    for (const CommandTable::Command& command : CommandTable::Commands()) {
        QAction* action = actions.at(command.id);
        std::optional<CommandEnabling::State> answer;
        if (view != nullptr) {
            if (const CommandTarget::State given = view->CommandState(command.id); given.handled) {
                answer = CommandEnabling::State{given.enabled, given.checked};
            }
        }
        const CommandEnabling::State result = CommandEnabling::Evaluate(command, state, answer);
        action->setEnabled(result.enabled);
        if (action->isCheckable()) {
            action->setChecked(result.checked);
        }
        if (command.hook == CommandTable::EnableHook::View) {
            const QString text = view != nullptr ? view->CommandText(command.id) : QString();
            action->setText(text.isEmpty() ? ToQString(command.menuText) : text);
        }
    }
}

void CMainFrame::ShowHelp() {
    if (helpHandler) {
        helpHandler();
    }
}

void CMainFrame::PrintSetup() {
    if (printer == nullptr) {
        printer = new QPrinter;
    }
    QPageSetupDialog dialog(printer, this);
    dialog.exec();
}

// ---- Documents ----

CChildFrame* CMainFrame::NewWindow(CDocumentHolder& holder) {
    auto* frame = new CChildFrame(holder, viewFactory);
    for (QWidget* view : frame->Views()) {
        if (CommandTarget* target = TargetOf(view)) {
            target->SetCommandHost(this);
        }
    }
    frame->closeRequest = [this](CChildFrame* closing) {
        return documentList->AllowFrameClose(*closing);
    };
    CDocumentHolder* owner = &holder;
    connect(frame, &QObject::destroyed, this, [this, owner] { FrameDestroyed(owner); });
    mdiArea->addSubWindow(frame);
    // A new document window opens maximised, whatever state the others are in.
    frame->showMaximized();
    mdiArea->setActiveSubWindow(frame);
    frame->ActiveView()->setFocus(Qt::OtherFocusReason);
    UpdateTitles();
    ActiveWindowChanged();
    return frame;
}

CDocumentHolder* CMainFrame::NewDocument() {
    return documentList->New();
}

CDocumentHolder* CMainFrame::OpenDocumentFile(const QString& path) {
    return documentList->Open(path);
}

bool CMainFrame::SaveDocument(CDocumentHolder& holder) {
    return documentList->Save(holder);
}

bool CMainFrame::SaveDocumentAs(CDocumentHolder& holder) {
    return documentList->SaveAs(holder);
}

bool CMainFrame::CloseDocument(CDocumentHolder& holder) {
    return documentList->Close(holder);
}

bool CMainFrame::CloseAllDocuments() {
    return documentList->CloseAll();
}

void CMainFrame::OpenRecentFile(int index) {
    documentList->OpenRecent(index);
}

void CMainFrame::FrameDestroyed(CDocumentHolder* holder) {
    documentList->FrameDestroyed(holder);
    UpdateTitles();
    ActiveWindowChanged();
}

// ---- What the document list asks of the window ----

QWidget* CMainFrame::DialogParent() {
    return this;
}

void CMainFrame::OpenWindow(CDocumentHolder& holder) {
    NewWindow(holder);
}

void CMainFrame::ShowWindow(CChildFrame& frame) {
    mdiArea->setActiveSubWindow(&frame);
    frame.ActiveView()->setFocus(Qt::OtherFocusReason);
}

void CMainFrame::DocumentChanged() {
    UpdateTitles();
}

void CMainFrame::RecentFilesChanged() {
    UpdateRecentActions();
}

void CMainFrame::UpdateRecentActions() {
    const auto& files = RecentFiles().Files();
    for (int slot = 0; slot < CommandTable::RecentFileCount; ++slot) {
        QAction* action = actions.at(CommandTable::FileRecentFirst + slot);
        const bool used = slot < static_cast<int>(files.size());
        action->setVisible(used);
        action->setText(used ? QString::fromStdString(CRecentFileList::MenuText(slot, files[slot]))
                             : QString());
    }
}

// ---- Active window, titles, status bar ----

CChildFrame* CMainFrame::ActiveChildFrame() const {
    return qobject_cast<CChildFrame*>(mdiArea->currentSubWindow());
}

QWidget* CMainFrame::ActiveView() const {
    CChildFrame* frame = ActiveChildFrame();
    return frame != nullptr ? frame->ActiveView() : nullptr;
}

void CMainFrame::ActiveWindowChanged() {
    ShowMenus(!mdiArea->subWindowList().isEmpty());
    UpdateTitles();
    ConnectActiveView();
    UpdateCommandUI();
    ScheduleDiskCheck();
}

void CMainFrame::ScheduleDiskCheck() {
    if (diskCheckPending || documentList->IsClosingAll()) {
        return;
    }
    diskCheckPending = true;
    // From the event loop: a box must not open inside the activation that asked for it.
    QTimer::singleShot(0, this, [this] {
        diskCheckPending = false;
        CChildFrame* frame = ActiveChildFrame();
        if (frame == nullptr || documentList->IsClosingAll() ||
            QApplication::activeModalWidget() != nullptr || !isActiveWindow()) {
            return;
        }
        frame->Holder().CheckDisk(DiskChangeWatch::Occasion::Activated);
    });
}

void CMainFrame::OpenExample() {
    std::vector<std::string> candidates;
    for (const QString& folder : exampleFolders) {
        candidates.push_back(folder.toStdString());
    }
    const auto folder = ExampleCatalog::FindFolder(candidates);
    if (!folder) {
        MessageBoxes::Tell(CAppInfo::Title,
                           ("No examples were found. They are looked for in:\n" +
                            exampleFolders.join(QLatin1Char('\n')))
                               .toStdString(),
                           MessageBoxes::Icon::Warning);
        return;
    }
    CExamplesDlg dialog(ExampleCatalog::List(*folder), this);
    if (dialog.exec() == QDialog::Accepted && !dialog.ChosenPath().isEmpty()) {
        OpenDocumentFile(dialog.ChosenPath());
    }
}

void CMainFrame::FocusChanged(QWidget* now) {
    CChildFrame* frame = CChildFrame::Of(now);
    if (frame == nullptr || CMainFrame::Of(frame) != this) {
        return;
    }
    for (QWidget* view : frame->Views()) {
        if (view == now || view->isAncestorOf(now)) {
            frame->SetActiveView(view);
        }
    }
    ConnectActiveView();
    UpdateCommandUI();
}

void CMainFrame::ConnectActiveView() {
    QWidget* view = ActiveView();
    if (view == statusView) {
        return;
    }
    statusView = view;
    for (int id :
         {StatusPane::Position, StatusPane::LineEnd, StatusPane::Overwrite, StatusPane::ReadOnly}) {
        SetPaneText(id, QString());
    }
    if (CommandTarget* target = TargetOf(view)) {
        target->UpdateStatusPanes();
    }
}

CommandTarget* CMainFrame::TargetOf(QWidget* view) {
    return dynamic_cast<CommandTarget*>(view);
}

CommandTarget* CMainFrame::ActiveTarget() const {
    return TargetOf(ActiveView());
}

void CMainFrame::ViewPaneText(CommandTarget& view, int paneId, const QString& text) {
    if (&view == ActiveTarget()) {
        SetPaneText(paneId, text);
    }
}

void CMainFrame::ViewCommandStateChanged(CommandTarget& view) {
    if (&view != ActiveTarget() || commandUpdatePending) {
        return;
    }
    commandUpdatePending = true;
    QTimer::singleShot(0, this, [this] {
        if (commandUpdatePending) {
            UpdateCommandUI();
        }
    });
}

void CMainFrame::ViewHelpRequested() {
    ShowHelp();
}

void CMainFrame::ViewFilesDropped(const QStringList& paths) {
    for (const QString& path : paths) {
        OpenDocumentFile(path);
    }
}

void CMainFrame::UpdateTitles() {
    for (CDocumentHolder* holder : documentList->Documents()) {
        const auto& frames = holder->Frames();
        for (int index = 0; index < frames.size(); ++index) {
            QString title = holder->Title();
            if (frames.size() > 1) {
                title += QStringLiteral(":%1").arg(index + 1);
            }
            frames[index]->setWindowTitle(title);
            for (QWidget* view : frames[index]->Views()) {
                view->setAccessibleDescription(title);
            }
        }
    }
    CChildFrame* active = ActiveChildFrame();
    setWindowTitle(active != nullptr
                       ? QStringLiteral("%1 - [%2]").arg(CAppInfo::Title, active->windowTitle())
                       : QString(CAppInfo::Title));
}

void CMainFrame::SetStatusText(const QString& text) {
    statusBar()->clearMessage();
    panes.at(StatusPane::Message)->setText(text.isEmpty() ? QStringLiteral("Ready") : text);
}

void CMainFrame::SetPaneText(int paneId, const QString& text) {
    if (paneId == StatusPane::Message) {
        SetStatusText(text);
    } else if (const auto found = panes.find(paneId); found != panes.end()) {
        found->second->setText(text);
    }
}

QString CMainFrame::PaneText(int paneId) const {
    const auto found = panes.find(paneId);
    return found == panes.end() ? QString() : found->second->text();
}

void CMainFrame::SetLockStates(bool capsLock, bool numLock) {
    SetPaneText(StatusPane::CapsLock, capsLock ? QStringLiteral("CAP") : QString());
    SetPaneText(StatusPane::NumLock, numLock ? QStringLiteral("NUM") : QString());
}

// ---- Window events ----

bool CMainFrame::event(QEvent* event) {
    // A key is about to be matched against the shortcuts: their enabled states must be the
    // view's as it is now, not as it was when the last change was reported.
    if (event->type() == QEvent::ShortcutOverride) {
        UpdateCommandUI();
    }
    // Back from another program, which may have changed the active document's file.
    if (event->type() == QEvent::WindowActivate) {
        ScheduleDiskCheck();
    }
    return QMainWindow::event(event);
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    if (!CloseAllDocuments()) {
        event->ignore();
        return;
    }
    documentList->SaveRecentFiles();
    event->accept();
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event) {
    for (const QUrl& url : event->mimeData()->urls()) {
        if (url.isLocalFile()) {
            event->acceptProposedAction();
            return;
        }
    }
}

void CMainFrame::dropEvent(QDropEvent* event) {
    OpenDroppedFiles(*event->mimeData());
    event->acceptProposedAction();
}

void CMainFrame::OpenDroppedFiles(const QMimeData& dropped) {
    for (const QUrl& url : dropped.urls()) {
        if (url.isLocalFile()) {
            OpenDocumentFile(url.toLocalFile());
        }
    }
}
