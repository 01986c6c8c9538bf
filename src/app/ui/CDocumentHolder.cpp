#include "app/ui/CDocumentHolder.h"

#include "app/ui/CAppInfo.h"
#include "app/ui/CChildFrame.h"
#include "app/ui/SourceViewDocumentLink.h"
#include "dialogs/MessageBoxes.h"
#include "editor/LineEnd.h"
#include "editor/ui/CTextView.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <vector>

CDocumentHolder::CDocumentHolder(QObject* parent) : QObject(parent) {
    document.GetTextBuffer().AttachView(this);
}

CDocumentHolder::~CDocumentHolder() {
    document.GetTextBuffer().DetachView(this);
}

SourceViewDocumentLink& CDocumentHolder::SourceLink() {
    if (sourceLink == nullptr) {
        sourceLink = std::make_unique<SourceViewDocumentLink>(document);
    }
    return *sourceLink;
}

QString CDocumentHolder::Title() const {
    return QString::fromStdString(document.GetTitle());
}

QString CDocumentHolder::PathName() const {
    return QString::fromStdString(document.GetPathName());
}

QString CDocumentHolder::SaveQuestion() const {
    const QString path = PathName();
    return QStringLiteral("Save changes to %1?").arg(path.isEmpty() ? Title() : path);
}

bool CDocumentHolder::New() {
    errorText.clear();
    const bool done = document.NewDocument();
    diskWatch.Forget();
    if (!done) {
        errorText = QString::fromStdString(document.GetErrorMessage());
    }
    NotifyChanged();
    return done;
}

bool CDocumentHolder::Open(const QString& path) {
    errorText.clear();
    // Looked at before the read: a change made in between then shows as a change, not as the
    // text that was read.
    const DiskFileState state = DiskFileState::Of(path.toStdString());
    if (document.OpenDocument(path.toStdString())) {
        diskWatch.Remember(state);
        NotifyChanged();
        return true;
    }
    errorText = QString::fromStdString(document.GetErrorMessage()) + "\n\n" + path;
    QFile file(path);
    if (!QFileInfo(path).isFile()) {
        errorText += QFileInfo::exists(path) ? "\nNot a regular file" : "\nNo such file";
    } else if (!file.open(QIODevice::ReadOnly)) {
        errorText += "\n" + file.errorString();
    } else if (const std::string why = document.GetTextBuffer().LoadFailureText(); !why.empty()) {
        errorText += "\n" + QString::fromStdString(why);
    }
    return false;
}

bool CDocumentHolder::SaveTo(const QString& path) {
    errorText.clear();
    errno = 0;
    const bool saved = document.SaveDocument(path.toStdString());
    const int reason = errno;
    if (saved) {
        diskWatch.Remember(DiskFileState::Of(path.toStdString()));
        // A read-only text saved elsewhere (an example copied to the user's folder) becomes the
        // new file's, which the user may write.
        if (document.GetTextBuffer().IsReadOnly()) {
            Reload(DiskFileState::Of(path.toStdString()));
        }
        NotifyChanged();
        return true;
    }
    errorText = QString::fromStdString(document.GetErrorMessage()) + "\n\n" + path;
    if (reason != 0) {
        errorText += "\n" + QString::fromLocal8Bit(std::strerror(reason));
    }
    const std::string& kept = document.GetTextBuffer().KeptTemporaryPath();
    if (!kept.empty()) {
        errorText += "\nThe new text was kept in " + QString::fromStdString(kept);
    }
    return false;
}

void CDocumentHolder::AddFrame(CChildFrame* frame) {
    if (!frames.contains(frame)) {
        frames.append(frame);
    }
}

void CDocumentHolder::RemoveFrame(CChildFrame* frame) {
    frames.removeAll(frame);
}

int CDocumentHolder::AddCloser(Closer closer) {
    closers[nextCloser] = std::move(closer);
    return nextCloser++;
}

void CDocumentHolder::RemoveCloser(int handle) {
    closers.erase(handle);
}

bool CDocumentHolder::RunClosers() {
    // A closer may remove itself (its window closes), so run over a copy.
    const auto current = closers;
    for (const auto& [handle, closer] : current) {
        if (closer && !closer()) {
            return false;
        }
    }
    return true;
}

void CDocumentHolder::NotifyChanged() {
    lastModified = document.IsModified();
    emit Changed();
}

void CDocumentHolder::OnBufferChange(CTextBufferObserver*, const CTextChange*, unsigned, int) {
    CheckModified();
}

void CDocumentHolder::OnEditDone(int, const std::string&) {
    CheckModified();
}

void CDocumentHolder::CheckModified() {
    // The buffer may raise the flag after telling its views; look once the change is over.
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (document.IsModified() != lastModified) {
                NotifyChanged();
            }
        },
        Qt::QueuedConnection);
}

// ---- The file on disk ----

QString CDocumentHolder::ChangedOnDiskQuestion(const QString& path) {
    return QStringLiteral("%1 has changed on disk. Reload it?").arg(path);
}

QString CDocumentHolder::DeletedOnDiskText(const QString& path) {
    return QStringLiteral("%1 has been deleted on disk.\n\nThe text stays open here; save it to "
                          "write the file again.")
        .arg(path);
}

bool CDocumentHolder::CheckDisk(DiskChangeWatch::Occasion occasion) {
    // A box below lets other windows be activated, which would look again.
    if (checkingDisk || !diskWatch.IsWatching()) {
        return false;
    }
    checkingDisk = true;
    const DiskFileState now = DiskFileState::Of(document.GetPathName());
    bool reloaded = false;
    switch (diskWatch.Decide(now, document.IsModified(), occasion)) {
    case DiskChangeWatch::Action::None:
        break;
    case DiskChangeWatch::Action::Reload:
        reloaded = Reload(now);
        break;
    case DiskChangeWatch::Action::AskReload: {
        MessageBoxes::Box box{CAppInfo::Title, ChangedOnDiskQuestion(PathName()).toStdString(),
                              MessageBoxes::Icon::Warning, MessageBoxes::Buttons::YesNo};
        box.yesText = "&Reload";
        box.noText = "&Keep mine";
        if (MessageBoxes::Current().Ask(box) == MessageBoxes::Answer::Yes) {
            reloaded = Reload(now);
        } else {
            // The text shown is kept; it goes over the file at the user's next save.
            diskWatch.Acknowledge(now);
        }
        break;
    }
    case DiskChangeWatch::Action::TellDeleted:
        diskWatch.Acknowledge(now);
        document.SetModifiedFlag(true);
        NotifyChanged();
        MessageBoxes::Tell(CAppInfo::Title, DeletedOnDiskText(PathName()).toStdString(),
                           MessageBoxes::Icon::Warning);
        break;
    }
    // While the file is gone the text exists nowhere else: it stays a change to be saved, even
    // after an undo back to the text as last saved.
    if (!now.exists && occasion != DiskChangeWatch::Occasion::BeforeSave &&
        !document.IsModified()) {
        document.SetModifiedFlag(true);
        NotifyChanged();
    }
    checkingDisk = false;
    return reloaded;
}

bool CDocumentHolder::Reload(const DiskFileState& state) {
    CTextBuffer& text = document.GetTextBuffer();
    std::vector<std::uint32_t> marks;
    marks.reserve(static_cast<std::size_t>(text.LineCount()));
    for (int line = 0; line < text.LineCount(); ++line) {
        marks.push_back(text.LineFlags(line));
    }
    struct Place {
        CTextView* view;
        CTextPosition caret;
    };
    std::vector<Place> places;
    for (CChildFrame* frame : frames) {
        for (QWidget* widget : frame->Views()) {
            if (auto* view = qobject_cast<CTextView*>(widget)) {
                places.push_back({view, view->GetCursorPos()});
            }
        }
    }
    if (!text.LoadText(document.GetPathName(), LineEnd::Automatic)) {
        // The text shown stays; the file is not asked about again until it changes once more.
        diskWatch.Acknowledge(state);
        MessageBoxes::Tell(CAppInfo::Title,
                           (PathName() + QStringLiteral("\n\nThe file could not be read again.\n") +
                            QString::fromStdString(text.LoadFailureText()))
                               .toStdString(),
                           MessageBoxes::Icon::Warning);
        return false;
    }
    diskWatch.Remember(state);
    // Breakpoints, bookmarks and the execution line stay on the lines they were on.
    const int kept = std::min(text.LineCount(), static_cast<int>(marks.size()));
    for (int line = 0; line < kept; ++line) {
        for (int bit = 0; bit < 32; ++bit) {
            if ((marks[line] & (1u << bit)) != 0) {
                text.ChangeLineFlag(line, 1u << bit, true, false);
            }
        }
    }
    for (const Place& place : places) {
        place.view->SetCaretPosition(place.caret);
        place.view->ScrollIntoView(place.view->GetCursorPos());
    }
    document.SetModifiedFlag(false);
    NotifyChanged();
    return true;
}
