#include "MachineTestSupport.h"

#include <gtest/gtest.h>

namespace {

constexpr std::uint8_t KeptBits = 0x2A; // bits 5, 3, 1: no flag

struct AluRow {
    const char* name;
    std::uint8_t opcode; // register form with B as operand, or an immediate form
    std::uint8_t a;
    std::uint8_t operand;
    std::uint8_t flagsIn;
    std::uint8_t aOut;
    std::uint8_t flagsOut;
};

// Flags: S 0x80, Z 0x40, AC 0x10, P 0x04, CY 0x01.
const AluRow aluRows[] = {
    {"add carries out", 0x80, 0xFF, 0x01, 0x00, 0x00, 0x55},
    {"add plain", 0x80, 0x10, 0x20, 0x01, 0x30, 0x04},
    {"adc carry-in makes the low nibble 0", 0x88, 0x00, 0x0F, 0x01, 0x10, 0x00},
    {"adc carry-in carries out", 0x88, 0x01, 0xFF, 0x01, 0x01, 0x01},
    {"adc without carry-in", 0x88, 0x0E, 0x01, 0x00, 0x0F, 0x04},
    {"sub borrows", 0x90, 0x01, 0x02, 0x00, 0xFF, 0x85},
    {"sub zero clears carry and AC", 0x90, 0x05, 0x00, 0x11, 0x05, 0x04},
    {"sub sets AC from the complement", 0x90, 0x05, 0x01, 0x00, 0x04, 0x10},
    {"sbb 0xFF with borrow from 0", 0x98, 0x00, 0xFF, 0x01, 0x00, 0x45},
    {"sbb 0xFF with borrow from 0xFF", 0x98, 0xFF, 0xFF, 0x01, 0xFF, 0x85},
    {"cmp equal", 0xB8, 0x42, 0x42, 0x01, 0x42, 0x54},
    {"cmp below", 0xB8, 0x01, 0x02, 0x00, 0x01, 0x85},
    {"cmp above", 0xB8, 0x80, 0x01, 0x01, 0x80, 0x00},
    {"ana zero sets AC clears CY", 0xA0, 0xF0, 0x0F, 0x01, 0x00, 0x54},
    {"ana", 0xA0, 0xFF, 0x81, 0x00, 0x81, 0x94},
    {"xra clears AC and CY", 0xA8, 0x5A, 0x5A, 0x11, 0x00, 0x44},
    {"xra", 0xA8, 0x0F, 0xFF, 0x00, 0xF0, 0x84},
    {"ora zero", 0xB0, 0x00, 0x00, 0x11, 0x00, 0x44},
    {"ora odd parity", 0xB0, 0x01, 0x02, 0x00, 0x03, 0x04},
    {"adi", 0xC6, 0xFF, 0x01, 0x00, 0x00, 0x55},
    {"aci", 0xCE, 0x00, 0x0F, 0x01, 0x10, 0x00},
    {"sui", 0xD6, 0x01, 0x02, 0x00, 0xFF, 0x85},
    {"sbi", 0xDE, 0x00, 0xFF, 0x01, 0x00, 0x45},
    {"ani", 0xE6, 0xF0, 0x0F, 0x01, 0x00, 0x54},
    {"xri", 0xEE, 0x0F, 0xFF, 0x10, 0xF0, 0x84},
    {"ori", 0xF6, 0x00, 0x00, 0x11, 0x00, 0x44},
    {"cpi", 0xFE, 0x42, 0x42, 0x00, 0x42, 0x54},
};

// Runs the row's instruction once with the given flag byte.
C8085Object& RunAlu(C8085Object& machine, const AluRow& row, std::uint8_t flagsIn) {
    machine.a = row.a;
    machine.flags = flagsIn;
    if (row.opcode >= 0xC0) {
        Load(machine, 0x0100, {row.opcode, row.operand});
    } else {
        machine.b = row.operand;
        Load(machine, 0x0100, {row.opcode});
    }
    machine.Step();
    return machine;
}

TEST(Arithmetic, AluResultsAndFlagsKeepBitsFiveThreeAndOne) {
    C8085Object machine;
    for (const auto& row : aluRows) {
        const std::uint16_t next = row.opcode >= 0xC0 ? 0x0102 : 0x0101;
        RunAlu(machine, row, row.flagsIn);
        EXPECT_EQ(machine.a, row.aOut) << row.name;
        EXPECT_EQ(machine.flags, row.flagsOut) << row.name;
        EXPECT_EQ(machine.pc, next) << row.name;

        RunAlu(machine, row, static_cast<std::uint8_t>(row.flagsIn | KeptBits));
        EXPECT_EQ(machine.flags, row.flagsOut | KeptBits) << row.name << " with bits 5/3/1";

        RunAlu(machine, row, static_cast<std::uint8_t>(row.flagsIn & ~KeptBits));
        EXPECT_EQ(machine.flags & KeptBits, 0) << row.name << " sets no unused bit";
    }
}

TEST(Arithmetic, RegisterFormsAgreeWithImmediateFormsForEveryRegister) {
    // add adc sub sbb ana xra ora cmp against adi aci sui sbi ani xri ori cpi.
    const std::uint8_t values[][2] = {{0x3C, 0x0F}, {0x80, 0x80}, {0x00, 0x01}, {0x99, 0x67}};
    for (int operation = 0; operation < 8; ++operation) {
        for (int reg = 0; reg < 8; ++reg) {
            for (const auto& [a, operand] : values) {
                for (const std::uint8_t carry : {std::uint8_t{0}, std::uint8_t{1}}) {
                    C8085Object viaImmediate;
                    viaImmediate.a = reg == 7 ? operand : a;
                    viaImmediate.flags = carry;
                    Load(viaImmediate, 0x0100,
                         {static_cast<std::uint8_t>(0xC6 | operation << 3), operand});
                    viaImmediate.Step();

                    C8085Object viaRegister;
                    viaRegister.h = 0x20;
                    viaRegister.l = 0x30;
                    Register(viaRegister, reg) = operand;
                    if (reg != 7) {
                        viaRegister.a = a;
                    }
                    viaRegister.flags = carry;
                    Load(viaRegister, 0x0100,
                         {static_cast<std::uint8_t>(0x80 | operation << 3 | reg)});
                    viaRegister.Step();

                    EXPECT_EQ(viaRegister.a, viaImmediate.a) << operation << " r" << reg;
                    EXPECT_EQ(viaRegister.flags, viaImmediate.flags) << operation << " r" << reg;
                    EXPECT_EQ(viaRegister.pc, 0x0101);
                }
            }
        }
    }
}

struct IncrementRow {
    std::uint8_t opcode;
    int reg;
    std::uint8_t in;
    std::uint8_t flagsIn;
    std::uint8_t out;
    std::uint8_t flagsOut;
};

TEST(Arithmetic, IncrementAndDecrementKeepCarry) {
    const IncrementRow rows[] = {
        {0x04, 0, 0xFF, 0x01, 0x00, 0x55}, // inr b wraps; CY kept
        {0x0C, 1, 0x0F, 0x00, 0x10, 0x10}, // inr c half carry
        {0x14, 2, 0x7F, 0x00, 0x80, 0x90}, {0x1C, 3, 0x00, 0x00, 0x01, 0x00},
        {0x24, 4, 0x02, 0x2A, 0x03, 0x2E}, {0x2C, 5, 0x41, 0x00, 0x42, 0x04},
        {0x3C, 7, 0x10, 0x00, 0x11, 0x04}, {0x34, 6, 0x99, 0x00, 0x9A, 0x84},
        {0x05, 0, 0x01, 0x00, 0x00, 0x54}, // dcr b: AC 1 unless the low nibble was 0
        {0x0D, 1, 0x10, 0x00, 0x0F, 0x04}, {0x15, 2, 0x00, 0x01, 0xFF, 0x85},
        {0x1D, 3, 0x81, 0x00, 0x80, 0x90}, {0x25, 4, 0x03, 0x00, 0x02, 0x10},
        {0x2D, 5, 0x02, 0x00, 0x01, 0x10}, {0x3D, 7, 0x00, 0x2A, 0xFF, 0xAE},
        {0x35, 6, 0x20, 0x01, 0x1F, 0x01},
    };
    for (const auto& row : rows) {
        C8085Object machine;
        machine.h = 0x12;
        machine.l = 0x34;
        machine.lastWritten = 0x7777;
        Register(machine, row.reg) = row.in;
        machine.flags = row.flagsIn;
        Load(machine, 0x0100, {row.opcode});
        machine.Step();
        EXPECT_EQ(Register(machine, row.reg), row.out) << std::hex << int{row.opcode};
        EXPECT_EQ(machine.flags, row.flagsOut) << std::hex << int{row.opcode};
        EXPECT_EQ(machine.pc, 0x0101);
        EXPECT_EQ(machine.lastWritten, 0x7777) << "inr m / dcr m do not record the write";
    }
}

struct DaaRow {
    std::uint8_t a;
    std::uint8_t flagsIn;
    std::uint8_t aOut;
    std::uint8_t flagsOut;
};

TEST(Arithmetic, DecimalAdjust) {
    const DaaRow rows[] = {
        {0x7D, 0x00, 0x83, 0x90}, // 0x38 + 0x45
        {0x9A, 0x00, 0x00, 0x55},
        {0xFF, 0x00, 0x65, 0x15}, // 0x99 + 0x66: the carry of the first
                                  // addition is decimal
        {0x12, 0x10, 0x18, 0x04}, // AC forces the low adjustment
        {0x15, 0x01, 0x75, 0x01}, // CY forces the high adjustment and stays set
        {0xA0, 0x00, 0x00, 0x45},
        {0x00, 0x2A, 0x00, 0x6E},
        {0x99, 0x00, 0x99, 0x84},
    };
    for (const auto& row : rows) {
        C8085Object machine;
        machine.a = row.a;
        machine.flags = row.flagsIn;
        Load(machine, 0x0100, {0x27});
        machine.Step();
        EXPECT_EQ(machine.a, row.aOut) << std::hex << int{row.a};
        EXPECT_EQ(machine.flags, row.flagsOut) << std::hex << int{row.a};
    }
}

TEST(Arithmetic, DecimalAdjustAfterAdditionGivesTheDecimalSum) {
    C8085Object machine;
    for (int x = 0; x < 100; ++x) {
        for (int y = 0; y < 100; ++y) {
            machine.a = static_cast<std::uint8_t>(x / 10 << 4 | x % 10);
            machine.b = static_cast<std::uint8_t>(y / 10 << 4 | y % 10);
            machine.flags = 0;
            Load(machine, 0x0100, {0x80, 0x27}); // add b; daa
            machine.Step();
            machine.Step();
            const int sum = x + y;
            ASSERT_EQ(machine.a, (sum % 100) / 10 << 4 | sum % 10) << x << "+" << y;
            ASSERT_EQ(machine.flags & 1, sum >= 100 ? 1 : 0) << x << "+" << y;
        }
    }
}

struct AccumulatorRow {
    const char* name;
    std::uint8_t opcode;
    std::uint8_t a;
    std::uint8_t flagsIn;
    std::uint8_t aOut;
    std::uint8_t flagsOut;
};

TEST(Arithmetic, RotatesAndCarryInstructionsTouchOnlyCarry) {
    const AccumulatorRow rows[] = {
        {"rlc", 0x07, 0x81, 0x00, 0x03, 0x01}, {"rlc", 0x07, 0x40, 0xFF, 0x80, 0xFE},
        {"rrc", 0x0F, 0x81, 0x00, 0xC0, 0x01}, {"rrc", 0x0F, 0x02, 0xFF, 0x01, 0xFE},
        {"ral", 0x17, 0x81, 0x00, 0x02, 0x01}, {"ral", 0x17, 0x01, 0xFF, 0x03, 0xFE},
        {"rar", 0x1F, 0x81, 0x00, 0x40, 0x01}, {"rar", 0x1F, 0x02, 0xFF, 0x81, 0xFE},
        {"cma", 0x2F, 0x5A, 0xD5, 0xA5, 0xD5}, {"stc", 0x37, 0x12, 0x00, 0x12, 0x01},
        {"stc", 0x37, 0x12, 0xFF, 0x12, 0xFF}, {"cmc", 0x3F, 0x12, 0xFE, 0x12, 0xFF},
        {"cmc", 0x3F, 0x12, 0x2B, 0x12, 0x2A},
    };
    for (const auto& row : rows) {
        C8085Object machine;
        machine.a = row.a;
        machine.flags = row.flagsIn;
        Load(machine, 0x0100, {row.opcode});
        machine.Step();
        EXPECT_EQ(machine.a, row.aOut) << row.name;
        EXPECT_EQ(machine.flags, row.flagsOut) << row.name;
    }
    C8085Object machine;
    machine.flags = 0x01;
    Load(machine, 0x0100, {0x3F, 0x3F});
    machine.Step();
    machine.Step();
    EXPECT_EQ(machine.flags, 0x01) << "cmc twice";
}

TEST(Arithmetic, SixteenBitArithmeticChangesOnlyCarryOrNothing) {
    struct Row {
        const char* name;
        std::uint8_t opcode;
        std::uint16_t pair; // BC, DE, HL or SP as the opcode selects
        std::uint16_t hl;
        std::uint8_t flagsIn;
        std::uint16_t hlOut;
        std::uint16_t pairOut;
        std::uint8_t flagsOut;
    };
    const Row rows[] = {
        {"dad b carries", 0x09, 0x0001, 0xFFFF, 0xD4, 0x0000, 0x0001, 0xD5},
        {"dad d clears carry", 0x19, 0x0100, 0x1000, 0xFF, 0x1100, 0x0100, 0xFE},
        {"dad h", 0x29, 0x8000, 0x8000, 0x00, 0x0000, 0x0000, 0x01},
        {"dad sp", 0x39, 0x1234, 0x1111, 0x00, 0x2345, 0x1234, 0x00},
        {"inx b wraps", 0x03, 0xFFFF, 0x0000, 0xD5, 0x0000, 0x0000, 0xD5},
        {"inx sp", 0x33, 0x00FF, 0x0000, 0x00, 0x0000, 0x0100, 0x00},
        {"dcx d wraps", 0x1B, 0x0000, 0x0000, 0x00, 0x0000, 0xFFFF, 0x00},
        {"dcx h", 0x2B, 0x0100, 0x0100, 0x40, 0x00FF, 0x00FF, 0x40},
    };
    for (const auto& row : rows) {
        C8085Object machine;
        SetHL(machine, row.hl);
        const int pair = row.opcode >> 4 & 3;
        auto setPair = [&](std::uint16_t value) {
            const auto high = static_cast<std::uint8_t>(value >> 8);
            const auto low = static_cast<std::uint8_t>(value);
            switch (pair) {
            case 0:
                machine.b = high, machine.c = low;
                break;
            case 1:
                machine.d = high, machine.e = low;
                break;
            case 2:
                SetHL(machine, value);
                break;
            default:
                machine.sp = value;
            }
        };
        auto getPair = [&]() -> std::uint16_t {
            const std::uint16_t pairs[] = {machine.BC(), machine.DE(), machine.HL(), machine.sp};
            return pairs[pair];
        };
        setPair(row.pair);
        machine.flags = row.flagsIn;
        Load(machine, 0x0100, {row.opcode});
        machine.Step();
        EXPECT_EQ(machine.HL(), row.hlOut) << row.name;
        EXPECT_EQ(getPair(), row.pairOut) << row.name;
        EXPECT_EQ(machine.flags, row.flagsOut) << row.name;
    }
}

} // namespace
