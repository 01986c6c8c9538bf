#include "AssemblerFixture.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

// Directives without the dot and values that name what comes further on, compiled from files.

namespace {

// Compiles `source` on a reset machine; the error, if any, is in `error`.
class Compiled : public AssemblerFixture {
public:
    explicit Compiled(const std::string& source, std::uint8_t fill = 0) {
        machine.Reset();
        machine.memory.fill(fill);
        path = folder.Write("source.85", source);
        try {
            parser.Compile(path);
        } catch (const CMyException& thrown) {
            error = thrown;
            failed = true;
        }
    }
    std::string LineMap() const { return TempFolder::Read(path + ".debug"); }

    TempFolder folder;
    std::string path;
    CMyException error;
    bool failed = false;
};

struct FileRow {
    std::string source;
    std::uint16_t address;
    std::vector<std::uint8_t> bytes;
};

void ExpectFiles(const std::vector<FileRow>& rows) {
    for (const FileRow& row : rows) {
        Compiled compiled(row.source);
        EXPECT_FALSE(compiled.failed) << row.source << compiled.error.GetMessage();
        EXPECT_EQ(Hex(compiled.Bytes(row.address, row.bytes.size())), Hex(row.bytes)) << row.source;
    }
}

TEST(PlainDirectives, PlaceDataAndMoveTheCounter) {
    ExpectFiles({
        {"ORG 100H\nnop", 0x100, {0x00}},
        {"org 2000h\n  db 1, 2, 'AB', -1, 'it''s', 300\n",
         0x2000,
         {0x01, 0x02, 0x41, 0x42, 0xFF, 0x69, 0x74, 0x27, 0x73, 0x2C}},
        {"DB 'A'+1, ''''", 0, {0x42, 0x27}},
        {"Db ''\nnop\n", 0, {0x00}},
        {"DW 1234H, 'A', -1, 'AB'", 0, {0x34, 0x12, 0x41, 0x00, 0xFF, 0xFF, 0x42, 0x41}},
        {"table: DB 1, 2, 3\nlxi h, table+1", 0, {0x01, 0x02, 0x03, 0x21, 0x01, 0x00}},
        {"table:\n  dw $, $\n", 0, {0x00, 0x00, 0x00, 0x00}},
        {"DS 3\nhere: DB LOW here", 0, {0x00, 0x00, 0x00, 0x03}},
        {"ORG 0FFFFH\nDW 1234H\n", 0xFFFF, {0x34}},
        {"ORG 0FFFFH\nDW 1234H\n", 0x0000, {0x12}},
        {"COUNT EQU 5\nmvi a, COUNT", 0, {0x3E, 0x05}},
        {"COUNT: equ 5+1\nmvi a, COUNT", 0, {0x3E, 0x06}},
        {"x SET 1\nmvi a, x\nx SET x+1\nmvi b, x", 0, {0x3E, 0x01, 0x06, 0x02}},
        {"x: set 1\nx set 2\ndb x", 0, {0x02}},
        {"nop\nEND\nthis line is not read", 0, {0x00}},
        {"mvi a, 1\n end ; the end\nmvi a, 2\n", 0, {0x3E, 0x01, 0x00}},
    });
}

TEST(PlainDirectives, DsReservesWithoutTouchingMemory) {
    Compiled compiled("mvi a, 1\nbuffer: DS 4\nlast: hlt\nlxi h, buffer\n", 0x55);
    ASSERT_FALSE(compiled.failed) << compiled.error.GetMessage();
    EXPECT_EQ(Hex(compiled.Bytes(0, 11)), "3e 01 55 55 55 55 76 21 02 00 55 ");
    EXPECT_EQ(compiled.parser.Symbols().Entries()[1].value, 6);
}

TEST(PlainDirectives, EndSetsTheStartAddressLikeBegin) {
    Compiled forward("ORG 100H\nstart: nop\nnop\nEND start\nhlt\n");
    EXPECT_EQ(forward.machine.startAddress, 0x100);
    EXPECT_EQ(forward.NonZeroBytes(), 0u); // the hlt after END is not assembled
    Compiled later("END later\n");
    ASSERT_TRUE(later.failed);
    EXPECT_EQ(later.error.GetMessage(), "Line - 1 Column - 5  Unresolved symbol <later>");
    Compiled noOperand(".begin 5\nend\n");
    EXPECT_EQ(noOperand.machine.startAddress, 5);
}

TEST(PlainDirectives, DataLinesHaveNoLineMapRecords) {
    Compiled compiled("nop\nDB 1, 2\nDW 3\nDS 2\nx EQU 1\nORG 10H\nmvi a, x\nEND\n");
    ASSERT_FALSE(compiled.failed) << compiled.error.GetMessage();
    EXPECT_EQ(compiled.LineMap(), "0 1 16 7 ");
}

TEST(ForwardReferences, ResolveEverywhereAValueIsTaken) {
    ExpectFiles({
        {"mvi a, COUNT\nCOUNT EQU 5", 0, {0x3E, 0x05}},
        {"lxi h, TABLE+1\nhlt\nTABLE: DB 1", 0, {0x21, 0x05, 0x00, 0x76, 0x01}},
        {"lxi h, HIGH(TABLE) * 2 + LOW TABLE\nORG 1234H\nTABLE:", 0, {0x21, 0x58, 0x00}},
        {"adi later\nin later\nlater EQU 7", 0, {0xC6, 0x07, 0xDB, 0x07}},
        {"rst n\nn EQU 3", 0, {0xDF}},
        {"DB a, b\nDW b - a\na EQU 1\nb EQU 3", 0, {0x01, 0x03, 0x02, 0x00}},
        {".setbyte 2000H, later\n.setword 2001H, later\nlater EQU 1234H",
         0x2000,
         {0x34, 0x34, 0x12}},
        // Grouped ignoring case under the spelling of the first use, as jumps always were.
        {"jmp Loop\njmp LOOP + 1\nLoop: nop", 0, {0xC3, 0x06, 0x00, 0xC3, 0x07, 0x00}},
        {"jmp $ + later\nlater EQU 10H", 0, {0xC3, 0x10, 0x00}},
        {"x SET 1\nmvi a, y\ny SET 2\ny SET 3\n", 0, {0x3E, 0x03}}, // the last value
    });
}

TEST(ForwardReferences, TheStartAddressGivenLastWins) {
    EXPECT_EQ(Compiled(".begin later\n.begin 5\nlater: nop").machine.startAddress, 5);
    EXPECT_EQ(Compiled(".begin 5\n.begin later\norg 9\nlater: nop").machine.startAddress, 9);
    EXPECT_EQ(Compiled(".begin b\n.begin a\na EQU 7\nb EQU 8").machine.startAddress, 7);
}

struct FileErrorRow {
    std::string source;
    int code;
    std::string message;
};

TEST(ForwardReferences, ErrorsFoundOnceTheFileIsReadNameTheValue) {
    const std::vector<FileErrorRow> rows{
        {"nop\n  rst n\nn EQU 8", 8, "Line - 2 Column - 7 Illegal RST instruction"},
        {"mvi a, 10 / zero\nzero EQU 0", 41, "Line - 1 Column - 8 Division by zero"},
        {"mvi a, y + x\nx EQU 1", 12, "Line - 1 Column - 8  Unresolved symbol <y>"},
        {"DB first, second\nsecond EQU 1", 12, "Line - 1 Column - 4  Unresolved symbol <first>"},
    };
    for (const FileErrorRow& row : rows) {
        Compiled compiled(row.source);
        ASSERT_TRUE(compiled.failed) << row.source;
        EXPECT_EQ(compiled.error.GetCode(), row.code) << row.source;
        EXPECT_EQ(compiled.error.GetMessage(), row.message) << row.source;
    }
}

TEST(PlainDirectives, ErrorsKeepTheirCodes) {
    const std::vector<FileErrorRow> rows{
        {"ORG later\nlater: nop", 14, "Line - 1 Column - 5  Expecting number or constant symbol"},
        {"x EQU later\nlater: nop", 14, "Line - 1 Column - 7  Expecting number or constant symbol"},
        {"x SET later\nlater: nop", 14, "Line - 1 Column - 7  Expecting number or constant symbol"},
        {".fill 0, later, 1\nlater: nop", 14,
         "Line - 1 Column - 10  Expecting number or constant symbol"},
        {".setbyte later, 1\nlater: nop", 14,
         "Line - 1 Column - 10  Expecting number or constant symbol"},
        {"x EQU\n", 14, "Line - 1 Column - 0  Expecting number or constant symbol"},
        {"DB\n", 14, "Line - 1 Column - 0  Expecting number or constant symbol"},
        {"DB 1,\n", 14, "Line - 1 Column - 0  Expecting number or constant symbol"},
        {"EQU 5\n", 13, "Line - 1 Column - 1 Syntax Error"},
        {"table DB 1\n", 13, "Line - 1 Column - 1 Syntax Error"},
        {"x EQU 1\nx EQU 2\n", 11, "Line - 2 Column - 7 Duplicate Symbol"},
        {"x: nop\nx SET 2\n", 11, "Line - 2 Column - 7 Duplicate Symbol"},
        {"x SET 1\nx EQU 2\n", 11, "Line - 2 Column - 7 Duplicate Symbol"},
        {"x SET 1\nx: nop\n", 11, "Line - 2 Column - 2 Duplicate Symbol"},
        {"DB 'abc\n", 40, "Line - 1 Column - 4 Missing closing quote"},
    };
    for (const FileErrorRow& row : rows) {
        Compiled compiled(row.source);
        ASSERT_TRUE(compiled.failed) << row.source;
        EXPECT_EQ(compiled.error.GetCode(), row.code) << row.source;
        EXPECT_EQ(compiled.error.GetMessage(), row.message) << row.source;
    }
}

TEST(PlainDirectives, TheInstructionEditorTakesThemToo) {
    AssemblerFixture fixture;
    fixture.parser.AssembleLine(0x3000, "DB 'Hi', 0DH, 0AH");
    EXPECT_EQ(Hex(fixture.Bytes(0x3000, 5)), "48 69 0d 0a 00 ");
    fixture.parser.AssembleLine(0x3000, "DW 0BEEFH");
    EXPECT_EQ(Hex(fixture.Bytes(0x3000, 2)), "ef be ");
    fixture.parser.AssembleLine(0x3000, "END 1234H");
    EXPECT_EQ(fixture.machine.startAddress, 0x1234);
    EXPECT_THROW(fixture.parser.AssembleLine(0x3000, "DB later"), CMyException);
}

} // namespace
