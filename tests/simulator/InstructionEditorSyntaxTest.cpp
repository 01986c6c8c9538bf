#include "machine/C8085Object.h"
#include "simulator/PaneEdits.h"

#include <gtest/gtest.h>

// The Instructions pane's "enter instruction" path takes the usual Intel syntax as a source file
// does: suffix numbers, character constants, expressions and the data directives.

namespace {

TEST(InstructionEditor, TakesTheIntelSyntax) {
    const struct {
        const char* text;
        std::vector<std::uint8_t> bytes; // at 0x40
    } rows[] = {
        {"MVI A, 23H", {0x3E, 0x23}},
        {"mvi a, 'A'", {0x3E, 0x41}},
        {"LXI H, 1000H+2*10H", {0x21, 0x20, 0x10}},
        {"MVI B, HIGH(1234H)", {0x06, 0x12}},
        {"JMP $+3", {0xC3, 0x43, 0x00}},
        {"DB 'ok', 0DH", {0x6F, 0x6B, 0x0D}},
        {"DW 0BEEFH", {0xEF, 0xBE}},
    };
    for (const auto& row : rows) {
        C8085Object machine;
        EXPECT_FALSE(PaneEdits::AssembleInstruction(machine, "0x40", row.text)) << row.text;
        for (std::size_t i = 0; i < row.bytes.size(); ++i) {
            EXPECT_EQ(machine.memory[0x40 + i], row.bytes[i]) << row.text << " byte " << i;
        }
    }
}

TEST(InstructionEditor, ShowsTheNewErrorsAsExceptions) {
    C8085Object machine;
    const auto unclosed = PaneEdits::AssembleInstruction(machine, "0x40", "mvi a, (1+2");
    ASSERT_TRUE(unclosed);
    EXPECT_EQ(unclosed->caption, "Exception");
    EXPECT_EQ(unclosed->message, "Line - 1 Column - 0 Missing closing parenthesis");
    // A single line has nothing further on: a name it does not define is an error where the
    // value is a byte.
    const auto unknown = PaneEdits::AssembleInstruction(machine, "0x40", "MVI A, COUNT");
    ASSERT_TRUE(unknown);
    EXPECT_EQ(unknown->message, "Line - 1 Column - 8  Expecting number or constant symbol");
}

} // namespace
