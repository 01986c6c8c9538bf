#pragma once

#include "app/CRecentFileList.h"

#include <QList>
#include <QObject>
#include <QString>
#include <functional>

class CChildFrame;
class CDocumentHolder;
class QWidget;

// The documents' life behind the main window: new, open, save, save as, close, the save
// question, and the recent-file list kept in the settings. The main window makes and shows the
// document windows (Windows) and carries out the commands; the list owns the documents.
class DocumentList : public QObject {
    Q_OBJECT
public:
    // Where file names come from; replaced in tests.
    struct FileDialogs {
        std::function<QString(QWidget* parent)> open;
        // Returns the chosen name, empty when cancelled. A name without an extension gets ".85"
        // before the dialog asks whether to replace an existing file.
        std::function<QString(QWidget* parent, const QString& suggested)> save;
    };

    // What the list asks of the main window.
    class Windows {
    public:
        virtual ~Windows() = default;
        // The parent of the file dialogs.
        virtual QWidget* DialogParent() = 0;
        // A new window of a document just added.
        virtual void OpenWindow(CDocumentHolder& holder) = 0;
        // Brings forward a window of a document that is already open.
        virtual void ShowWindow(CChildFrame& frame) = 0;
        // A document's title, path or modified state changed.
        virtual void DocumentChanged() = 0;
        virtual void RecentFilesChanged() = 0;
    };

    explicit DocumentList(Windows& shown, QObject* parent = nullptr);
    ~DocumentList() override;

    void SetFileDialogs(FileDialogs dialogs) { fileDialogs = std::move(dialogs); }
    const QList<CDocumentHolder*>& Documents() const { return documents; }
    const CRecentFileList& RecentFiles() const { return recentFiles; }

    // A new "noname" document in a new window.
    CDocumentHolder* New();
    // Opens `path`, or brings forward the window of the document that already has it open. A
    // file that cannot be read is reported in a box and gives null.
    CDocumentHolder* Open(const QString& path);
    // The file the open dialog names, if any.
    void OpenChosen();
    // A file of the recent list; one that cannot be read leaves the list.
    void OpenRecent(int index);
    // Save under the document's path; false when not saved. A document without a path, or one
    // whose folder or text is read-only, goes to Save As, which then offers the user's documents
    // folder. A file another program changed meanwhile is looked at first (CheckDisk).
    bool Save(CDocumentHolder& holder);
    bool SaveAs(CDocumentHolder& holder);
    // Closes the document and all its windows after its closers and the save question.
    bool Close(CDocumentHolder& holder);
    // Every simulator first, then every save question; false when any refused.
    bool CloseAll();
    // Whether a document window may close now: its document's closers, and the save question
    // when it is the document's last window.
    bool AllowFrameClose(CChildFrame& frame);
    // A document window is gone; a document with none left goes too.
    void FrameDestroyed(CDocumentHolder* holder);
    // True while the list closes windows itself, asking nothing.
    bool IsClosingAll() const { return closingAll; }
    // The program ends: every closer runs, asking nothing; then DeleteAll.
    void StopAll();
    void DeleteAll();
    // Writes the recent-file list to the settings.
    void SaveRecentFiles() const;

private:
    // Adds the document that `load` fills, with a window; a document that fails to load is
    // reported and gives null.
    CDocumentHolder* Add(const std::function<bool(CDocumentHolder&)>& load);
    CDocumentHolder* Find(const QString& path) const;
    // Refuses a name that another document has open; says so.
    bool MayTakeName(const CDocumentHolder& holder, const QString& path) const;
    bool SaveModified(CDocumentHolder& holder);
    bool StopSimulator(CDocumentHolder& holder);
    // Closes the document and its windows, asking nothing.
    bool CloseWindows(CDocumentHolder& holder);
    void LoadRecentFiles();
    void AddRecentFile(const QString& path);

    Windows& windows;
    QList<CDocumentHolder*> documents;
    CRecentFileList recentFiles;
    FileDialogs fileDialogs;
    bool closingAll = false;
};
