#include "assembler/KeywordClassifier.h"

#include "assembler/KeywordTables.h"

#include <gtest/gtest.h>
#include <string>
#include <string_view>
#include <vector>

namespace {

struct ClassifyRow {
    std::string_view line;
    std::size_t position;
    std::size_t start;
    std::string_view entry; // empty: none
    std::size_t length;
    bool continueLine;
    int colour;
};

TEST(KeywordClassifier, ClassifiesTheWordAtAPosition) {
    const ClassifyRow rows[] = {
        // Keywords, any case, after any white space.
        {"MVI a, 1", 0, 0, "mvi", 3, true, 6},
        {" \t\r\v\fLxi", 0, 5, "lxi", 3, true, 6},
        {"mov A,b", 3, 4, "a", 1, true, 8},
        {"push PSW", 4, 5, "psw", 3, true, 8},
        {"lxi sp,5", 3, 4, "sp", 2, true, 8},
        {"cma", 0, 0, "cma", 3, true, 6},
        {"cm x", 0, 0, "cm", 2, true, 6},
        // Ordinary words: labels, numbers, symbols, and words that only begin like a keyword.
        {"loop: nop", 0, 0, "", 4, true, 2},
        {"add_one: nop", 0, 0, "", 7, true, 2},
        {"mova", 0, 0, "", 4, true, 2},
        {"sp1", 0, 0, "", 3, true, 2},
        {"0FFh", 0, 0, "", 4, true, 2},
        {"mov a,b", 5, 5, "", 0, true, 2},
        {"\xe9t\xe9", 0, 0, "", 0, true, 2},
        // Comments and dot words take the rest of the line.
        {"; mov a,b", 0, 0, "", 9, false, 7},
        {"nop  ; wait", 3, 5, "", 6, false, 7},
        {"   .ORG 100 ; start", 0, 3, ".org", 16, false, 11},
        {".equ,x", 0, 0, ".equ", 6, false, 11},
        {".orgx 5", 0, 0, "", 7, false, 13},
        {".foo 1", 0, 0, "", 6, false, 13},
        {".", 0, 0, "", 1, false, 13},
        {".set 1", 0, 0, "", 6, false, 13},
        // Nothing left to classify.
        {"", 0, 0, "", 0, true, 2},
        {"nop   ", 3, 6, "", 0, true, 2},
        {"nop", 40, 3, "", 0, true, 2},
    };
    for (const ClassifyRow& row : rows) {
        SCOPED_TRACE('"' + std::string(row.line) + "\" at " + std::to_string(row.position));
        const WordClass word = ClassifyWord(row.line, row.position);
        EXPECT_EQ(word.start, row.start);
        EXPECT_EQ(word.entry ? word.entry->name : std::string_view{}, row.entry);
        EXPECT_EQ(word.length, row.length);
        EXPECT_EQ(word.continueLine, row.continueLine);
        EXPECT_EQ(word.colourIndex, row.colour);
    }
}

struct HelpRow {
    std::string_view line;
    std::string_view keyword; // whose help text is expected
    bool hasHelp;
};

TEST(KeywordClassifier, LineHelpComesFromTheFirstWord) {
    const HelpRow rows[] = {
        {"   .ORG 100", ".org", true},
        {".setword 100h, 5", ".setword", true},
        {"\tMOV a,b ; copy", "mov", true},
        {"xthl", "xthl", true},
        {"cm 100", "cm", true},
        {"cma", "cma", true},
        {"psw", "psw", true},
        {"loop: mov a,b", "", false},
        {"loop:mov a,b", "", false},
        {"add_one: nop", "", false},
        {".orgx", "", false},
        {"; mov a,b", "", false},
        {"", "", false},
        {"     ", "", false},
        {"123", "", false},
        {",mov", "", false},
    };
    for (const HelpRow& row : rows) {
        SCOPED_TRACE('"' + std::string(row.line) + '"');
        const std::optional<std::string_view> help = GetLineHelp(row.line);
        ASSERT_EQ(help.has_value(), row.hasHelp);
        if (!row.hasHelp) {
            continue;
        }
        const KeywordTable& table = row.keyword[0] == '.'  ? DirectiveKeywords()
                                    : row.keyword == "psw" ? RegisterKeywords()
                                                           : InstructionKeywords();
        const KeywordEntry* entry = table.MatchAt(row.keyword, 0);
        ASSERT_NE(entry, nullptr);
        EXPECT_EQ(*help, entry->help);
        EXPECT_EQ(help->empty(), row.keyword == "psw");
    }
}

// The colour of every character as the text view draws it: normal text before the first block,
// each block up to the next one, the last to the line end. One letter per colour keeps the rows
// readable: 2 normal, 6 instruction, 7 comment, 8 register, D directive, U unknown dot word.
std::string Drawn(std::string_view line, const std::vector<ColourBlock>& blocks) {
    auto letter = [](int colour) {
        switch (colour) {
        case 11:
            return 'D';
        case 13:
            return 'U';
        default:
            return static_cast<char>('0' + colour);
        }
    };
    std::string drawn(line.size(), '2');
    for (std::size_t i = 0; i < blocks.size(); ++i) {
        const std::size_t end = i + 1 < blocks.size() ? blocks[i + 1].index : line.size();
        for (std::size_t c = blocks[i].index; c < end && c < line.size(); ++c) {
            drawn[c] = letter(blocks[i].colourIndex);
        }
    }
    return drawn;
}

struct ColourRow {
    std::string_view line;
    std::string_view drawn;
};

TEST(KeywordClassifier, ColoursEachCharacterByItsWord) {
    const ColourRow rows[] = {
        {"mvi a, 0x10 ; load", "666682222222777777"},
        {".foo 1", "UUUUUU"},
        {"  .org 100 ; x", "22DDDDDDDDDDDD"},
        {"loop:mov a,b", "222226666828"},
        {"add_one: nop", "222222222666"},
        {"lxi sp,0FFFFh", "6666882222222"},
        {"PUSH psw", "66666888"},
        {"cma", "666"},
        {"cmx", "222"},
        {"a;b", "877"},
        {"nop   ", "666666"},
        {"mov\ta", "66668"},
        {"\xe9t\xe9", "222"},
        {"jnz .loop", "6666UUUUU"},
        {"mov m, a ; .org", "666682288777777"},
    };
    for (const ColourRow& row : rows) {
        SCOPED_TRACE('"' + std::string(row.line) + '"');
        std::vector<ColourBlock> blocks;
        EXPECT_EQ(ColourLine(row.line, 0, blocks), 0);
        EXPECT_EQ(Drawn(row.line, blocks), row.drawn);
        // The text view has room for three blocks per character, and takes them in strictly
        // increasing order inside the line.
        EXPECT_LE(blocks.size(), 3 * row.line.size());
        for (std::size_t i = 0; i < blocks.size(); ++i) {
            EXPECT_LT(blocks[i].index, row.line.size());
            if (i > 0) {
                EXPECT_GT(blocks[i].index, blocks[i - 1].index);
            }
        }
    }
}

TEST(KeywordClassifier, ColourLineStartsAfreshAndPassesTheStateOn) {
    std::vector<ColourBlock> blocks = {{7, 9}};
    EXPECT_EQ(ColourLine("", 5, blocks), 5);
    EXPECT_TRUE(blocks.empty());

    EXPECT_EQ(ColourLine("ei ;", -1, blocks), -1);
    EXPECT_EQ(blocks, (std::vector<ColourBlock>{{0, 6}, {1, 6}, {3, 7}}));
}

TEST(KeywordClassifier, LongLinesAreColouredWhole) {
    std::string line;
    std::string drawn;
    for (int i = 0; i < 5000; ++i) {
        line += "mov a,b ";
        drawn += "66668288";
    }
    std::vector<ColourBlock> blocks;
    ColourLine(line, 0, blocks);
    EXPECT_EQ(Drawn(line, blocks), drawn);
}

} // namespace

namespace {

TEST(KeywordClassifier, PlainDirectivesAndStringsHaveTheirColours) {
    const ClassifyRow classified[] = {
        {"ORG 100H", 0, 0, "org", 3, true, 11}, {"table: db 1", 6, 7, "db", 2, true, 11},
        {"x EQU 5", 1, 2, "equ", 3, true, 11},  {"end", 0, 0, "end", 3, true, 11},
        {"endless", 0, 0, "", 7, true, 2},      {"'a;b' ; c", 0, 0, "", 5, true, 2},
        {"'it''s'", 0, 0, "", 7, true, 2},      {"'open", 0, 0, "", 5, true, 2},
    };
    for (const ClassifyRow& row : classified) {
        SCOPED_TRACE('"' + std::string(row.line) + "\" at " + std::to_string(row.position));
        const WordClass word = ClassifyWord(row.line, row.position);
        EXPECT_EQ(word.start, row.start);
        EXPECT_EQ(word.entry ? word.entry->name : std::string_view{}, row.entry);
        EXPECT_EQ(word.length, row.length);
        EXPECT_EQ(word.continueLine, row.continueLine);
        EXPECT_EQ(word.colourIndex, row.colour);
    }
    const ColourRow coloured[] = {
        {"table: DB 'a;b', 1 ; c", "2222222DDD222222222777"},
        {"MVI A, 'A'", "6666822222"},
        {"count EQU 5", "222222DDDD2"},
    };
    for (const ColourRow& row : coloured) {
        SCOPED_TRACE('"' + std::string(row.line) + '"');
        std::vector<ColourBlock> blocks;
        ColourLine(row.line, 0, blocks);
        EXPECT_EQ(Drawn(row.line, blocks), row.drawn);
    }
}

TEST(KeywordClassifier, EveryPlainDirectiveHasItsOwnHelp) {
    const KeywordTable& plain = PlainDirectiveKeywords();
    EXPECT_EQ(plain.ColourIndex(), 11);
    std::vector<std::string_view> names;
    for (const KeywordEntry& entry : plain.Entries()) {
        names.push_back(entry.name);
        EXPECT_TRUE(entry.help.starts_with(" Directive : ")) << entry.name;
        for (const KeywordEntry& other : plain.Entries()) {
            EXPECT_TRUE(&other == &entry || other.help != entry.help) << entry.name;
        }
    }
    EXPECT_EQ(names, (std::vector<std::string_view>{"org", "equ", "set", "db", "dw", "ds", "end"}));

    const std::pair<std::string_view, std::string_view> rows[] = {
        {"  ORG 100H", "org"},   {"db 1, 2", "db"},    {"DW 1", "dw"},
        {"ds 10", "ds"},         {"END start", "end"}, {"count EQU 5", "equ"},
        {"count: equ 5", "equ"}, {"x SET x+1", "set"}, {"x set", "set"},
        {"loop: db 1", ""},      {"count 5", ""},      {"'a' equ", ""},
        {"x: y: equ 1", ""},     {"nop equ", "nop"},   {"count EQUAL 5", ""},
    };
    for (const auto& [line, keyword] : rows) {
        SCOPED_TRACE('"' + std::string(line) + '"');
        const auto help = GetLineHelp(line);
        if (keyword.empty()) {
            EXPECT_FALSE(help.has_value());
            continue;
        }
        ASSERT_TRUE(help.has_value());
        const KeywordTable& table = keyword == "nop" ? InstructionKeywords() : plain;
        EXPECT_EQ(*help, table.MatchAt(keyword, 0)->help);
    }
}

} // namespace
