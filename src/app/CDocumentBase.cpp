#include "app/CDocumentBase.h"

#include <filesystem>
#include <fstream>

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
    // Only a regular file is tried: opening a named pipe would wait for a writer.
    std::error_code error;
    const bool readable = !path.empty() && std::filesystem::is_regular_file(path, error) &&
                          std::ifstream(path).good();
    if (!readable) {
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
