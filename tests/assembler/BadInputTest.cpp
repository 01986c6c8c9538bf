#include "AssemblerFixture.h"
#include "assembler/LineReader.h"
#include "support/TempFolder.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace {

// Compiles `path` and returns the error; fails the test when there is none.
CMyException CompileError(const std::string& path) {
    AssemblerFixture fixture;
    try {
        fixture.parser.Compile(path);
        ADD_FAILURE() << "compiled: " << path.substr(0, 100);
    } catch (const CMyException& error) {
        EXPECT_EQ(fixture.parser.GetLastError().GetMessage(), error.GetMessage());
        return error;
    }
    return CMyException();
}

TEST(BadInput, FilesThatCannotBeOpened) {
    TempFolder folder;
    const std::string missing = folder.File("missing.85");
    const std::string tooLong = folder.File(std::string(300, 'n') + ".85");
    const std::string deep = folder.File(std::string(5000, 'd'));
    // A path with a NUL inside names the file before the NUL to the system; it must not open it.
    const std::string existing = folder.Write("real.85", "nop\n");
    const std::string withNul = existing + std::string(1, '\0') + "x";
    const std::vector<std::pair<std::string, int>> rows{
        {"", 19},      {missing, 20}, {folder.path.string(), 20},
        {tooLong, 20}, {deep, 20},    {withNul, 20}};
    for (const auto& [path, code] : rows) {
        const CMyException error = CompileError(path);
        EXPECT_EQ(error.GetCode(), code) << path.substr(0, 100);
        EXPECT_EQ(error.GetMessage(),
                  std::string("Line - 1 Column - 0 ") +
                      (code == 19 ? "Empty file name" : "Error could not open file"));
        EXPECT_EQ(error.GetLine(), 1);
        EXPECT_EQ(error.GetColumn(), 0);
    }
    EXPECT_FALSE(std::filesystem::exists(missing + ".debug"));
}

TEST(BadInput, UnreadableFile) {
    TempFolder folder;
    const std::string source = folder.Write("locked.85", "nop\n");
    std::filesystem::permissions(source, std::filesystem::perms::none);
    if (std::ifstream(source).good()) {
        GTEST_SKIP() << "running with rights that read any file";
    }
    EXPECT_EQ(CompileError(source).GetCode(), 20);
}

TEST(BadInput, ADebugFileThatCannotBeWrittenClosesTheSource) {
    TempFolder folder;
    const std::string source = folder.Write("prog.85", "nop\n");
    std::filesystem::create_directory(source + ".debug");
    const CMyException error = CompileError(source);
    EXPECT_EQ(error.GetCode(), 20);
    EXPECT_EQ(error.GetMessage(), "CdebugData::Error could not open debug info file <" + source +
                                      ".debug>: Not a regular file (a folder)");
    // Nothing was assembled, and the source can be removed and compiled again.
    std::filesystem::remove(source + ".debug");
    AssemblerFixture fixture;
    EXPECT_EQ(fixture.parser.Compile(source), 0);
}

TEST(BadInput, BinaryContentStopsAtTheFirstStrangeByte) {
    TempFolder folder;
    struct Row {
        std::string content;
        std::string message;
    };
    const std::vector<Row> rows{
        {std::string("\x7f"
                     "ELF\x02\x01\x01\0\0\0",
                     10),
         "Line - 1 Column - 1 NextToken : Syntax Error"},
        {std::string("nop\n\0\0\0\n", 8), "Line - 2 Column - 1 NextToken : Syntax Error"},
        {std::string("nop ; \0 is fine in a comment\nhlt\0", 33),
         "Line - 2 Column - 4 NextToken : Syntax Error"},
        {"nop\n\xff\xfe", "Line - 2 Column - 1 NextToken : Syntax Error"},
    };
    for (const Row& row : rows) {
        const CMyException error = CompileError(folder.Write("bin.85", row.content));
        EXPECT_EQ(error.GetCode(), 13);
        EXPECT_EQ(error.GetMessage(), row.message);
    }
}

TEST(BadInput, AHundredKilobyteLine) {
    TempFolder folder;
    // Pieces of 1023 characters, each a line of its own: nothing overflows, every piece is read.
    const std::string comment = folder.Write("comment.85", "; " + std::string(100 * 1024, 'x'));
    AssemblerFixture fixture;
    const CMyException error = CompileError(comment);
    EXPECT_EQ(error.GetCode(), 13);
    EXPECT_EQ(error.GetMessage(), "Line - 2 Column - 1 Syntax Error");

    const std::string blanks =
        folder.Write("blanks.85", std::string(100 * 1024, ' ') + "nop\nhlt\n");
    EXPECT_EQ(fixture.parser.Compile(blanks), 0);
    // 102400 blanks and "nop" make 101 pieces; hlt is the next line.
    EXPECT_EQ(TempFolder::Read(blanks + ".debug"), "0 101 1 102 ");

    EXPECT_THROW(fixture.parser.AssembleLine(0, std::string(100 * 1024, 'a')), CMyException);
    EXPECT_EQ(fixture.parser.AssembleLine(0, "nop" + std::string(100 * 1024, ' ') + "junk"),
              TokenKind::EndOfLine);
}

} // namespace

namespace {

TEST(LineReader, TellsAReadErrorFromTheEndOfTheFile) {
    // Reading this file from its start fails with an I/O error on Linux.
    std::FILE* file = std::fopen("/proc/self/mem", "r");
    if (file == nullptr) {
        GTEST_SKIP() << "no /proc/self/mem";
    }
    LineReader reader;
    reader.Attach(file);
    std::string piece;
    EXPECT_FALSE(reader.ReadPiece(piece, 1023));
    EXPECT_TRUE(reader.Failed());
    std::fclose(file);

    TempFolder folder;
    std::FILE* text = std::fopen(folder.Write("t.85", "ab\ncd").c_str(), "r");
    ASSERT_NE(text, nullptr);
    reader.Attach(text);
    std::vector<std::string> pieces;
    while (reader.ReadPiece(piece, 2)) {
        pieces.push_back(piece);
    }
    EXPECT_FALSE(reader.Failed());
    EXPECT_EQ(pieces, (std::vector<std::string>{"ab", "\n", "cd"}));
    std::fclose(text);
}

} // namespace
