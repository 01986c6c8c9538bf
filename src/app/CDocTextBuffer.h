#pragma once

#include "editor/CTextBuffer.h"

class CDocumentBase;

// The text buffer of a document: its modified state lives in the document, so the buffer's own
// flag is never raised and the document's is the one that changes while editing.
class CDocTextBuffer : public CTextBuffer {
public:
    explicit CDocTextBuffer(CDocumentBase* ownerDocument) : owner(ownerDocument) {}

    void SetModifiedState(bool flag) override;

private:
    CDocumentBase* owner;
};
