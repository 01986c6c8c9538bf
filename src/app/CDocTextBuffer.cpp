#include "app/CDocTextBuffer.h"

#include "app/CDocumentBase.h"

void CDocTextBuffer::SetModifiedState(bool flag) {
    owner->SetModifiedFlag(flag);
}
