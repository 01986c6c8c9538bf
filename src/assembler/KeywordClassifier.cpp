#include "assembler/KeywordClassifier.h"

#include "assembler/KeywordTables.h"
#include "assembler/SourceChar.h"

WordClass ClassifyWord(std::string_view line, std::size_t position) {
    WordClass word;
    word.start = position < line.size() ? position : line.size();
    while (word.start < line.size() && SourceChar::IsSpace(line[word.start])) {
        ++word.start;
    }
    if (word.start == line.size()) {
        word.colourIndex = SourceColour::Normal;
        return word;
    }

    const char first = line[word.start];
    if (first == ';') {
        word.length = line.size() - word.start;
        word.continueLine = false;
        word.colourIndex = SourceColour::Comment;
        return word;
    }
    if (first == '.') {
        // A misspelt directive is marked to its end like a known one, so the whole rest of the
        // line stands out.
        word.entry = DirectiveKeywords().MatchAt(line, word.start);
        word.length = line.size() - word.start;
        word.continueLine = false;
        word.colourIndex =
            word.entry ? DirectiveKeywords().ColourIndex() : SourceColour::UnknownDirective;
        return word;
    }

    if (first == '\'') {
        // A string, ";" and "#" included, up to its closing quote (a doubled quote is one
        // character of it) or the end of the line.
        std::size_t end = word.start + 1;
        while (end < line.size()) {
            if (line[end] != '\'') {
                ++end;
            } else if (end + 1 < line.size() && line[end + 1] == '\'') {
                end += 2;
            } else {
                ++end; // past the closing quote
                break;
            }
        }
        word.length = end - word.start;
        word.colourIndex = SourceColour::Normal;
        return word;
    }

    for (const KeywordTable* table :
         {&InstructionKeywords(), &RegisterKeywords(), &PlainDirectiveKeywords()}) {
        if (const KeywordEntry* entry = table->MatchAt(line, word.start)) {
            word.entry = entry;
            word.length = entry->name.size();
            word.colourIndex = table->ColourIndex();
            return word;
        }
    }

    std::size_t end = word.start;
    while (end < line.size() && SourceChar::IsWordCharacter(line[end])) {
        ++end;
    }
    word.length = end - word.start;
    word.colourIndex = SourceColour::Normal;
    return word;
}

std::optional<std::string_view> GetLineHelp(std::string_view line) {
    const WordClass word = ClassifyWord(line, 0);
    if (word.entry != nullptr) {
        return word.entry->help;
    }
    // "name EQU value" and "name: EQU value" (or SET) are told by their second word.
    if (word.length == 0 || word.colourIndex != SourceColour::Normal || line[word.start] == '\'') {
        return std::nullopt;
    }
    std::size_t next = word.start + word.length;
    if (next < line.size() && line[next] == ':') {
        ++next;
    }
    const WordClass second = ClassifyWord(line, next);
    if (second.entry != nullptr && (second.entry->name == "equ" || second.entry->name == "set")) {
        return second.entry->help;
    }
    return std::nullopt;
}

int ColourLine(std::string_view line, int state, std::vector<ColourBlock>& blocks) {
    blocks.clear();
    std::size_t position = 0;
    while (position < line.size()) {
        const WordClass word = ClassifyWord(line, position);
        if (word.start == line.size()) {
            break; // only blanks were left; they keep the colour before them
        }
        if (word.length == 0) {
            // Punctuation such as a comma or a colon: one character of normal text.
            blocks.push_back({word.start, SourceColour::Normal});
            position = word.start + 1;
            continue;
        }
        // One block per character, as the text view expects them.
        for (std::size_t i = word.start; i < word.start + word.length; ++i) {
            blocks.push_back({i, word.colourIndex});
        }
        position = word.start + word.length;
        if (!word.continueLine) {
            break;
        }
    }
    return state;
}
