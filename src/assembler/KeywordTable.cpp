#include "assembler/KeywordTable.h"

#include "assembler/SourceChar.h"

KeywordTable::KeywordTable(std::span<const KeywordEntry> entries_, int colourIndex_)
    : entries(entries_), colourIndex(colourIndex_) {
}

int KeywordTable::ColourIndex() const {
    return colourIndex;
}

const KeywordEntry* KeywordTable::MatchAt(std::string_view line, std::size_t position) const {
    if (position > line.size()) {
        return nullptr;
    }
    const std::string_view rest = line.substr(position);
    for (const KeywordEntry& entry : entries) {
        if (rest.size() < entry.name.size() ||
            !SourceChar::EqualIgnoringCase(rest.substr(0, entry.name.size()), entry.name)) {
            continue;
        }
        if (rest.size() == entry.name.size() ||
            !SourceChar::IsWordCharacter(rest[entry.name.size()])) {
            return &entry;
        }
    }
    return nullptr;
}
