#pragma once

#include "editor/CTextPosition.h"

// Describes one change of the text to the views, so that each can move its caret, selection and
// scroll position along with the text.
class CTextChange {
public:
    CTextChange(CTextPosition startPosition, CTextPosition endPosition)
        : start(startPosition), end(endPosition) {}
    virtual ~CTextChange() = default;

    // Where a position that was valid before the change lies afterwards.
    virtual CTextPosition AdjustPosition(CTextPosition position) const = 0;

    CTextPosition start;
    CTextPosition end;
};
