#pragma once

#include "assembler/KeywordTable.h"

#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

// What the text at a position of a source line is, for colouring and mini help.
struct WordClass {
    std::size_t start = 0;               // where the word begins, after skipped blanks
    const KeywordEntry* entry = nullptr; // the keyword matched, if any
    std::size_t length = 0;              // characters covered from start
    bool continueLine = true;            // false once the rest of the line has been taken
    int colourIndex = 0;
};

// A run of the text view's colour: from `index` up to the next block, or to the line end.
struct ColourBlock {
    std::size_t index = 0;
    int colourIndex = 0;

    bool operator==(const ColourBlock&) const = default;
};

// Classifies the word at or after `position`, ignoring case: a comment from ";" on, a directive
// (or an unknown dot word) from "." on, a string in single quotes (ordinary text), an instruction,
// a register, a directive without the dot, or an ordinary word (numbers and symbols included). A
// position at or past the end gives an empty ordinary word there.
WordClass ClassifyWord(std::string_view line, std::size_t position);

// The help text of the instruction or directive the line starts with (the empty text for a
// register), or of the EQU or SET after the name a line starts with ("count EQU 5", "count: SET
// 1"); none when it starts with anything else, a label included. The source view shows it only
// while its mini-help preference is on.
std::optional<std::string_view> GetLineHelp(std::string_view line);

// The colouring hook of the source view: replaces `blocks` with the line's colour blocks in
// increasing index order and returns `state` unchanged, as lines do not depend on each other. The
// source view calls it only while its syntax-highlighting preference is on.
int ColourLine(std::string_view line, int state, std::vector<ColourBlock>& blocks);
