#include "editor/DeletionChange.h"

#include <algorithm>

CTextPosition DeletionChange::AdjustPosition(CTextPosition position) const {
    if (position.line < start.line) {
        return position;
    }
    if (position.line > end.line) {
        position.line -= end.line - start.line;
        return position;
    }
    if (position.line == end.line && position.charIndex >= end.charIndex) {
        return {start.charIndex + (position.charIndex - end.charIndex), start.line};
    }
    if (position.line == start.line) {
        return {std::min(position.charIndex, start.charIndex), start.line};
    }
    return start;
}
