#include "app/CDocumentBase.h"

#include "files/RegularFile.h"

#include <filesystem>
#include <unistd.h>

bool CDocumentBase::NewDocument() {
    errorMessage.clear();
    if (!OnNewDocument()) {
        return false;
    }
    pathName.clear();
    title = NewDocumentTitle;
    modified = false;
    return true;
}

bool CDocumentBase::OpenDocument(const std::string& path) {
    errorMessage.clear();
    if (!OnOpenDocument(path)) {
        if (errorMessage.empty()) {
            errorMessage = OpenFailedMessage;
        }
        return false;
    }
    SetPathName(path);
    modified = false;
    return true;
}

bool CDocumentBase::SaveDocument(const std::string& path) {
    errorMessage.clear();
    if (!OnSaveDocument(path)) {
        if (errorMessage.empty()) {
            errorMessage = SaveFailedMessage;
        }
        return false;
    }
    SetPathName(path);
    return true;
}

bool CDocumentBase::CloseDocument() {
    if (closed) {
        return true;
    }
    closed = OnCloseDocument();
    return closed;
}

void CDocumentBase::SetPathName(const std::string& path) {
    pathName = path;
    const std::string name = std::filesystem::path(path).filename().string();
    title = name.empty() ? NewDocumentTitle : name;
}

bool CDocumentBase::OnNewDocument() {
    DeleteContents();
    return true;
}

bool CDocumentBase::OnOpenDocument(const std::string& path) {
    // Only a regular file is tried, and the try never waits: a named pipe put in its place
    // between a look and an open would wait for a writer.
    std::string problem;
    const int fd = RegularFile::OpenForReading(path, problem);
    if (fd >= 0) {
        close(fd);
    }
    if (fd < 0) {
        errorMessage = OpenFailedMessage;
        return false;
    }
    DeleteContents();
    return true;
}

bool CDocumentBase::OnSaveDocument(const std::string&) {
    modified = false;
    return true;
}

bool CDocumentBase::OnCloseDocument() {
    DeleteContents();
    return true;
}
