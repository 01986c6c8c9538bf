#include "app/GradeCases.h"

#include <gtest/gtest.h>

// The CASES file of zorvan-grade: every key read as documented, and each mistake reported at its
// line with the reason.

namespace {

GradeCases Parse(const std::string& text) {
    return GradeCases::Parse(text, "cases.toml");
}

TEST(GradeCasesTest, ReadsEveryKey) {
    const auto cases = Parse(R"(title = "Week 3"
main = "main.85"
step_limit = 5000
time_limit = 2.5

[[case]]
name = "full"
points = 2.5
step_limit = 100
time_limit = 0.5
keyboard = [12, "0x1f"]
com1 = "AB"
com2 = [1, 0xFF]
[case.preset]
registers = { hl = 0x2000, a = 7, f = 0x01 }
flags = { cy = true, z = 0 }
memory = { 0x2000 = [1, 2], 16 = "hi" }
ports = { 0x10 = 3 }
[case.expect]
stop = "bad_system_call"
registers = { sp = 0xF000, b = 1 }
flags = { s = false }
memory = { 0x3000 = 9 }
ports = { 2 = 0x20 }
led = "  8085A."
printed = "OK\r\n"
com1 = "x"
com2 = [0]
beeps = 2

[[case]]
[case.expect]
led = { 7 = 0x06, 0 = 0x3b }
)");
    EXPECT_EQ(cases.title, "Week 3");
    EXPECT_EQ(cases.main, "main.85");
    ASSERT_EQ(cases.cases.size(), 2u);
    const auto& full = cases.cases[0];
    EXPECT_EQ(full.name, "full");
    EXPECT_EQ(full.line, 6);
    EXPECT_EQ(full.points, 2.5);
    EXPECT_EQ(full.stepLimit, 100u);
    EXPECT_EQ(full.timeLimit, 0.5);
    EXPECT_EQ(full.keyboard, (std::vector<std::string>{"12", "0x1f"}));
    EXPECT_EQ(full.com1, "AB");
    EXPECT_EQ(full.com2, std::string("\x01\xFF"));
    ASSERT_EQ(full.preset.registers.size(), 3u); // in the order a, f, hl
    EXPECT_EQ(full.preset.registers[0].name, GradeCase::Register::A);
    EXPECT_EQ(full.preset.registers[2].name, GradeCase::Register::HL);
    EXPECT_EQ(full.preset.registers[2].value, 0x2000);
    ASSERT_EQ(full.preset.flags.size(), 2u);
    EXPECT_EQ(full.preset.flags[0].name, GradeCase::Flag::Z);
    EXPECT_FALSE(full.preset.flags[0].set);
    EXPECT_TRUE(full.preset.flags[1].set);
    ASSERT_EQ(full.preset.memory.size(), 2u); // by address
    EXPECT_EQ(full.preset.memory[0].address, 16);
    EXPECT_EQ(full.preset.memory[0].bytes, (std::vector<std::uint8_t>{'h', 'i'}));
    EXPECT_EQ(full.preset.memory[1].bytes, (std::vector<std::uint8_t>{1, 2}));
    EXPECT_EQ(full.preset.ports[0].number, 0x10);
    EXPECT_EQ(full.expect.stop, GradeCase::Stop::BadSystemCall);
    ASSERT_EQ(full.expect.led.size(), 8u);
    EXPECT_EQ(full.expect.led[0].code, 0x00); // blank
    EXPECT_EQ(full.expect.led[2].code, 0x7F); // 8
    EXPECT_EQ(full.expect.led[6].code, 0x77); // A
    EXPECT_EQ(full.expect.led[7].code, 0x80); // the point
    EXPECT_EQ(full.expect.printed, "OK\r\n");
    EXPECT_EQ(full.expect.com2, std::string(1, '\0'));
    EXPECT_EQ(full.expect.beeps, 2);
    const auto& second = cases.cases[1];
    EXPECT_EQ(second.name, "case 2");
    EXPECT_EQ(second.points, 1);
    EXPECT_EQ(second.stepLimit, 5000u); // the file's defaults
    EXPECT_EQ(second.timeLimit, 2.5);
    ASSERT_EQ(second.expect.led.size(), 2u);
    EXPECT_EQ(second.expect.led[0].cell, 0);
    EXPECT_FALSE(second.expect.stop);
    EXPECT_EQ(cases.MaxPoints(), 3.5);
}

TEST(GradeCasesTest, DefaultsWithoutLimits) {
    const auto cases = Parse("[[case]]\nname = \"x\"\n");
    EXPECT_EQ(cases.cases[0].stepLimit, GradeCases::defaultStepLimit);
    EXPECT_EQ(cases.cases[0].timeLimit, GradeCases::defaultTimeLimit);
}

TEST(GradeCasesTest, EachMistakeAtItsLine) {
    const std::vector<std::pair<std::string, std::string>> files = {
        {"", "cases.toml: no test case: add [[case]] tables"},
        {"title = \"x\"\n[[case]\n", "cases.toml:2: "},
        {"case = 3\n", "cases.toml:1: 'case' must be written as [[case]] tables"},
        {"titel = \"x\"\n[[case]]\n",
         "cases.toml:1: unknown key 'titel' in the file (known: title, main, step_limit, "
         "time_limit, case)"},
        {"[[case]]\nname = \"a\"\n[[case]]\nname = \"a\"\n",
         "cases.toml:3: two cases are named 'a'"},
        {"[[case]]\npoints = -1\n", "cases.toml:2: points must be a number from 0 to 1e+09"},
        {"[[case]]\nstep_limit = 0\n",
         "cases.toml:2: step_limit must be an integer from 1 to 9223372036854775807"},
        {"[[case]]\ntime_limit = 0\n", "cases.toml:2: time_limit (seconds) must be above 0"},
        {"[[case]]\nkeyboard = 5\n",
         "cases.toml:2: keyboard must be an array of answers, as in keyboard = [12, \"0x1f\"]"},
        {"[[case]]\nkeyboard = [true]\n",
         "cases.toml:2: each keyboard answer must be an integer or a text"},
        {"[[case]]\ncom1 = [256]\n",
         "cases.toml:2: each byte of com1 must be an integer from 0 to 255"},
        {"[[case]]\n[case.preset]\nstop = \"halt\"\n",
         "cases.toml:3: unknown key 'stop' in the preset of case 'case 1' (known: registers, "
         "flags, memory, ports)"},
        {"[[case]]\n[case.expect]\nregisters = { x = 1 }\n",
         "cases.toml:3: unknown register 'x' (a, b, c, d, e, h, l, f, bc, de, hl, sp, pc)"},
        {"[[case]]\n[case.expect]\nregisters = { a = 256 }\n",
         "cases.toml:3: register a must be an integer from 0 to 255"},
        {"[[case]]\n[case.expect]\nregisters = { hl = 65536 }\n",
         "cases.toml:3: register hl must be an integer from 0 to 65535"},
        {"[[case]]\n[case.expect]\nflags = { q = 1 }\n",
         "cases.toml:3: unknown flag 'q' (s, z, ac, p, cy)"},
        {"[[case]]\n[case.expect]\nflags = { z = 2 }\n",
         "cases.toml:3: flag z must be an integer from 0 to 1"},
        {"[[case]]\n[case.expect]\nmemory = { 0x10000 = 1 }\n",
         "cases.toml:3: memory address '0x10000' must be a number from 0 to 0xffff (0x "
         "hexadecimal or decimal)"},
        {"[[case]]\n[case.expect]\nmemory = { 1 = [] }\n",
         "cases.toml:3: memory at 1 must hold 1 to 65536 bytes"},
        {"[[case]]\n[case.expect]\nmemory = 5\n",
         "cases.toml:3: memory must be a table, as in memory = { ... }"},
        {"[[case]]\n[case.expect]\nports = { 256 = 1 }\n",
         "cases.toml:3: port '256' must be a number from 0 to 0xff (0x hexadecimal or decimal)"},
        {"[[case]]\n[case.expect]\nstop = \"halted\"\n",
         "cases.toml:3: stop must be one of halt, illegal_instruction, bad_system_call, "
         "step_limit, time_limit, breakpoint, led_range, no_input, error"},
        {"[[case]]\n[case.expect]\nled = \"12345\"\n",
         "cases.toml:3: led must be a table {cell = code}, an array of 8 codes or a text of 8 "
         "characters"},
        {"[[case]]\n[case.expect]\nled = \"1234567x\"\n",
         "cases.toml:3: led: 'x' cannot be shown (0-9, A-F, G, blank, '.', '-')"},
        {"[[case]]\n[case.expect]\nled = { 8 = 1 }\n",
         "cases.toml:3: LED cell '8' must be a number from 0 to 0x7 (0x hexadecimal or decimal)"},
        {"[[case]]\n[case.expect]\nbeeps = \"two\"\n",
         "cases.toml:3: beeps must be an integer from 0 to 1000000000"},
        {"[[case]]\n[case.expect]\nprinted = 1.5\n",
         "cases.toml:3: printed must be a text, a byte or an array of bytes"},
        {"[[case]]\n[case.expect]\noutput = \"x\"\n",
         "cases.toml:3: unknown key 'output' in the expectations of case 'case 1' (known: stop, "
         "registers, flags, memory, ports, led, printed, com1, com2, beeps)"},
        {"main = 5\n[[case]]\n", "cases.toml:1: 'main' must be a text in quotes"},
    };
    for (const auto& [text, message] : files) {
        SCOPED_TRACE(text);
        try {
            Parse(text);
            ADD_FAILURE() << "accepted";
        } catch (const GradeCases::Error& error) {
            EXPECT_TRUE(std::string(error.what()).starts_with(message)) << error.what();
        }
    }
}

TEST(GradeCasesTest, LoadRefusesWhatIsNoRegularFile) {
    EXPECT_THROW(GradeCases::Load("/nonexistent/cases.toml"), GradeCases::Error);
    try {
        GradeCases::Load("/tmp");
        ADD_FAILURE() << "a folder was read";
    } catch (const GradeCases::Error& error) {
        EXPECT_EQ(std::string(error.what()), "/tmp: Not a regular file (a folder)");
    }
}

} // namespace
