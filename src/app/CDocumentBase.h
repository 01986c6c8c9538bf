#pragma once

#include <string>

// The document layer under CMyZorvanDoc: a path, a title, a modified flag and the events of a
// document's life (new, open, save, close). Derived documents override the On... events and call
// the base first; the callers (the frame, later) use the plain operations, which also keep the
// path and the modified flag. A failed event leaves a message for the caller to show.
class CDocumentBase {
public:
    static constexpr const char* NewDocumentTitle = "noname";
    static constexpr const char* OpenFailedMessage = "Failed to open document.";
    static constexpr const char* SaveFailedMessage = "Failed to save document.";

    CDocumentBase() = default;
    CDocumentBase(const CDocumentBase&) = delete;
    CDocumentBase& operator=(const CDocumentBase&) = delete;
    virtual ~CDocumentBase() = default;

    bool NewDocument();
    bool OpenDocument(const std::string& path);
    bool SaveDocument(const std::string& path);
    // False when the document refused to close.
    bool CloseDocument();

    const std::string& GetPathName() const { return pathName; }
    // The path's file name, or "noname" for a document never saved.
    const std::string& GetTitle() const { return title; }
    void SetPathName(const std::string& path);
    bool IsModified() const { return modified; }
    void SetModifiedFlag(bool flag = true) { modified = flag; }
    bool IsClosed() const { return closed; }
    // Why the last event failed; empty after a success.
    const std::string& GetErrorMessage() const { return errorMessage; }

protected:
    // Releases the contents; called by new, open and close.
    virtual void DeleteContents() {}
    virtual bool OnNewDocument();
    // Checks that the file can be read, then deletes the contents.
    virtual bool OnOpenDocument(const std::string& path);
    virtual bool OnSaveDocument(const std::string& path);
    virtual bool OnCloseDocument();

    void SetErrorMessage(const std::string& message) { errorMessage = message; }

private:
    std::string pathName;
    std::string title = NewDocumentTitle;
    std::string errorMessage;
    bool modified = false;
    bool closed = false;
};
