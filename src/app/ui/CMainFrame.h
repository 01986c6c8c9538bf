#pragma once

#include "app/CRecentFileList.h"
#include "app/CommandTable.h"
#include "app/ui/CChildFrame.h"
#include "app/ui/DocumentList.h"
#include "editor/ui/CommandTarget.h"

#include <QList>
#include <QMainWindow>
#include <QPointer>
#include <QStringList>
#include <functional>
#include <map>

class CChildFrame;
class CDocumentHolder;
class QAction;
class QLabel;
class QMdiArea;
class QMenu;
class QMimeData;
class QPrinter;
class QToolBar;

// The program's main window: the menus (one set while no document is open, one while a document
// window is active), the toolbar and the status bar, all built from CommandTable; the document
// windows in an MDI area, which it makes for the documents of its DocumentList (their life: new,
// open, save, close, the recent files); and files dropped on the window.
//
// The main window binds every key of the command table once and offers each command to the active
// view first (CommandTarget), then carries out its own. For the views: SetViewFactory makes the
// panes; they report to the main window as their CommandHost; SetStatusText and SetPaneText fill
// the status bar; UpdateCommandUI asks every command's enabled state again. For the simulator
// window: CDocumentHolder::AddCloser.
class CMainFrame : public QMainWindow, public CommandHost, private DocumentList::Windows {
    Q_OBJECT
public:
    // Where file names come from; replaced in tests.
    using FileDialogs = DocumentList::FileDialogs;

    explicit CMainFrame(QWidget* parent = nullptr);
    ~CMainFrame() override;

    // The main window a widget lives in (through its window or parents), or null.
    static CMainFrame* Of(const QWidget* widget);

    void SetViewFactory(ViewFactory factory);
    void SetFileDialogs(FileDialogs dialogs);
    // The help page launch (F1 and the Help menu); set by the application.
    std::function<void()> helpHandler;

    // A new "noname" document in a new window.
    CDocumentHolder* NewDocument();
    // Opens `path`, or brings forward the window of the document that already has it open. A
    // file that cannot be read is reported in a box and gives null.
    CDocumentHolder* OpenDocumentFile(const QString& path);
    // Save under the document's path; false when not saved. A document without a path, or one
    // whose folder or text is read-only, goes to Save As, which then offers the user's documents
    // folder. A file another program changed meanwhile is looked at first (CheckDisk).
    bool SaveDocument(CDocumentHolder& holder);
    bool SaveDocumentAs(CDocumentHolder& holder);
    // Closes the document and all its windows after its closers and the save question.
    bool CloseDocument(CDocumentHolder& holder);
    // Every simulator first, then every save question; false when any refused.
    bool CloseAllDocuments();
    CChildFrame* NewWindow(CDocumentHolder& holder);
    // Each local file of a drop opens as a document.
    void OpenDroppedFiles(const QMimeData& dropped);

    QList<CDocumentHolder*> Documents() const;
    CChildFrame* ActiveChildFrame() const;
    QWidget* ActiveView() const;
    // The active view as the commands see it, or null.
    CommandTarget* ActiveTarget() const;
    static CommandTarget* TargetOf(QWidget* view);
    QMdiArea* MdiArea() const { return mdiArea; }
    // True while the menus of a document are shown.
    bool HasDocumentMenu() const { return documentMenuShown; }

    // Where Help > Examples looks for the example programs, in order; set by the application.
    void SetExampleFolders(QStringList folders) { exampleFolders = std::move(folders); }
    const QStringList& ExampleFolders() const { return exampleFolders; }
    // Help > Examples: lists the examples and opens the one chosen.
    void OpenExample();

    const CRecentFileList& RecentFiles() const;
    void OpenRecentFile(int index);

    void SetStatusText(const QString& text);
    QString PaneText(int paneId) const;
    void SetLockStates(bool capsLock, bool numLock);

    QAction* Action(int id) const;
    void RunCommand(int id);

    // The views' reports.
    void ViewPaneText(CommandTarget& view, int paneId, const QString& text) override;
    void ViewCommandStateChanged(CommandTarget& view) override;
    void ViewHelpRequested() override;
    void ViewFilesDropped(const QStringList& paths) override;

public slots:
    void SetPaneText(int paneId, const QString& text);
    void UpdateCommandUI();
    // The help page, through helpHandler.
    void ShowHelp();

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void CreateActions();
    void CreateMenus();
    void CreateToolbar();
    void CreateStatusBar();
    void ShowMenus(bool forDocument);
    void ListWindows(QMenu& menu);
    QMenu* BuildMenu(const CommandTable::Menu& menu);
    void UpdateRecentActions();
    QWidget* DialogParent() override;
    void OpenWindow(CDocumentHolder& holder) override;
    void ShowWindow(CChildFrame& frame) override;
    void DocumentChanged() override;
    void RecentFilesChanged() override;
    void FrameDestroyed(CDocumentHolder* holder);
    void ActiveWindowChanged();
    // Looks at the active document's file once the activation is over.
    void ScheduleDiskCheck();
    void FocusChanged(QWidget* now);
    void ConnectActiveView();
    void UpdateTitles();
    void PrintSetup();

    QMdiArea* mdiArea;
    QToolBar* toolbar = nullptr;
    std::map<int, QAction*> actions;
    QList<QMenu*> noDocumentMenus;
    QList<QMenu*> documentMenus;
    bool documentMenuShown = false;
    std::map<int, QLabel*> panes;
    DocumentList* documentList;
    ViewFactory viewFactory;
    QPointer<QWidget> statusView;
    bool commandUpdatePending = false;
    QPrinter* printer = nullptr;
    bool diskCheckPending = false;
    QStringList exampleFolders;
};
