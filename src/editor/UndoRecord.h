#pragma once

#include "editor/CTextPosition.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// One recorded change: an insertion or a deletion of `text` between `start` and `end`; or, for
// a block indent or outdent, at the start of every line from start.line to end.line.
struct UndoRecord {
    static constexpr uint32_t Insertion = 0x0001;  // else the change was a deletion
    static constexpr uint32_t LineStarts = 0x0002; // the change was at the start of each line
    static constexpr uint32_t GroupStart = 0x0100; // this record begins an undo group

    uint32_t undoFlags = 0;
    CTextPosition start;
    CTextPosition end;
    int32_t action = 0;
    std::string text;
    // For a deletion whose lines hold CRs of their own, the lengths of those lines: the text
    // (lines joined by CR LF) could not be cut back into the same lines. For a change at line
    // starts, how many characters of `text` (one after the other) belong to each line; empty
    // when every line had all of `text`. Empty otherwise.
    std::vector<int32_t> lineLengths;

    bool IsInsertion() const { return (undoFlags & Insertion) != 0; }
    bool IsAtLineStarts() const { return (undoFlags & LineStarts) != 0; }
    bool BeginsGroup() const { return (undoFlags & GroupStart) != 0; }
    // The lines `text` stands for, as an insertion puts them back (not for a change at line
    // starts).
    std::vector<std::string_view> Lines() const;
};
