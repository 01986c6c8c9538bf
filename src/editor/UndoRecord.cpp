#include "editor/UndoRecord.h"

#include "editor/LineEnd.h"

#include <algorithm>

std::vector<std::string_view> UndoRecord::Lines() const {
    if (lineLengths.empty()) {
        return LineEnd::SplitAtBreaks(text);
    }
    std::vector<std::string_view> pieces;
    std::string_view rest = text;
    for (const int32_t lineLength : lineLengths) {
        const auto size = static_cast<std::size_t>(lineLength);
        pieces.push_back(rest.substr(0, size));
        rest.remove_prefix(std::min(rest.size(), size + 2)); // the line and its CR LF
    }
    return pieces;
}
