#include "machine/OpcodeTable.h"

#include "machine/C8085Object.h"
#include "machine/CMyException.h"
#include "machine/InstructionSet.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <map>
#include <set>
#include <string>

namespace {

struct DisplayRow {
    int opcode;
    const char* text;
};

TEST(OpcodeTable, DisplayTextsFollowTheRuleAndTheTenExceptions) {
    const DisplayRow rows[] = {
        // The ten rows spelled apart from the rule.
        {0x07, "rlc  "},
        {0xCA, "jz "},
        {0xEA, "jpe "},
        {0xF0, "rp "},
        {0xF1, "pop psw"},
        {0xF2, "jp "},
        {0xF5, "push psw "},
        {0xF8, "rm "},
        {0xFA, "jm "},
        {0xFC, "cm  "},
        // The rule: padded mnemonic and operand, padded mnemonic alone, bare mnemonic.
        {0x78, "mov  a,b"},
        {0x86, "add  m"},
        {0x33, "inx  sp"},
        {0x06, "mvi  b,"},
        {0x36, "mvi  m,"},
        {0x31, "lxi  sp,"},
        {0x12, "stax d"},
        {0xE5, "push h"},
        {0xC1, "pop  b"},
        {0xDF, "rst  3"},
        {0xC3, "jmp  "},
        {0xCD, "call "},
        {0x3A, "lda  "},
        {0xDB, "in   "},
        {0xD6, "sui  "},
        {0xC2, "jnz  "},
        {0xDC, "cc   "},
        {0x00, "nop"},
        {0xEB, "xchg"},
        {0xC9, "ret"},
        {0xC0, "rnz"},
        {0x76, "hlt"},
        {0x0F, "rrc"},
        {0x08, "invalid"},
        {0xFD, "invalid"}};
    for (const auto& row : rows) {
        EXPECT_STREQ(OpcodeTable()[row.opcode].displayText, row.text) << "opcode " << row.opcode;
    }
}

TEST(OpcodeTable, RowsAreIndexedByOpcodeWithTheirLengthsAndFormatters) {
    const std::set<int> threeBytes = {0x01, 0x11, 0x21, 0x31, 0x22, 0x2A, 0x32, 0x3A, 0xC3,
                                      0xCD, 0xC2, 0xCA, 0xD2, 0xDA, 0xE2, 0xEA, 0xF2, 0xFA,
                                      0xC4, 0xCC, 0xD4, 0xDC, 0xE4, 0xEC, 0xF4, 0xFC};
    const std::set<int> twoBytes = {0x06, 0x0E, 0x16, 0x1E, 0x26, 0x2E, 0x36, 0x3E, 0xC6,
                                    0xCE, 0xD6, 0xDE, 0xE6, 0xEE, 0xF6, 0xFE, 0xD3, 0xDB};
    const std::set<int> invalid = {0x08, 0x10, 0x18, 0x28, 0x38, 0xCB, 0xD9, 0xDD, 0xED, 0xFD};
    ASSERT_EQ(threeBytes.size(), 26u);
    ASSERT_EQ(twoBytes.size(), 18u);
    for (int opcode = 0; opcode < 256; ++opcode) {
        const OpcodeRow& row = OpcodeTable()[opcode];
        const int expected = threeBytes.count(opcode) ? 3 : twoBytes.count(opcode) ? 2 : 1;
        EXPECT_EQ(row.opcode, opcode);
        EXPECT_EQ(row.length, expected) << "opcode " << opcode;
        EXPECT_EQ(InstructionSet::InstructionLength(static_cast<std::uint8_t>(opcode)), expected);
        const OperandFormatter formatter = expected == 3   ? &FormatWord
                                           : expected == 2 ? &FormatByte
                                                           : nullptr;
        EXPECT_EQ(row.formatOperand, formatter) << "opcode " << opcode;
        if (invalid.count(opcode)) {
            EXPECT_STREQ(row.mnemonic, "") << "opcode " << opcode;
            EXPECT_EQ(row.kind, InstructionKind::Invalid);
        } else {
            EXPECT_STRNE(row.mnemonic, "") << "opcode " << opcode;
            EXPECT_NE(row.kind, InstructionKind::Invalid);
        }
    }
}

struct KindRow {
    int opcode;
    const char* mnemonic;
    int kind;
};

TEST(OpcodeTable, MnemonicsAndKindsFollowTheEncoding) {
    const KindRow rows[] = {
        {0xCE, "aci", 0},   {0x8F, "adc", 1},   {0x80, "add", 2},   {0xFE, "cpi", 6},
        {0xBE, "cmp", 7},   {0xCD, "call", 8},  {0x27, "daa", 11},  {0xDB, "in", 12},
        {0xFF, "rst", 18},  {0xB7, "ora", 19},  {0x9E, "sbb", 20},  {0xF1, "pop", 23},
        {0xF5, "push", 24}, {0xC3, "jmp", 25},  {0x76, "hlt", 30},  {0xC9, "ret", 35},
        {0x20, "rim", 36},  {0x30, "sim", 37},  {0xE3, "xthl", 40}, {0x00, "nop", 41},
        {0x31, "lxi", 42},  {0x12, "stax", 43}, {0x3C, "inr", 45},  {0x35, "dcr", 46},
        {0x3E, "mvi", 47},  {0x07, "rlc", 48},  {0x39, "dad", 50},  {0x1A, "ldax", 51},
        {0x7F, "mov", 53},  {0x2A, "lhld", 54}, {0x3A, "lda", 55},  {0x37, "stc", 56},
        {0xDA, "jc", 57},   {0xFA, "jm", 60},   {0xC2, "jnz", 64},  {0xD8, "rc", 65},
        {0xC0, "rnz", 72},  {0xDC, "cc", 73},   {0xFC, "cm", 76},   {0xC4, "cnz", 80}};
    for (const auto& row : rows) {
        EXPECT_STREQ(OpcodeTable()[row.opcode].mnemonic, row.mnemonic);
        EXPECT_EQ(OpcodeTable()[row.opcode].kind, row.kind) << row.mnemonic;
    }
}

// Every row against the encoding rules: register or pair operands where the encoding puts them,
// the mnemonic padded to five characters in front of its operand text, the ten rows spelled apart
// from that rule, and the kind numbered by mnemonic.
TEST(OpcodeTable, EveryRowFollowsTheEncoding) {
    const char* const kinds[] = {
        "aci",  "adc", "add",  "adi",  "ana",  "ani", "cpi",  "cmp",  "call", "cma", "cmc", "daa",
        "in",   "ori", "out",  "sbi",  "sui",  "xri", "rst",  "ora",  "sbb",  "sub", "xra", "pop",
        "push", "jmp", "shld", "sta",  "di",   "ei",  "hlt",  "pchl", "ral",  "rar", "rrc", "ret",
        "rim",  "sim", "sphl", "xchg", "xthl", "nop", "lxi",  "stax", "inx",  "inr", "dcr", "mvi",
        "rlc",  "",    "dad",  "ldax", "dcx",  "mov", "lhld", "lda",  "stc",  "jc",  "jnc", "jp",
        "jm",   "jpe", "jpo",  "jz",   "jnz",  "rc",  "rnc",  "rp",   "rm",   "rpe", "rpo", "rz",
        "rnz",  "cc",  "cnc",  "cp",   "cm",   "cpe", "cpo",  "cz",   "cnz"};
    static_assert(std::size(kinds) == 81);
    const std::string regs[] = {"b", "c", "d", "e", "h", "l", "m", "a"};
    const std::string pairs[] = {"b", "d", "h", "sp"};
    const std::string stackPairs[] = {"b", "d", "h", "psw"};
    const char* const alu[] = {"add", "adc", "sub", "sbb", "ana", "xra", "ora", "cmp"};
    const char* const conditions[] = {"nz", "z", "nc", "c", "po", "pe", "p", "m"};
    const char* const immediates[] = {"adi", "aci", "sui", "sbi", "ani", "xri", "ori", "cpi"};
    const std::map<int, std::string> single = {
        {0x00, "nop"},  {0x07, "rlc"},  {0x0F, "rrc"},  {0x17, "ral"},  {0x1F, "rar"},
        {0x20, "rim"},  {0x22, "shld"}, {0x27, "daa"},  {0x2A, "lhld"}, {0x2F, "cma"},
        {0x30, "sim"},  {0x32, "sta"},  {0x37, "stc"},  {0x3A, "lda"},  {0x3F, "cmc"},
        {0xC9, "ret"},  {0xC3, "jmp"},  {0xCD, "call"}, {0xE3, "xthl"}, {0xE9, "pchl"},
        {0xEB, "xchg"}, {0xF3, "di"},   {0xFB, "ei"},   {0xF9, "sphl"}, {0xD3, "out"},
        {0xDB, "in"},   {0x76, "hlt"}};
    const std::map<int, std::string> exceptions = {
        {0x07, "rlc  "}, {0xCA, "jz "},       {0xEA, "jpe "}, {0xF0, "rp "}, {0xF1, "pop psw"},
        {0xF2, "jp "},   {0xF5, "push psw "}, {0xF8, "rm "},  {0xFA, "jm "}, {0xFC, "cm  "}};
    const std::set<std::string> withOperand = {"shld", "lhld", "sta", "lda",
                                               "jmp",  "call", "in",  "out"};
    const std::set<int> invalid = {0x08, 0x10, 0x18, 0x28, 0x38, 0xCB, 0xD9, 0xDD, 0xED, 0xFD};
    const auto padded = [](const std::string& mnemonic) {
        return mnemonic + std::string(mnemonic.size() < 5 ? 5 - mnemonic.size() : 0, ' ');
    };

    for (int opcode = 0; opcode < 256; ++opcode) {
        const int r = opcode >> 3 & 7;
        const int p = opcode >> 4 & 3;
        std::string mnemonic;
        std::string text;
        if (invalid.count(opcode)) {
            text = "invalid";
        } else if (single.count(opcode)) {
            mnemonic = single.at(opcode);
            text = withOperand.count(mnemonic) ? padded(mnemonic) : mnemonic;
        } else if (opcode >= 0x40 && opcode < 0x80) {
            mnemonic = "mov";
            text = padded(mnemonic) + regs[r] + "," + regs[opcode & 7];
        } else if (opcode >= 0x80 && opcode < 0xC0) {
            mnemonic = alu[r];
            text = padded(mnemonic) + regs[opcode & 7];
        } else if (opcode < 0x40) {
            const char* const byLow3[] = {"", "", "", "", "inr", "dcr", "mvi", ""};
            const char* const byLow4[] = {"", "lxi", "stax", "inx", "", "", "", "",
                                          "", "dad", "ldax", "dcx", "", "", "", ""};
            if (*byLow3[opcode & 7] != '\0') {
                mnemonic = byLow3[opcode & 7];
                text = padded(mnemonic) + regs[r] + (mnemonic == "mvi" ? "," : "");
            } else {
                mnemonic = byLow4[opcode & 15];
                text = padded(mnemonic) + pairs[p] + (mnemonic == "lxi" ? "," : "");
            }
        } else {
            switch (opcode & 7) {
            case 0:
                mnemonic = std::string("r") + conditions[r];
                text = mnemonic;
                break;
            case 1:
                mnemonic = "pop";
                text = padded(mnemonic) + stackPairs[p];
                break;
            case 2:
                mnemonic = std::string("j") + conditions[r];
                text = padded(mnemonic);
                break;
            case 4:
                mnemonic = std::string("c") + conditions[r];
                text = padded(mnemonic);
                break;
            case 5:
                mnemonic = "push";
                text = padded(mnemonic) + stackPairs[p];
                break;
            case 6:
                mnemonic = immediates[r];
                text = padded(mnemonic);
                break;
            default:
                mnemonic = "rst";
                text = padded(mnemonic) + std::to_string(r);
            }
        }
        if (exceptions.count(opcode)) {
            text = exceptions.at(opcode);
        }
        const auto kind = std::find_if(std::begin(kinds), std::end(kinds),
                                       [&](const char* name) { return mnemonic == name; });
        const OpcodeRow& row = OpcodeTable()[opcode];
        EXPECT_EQ(row.mnemonic, mnemonic) << "opcode " << opcode;
        EXPECT_EQ(row.displayText, text) << "opcode " << opcode;
        EXPECT_EQ(row.kind, kind - std::begin(kinds)) << "opcode " << opcode;
    }
}

TEST(InstructionSet, FindMnemonicFindsTheLowestOpcodeIgnoringCase) {
    InstructionSet set;
    EXPECT_EQ(InstructionSet::RowCount(), 256);
    const std::pair<const char*, int> rows[] = {{"MOV", 0x40},  {"add", 0x80}, {"Rst", 0xC7},
                                                {"lxi", 0x01},  {"nop", 0x00}, {"cnz", 0xC4},
                                                {"push", 0xC5}, {"cpi", 0xFE}, {"ori", 0xF6}};
    for (const auto& [word, opcode] : rows) {
        EXPECT_EQ(set.FindMnemonic(word), opcode) << word;
        ASSERT_NE(set.currentRow, nullptr);
        EXPECT_EQ(set.currentRow->opcode, opcode);
        EXPECT_EQ(set.currentIndex, opcode);
    }
    // Failures leave the search position where it was.
    for (const char* word : {"invalid", "", "movx", "mo"}) {
        EXPECT_EQ(set.FindMnemonic(word), -1) << word;
        EXPECT_EQ(set.currentIndex, 0xF6);
    }
}

struct TextRow {
    std::uint16_t address;
    std::initializer_list<std::uint8_t> bytes;
    const char* prefix;
    const char* text;
};

TEST(InstructionSet, InstructionTextAppendsTheFormattedOperandWithWrap) {
    const TextRow rows[] = {
        {0x1000, {0xDE, 0x05}, "", "sbi  05"},
        {0x1000, {0xDD, 0x05}, "", "invalid"},
        {0x1000, {0x21, 0x34, 0x12}, "0x", "lxi  h,0x1234"},
        {0x1000, {0x3E, 0xAB}, "0x", "mvi  a,0xab"},
        {0x1000, {0x78}, "0x", "mov  a,b"},
        {0x1000, {0xCA, 0x00, 0x20}, "", "jz 2000"},
        {0xFFFF, {0xC3, 0x00, 0x10}, "", "jmp  1000"},
        {0xFFFE, {0xCD, 0xEF, 0xBE}, "", "call beef"},
        {0xFFFF, {0xFE, 0x7F}, "", "cpi  7f"},
    };
    for (const auto& row : rows) {
        Memory memory{};
        std::uint16_t at = row.address;
        for (auto byte : row.bytes) {
            memory[at++] = byte;
        }
        EXPECT_EQ(InstructionSet::InstructionText(memory, row.address, row.prefix), row.text);
    }
}

TEST(InstructionSet, MachineKeepsTheTextOfItsOwnMemoryInItsBuffer) {
    C8085Object machine;
    machine.WriteByteAndWord(0x0200, 0x32, 0x4321);
    EXPECT_STREQ(machine.InstructionTextAt(0x0200, "0x"), "sta  0x4321");
    EXPECT_STREQ(machine.textBuffer.data(), "sta  0x4321");
}

TEST(OpcodeTable, UnboundRowsStopAsAnIllegalInstruction) {
    C8085Object machine;
    machine.pc = 300;
    try {
        UnboundExecute(machine);
        FAIL() << "no stop";
    } catch (const CMyException& stop) {
        EXPECT_EQ(stop.message, "IP = 300 -  Illegal Insruction caught at runtime");
        EXPECT_EQ(stop.code, 1);
        EXPECT_EQ(stop.errorFlag, 1);
    }
}

TEST(OpcodeTable, BindingAMachineInstallsItsOperationsAndKeepsTheFormatters) {
    C8085Object machine;
    for (int opcode = 0; opcode < 256; ++opcode) {
        EXPECT_NE(OpcodeTable()[opcode].execute, &UnboundExecute) << "opcode " << opcode;
    }
    EXPECT_EQ(OpcodeTable()[0xC3].formatOperand, &FormatWord);
    EXPECT_EQ(OpcodeTable()[0x06].formatOperand, &FormatByte);
    EXPECT_EQ(OpcodeTable()[0x00].formatOperand, nullptr);
}

} // namespace
