#include "editor/InsertionChange.h"

CTextPosition InsertionChange::AdjustPosition(CTextPosition position) const {
    if (position.line < start.line) {
        return position;
    }
    if (position.line > start.line) {
        position.line += end.line - start.line;
        return position;
    }
    if (position.charIndex <= start.charIndex) {
        return position;
    }
    return {end.charIndex + (position.charIndex - start.charIndex), end.line};
}
