#include "editor/LineStartsChange.h"

#include <algorithm>

// As an insertion or a deletion at column 0 of each line moves positions: a position at the
// very start stays before inserted characters, and one inside deleted characters goes to 0.
CTextPosition LineStartsChange::AdjustPosition(CTextPosition position) const {
    if (position.line < start.line || position.line > end.line) {
        return position;
    }
    const int32_t count = counts.empty()
                              ? uniformCount
                              : counts[static_cast<std::size_t>(position.line - start.line)];
    if (insertion) {
        if (position.charIndex > 0) {
            position.charIndex += count;
        }
    } else {
        position.charIndex = std::max(position.charIndex - count, 0);
    }
    return position;
}
