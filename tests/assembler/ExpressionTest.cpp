#include "AssemblerFixture.h"

#include <gtest/gtest.h>

// Operand values written as expressions, assembled one line at a time at 0x2000 as the
// instruction editor does.

namespace {

struct ValueRow {
    std::string line;
    std::vector<std::uint8_t> bytes; // at 0x2000
};

void ExpectBytes(const ValueRow& row) {
    AssemblerFixture fixture;
    try {
        fixture.parser.AssembleLine(0x2000, row.line);
    } catch (const CMyException& error) {
        ADD_FAILURE() << row.line << ": " << error.GetMessage();
        return;
    }
    EXPECT_EQ(Hex(fixture.Bytes(0x2000, row.bytes.size())), Hex(row.bytes)) << row.line;
}

TEST(Expressions, NumbersWithASuffixAndCharacterConstants) {
    const std::vector<ValueRow> rows{
        {"mvi a, 23H", {0x3E, 0x23}},
        {"mvi a, 23h", {0x3E, 0x23}},
        {"MVI A, 0FFH", {0x3E, 0xFF}},
        {"mvi a, 0a5h", {0x3E, 0xA5}},
        {"mvi a, 17o", {0x3E, 0x0F}},
        {"mvi a, 17Q", {0x3E, 0x0F}},
        {"mvi a, 10D", {0x3E, 0x0A}},
        {"mvi a, 1010B", {0x3E, 0x0A}},
        {"mvi a, 0101b", {0x3E, 0x05}},
        {"mvi a, 017", {0x3E, 0x0F}}, // a leading 0 without a suffix stays octal
        {"mvi a, 0x17", {0x3E, 0x17}},
        {"lxi h, 1234H", {0x21, 0x34, 0x12}},
        {"lxi h, 12345H", {0x21, 0x45, 0x23}},
        {"mvi a, 'A'", {0x3E, 0x41}},
        {"mvi a, ''''", {0x3E, 0x27}},
        {"mvi a, ';'", {0x3E, 0x3B}},
        {"lxi h, 'AB'", {0x21, 0x42, 0x41}},
        {"cpi 'a'+1", {0xFE, 0x62}},
        {"mvi a, 5nop", {0x3E, 0x05, 0x00}}, // a number, then an instruction, as before
    };
    for (const ValueRow& row : rows) {
        ExpectBytes(row);
    }
}

TEST(Expressions, OperatorsBindAndWrapAsUsual) {
    const std::vector<ValueRow> rows{
        {"mvi a, 2+3*4", {0x3E, 14}},
        {"mvi a, (2+3)*4", {0x3E, 20}},
        {"mvi a, 5-2-1", {0x3E, 2}},
        {"mvi a, 100/10/5", {0x3E, 2}},
        {"mvi a, 17 MOD 5", {0x3E, 2}},
        {"mvi a, 17 mod 5 * 2", {0x3E, 4}},
        {"mvi a, 1 SHL 4", {0x3E, 0x10}},
        {"mvi a, 80H SHR 3", {0x3E, 0x10}},
        {"lxi h, 1 shl 16", {0x21, 0x00, 0x00}},
        {"mvi a, 0F0H AND 3CH", {0x3E, 0x30}},
        {"mvi a, 0F0H OR 0FH", {0x3E, 0xFF}},
        {"mvi a, 0FFH XOR 0FH", {0x3E, 0xF0}},
        {"mvi a, 1 OR 2 AND 0", {0x3E, 0x01}},
        {"mvi a, NOT 0", {0x3E, 0xFF}},
        {"mvi a, NOT 1 + 1", {0x3E, 0xFD}},     // NOT binds looser than +
        {"mvi a, NOT 0 AND 0FH", {0x3E, 0x0F}}, // and tighter than AND
        {"mvi a, -1", {0x3E, 0xFF}},
        {"mvi a, +7", {0x3E, 0x07}},
        {"mvi a, 2*-3", {0x3E, 0xFA}},
        {"mvi a, - 1 + 2", {0x3E, 0x01}},
        {"lxi h, -2", {0x21, 0xFE, 0xFF}},
        {"lxi h, 0FFFFH+2", {0x21, 0x01, 0x00}},
        {"lxi h, 300*300", {0x21, 0x90, 0x5F}}, // 90000 wraps to 0x5F90
        {"lxi h, 0 - 1 / 2", {0x21, 0x00, 0x00}},
        {"mvi a, 300", {0x3E, 0x2C}},
        {"mvi a, HIGH 1234H", {0x3E, 0x12}},
        {"mvi a, LOW 1234H", {0x3E, 0x34}},
        {"mvi a, high(1234h)+1", {0x3E, 0x13}},
        {"mvi a, low(1234h) shr 4", {0x3E, 0x03}},
        {"lxi h, HIGH 1234H * 2", {0x21, 0x24, 0x00}}, // HIGH binds tighter than *
        {"lxi h, $", {0x21, 0x00, 0x20}},
        {"jmp $+3", {0xC3, 0x03, 0x20}},
        {"lxi h, ((((1))))", {0x21, 0x01, 0x00}},
        {"rst 14 / 2", {0xFF}},
        {"out 10H+1", {0xD3, 0x11}},
        {"mvi b, 0x10+0x01", {0x06, 0x11}},
        {"mvi b, 010+1", {0x06, 0x09}},
    };
    for (const ValueRow& row : rows) {
        ExpectBytes(row);
    }
}

TEST(Expressions, OperatorWordsStayNamesWhereNoOperandFollows) {
    const std::vector<ValueRow> rows{
        {".equ low 5 mvi a, low", {0x3E, 0x05}},
        {".equ high 6 mvi a, high ; a comment", {0x3E, 0x06}},
        {".equ not 7 mvi a, not nop", {0x3E, 0x07, 0x00}},
        {".equ and 8 mvi a, and", {0x3E, 0x08}},
        {".equ low 5 mvi a, low low", {0x3E, 0x05}}, // LOW of the name low
        {"mod: jmp mod", {0xC3, 0x00, 0x20}},
        {"jmp high", {0xC3, 0x00, 0x00}}, // unknown, never patched in the editor
    };
    for (const ValueRow& row : rows) {
        ExpectBytes(row);
    }
}

TEST(Expressions, NamesInAnAddressMayComeLaterAndCountAsZeroInTheEditor) {
    AssemblerFixture fixture;
    fixture.parser.AssembleLine(0x2000, "jmp later+1");
    EXPECT_EQ(Hex(fixture.Bytes(0x2000, 3)), "c3 01 00 ");
    ASSERT_EQ(fixture.parser.References().Records().size(), 1u);
    EXPECT_EQ(fixture.parser.References().Records()[0].name, "later");
}

struct ErrorRow {
    std::string line;
    int code;
    std::string message;
};

TEST(Expressions, ErrorsNameTheirPlace) {
    const std::vector<ErrorRow> rows{
        {"mvi a, (1", 42, "Line - 1 Column - 0 Missing closing parenthesis"},
        {"mvi a, (1 2)", 42, "Line - 1 Column - 11 Missing closing parenthesis"},
        {"mvi a, 'AB", 40, "Line - 1 Column - 8 Missing closing quote"},
        {"mvi a, 'ABC'", 43,
         "Line - 1 Column - 8 A character constant holds one or two characters"},
        {"mvi a, ''", 43, "Line - 1 Column - 8 A character constant holds one or two characters"},
        {"mvi a, 1/0", 41, "Line - 1 Column - 8 Division by zero"},
        {"lxi h, 5 + 7 MOD (3-3)", 41, "Line - 1 Column - 8 Division by zero"},
        {"mvi a, 1 +", 14, "Line - 1 Column - 0  Expecting number or constant symbol"},
        {"mvi a, *2", 14, "Line - 1 Column - 8  Expecting number or constant symbol"},
        {"mvi a, later+1", 14, "Line - 1 Column - 8  Expecting number or constant symbol"},
        {"mvi a, 1+later", 14, "Line - 1 Column - 10  Expecting number or constant symbol"},
        {"rst 4+4", 8, "Line - 1 Column - 7 Illegal RST instruction"},
        // Where no value belongs, the new characters are the error they always were.
        {"mov a, +b", 13, "Line - 1 Column - 8 NextToken : Syntax Error"},
        {"mvi a 'x'", 13, "Line - 1 Column - 7 NextToken : Syntax Error"},
        {"(nop)", 13, "Line - 1 Column - 1 NextToken : Syntax Error"},
        {"$", 13, "Line - 1 Column - 1 NextToken : Syntax Error"},
        {"mvi a, 1 2", 13, "Line - 1 Column - 10 Syntax Error"},
    };
    for (const ErrorRow& row : rows) {
        AssemblerFixture fixture;
        try {
            fixture.parser.AssembleLine(0x2000, row.line);
            ADD_FAILURE() << "no error for " << row.line;
        } catch (const CMyException& error) {
            EXPECT_EQ(error.GetCode(), row.code) << row.line;
            EXPECT_EQ(error.GetMessage(), row.message) << row.line;
            EXPECT_EQ(error.errorFlag, 1) << row.line;
        }
    }
}

TEST(Expressions, DeepNestingStaysWithinTheLine) {
    const std::string line = "lxi h, " + std::string(400, '(') + "7" + std::string(400, ')');
    ExpectBytes({line, {0x21, 0x07, 0x00}});
    ExpectBytes({"mvi a, " + std::string(500, '-') + "1", {0x3E, 0x01}});
}

} // namespace
