#pragma once

#include "app/CMyZorvanDoc.h"
#include "app/DiskChangeWatch.h"
#include "editor/CTextBufferObserver.h"

#include <QList>
#include <QObject>
#include <QString>
#include <functional>
#include <map>
#include <memory>

class CChildFrame;
class SourceViewDocumentLink;

// The window side of one open document: owns the CMyZorvanDoc and the link its source views
// share, knows the document windows that show it, and tells them when its title, path or
// modified state changes.
//
// Closers. Whatever must end before the document may close registers a closer: the simulator
// window does, so that closing the document or leaving the program first stops the run, waits
// for the worker to end and closes the simulator window. A closer runs on the user-interface
// thread and answers true when its window is gone, false to keep the document open. Closers are
// run by the main window before the save question; a document whose simulator is still open
// after them is not closed, and no frame is destroyed under a running worker.
//
// The file on disk. The holder remembers the file as the document last read or wrote it, and
// CheckDisk looks again (when a window of the document is activated, before a save or a
// compile): another program's change is taken in when the document has none of its own, else the
// user chooses between reloading and keeping the text shown; a removed file is told and the text
// kept as a change to be saved. Line marks and carets stay where they were across a reload.
class CDocumentHolder : public QObject, private CTextBufferObserver {
    Q_OBJECT
public:
    using Closer = std::function<bool()>;

    explicit CDocumentHolder(QObject* parent = nullptr);
    ~CDocumentHolder() override;

    CMyZorvanDoc& Document() { return document; }
    // What the document's source views share, made with the first of them: its devices (a sound
    // output among them) serve only documents that run programs.
    SourceViewDocumentLink& SourceLink();
    QString Title() const;
    QString PathName() const;
    bool IsModified() const { return document.IsModified(); }
    // The question asked before a modified document is closed.
    QString SaveQuestion() const;

    bool New();
    // False with ErrorText() set when the file cannot be read.
    bool Open(const QString& path);
    // Writes the text to `path` (which becomes the document's path). A failure keeps the
    // document modified and the file on disk as it was; ErrorText() then says why.
    bool SaveTo(const QString& path);
    QString ErrorText() const { return errorText; }

    // Looks whether another program changed or removed the file and deals with it as the
    // occasion asks; true when the document took the file's text (it then has no changes, so a
    // save has nothing left to write).
    bool CheckDisk(DiskChangeWatch::Occasion occasion);
    static QString ChangedOnDiskQuestion(const QString& path);
    static QString DeletedOnDiskText(const QString& path);

    const QList<CChildFrame*>& Frames() const { return frames; }
    void AddFrame(CChildFrame* frame);
    void RemoveFrame(CChildFrame* frame);

    // Returns a handle for RemoveCloser.
    int AddCloser(Closer closer);
    void RemoveCloser(int handle);
    // Runs every closer; false as soon as one refuses.
    bool RunClosers();

    // Tells the windows to look again (title, modified state).
    void NotifyChanged();

signals:
    void Changed();

private:
    void OnBufferChange(CTextBufferObserver* sourceView, const CTextChange* change, unsigned notice,
                        int line) override;
    void OnEditDone(int action, const std::string& text) override;
    void CheckModified();
    // Loads the file again into the text; false, with the reason told, when it cannot be read.
    bool Reload(const DiskFileState& state);

    CMyZorvanDoc document;
    std::unique_ptr<SourceViewDocumentLink> sourceLink;
    QList<CChildFrame*> frames;
    std::map<int, Closer> closers;
    int nextCloser = 1;
    bool lastModified = false;
    QString errorText;
    DiskChangeWatch diskWatch;
    bool checkingDisk = false;
};
