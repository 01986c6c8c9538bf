#pragma once

#include "app/CRecentFileList.h"
#include "app/CommandTable.h"
#include "app/ui/CChildFrame.h"
#include "editor/ui/CommandTarget.h"

#include <QList>
#include <QMainWindow>
#include <QPointer>
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
// windows in an MDI area; and the documents' life: new, open, save, save as, close, the save
// question, the recent-file list and files dropped on the window.
//
// The main window binds every key of the command table once and offers each command to the active
// view first (CommandTarget), then carries out its own. For the views: SetViewFactory makes the
// panes; they report to the main window as their CommandHost; SetStatusText and SetPaneText fill
// the status bar; UpdateCommandUI asks every command's enabled state again. For the simulator
// window: CDocumentHolder::AddCloser.
class CMainFrame : public QMainWindow, public CommandHost {
    Q_OBJECT
public:
    // Where file names come from; replaced in tests.
    struct FileDialogs {
        std::function<QString(QWidget* parent)> open;
        // Returns the chosen name, empty when cancelled. A name without an extension gets ".85"
        // before the dialog asks whether to replace an existing file.
        std::function<QString(QWidget* parent, const QString& suggested)> save;
    };

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
    // Save under the document's path (Save As when it has none); false when not saved.
    bool SaveDocument(CDocumentHolder& holder);
    bool SaveDocumentAs(CDocumentHolder& holder);
    // Closes the document and all its windows after its closers and the save question.
    bool CloseDocument(CDocumentHolder& holder);
    // Every simulator first, then every save question; false when any refused.
    bool CloseAllDocuments();
    CChildFrame* NewWindow(CDocumentHolder& holder);
    // Each local file of a drop opens as a document.
    void OpenDroppedFiles(const QMimeData& dropped);

    QList<CDocumentHolder*> Documents() const { return documents; }
    CChildFrame* ActiveChildFrame() const;
    QWidget* ActiveView() const;
    // The active view as the commands see it, or null.
    CommandTarget* ActiveTarget() const;
    static CommandTarget* TargetOf(QWidget* view);
    QMdiArea* MdiArea() const { return mdiArea; }
    // True while the menus of a document are shown.
    bool HasDocumentMenu() const { return documentMenuShown; }

    const CRecentFileList& RecentFiles() const { return recentFiles; }
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
    void LoadRecentFiles();
    void SaveRecentFiles() const;
    void AddRecentFile(const QString& path);
    void UpdateRecentActions();
    CDocumentHolder* FindDocument(const QString& path) const;
    bool SaveModified(CDocumentHolder& holder);
    bool StopSimulator(CDocumentHolder& holder);
    // Closes the document and its windows, asking nothing.
    bool CloseWindows(CDocumentHolder& holder);
    bool AllowFrameClose(CChildFrame* frame);
    void FrameDestroyed(CDocumentHolder* holder);
    void ActiveWindowChanged();
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
    QList<CDocumentHolder*> documents;
    CRecentFileList recentFiles;
    // Refuses a name that another document has open; says so.
    bool MayTakeName(const CDocumentHolder& holder, const QString& path) const;
    ViewFactory viewFactory;
    FileDialogs fileDialogs;
    QPointer<QWidget> statusView;
    bool commandUpdatePending = false;
    QPrinter* printer = nullptr;
    bool closingAll = false;
};
