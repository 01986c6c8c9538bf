#include "app/ui/DocumentList.h"

#include "app/CommandTable.h"
#include "app/SavePlace.h"
#include "app/ui/CAppInfo.h"
#include "app/ui/CChildFrame.h"
#include "app/ui/CDocumentHolder.h"
#include "dialogs/MessageBoxes.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <memory>

namespace {

constexpr const char* recentGroup = "Recent File List";

// The same file whatever the spelling of its path.
QString SameFileKey(const QString& path) {
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? info.absoluteFilePath() : canonical;
}

void TellFailure(const CDocumentHolder& holder) {
    MessageBoxes::Tell(CAppInfo::Title, holder.ErrorText().toStdString(),
                       MessageBoxes::Icon::Warning);
}

} // namespace

DocumentList::DocumentList(Windows& shown, QObject* parent)
    : QObject(parent), windows(shown), recentFiles(CommandTable::RecentFileCount) {
    fileDialogs.open = [](QWidget* parentWidget) {
        return QFileDialog::getOpenFileName(parentWidget, QStringLiteral("Open"), QString(),
                                            QStringLiteral("8085 Files (*.85);;All Files (*)"));
    };
    fileDialogs.save = [](QWidget* parentWidget, const QString& suggested) {
        // The dialog adds the extension itself, so that its question about replacing a file
        // names the file that would really be written.
        QFileDialog dialog(parentWidget, QStringLiteral("Save As"), suggested,
                           QStringLiteral("8085 Files (*.85)"));
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix(QStringLiteral("85"));
        return dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()
                   ? dialog.selectedFiles().front()
                   : QString();
    };
    LoadRecentFiles();
}

DocumentList::~DocumentList() {
    DeleteAll();
}

// ---- Opening ----

CDocumentHolder* DocumentList::Add(const std::function<bool(CDocumentHolder&)>& load) {
    auto holder = std::make_unique<CDocumentHolder>();
    if (!load(*holder)) {
        TellFailure(*holder);
        return nullptr;
    }
    CDocumentHolder* added = holder.release();
    added->setParent(this);
    documents.append(added);
    connect(added, &CDocumentHolder::Changed, this, [this] { windows.DocumentChanged(); });
    windows.OpenWindow(*added);
    return added;
}

CDocumentHolder* DocumentList::New() {
    return Add([](CDocumentHolder& holder) { return holder.New(); });
}

CDocumentHolder* DocumentList::Find(const QString& path) const {
    const QString key = SameFileKey(path);
    for (CDocumentHolder* holder : documents) {
        if (!holder->PathName().isEmpty() && SameFileKey(holder->PathName()) == key) {
            return holder;
        }
    }
    return nullptr;
}

CDocumentHolder* DocumentList::Open(const QString& path) {
    const QString absolute = QFileInfo(path).absoluteFilePath();
    if (CDocumentHolder* open = Find(absolute)) {
        // A second document on the same file would overwrite the first one's saves.
        if (!open->Frames().isEmpty()) {
            windows.ShowWindow(*open->Frames().front());
        }
        AddRecentFile(open->PathName());
        return open;
    }
    CDocumentHolder* opened =
        Add([&absolute](CDocumentHolder& holder) { return holder.Open(absolute); });
    if (opened != nullptr) {
        AddRecentFile(absolute);
    }
    return opened;
}

void DocumentList::OpenChosen() {
    if (const QString path = fileDialogs.open(windows.DialogParent()); !path.isEmpty()) {
        Open(path);
    }
}

void DocumentList::OpenRecent(int index) {
    const auto& files = recentFiles.Files();
    if (index < 0 || index >= static_cast<int>(files.size())) {
        return;
    }
    const std::string path = files[index];
    if (Open(QString::fromStdString(path)) == nullptr) {
        // The box has said why; the entry leads nowhere now.
        recentFiles.Remove(path);
        SaveRecentFiles();
        windows.RecentFilesChanged();
    }
}

// ---- Saving ----

bool DocumentList::Save(CDocumentHolder& holder) {
    if (!SavePlace::CanSaveInPlace(holder.PathName().toStdString(),
                                   holder.Document().GetTextBuffer().IsReadOnly())) {
        return SaveAs(holder);
    }
    if (holder.CheckDisk(DiskChangeWatch::Occasion::BeforeSave)) {
        return true; // the document took the file's text: nothing of its own is left to write
    }
    if (!holder.SaveTo(holder.PathName())) {
        TellFailure(holder);
        return false;
    }
    return true;
}

bool DocumentList::SaveAs(CDocumentHolder& holder) {
    QString suggested = holder.PathName().isEmpty() ? holder.Title() : holder.PathName();
    if (!holder.PathName().isEmpty() &&
        !SavePlace::CanSaveInPlace(holder.PathName().toStdString(),
                                   holder.Document().GetTextBuffer().IsReadOnly())) {
        // Its own folder takes no file: the user's documents folder, else home.
        suggested = QString::fromStdString(SavePlace::SuggestedPath(
            holder.PathName().toStdString(),
            QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation).toStdString(),
            QDir::homePath().toStdString()));
    }
    QString path = fileDialogs.save(windows.DialogParent(), suggested);
    if (path.isEmpty()) {
        return false;
    }
    if (QFileInfo(path).suffix().isEmpty()) {
        // A dialog of the desktop may give the name as typed; its question did not cover the
        // name written.
        path += QStringLiteral(".85");
        if (QFileInfo::exists(path) &&
            MessageBoxes::Ask(CAppInfo::Title,
                              QStringLiteral("%1 already exists.\nDo you want to replace it?")
                                  .arg(QFileInfo(path).fileName())
                                  .toStdString(),
                              MessageBoxes::Icon::Warning,
                              MessageBoxes::Buttons::YesNo) != MessageBoxes::Answer::Yes) {
            return false;
        }
    }
    path = QFileInfo(path).absoluteFilePath();
    if (!MayTakeName(holder, path)) {
        return false;
    }
    if (!holder.SaveTo(path)) {
        TellFailure(holder);
        return false;
    }
    AddRecentFile(path);
    return true;
}

bool DocumentList::MayTakeName(const CDocumentHolder& holder, const QString& path) const {
    const CDocumentHolder* other = Find(path);
    if (other == nullptr || other == &holder) {
        return true;
    }
    // Both windows would then overwrite each other's saves.
    MessageBoxes::Tell(CAppInfo::Title,
                       QStringLiteral("%1\nis open in another document window.\nClose that "
                                      "window first, or save under another name.")
                           .arg(QDir::toNativeSeparators(path))
                           .toStdString(),
                       MessageBoxes::Icon::Warning);
    return false;
}

bool DocumentList::SaveModified(CDocumentHolder& holder) {
    if (!holder.IsModified()) {
        return true;
    }
    switch (MessageBoxes::Ask(CAppInfo::Title, holder.SaveQuestion().toStdString(),
                              MessageBoxes::Icon::Warning, MessageBoxes::Buttons::YesNoCancel)) {
    case MessageBoxes::Answer::Yes:
        return Save(holder);
    case MessageBoxes::Answer::No:
        return true;
    default:
        return false;
    }
}

// ---- Closing ----

bool DocumentList::StopSimulator(CDocumentHolder& holder) {
    // The simulator's window stops its run and waits for its worker before it goes; a document
    // whose simulator is still open keeps its windows.
    return holder.RunClosers() && !holder.Document().IsSimulatorOpen();
}

bool DocumentList::Close(CDocumentHolder& holder) {
    if (!StopSimulator(holder) || !SaveModified(holder)) {
        return false;
    }
    return CloseWindows(holder);
}

bool DocumentList::CloseWindows(CDocumentHolder& holder) {
    if (!holder.Document().CloseDocument()) {
        return false;
    }
    closingAll = true;
    const QList<CChildFrame*> frames = holder.Frames();
    for (CChildFrame* frame : frames) {
        frame->close();
    }
    closingAll = false;
    return true;
}

bool DocumentList::CloseAll() {
    for (CDocumentHolder* holder : documents) {
        if (!StopSimulator(*holder)) {
            return false;
        }
    }
    for (CDocumentHolder* holder : documents) {
        if (!SaveModified(*holder)) {
            return false;
        }
    }
    const QList<CDocumentHolder*> closing = documents;
    for (CDocumentHolder* holder : closing) {
        if (!CloseWindows(*holder)) {
            return false;
        }
    }
    return true;
}

bool DocumentList::AllowFrameClose(CChildFrame& frame) {
    if (closingAll) {
        return true;
    }
    CDocumentHolder& holder = frame.Holder();
    if (!StopSimulator(holder)) {
        return false;
    }
    if (holder.Frames().size() > 1) {
        return true;
    }
    return SaveModified(holder) && holder.Document().CloseDocument();
}

void DocumentList::FrameDestroyed(CDocumentHolder* holder) {
    if (documents.contains(holder) && holder->Frames().isEmpty()) {
        documents.removeAll(holder);
        holder->deleteLater();
    }
}

void DocumentList::StopAll() {
    closingAll = true;
    for (CDocumentHolder* holder : documents) {
        holder->RunClosers();
    }
}

void DocumentList::DeleteAll() {
    qDeleteAll(documents);
    documents.clear();
}

// ---- Recent files ----

void DocumentList::LoadRecentFiles() {
    QSettings settings(CAppInfo::SettingsOrganisation, CAppInfo::SettingsApplication);
    settings.beginGroup(recentGroup);
    std::vector<std::string> paths;
    for (int slot = 1; slot <= CommandTable::RecentFileCount; ++slot) {
        paths.push_back(
            settings.value(QStringLiteral("File%1").arg(slot)).toString().toStdString());
    }
    recentFiles.Assign(paths);
}

void DocumentList::SaveRecentFiles() const {
    QSettings settings(CAppInfo::SettingsOrganisation, CAppInfo::SettingsApplication);
    settings.beginGroup(recentGroup);
    const auto& files = recentFiles.Files();
    for (int slot = 0; slot < CommandTable::RecentFileCount; ++slot) {
        const QString key = QStringLiteral("File%1").arg(slot + 1);
        if (slot < static_cast<int>(files.size())) {
            settings.setValue(key, QString::fromStdString(files[slot]));
        } else {
            settings.remove(key);
        }
    }
}

void DocumentList::AddRecentFile(const QString& path) {
    recentFiles.Add(path.toStdString());
    SaveRecentFiles();
    windows.RecentFilesChanged();
}
