#include "AssemblerFixture.h"

#include <gtest/gtest.h>

namespace {

struct EncodingRow {
    std::string line;
    std::vector<std::uint8_t> bytes;
};

class LineEncoding : public ::testing::TestWithParam<EncodingRow> {};

TEST_P(LineEncoding, AssemblesAtTheGivenAddress) {
    const EncodingRow& row = GetParam();
    AssemblerFixture fixture;
    EXPECT_EQ(fixture.parser.AssembleLine(0x2000, row.line), TokenKind::EndOfLine);
    EXPECT_EQ(Hex(fixture.Bytes(0x2000, row.bytes.size() + 1)), Hex(row.bytes) + "00 ") << row.line;
    EXPECT_EQ(fixture.NonZeroBytes(),
              static_cast<std::size_t>(std::count_if(row.bytes.begin(), row.bytes.end(),
                                                     [](std::uint8_t b) { return b != 0; })))
        << "stray bytes for " << row.line;
    EXPECT_EQ(fixture.parser.LocationCounter(), 0x2000 + row.bytes.size()) << row.line;
}

INSTANTIATE_TEST_SUITE_P(
    Operands, LineEncoding,
    ::testing::Values(
        EncodingRow{"nop", {0x00}}, EncodingRow{"hlt", {0x76}}, EncodingRow{"XCHG", {0xEB}},
        EncodingRow{"rz", {0xC8}}, EncodingRow{"stax d", {0x12}}, EncodingRow{"ldax b", {0x0A}},
        EncodingRow{"ldax D", {0x1A}}, EncodingRow{"push psw", {0xF5}},
        EncodingRow{"pop h", {0xE1}}, EncodingRow{"inx sp", {0x33}}, EncodingRow{"dad d", {0x19}},
        EncodingRow{"dcx b", {0x0B}}, EncodingRow{"lxi sp, 0x1000", {0x31, 0x00, 0x10}},
        EncodingRow{"lxi h,101b", {0x21, 0x05, 0x00}}, EncodingRow{"mov M,B", {0x70}},
        EncodingRow{"MOV A , m", {0x7E}}, EncodingRow{"mov sp, a", {0x77}},
        EncodingRow{"mov sp, psw", {0x76}}, EncodingRow{"mov a, sp", {0x7E}},
        EncodingRow{"add c", {0x81}}, EncodingRow{"cmp a", {0xBF}}, EncodingRow{"sbb psw", {0x9E}},
        EncodingRow{"inr m", {0x34}}, EncodingRow{"dcr a", {0x3D}},
        EncodingRow{"mvi a, 300", {0x3E, 0x2C}}, EncodingRow{"mvi b, 017", {0x06, 0x0F}},
        EncodingRow{"mvi m,0xff", {0x36, 0xFF}}, EncodingRow{"in 0x10", {0xDB, 0x10}},
        EncodingRow{"out 255", {0xD3, 0xFF}}, EncodingRow{"sui 0", {0xD6, 0x00}},
        EncodingRow{"rst 7", {0xFF}}, EncodingRow{"rst 0", {0xC7}},
        EncodingRow{"rst 0x10007", {0xFF}}, EncodingRow{"jmp 0x1234", {0xC3, 0x34, 0x12}},
        EncodingRow{"jmp 0x12345", {0xC3, 0x45, 0x23}},
        EncodingRow{"lda 65536", {0x3A, 0x00, 0x00}},
        EncodingRow{"shld 4294967295", {0x22, 0xFF, 0xFF}},
        EncodingRow{"call undefined", {0xCD, 0x00, 0x00}},
        EncodingRow{"cnz later ; never patched", {0xC4, 0x00, 0x00}},
        EncodingRow{"here: jmp here", {0xC3, 0x00, 0x20}}, EncodingRow{"nop nop", {0x00, 0x00}},
        EncodingRow{"x: y: nop nop ; two", {0x00, 0x00}},
        EncodingRow{".equ K 0x42 mvi a, K", {0x3E, 0x42}},
        EncodingRow{"# nothing but a comment", {}}, EncodingRow{"   ", {}}));

TEST(Directives, WriteWhereTheyPointWithoutMovingTheCounter) {
    struct Row {
        std::string line;
        std::uint16_t address;
        std::vector<std::uint8_t> bytes; // at address, followed by a zero
        std::uint16_t lastWritten;
    };
    const std::vector<Row> rows{
        {".fill 0x3000, 0x3004, 0xAA", 0x3000, {0xAA, 0xAA, 0xAA, 0xAA}, 0x3003},
        {".fill 0x3000, 0x3001, 0x1BB", 0x3000, {0xBB}, 0x3000},
        {".fill 5, 5, 7", 5, {}, 0xEEEE},
        {".fill 9, 5, 7", 5, {}, 0xEEEE},
        {".setbyte 0x3000, 0x1FF", 0x3000, {0xFF}, 0x3000},
        {".setword 0x3000, 0x1234", 0x3000, {0x34, 0x12}, 0x3000},
    };
    for (const Row& row : rows) {
        AssemblerFixture fixture;
        fixture.machine.lastWritten = 0xEEEE;
        fixture.parser.AssembleLine(0x2000, row.line);
        EXPECT_EQ(Hex(fixture.Bytes(row.address, row.bytes.size() + 1)), Hex(row.bytes) + "00 ")
            << row.line;
        EXPECT_EQ(fixture.NonZeroBytes(), row.bytes.size()) << row.line;
        EXPECT_EQ(fixture.machine.lastWritten, row.lastWritten) << row.line;
        EXPECT_EQ(fixture.parser.LocationCounter(), 0x2000) << row.line;
    }
}

TEST(Directives, FillStopsBelowItsEndAndSetwordWraps) {
    AssemblerFixture fixture;
    fixture.parser.AssembleLine(0, ".fill 0, 0xFFFF, 0x5A");
    EXPECT_EQ(fixture.machine.memory[0xFFFE], 0x5A);
    EXPECT_EQ(fixture.machine.memory[0xFFFF], 0x00);
    EXPECT_EQ(fixture.NonZeroBytes(), 0xFFFFu);

    AssemblerFixture wrap;
    wrap.parser.AssembleLine(0, ".setword 0xFFFF, 0x1234");
    EXPECT_EQ(wrap.machine.memory[0xFFFF], 0x34);
    EXPECT_EQ(wrap.machine.memory[0x0000], 0x12);
}

TEST(Directives, OrgBeginAndEquSetTheirTargets) {
    AssemblerFixture fixture;
    fixture.parser.AssembleLine(0, ".org 0x8000 nop .begin 0x1234 .begin 0x4321 .equ X Y");
    EXPECT_EQ(fixture.parser.LocationCounter(), 0x8001);
    EXPECT_EQ(fixture.machine.startAddress, 0x4321);
    EXPECT_FALSE(fixture.parser.Symbols().Find("X").has_value());
    EXPECT_FALSE(fixture.parser.Symbols().Find("Y").has_value());

    fixture.parser.AssembleLine(0, ".equ big 0x12345 .equ huge 99999999999 loop: .ORG big");
    EXPECT_EQ(fixture.parser.Symbols().Find("big"), 0x2345);
    EXPECT_EQ(fixture.parser.Symbols().Find("huge"), 0xFFFF);
    EXPECT_EQ(fixture.parser.Symbols().Find("loop"), 0);
    EXPECT_FALSE(fixture.parser.Symbols().Find("LOOP").has_value());
    EXPECT_EQ(fixture.parser.LocationCounter(), 0x2345);
}

TEST(Directives, AssembleLineStartsFromAnEmptySymbolTable) {
    AssemblerFixture fixture;
    fixture.parser.AssembleLine(0, ".equ K 5");
    EXPECT_EQ(fixture.parser.Symbols().Count(), 1u);
    EXPECT_THROW(fixture.parser.AssembleLine(0, "mvi a, K"), CMyException);
    fixture.parser.AssembleLine(0, "jmp K");
    EXPECT_EQ(fixture.parser.References().Records().size(), 1u);
    fixture.parser.AssembleLine(0, "nop");
    EXPECT_TRUE(fixture.parser.References().Records().empty());
}

struct ErrorRow {
    std::string line;
    int code;
    std::string message;
};

class LineErrors : public ::testing::TestWithParam<ErrorRow> {};

TEST_P(LineErrors, NameTheCodeAndPosition) {
    const ErrorRow& row = GetParam();
    AssemblerFixture fixture;
    try {
        fixture.parser.AssembleLine(0x2000, row.line);
        FAIL() << "no error for: " << row.line;
    } catch (const CMyException& error) {
        EXPECT_EQ(error.GetCode(), row.code) << row.line;
        EXPECT_EQ(error.GetMessage(), row.message) << row.line;
        EXPECT_EQ(error.errorFlag, 1);
        EXPECT_EQ(error.GetLine(), 1);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Codes, LineErrors,
    ::testing::Values(
        ErrorRow{".foo 1", 2, "Line - 1 Column - 2 Illegal directive"},
        ErrorRow{". 1", 2, "Line - 1 Column - 2 Illegal directive"},
        ErrorRow{"pop sp", 3, "Line - 1 Column - 5  Illegal register"},
        ErrorRow{"dad a", 3, "Line - 1 Column - 5  Illegal register"},
        ErrorRow{"stax h", 3, "Line - 1 Column - 6  Illegal register"},
        ErrorRow{"push sp", 3, "Line - 1 Column - 6  Illegal register"},
        ErrorRow{"mov bc, a", 3, "Line - 1 Column - 5  Illegal register"},
        ErrorRow{"mov xyz, a", 3, "Line - 1 Column - 5 Illegal register specified"},
        ErrorRow{"inr spx", 3, "Line - 1 Column - 5 Illegal register specified"},
        ErrorRow{"mov m, m", 3, "Line - 1 Column - 8  Both operands cannot be memory location "},
        ErrorRow{"0x1G", 7, "Line - 1 Column - 3 Illegal Hexadecimal number"},
        ErrorRow{"mvi a, 019", 6, "Line - 1 Column - 9 Illegal Octal number"},
        ErrorRow{"mvi a, 102b", 5, "Line - 1 Column - 8 Illegal binary number"},
        ErrorRow{"rst 8", 8, "Line - 1 Column - 5 Illegal RST instruction"},
        ErrorRow{"x: x: nop", 11, "Line - 1 Column - 5 Duplicate Symbol"},
        ErrorRow{"x: .equ x 5", 11, "Line - 1 Column - 11 Duplicate Symbol"},
        ErrorRow{".equ x 5 .equ x 6", 11, "Line - 1 Column - 17 Duplicate Symbol"},
        ErrorRow{"10 nop", 13, "Line - 1 Column - 1 Syntax Error"},
        ErrorRow{", nop", 13, "Line - 1 Column - 1 Syntax Error"},
        ErrorRow{"loop : nop", 13, "Line - 1 Column - 1 Syntax Error"},
        ErrorRow{".equ COUNT, 10", 13, "Line - 1 Column - 13 Syntax Error"},
        ErrorRow{"mvi a, 5 6", 13, "Line - 1 Column - 10 Syntax Error"},
        ErrorRow{"nop -", 13, "Line - 1 Column - 5 NextToken : Syntax Error"},
        ErrorRow{"mvi a,", 14, "Line - 1 Column - 0  Expecting number or constant symbol"},
        ErrorRow{"jmp", 14, "Line - 1 Column - 0  Expecting number or constant symbol"},
        ErrorRow{"rst", 14, "Line - 1 Column - 0  Expecting number or constant symbol"},
        ErrorRow{"jmp nop", 14, "Line - 1 Column - 5  Expecting number or constant symbol"},
        ErrorRow{"mvi a, later", 14, "Line - 1 Column - 8  Expecting number or constant symbol"},
        ErrorRow{"lxi h, later", 14, "Line - 1 Column - 8  Expecting number or constant symbol"},
        ErrorRow{".begin later", 14, "Line - 1 Column - 8  Expecting number or constant symbol"},
        ErrorRow{".org ,", 14, "Line - 1 Column - 6  Expecting number or constant symbol"},
        ErrorRow{"mov a, 5", 16, "Line - 1 Column - 8  Syntax Error: Expecting an identifier"},
        ErrorRow{"mov nop, a", 16, "Line - 1 Column - 5  Syntax Error: Expecting an identifier"},
        ErrorRow{"inr", 16, "Line - 1 Column - 0  Syntax Error: Expecting an identifier"},
        ErrorRow{".equ 5 5", 16, "Line - 1 Column - 6  Syntax Error: Expecting an identifier"},
        ErrorRow{"mov a", 17, "Line - 1 Column - 0  Syntax Error: Expecting an identifier"},
        ErrorRow{"lxi b 5", 17, "Line - 1 Column - 7  Syntax Error: Expecting an identifier"},
        ErrorRow{".fill 1 2 3", 17, "Line - 1 Column - 9  Syntax Error: Expecting an identifier"}));

TEST(LineErrors, LeaveEarlierBytesWrittenAndRecordTheReference) {
    AssemblerFixture fixture;
    EXPECT_THROW(fixture.parser.AssembleLine(0x10, "nop cma mvi a, missing"), CMyException);
    EXPECT_EQ(Hex(fixture.Bytes(0x10, 3)), "00 2f 00 ");
    const auto& records = fixture.parser.References().Records();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].name, "missing");
    EXPECT_EQ(records[0].sites, std::vector<std::uint16_t>{0x12});
    EXPECT_EQ(records[0].column, 16);
}

} // namespace
