#pragma once

#include "editor/CTextChange.h"

// Text was inserted: it now runs from start to end.
class InsertionChange : public CTextChange {
public:
    using CTextChange::CTextChange;

    CTextPosition AdjustPosition(CTextPosition position) const override;
};
