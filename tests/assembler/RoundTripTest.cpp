#include "AssemblerFixture.h"
#include "assembler/MnemonicIndex.h"
#include "machine/OpcodeTable.h"

#include <gtest/gtest.h>

namespace {

// Every valid opcode, disassembled with the "0x" prefix of the instruction editor, assembles back
// into the same bytes.
TEST(RoundTrip, EveryOpcodeAssemblesBackFromItsDisassembly) {
    const std::vector<std::pair<std::uint8_t, std::uint8_t>> operands{
        {0x00, 0x00}, {0x34, 0x12}, {0xFF, 0xFF}, {0x80, 0x7F}};
    int checked = 0;
    for (int opcode = 0; opcode < 256; ++opcode) {
        const OpcodeRow& row = OpcodeTable()[static_cast<std::size_t>(opcode)];
        if (row.mnemonic[0] == '\0') {
            continue;
        }
        for (const auto& [low, high] : operands) {
            Memory source{};
            source[0] = static_cast<std::uint8_t>(opcode);
            source[1] = low;
            source[2] = high;
            const std::string text = InstructionSet::InstructionText(source, 0, "0x");

            AssemblerFixture fixture;
            fixture.parser.AssembleLine(0x4000, text);
            const auto length = static_cast<std::size_t>(row.length);
            EXPECT_EQ(Hex(fixture.Bytes(0x4000, length)),
                      Hex(std::vector<std::uint8_t>(source.begin(), source.begin() + length)))
                << "opcode " << opcode << " text \"" << text << "\"";
            EXPECT_EQ(fixture.parser.LocationCounter(), 0x4000 + length) << text;
            ++checked;
        }
    }
    EXPECT_EQ(checked, 246 * 4);
}

TEST(MnemonicIndex, AgreesWithTheSearchOfTheOpcodeTable) {
    std::vector<std::string> words{"",    "a",     "b",       "sp",    "psw",   "movx", "m0v",
                                   "cal", "calls", "invalid", "mov a", "xthlx", "_nop"};
    for (const OpcodeRow& row : OpcodeTable()) {
        std::string upper = row.mnemonic;
        for (char& c : upper) {
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        }
        std::string mixed = upper;
        if (!mixed.empty()) {
            mixed[0] = row.mnemonic[0];
        }
        words.insert(words.end(), {row.mnemonic, upper, mixed});
    }
    for (const std::string& word : words) {
        InstructionSet search;
        EXPECT_EQ(MnemonicIndex::Find(word), search.FindMnemonic(word)) << word;
    }
    EXPECT_EQ(MnemonicIndex::Find("MOV"), 0x40);
    EXPECT_EQ(MnemonicIndex::Find("hlt"), 0x76);
    EXPECT_EQ(MnemonicIndex::Find("Rst"), 0xC7);
}

} // namespace
