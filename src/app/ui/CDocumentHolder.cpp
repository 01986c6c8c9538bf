#include "app/ui/CDocumentHolder.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>

CDocumentHolder::CDocumentHolder(QObject* parent) : QObject(parent) {
    document.GetTextBuffer().AttachView(this);
}

CDocumentHolder::~CDocumentHolder() {
    document.GetTextBuffer().DetachView(this);
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
    if (!done) {
        errorText = QString::fromStdString(document.GetErrorMessage());
    }
    NotifyChanged();
    return done;
}

bool CDocumentHolder::Open(const QString& path) {
    errorText.clear();
    if (document.OpenDocument(path.toStdString())) {
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
