#include "app/GradeRun.h"

#include "../support/TempFolder.h"
#include "app/AssembledProgram.h"
#include "app/GradeCases.h"
#include "app/GradeComparison.h"

#include <chrono>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

// One case on one machine: presets, the virtual devices, the limits, and each kind of expectation
// passing and failing with its first difference.

namespace {

// Adds 5 and 7 into A, stores and sends the sum, sets the carry and halts.
const char* const arithmetic = R"(
        mvi a, 5
        mvi b, 7
        add b
        lxi h, 0x2000
        mov m, a
        out 0x20
        stc
        hlt
)";

// A key from the keyboard, printed as a digit with a line end; a byte from COM1 sent on COM2;
// a beep and a delay of seven seconds.
const char* const devices = R"(
        mvi a, 5
        call 5
        adi 0x30
        mov b, a
        mvi c, 0
        mvi a, 16
        call 5
        mvi a, 17
        call 5
        mvi c, 0
        mvi a, 14
        call 5
        mvi c, 1
        mvi a, 15
        call 5
        mvi c, 0
        mvi a, 8
        call 5
        lxi h, 1000
        mvi a, 9
        call 5
        hlt
)";

const char* const spin = "loop:   jmp loop\n";

// Reads memory, a register, the carry and a port that the presets give.
const char* const presetReader = R"(
        lda 0x3000
        aci 0
        add b
        mov c, a
        in 0x30
        hlt
)";

class GradeRunTest : public ::testing::Test {
protected:
    GradeReport::CaseResult Run(const std::string& source, const std::string& caseText) {
        std::string error;
        const auto program =
            AssembledProgram::Assemble(folder.Write("p.85", source), "p.85", error);
        if (!program) {
            ADD_FAILURE() << error;
            return {};
        }
        const auto cases = GradeCases::Parse("[[case]]\n" + caseText, "cases.toml");
        return run.Run(*program, cases.cases.front());
    }

    TempFolder folder;
    GradeRun run;
};

struct Expectation {
    const char* source;
    std::string caseText;
    std::string difference; // empty: the case passes
};

TEST_F(GradeRunTest, EachExpectationPassesAndFails) {
    const std::vector<Expectation> table = {
        {arithmetic, "[case.expect]\nstop = \"halt\"", ""},
        {arithmetic, "[case.expect]\nstop = \"step_limit\"", "stop = halt, expected step_limit"},
        {arithmetic, "[case.expect]\nregisters = { a = 12, hl = 0x2000 }", ""},
        {arithmetic, "[case.expect]\nregisters = { a = 0x0D }", "a = 0x0c, expected 0x0d"},
        {arithmetic, "[case.expect]\nregisters = { hl = 0x2001 }", "hl = 0x2000, expected 0x2001"},
        {arithmetic, "[case.expect]\nflags = { cy = true, z = false }", ""},
        {arithmetic, "[case.expect]\nflags = { cy = false }", "flag cy = 1, expected 0"},
        {arithmetic, "[case.expect]\nmemory = { 0x2000 = 0x0C }", ""},
        {arithmetic, "[case.expect]\nmemory = { 0x2000 = [0x0C, 1] }",
         "memory[0x2001] = 0x00, expected 0x01"},
        {arithmetic, "[case.expect]\nports = { 0x20 = 12 }", ""},
        {arithmetic, "[case.expect]\nports = { 0x21 = 1 }", "port[0x21] = 0x00, expected 0x01"},
        {arithmetic, "[case.expect]\nled = \"12345678\"", ""},
        {arithmetic, "[case.expect]\nled = { 0 = 0x5F }", "led[0] = 0x06, expected 0x5f"},
        {devices,
         "keyboard = [\"zz\", 99, 7]\ncom1 = \"Q\"\n[case.expect]\nstop = \"halt\"\n"
         "printed = \"7\\r\\n\"\ncom2 = \"Q\"\ncom1 = \"\"\nbeeps = 1",
         ""},
        {devices, "keyboard = [7]\ncom1 = \"Q\"\n[case.expect]\nprinted = \"8\\r\\n\"",
         "printed = \"7\\r\\n\", expected \"8\\r\\n\""},
        {devices, "keyboard = [7]\ncom1 = \"Q\"\n[case.expect]\ncom2 = [0x52]",
         "com2 = \"Q\", expected \"R\""},
        {devices, "keyboard = [7]\ncom1 = \"Q\"\n[case.expect]\ncom1 = \"x\"",
         "com1 = \"\", expected \"x\""},
        {devices, "keyboard = [7]\ncom1 = \"Q\"\n[case.expect]\nbeeps = 2",
         "beeps = 1, expected 2"},
        // No answer left: the prompt is cancelled and A keeps 5.
        {devices, "com1 = \"Q\"\n[case.expect]\nprinted = \"5\\r\\n\"", ""},
        {devices, "keyboard = [7]\n[case.expect]\nstop = \"halt\"",
         "stop = no_input, expected halt"},
        {spin, "step_limit = 1000\n[case.expect]\nstop = \"step_limit\"", ""},
        {".setbyte 0, 0x10\n", "[case.expect]\nstop = \"illegal_instruction\"", ""},
        {"mvi a, 18\ncall 5\n", "[case.expect]\nstop = \"bad_system_call\"", ""},
        {".setbyte 0, 0x08\n", "[case.expect]\nstop = \"breakpoint\"", ""},
        {".setbyte 0x2000, 20\nlxi h, 0x2000\nmvi c, 0\nmvi a, 3\ncall 5\n",
         "[case.expect]\nstop = \"led_range\"", ""},
        {presetReader,
         "[case.preset]\nmemory = { 0x3000 = 0x10 }\nregisters = { b = 0x20 }\n"
         "flags = { cy = true }\nports = { 0x30 = 0x99 }\n"
         "[case.expect]\nregisters = { c = 0x31, a = 0x99 }",
         ""},
        {presetReader, "[case.expect]\nregisters = { c = 0x31 }", "c = 0x00, expected 0x31"},
    };
    for (const auto& row : table) {
        SCOPED_TRACE(row.caseText);
        const auto result = Run(row.source, row.caseText);
        EXPECT_EQ(result.difference, row.difference);
        EXPECT_EQ(result.passed, row.difference.empty());
        EXPECT_EQ(result.points, row.difference.empty() ? 1 : 0);
    }
}

TEST_F(GradeRunTest, DelaysAreSkipped) {
    const auto start = std::chrono::steady_clock::now();
    const auto result =
        Run(devices, "keyboard = [1]\ncom1 = \"Q\"\n[case.expect]\nstop = \"halt\"");
    EXPECT_TRUE(result.passed) << result.difference;
    // The program asks for seven seconds of delay.
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
}

TEST_F(GradeRunTest, LimitsEndALoopingProgram) {
    auto result = Run(spin, "step_limit = 1000");
    EXPECT_EQ(result.stop, "step_limit");
    EXPECT_EQ(result.steps, 1000u);
    EXPECT_TRUE(result.passed); // nothing expected, nothing compared

    const auto start = std::chrono::steady_clock::now();
    result = Run(spin, "time_limit = 0.05\nstep_limit = 9000000000000000000\n"
                       "[case.expect]\nstop = \"time_limit\"");
    EXPECT_TRUE(result.passed) << result.difference;
    EXPECT_GT(result.steps, 0u);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
}

TEST_F(GradeRunTest, LongTextsShowTheirFirstDifference) {
    EXPECT_EQ(GradeComparison::Quoted(std::string("a\"\\\r\n\t\x01\xff", 8)),
              "\"a\\\"\\\\\\r\\n\\t\\x01\\xff\"");
    const std::string want(100, 'x');
    std::string got = want;
    got[60] = 'y';
    EXPECT_EQ(GradeComparison::TextDifference("printed", got, want),
              "printed[52..] = \"xxxxxxxxyxxxxxxxxxxxxxxxxxxxxxxx\", expected "
              "\"xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx\" (100 bytes, expected 100)");
}

TEST_F(GradeRunTest, AssemblerErrorsNameTheSubmission) {
    std::string error;
    EXPECT_FALSE(AssembledProgram::Assemble(folder.Write("p.85", "  mvo a\n"), "alice.85", error));
    EXPECT_EQ(error, "alice.85:1:3: error: Syntax Error (code 13)");
    EXPECT_FALSE(AssembledProgram::Assemble(folder.File("none.85"), "bob.85", error));
    EXPECT_EQ(error, "bob.85: cannot be read: No such file or directory");
    // A named pipe is refused at once, never waited on.
    ASSERT_EQ(mkfifo(folder.File("pipe.85").c_str(), 0600), 0);
    EXPECT_FALSE(AssembledProgram::Assemble(folder.File("pipe.85"), "pipe.85", error));
    EXPECT_EQ(error, "pipe.85: cannot be read: Not a regular file (a named pipe)");
    // Nothing was written beside the programs.
    for (const auto& entry : std::filesystem::directory_iterator(folder.path)) {
        EXPECT_NE(entry.path().extension(), ".debug") << entry.path();
    }
}

} // namespace
