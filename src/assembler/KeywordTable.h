#pragma once

#include "assembler/KeywordColour.h"

#include <cstddef>
#include <span>
#include <string_view>

// One keyword with the one-line help text the status bar shows for it (empty for registers).
struct KeywordEntry {
    std::string_view name;
    std::string_view help;
};

// An ordered list of keywords sharing one colour. The entries are not owned: the program-wide
// tables point at constant data that lives as long as the program.
class KeywordTable : public KeywordColour {
public:
    KeywordTable(std::span<const KeywordEntry> entries, int colourIndex);

    int ColourIndex() const override;
    std::span<const KeywordEntry> Entries() const { return entries; }

    // The first entry, in table order, whose name stands at `position` of `line` (ignoring case)
    // and is not followed by another word character; none when no entry does. "cm" is therefore
    // not taken for the start of "cma", nor "add" for the start of the label "add_one".
    const KeywordEntry* MatchAt(std::string_view line, std::size_t position) const;

private:
    std::span<const KeywordEntry> entries;
    int colourIndex;
};
