#pragma once

#include "editor/CTextChange.h"

// The text from start to end was deleted.
class DeletionChange : public CTextChange {
public:
    using CTextChange::CTextChange;

    CTextPosition AdjustPosition(CTextPosition position) const override;
};
