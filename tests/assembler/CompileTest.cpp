#include "AssemblerFixture.h"
#include "assembler/CdebugData.h"
#include "support/TempFolder.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace {

// Reads "start HHHH" and "AAAA: bb bb ..." lines into a start address and a memory image.
void ReadExpected(const std::string& path, std::uint16_t& start, Memory& image) {
    std::ifstream in(path);
    ASSERT_TRUE(in) << path;
    std::string word;
    in >> word;
    ASSERT_EQ(word, "start");
    unsigned value = 0;
    in >> std::hex >> value;
    start = static_cast<std::uint16_t>(value);
    image.fill(0);
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        if (!(fields >> std::hex >> value)) {
            continue;
        }
        auto address = static_cast<std::uint16_t>(value);
        fields.ignore(1); // the colon
        while (fields >> std::hex >> value) {
            image[address++] = static_cast<std::uint8_t>(value);
        }
    }
}

class GoldenSource : public ::testing::TestWithParam<std::string> {};

TEST_P(GoldenSource, AssemblesToTheExpectedMemoryAndLineMap) {
    const std::string base = std::string(ZORVAN_TEST_DATA) + "/assembler/" + GetParam();
    TempFolder folder;
    const std::string source = folder.File(GetParam() + ".85");
    std::filesystem::copy_file(base + ".85", source);
    std::uint16_t start = 0;
    Memory expected{};
    ReadExpected(base + ".expected", start, expected);

    AssemblerFixture fixture;
    fixture.machine.Reset();
    EXPECT_EQ(fixture.parser.Compile(source), 0);
    EXPECT_EQ(fixture.parser.GetDebugPath(), source + ".debug");
    EXPECT_EQ(fixture.machine.startAddress, start);
    for (std::size_t address = 0; address < expected.size(); ++address) {
        ASSERT_EQ(fixture.machine.memory[address], expected[address])
            << "first difference at address " << address;
    }
    EXPECT_EQ(TempFolder::Read(source + ".debug"), TempFolder::Read(base + ".debugtext"));
}

INSTANTIATE_TEST_SUITE_P(Sources, GoldenSource,
                         ::testing::Values("program", "directives", "empty"));

TEST(Compile, TheLineMapReadsBackBothWays) {
    TempFolder folder;
    const std::string source = folder.File("program.85");
    std::filesystem::copy_file(std::string(ZORVAN_TEST_DATA) + "/assembler/program.85", source);
    AssemblerFixture fixture;
    fixture.parser.Compile(source);

    CdebugData map;
    map.Open(fixture.parser.GetDebugPath(), "rt");
    map.Load();
    EXPECT_EQ(map.LineOfAddress(0x0116), 16);
    EXPECT_EQ(map.AddressOfLine(19), 0x0119); // the last of the line's two instructions
    EXPECT_EQ(map.AddressOfLine(5), 0x0100);
    try {
        map.AddressOfLine(1); // a comment
        FAIL();
    } catch (const CMyException& error) {
        EXPECT_EQ(error.GetCode(), 31);
        EXPECT_EQ(error.GetMessage(), "Source Line 1 has No equivalent 8085 memory address");
    }
    EXPECT_FALSE(map.FindLineOfAddress(0x0101).has_value()); // inside an instruction
}

struct SourceErrorRow {
    std::string source;
    int code;
    std::string message;
    std::string debugText; // what the .debug file holds after the error
};

class SourceErrors : public ::testing::TestWithParam<SourceErrorRow> {};

TEST_P(SourceErrors, EndTheCompileAndKeepTheRecordsSoFar) {
    const SourceErrorRow& row = GetParam();
    TempFolder folder;
    const std::string source = folder.Write("bad.85", row.source);
    AssemblerFixture fixture;
    try {
        fixture.parser.Compile(source);
        FAIL() << "no error for: " << row.source;
    } catch (const CMyException& error) {
        EXPECT_EQ(error.GetCode(), row.code);
        EXPECT_EQ(error.GetMessage(), row.message);
        EXPECT_EQ(error.errorFlag, 1);
        EXPECT_EQ(fixture.parser.GetLastError().GetMessage(), row.message);
        EXPECT_EQ(fixture.parser.GetLastError().GetCode(), row.code);
    }
    // Both files are closed: the .debug file is complete on disk and can be replaced.
    EXPECT_EQ(TempFolder::Read(source + ".debug"), row.debugText);
    std::filesystem::remove(source);
    std::filesystem::remove(source + ".debug");
    EXPECT_FALSE(std::filesystem::exists(source + ".debug"));
}

INSTANTIATE_TEST_SUITE_P(
    Files, SourceErrors,
    ::testing::Values(
        SourceErrorRow{"nop\n\nmov a\n", 17,
                       "Line - 3 Column - 0  Syntax Error: Expecting an identifier", "0 1 1 3 "},
        SourceErrorRow{"nop\r\nnop\r\nbad\r\n", 13, "Line - 3 Column - 1 Syntax Error", "0 1 1 2 "},
        SourceErrorRow{"jmp later\nmvi a, later\n.org later\nlater: nop\n", 14,
                       "Line - 3 Column - 6  Expecting number or constant symbol", "0 1 3 2 "},
        SourceErrorRow{"LOOP: nop\njmp loop\n", 12, "Line - 2 Column - 5  Unresolved symbol <loop>",
                       "0 1 1 2 "},
        SourceErrorRow{"\n\n\n\n\n\njmp x\n", 12, "Line - 7 Column - 5  Unresolved symbol <x>",
                       "0 7 "},
        SourceErrorRow{"jmp Loop\njmp LOOP\njmp other\n", 12,
                       "Line - 1 Column - 5  Unresolved symbol <Loop>", "0 1 3 2 6 3 "},
        SourceErrorRow{"a1: nop\na1: nop", 11, "Line - 2 Column - 2 Duplicate Symbol", "0 1 "},
        SourceErrorRow{".equ x 5\nx: nop", 11, "Line - 2 Column - 2 Duplicate Symbol", ""},
        SourceErrorRow{"DS later\nlater: nop", 14,
                       "Line - 1 Column - 4  Expecting number or constant symbol", ""},
        SourceErrorRow{"nop\n.equ", 16,
                       "Line - 2 Column - 0  Syntax Error: Expecting an identifier", "0 1 "}));

TEST(Compile, ForwardReferencesGroupIgnoringCaseAndPatchEverySite) {
    TempFolder folder;
    const std::string source =
        folder.Write("fwd.85", "jmp Loop\ncall LOOP\nlda loop\n.org 0x4000\nLoop: hlt\n");
    AssemblerFixture fixture;
    fixture.machine.lastWritten = 0;
    ASSERT_EQ(fixture.parser.Compile(source), 0);
    EXPECT_EQ(Hex(fixture.Bytes(0, 9)), "c3 00 40 cd 00 40 3a 00 40 ");
    ASSERT_EQ(fixture.parser.References().Records().size(), 1u);
    EXPECT_EQ(fixture.parser.References().Records()[0].name, "Loop");
    // The last patch marks its first byte.
    EXPECT_EQ(fixture.machine.lastWritten, 7);
}

TEST(Compile, LongLinesArriveInPiecesCountedAsLines) {
    TempFolder folder;
    struct Row {
        std::string source;
        std::string debugText;
    };
    const std::vector<Row> rows{
        // 1023 characters of comment, then "nop" as the rest of the line: line 2.
        {"; " + std::string(1021, 'a') + "nop\nhlt\n", "0 2 1 3 "},
        // A line of exactly 1023 characters leaves its line feed as an empty line.
        {"nop" + std::string(1020, ' ') + "\nhlt\n", "0 1 1 3 "},
        {"nop" + std::string(1019, ' ') + "\nhlt\n", "0 1 1 2 "},
        // No line feed at the end of the file.
        {"nop\nhlt", "0 1 1 2 "},
    };
    for (const Row& row : rows) {
        const std::string source = folder.Write("long.85", row.source);
        AssemblerFixture fixture;
        EXPECT_EQ(fixture.parser.Compile(source), 0);
        EXPECT_EQ(TempFolder::Read(source + ".debug"), row.debugText);
    }
}

TEST(Compile, AcceptsExactly1024Symbols) {
    TempFolder folder;
    std::string source;
    for (int i = 0; i < 1024; ++i) {
        // Appended piece by piece: "s" + std::to_string(i) trips GCC 12's -Wrestrict when
        // optimising.
        source += 's';
        source += std::to_string(i);
        source += ": nop\n";
    }
    AssemblerFixture fixture;
    EXPECT_EQ(fixture.parser.Compile(folder.Write("full.85", source)), 0);
    EXPECT_EQ(fixture.parser.Symbols().Count(), 1024u);
    EXPECT_EQ(fixture.parser.Symbols().Find("s1023"), 1023);

    source += ".equ one_more 1\n";
    try {
        fixture.parser.Compile(folder.Write("over.85", source));
        FAIL();
    } catch (const CMyException& error) {
        EXPECT_EQ(error.GetCode(), 21);
        EXPECT_EQ(error.GetMessage(),
                  "Line - 1025 Column - 15 Internal error - Symbol Table overflow");
    }
}

TEST(Compile, ASecondCompileStartsAfresh) {
    TempFolder folder;
    AssemblerFixture fixture;
    EXPECT_THROW(fixture.parser.Compile(folder.Write("a.85", "x: nop\njmp y\n")), CMyException);
    EXPECT_EQ(fixture.parser.GetLastError().GetCode(), 12);
    // Same names again: no duplicate, no stale reference, line numbers from 1.
    EXPECT_EQ(fixture.parser.Compile(folder.Write("b.85", "x: nop\ny: jmp x\n")), 0);
    EXPECT_EQ(Hex(fixture.Bytes(0, 4)), "00 c3 00 00 ");
    EXPECT_EQ(TempFolder::Read(folder.File("b.85.debug")), "0 1 1 2 ");
    // The failure stays the last error until the next one.
    EXPECT_EQ(fixture.parser.GetLastError().GetCode(), 12);
}

} // namespace

// The lines the editor shows are the lines the assembler counts, whatever ends them: errors and
// line-map records name the same line for each of the editor's line-end styles.
struct LineEndRow {
    const char* name;
    const char* lineEnd;
};

class LineEnds : public ::testing::TestWithParam<LineEndRow> {};

TEST_P(LineEnds, NumberTheLinesAsTheEditorShowsThem) {
    const std::string end = GetParam().lineEnd;
    TempFolder folder;
    const std::string text = "; a program" + end + end + "  mvi a, 1" + end + "  hlt" + end;
    const std::string source = folder.Write("styled.85", text);
    AssemblerFixture fixture;
    fixture.parser.Compile(source);
    EXPECT_EQ(TempFolder::Read(source + ".debug"), "0 3 2 4 ");
    EXPECT_EQ(fixture.Bytes(0, 3), (std::vector<std::uint8_t>{0x3E, 0x01, 0x76}));

    const std::string bad = folder.Write("bad.85", "  nop" + end + "  nop" + end + "  bad" + end);
    try {
        fixture.parser.Compile(bad);
        FAIL() << "no error";
    } catch (const CMyException& error) {
        EXPECT_EQ(error.line, 3);
    }
}

INSTANTIATE_TEST_SUITE_P(Styles, LineEnds,
                         ::testing::Values(LineEndRow{"Lf", "\n"}, LineEndRow{"CrLf", "\r\n"},
                                           LineEndRow{"LfCr", "\n\r"}, LineEndRow{"Cr", "\r"}),
                         [](const auto& row) { return std::string(row.param.name); });
