#pragma once

#include "editor/CTextChange.h"

#include <cstdint>
#include <span>

// Characters were inserted at, or deleted from, the start of every line from start.line to
// end.line (block indent and outdent); no line came or went. Each line gained or lost
// `uniformCount` characters, or when `counts` is given, counts[line - start.line].
class LineStartsChange : public CTextChange {
public:
    LineStartsChange(int firstLine, int lastLine, bool inserted, int32_t everyLineCount,
                     std::span<const int32_t> lineCounts)
        : CTextChange({0, firstLine}, {0, lastLine}), insertion(inserted),
          uniformCount(everyLineCount), counts(lineCounts) {}

    CTextPosition AdjustPosition(CTextPosition position) const override;

private:
    bool insertion;
    int32_t uniformCount;
    std::span<const int32_t> counts;
};
