#include "app/CMyZorvanDoc.h"

#include "editor/LineEnd.h"

CMyZorvanDoc::CMyZorvanDoc() : textBuffer(this) {
    assembler.Attach(machine);
    simulatorFlags.ClearSimulatorFlags();
}

void CMyZorvanDoc::DeleteContents() {
    CDocumentBase::DeleteContents();
    textBuffer.ReleaseAll();
}

bool CMyZorvanDoc::OnNewDocument() {
    if (!CDocumentBase::OnNewDocument()) {
        return false;
    }
    textBuffer.StartEmpty(0);
    return true;
}

bool CMyZorvanDoc::OnOpenDocument(const std::string& path) {
    if (!CDocumentBase::OnOpenDocument(path)) {
        return false;
    }
    return textBuffer.LoadText(path, LineEnd::Automatic);
}

bool CMyZorvanDoc::OnSaveDocument(const std::string& path) {
    return textBuffer.SaveText(path, LineEnd::Automatic, true);
}

bool CMyZorvanDoc::OnCloseDocument() {
    if (IsSimulatorOpen()) {
        return false;
    }
    return CDocumentBase::OnCloseDocument();
}
