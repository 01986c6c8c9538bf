#include "assembler/KeywordTables.h"

#include "assembler/KeywordColour.h"
#include "machine/OpcodeTable.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace {

std::vector<std::string_view> NamesOf(const KeywordTable& table) {
    std::vector<std::string_view> names;
    for (const KeywordEntry& entry : table.Entries()) {
        names.push_back(entry.name);
    }
    return names;
}

std::string_view HelpOf(const KeywordTable& table, std::string_view name) {
    const KeywordEntry* entry = table.MatchAt(name, 0);
    EXPECT_NE(entry, nullptr) << name;
    return entry ? entry->help : std::string_view{};
}

std::string Upper(std::string_view text) {
    std::string result(text);
    for (char& c : result) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return result;
}

bool EndsWith(std::string_view text, std::string_view tail) {
    return text.size() >= tail.size() && text.substr(text.size() - tail.size()) == tail;
}

const std::vector<std::string_view> allMnemonics = {
    "aci",  "adc", "add",  "adi",  "ana",  "ani", "call", "cc",  "cm",   "cma", "cmc",  "cmp",
    "cnc",  "cnz", "cp",   "cpe",  "cpi",  "cpo", "cz",   "daa", "dad",  "dcr", "dcx",  "di",
    "ei",   "hlt", "in",   "inr",  "inx",  "jc",  "jm",   "jmp", "jnc",  "jnz", "jp",   "jpe",
    "jpo",  "jz",  "lda",  "ldax", "lhld", "lxi", "mov",  "mvi", "nop",  "ora", "ori",  "out",
    "pchl", "pop", "push", "ral",  "rar",  "rc",  "ret",  "rim", "rlc",  "rm",  "rnc",  "rnz",
    "rp",   "rpe", "rpo",  "rrc",  "rst",  "rz",  "sbb",  "sbi", "shld", "sim", "sphl", "sta",
    "stax", "stc", "sub",  "sui",  "xchg", "xra", "xri",  "xthl"};

TEST(KeywordTables, HoldTheirNamesInOrderWithTheirColours) {
    EXPECT_EQ(allMnemonics.size(), 80u);
    EXPECT_EQ(NamesOf(InstructionKeywords()), allMnemonics);
    EXPECT_EQ(
        NamesOf(DirectiveKeywords()),
        (std::vector<std::string_view>{".setword", ".setbyte", ".equ", ".begin", ".org", ".fill"}));
    EXPECT_EQ(NamesOf(RegisterKeywords()),
              (std::vector<std::string_view>{"a", "b", "c", "d", "e", "h", "l", "m", "sp", "psw"}));

    // The colour is asked through the abstract base, as the source view does.
    const KeywordColour& instructions = InstructionKeywords();
    const KeywordColour& directives = DirectiveKeywords();
    const KeywordColour& registers = RegisterKeywords();
    EXPECT_EQ(instructions.ColourIndex(), 6);
    EXPECT_EQ(directives.ColourIndex(), 11);
    EXPECT_EQ(registers.ColourIndex(), 8);

    for (const KeywordEntry& entry : RegisterKeywords().Entries()) {
        EXPECT_TRUE(entry.help.empty()) << entry.name;
    }
}

// The editor must know exactly the words the assembler accepts as mnemonics.
TEST(KeywordTables, InstructionsAreTheOpcodeTablesMnemonics) {
    std::set<std::string> fromOpcodes;
    for (const OpcodeRow& row : OpcodeTable()) {
        if (*row.mnemonic != '\0') {
            fromOpcodes.insert(row.mnemonic);
        }
    }
    std::set<std::string> fromKeywords;
    for (const KeywordEntry& entry : InstructionKeywords().Entries()) {
        fromKeywords.insert(std::string(entry.name));
    }
    EXPECT_EQ(fromKeywords, fromOpcodes);
}

struct QuotedHelp {
    std::string_view name;
    std::string_view help;
};

TEST(KeywordTables, QuotedHelpTextsAreKeptWordForWord) {
    const QuotedHelp instructionRows[] = {
        {"aci", "  ACI <8 bit> : Add immediate accumulator with carry :  The previous carry flat "
                "is cleared after addition"},
        {"adi", "  ACI <8 bit> :Add immediate to accumulator : All flags are modified to reflect "
                "the result of addition"},
        {"call", "  CALL <16 bit addr> : Branch to subroutine :  IP is pushed to stack before the "
                 "call.  Note:- call 05 will make System Calls "},
        {"cm", "  CC <16 bit addr> : Call on minus :  IP is pushed to stack before the call.  "
               "Note:- call 05 will make System Calls "},
        {"dad", "DAD Reg Pair(HL,SP) : Add register pair to H and L registers:  If result is > "
                "16 bits, the CY flag is set. No other flags affected"},
        {"hlt", "  HLT  :  Halt and enter wait state.  A message box is displayed and simulation "
                "halts"},
        {"jmp", "  JMP <16 bit addr>  :  Jump unconditionally : NOTE :- addres must be specified "
                "in reverse order"},
        {"mov", "  MOV R/M , R/M  :  Copy from source to destination : Note: one of the operands "
                "has to he a reg."},
        {"rim", "  RIM  : Read interrupt Mask into accumulator  :  NOT IMPLEMENTED"},
        {"rst", "  RST : Restart Instruction : RST 0 - 7 correspond to CALL instructions to "
                "0,8,10,18,20,28,30,38 addr loc."},
        {"sbb", "  SUB R/M :  Subtract source and borrow from accumulator : All flags are "
                "modified to reflect the result of the operation"},
        {"sim", "  SIM  :  Set interrupt mask :  NOT IMPLEMENTED"},
        {"xthl", "  XTHL  :  Exchange H and L with top of stack :  L is exchanged with [SP] and H "
                 "is exchanged with [SP+1]. SP itself is not changed."},
    };
    for (const QuotedHelp& row : instructionRows) {
        EXPECT_EQ(HelpOf(InstructionKeywords(), row.name), row.help) << row.name;
    }

    const QuotedHelp directiveRows[] = {
        {".setword", " Directive : .setword <addr>, <word>:  Assign the memory address with a "
                     "value"},
        {".setbyte", " Directive : .setbyte <addr>, <byte>:  Assign the memory address with a "
                     "value"},
        {".equ", " Directive : .equ <identifier>, <value>:  Assign a value to an identifier"},
        {".begin", " Directive : .begin <word>:  Set the IP to this address"},
        {".org", " Directive : .org <word>:  The next instruction is placed at this address"},
        {".fill", " Directive : .fill <word>, <word>, <byte>:  Fill the memory range with this "
                  "value"},
    };
    for (const QuotedHelp& row : directiveRows) {
        EXPECT_EQ(HelpOf(DirectiveKeywords(), row.name), row.help) << row.name;
    }
}

TEST(KeywordTables, EveryInstructionHelpNamesItsMnemonicAndDescribesIt) {
    // These quoted texts name another mnemonic or lack the leading blanks; they are checked
    // word for word above.
    const std::vector<std::string_view> quotedExceptions = {"adi", "cm", "dad", "sbb"};
    for (const KeywordEntry& entry : InstructionKeywords().Entries()) {
        SCOPED_TRACE(std::string(entry.name));
        EXPECT_EQ(entry.help.find('\n'), std::string_view::npos);
        EXPECT_NE(entry.help.find(" : "), std::string_view::npos);
        if (std::find(quotedExceptions.begin(), quotedExceptions.end(), entry.name) !=
            quotedExceptions.end()) {
            continue;
        }
        // A blank after the mnemonic, so that the help of "cm" cannot pass as that of "cma".
        const std::string head = "  " + Upper(entry.name) + " ";
        EXPECT_EQ(entry.help.substr(0, head.size()), head);
        EXPECT_GT(entry.help.size(), head.size() + 10);
    }
}

TEST(KeywordTables, ConditionalBranchesCarryTheirNotes) {
    const std::string_view addressNote = "NOTE :- addres must be specified in reverse order";
    const std::string_view systemCallNote = "Note:- call 05 will make System Calls ";
    for (std::string_view name : {"jc", "jm", "jnc", "jnz", "jp", "jpe", "jpo", "jz", "cnc", "cnz",
                                  "cp", "cpe", "cpo", "cz"}) {
        EXPECT_TRUE(EndsWith(HelpOf(InstructionKeywords(), name), addressNote)) << name;
    }
    for (std::string_view name : {"call", "cc", "cm"}) {
        EXPECT_TRUE(EndsWith(HelpOf(InstructionKeywords(), name), systemCallNote)) << name;
    }
}

// The flag notes must agree with how the machine executes each instruction.
TEST(KeywordTables, FlagNotesMatchTheMachine) {
    const QuotedHelp rows[] = {
        {"ana", "CY is cleared and AC is set"},
        {"ani", "CY is cleared and AC is set"},
        {"ora", "CY and AC are cleared"},
        {"ori", "CY and AC are cleared"},
        {"xra", "CY and AC are cleared"},
        {"xri", "CY and AC are cleared"},
        {"inr", "CY is not affected"},
        {"dcr", "CY is not affected"},
        {"rlc", "only CY is changed"},
        {"rrc", "only CY is changed"},
        {"ral", "only CY is changed"},
        {"rar", "only CY is changed"},
        {"stc", "Only CY is changed"},
        {"cmc", "Only CY is changed"},
        {"add", "All flags are modified"},
        {"adc", "All flags are modified"},
        {"sub", "All flags are modified"},
        {"sui", "All flags are modified"},
        {"sbi", "All flags are modified"},
        {"cmp", "A is unchanged"},
        {"cpi", "A is unchanged"},
        {"cma", "No flags are affected"},
        {"inx", "No flags are affected"},
        {"dcx", "No flags are affected"},
        {"mvi", "No flags are affected"},
        {"lxi", "No flags are affected"},
        {"lda", "No flags are affected"},
        {"sta", "No flags are affected"},
        {"ldax", "No flags are affected"},
        {"stax", "No flags are affected"},
        {"lhld", "no flags are affected"},
        {"shld", "no flags are affected"},
        {"xchg", "No flags are affected"},
        {"sphl", "No flags are affected"},
        {"pchl", "No flags are affected"},
        {"in", "No flags are affected"},
        {"out", "No flags are affected"},
        {"push", "no flags are affected"},
        {"pop", "POP PSW loads every flag"},
        {"daa", "CY is set on a decimal carry"},
        {"dad", "No other flags affected"},
        {"rz", "no flags are affected"},
    };
    for (const QuotedHelp& row : rows) {
        EXPECT_NE(HelpOf(InstructionKeywords(), row.name).find(row.help), std::string_view::npos)
            << row.name << " should say: " << row.help;
    }
}

struct MatchRow {
    std::string_view line;
    std::size_t position;
    std::string_view expected; // empty: no match
};

TEST(KeywordTables, MatchNeedsTheWholeWord) {
    const MatchRow rows[] = {
        {"cma", 0, "cma"},     {"cm loop", 0, "cm"}, {"CMA", 0, "cma"}, {"MoV a,b", 0, "mov"},
        {"mov,", 0, "mov"},    {"mov;x", 0, "mov"},  {"movx", 0, ""},   {"mov1", 0, ""},
        {"add_one:", 0, ""},   {"  jnz", 2, "jnz"},  {"  jnz", 0, ""},  {"mo", 0, ""},
        {"", 0, ""},           {"nop", 3, ""},       {"nop", 99, ""},   {"x:ret", 2, "ret"},
        {"mov\xe9", 0, "mov"},
    };
    for (const MatchRow& row : rows) {
        const KeywordEntry* entry = InstructionKeywords().MatchAt(row.line, row.position);
        EXPECT_EQ(entry ? entry->name : std::string_view{}, row.expected)
            << '"' << row.line << "\" at " << row.position;
    }
}

} // namespace
