#pragma once

#include "editor/CTextPosition.h"

#include <cstdint>
#include <string>

// One recorded change: an insertion or a deletion of `text` between `start` and `end`.
struct UndoRecord {
    static constexpr uint32_t Insertion = 0x0001;  // else the change was a deletion
    static constexpr uint32_t GroupStart = 0x0100; // this record begins an undo group

    uint32_t undoFlags = 0;
    CTextPosition start;
    CTextPosition end;
    int32_t action = 0;
    std::string text;

    bool IsInsertion() const { return (undoFlags & Insertion) != 0; }
    bool BeginsGroup() const { return (undoFlags & GroupStart) != 0; }
};
