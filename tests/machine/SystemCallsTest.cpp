#include "machine/SystemCalls.h"

#include "SystemCallsFakes.h"
#include "machine/C8085Object.h"
#include "machine/SegmentCodes.h"

#include <array>
#include <gtest/gtest.h>

namespace {

using Cells = std::array<int, 8>;
constexpr Cells resetCells = {0x06, 0x3B, 0x2F, 0x66, 0x6D, 0x7D, 0x07, 0x7F};
constexpr std::uint16_t callAt = 0x1000;

class SystemCallsTest : public ::testing::Test {
protected:
    void SetUp() override {
        machine.SetSystemCallHandler(&calls);
        machine.WriteByteAndWord(callAt, 0xCD, 0x0005);
        machine.pc = callAt;
        machine.SetLedChanged(0);
    }

    // Runs CALL 0x0005 with the given A and C; returns the stop it threw, if any.
    std::optional<CMyException> Call(std::uint8_t a, std::uint8_t c) {
        machine.a = a;
        machine.c = c;
        machine.pc = callAt;
        try {
            machine.Step();
        } catch (const CMyException& stop) {
            return stop;
        }
        return std::nullopt;
    }

    void SetHL(std::uint16_t value) {
        machine.h = static_cast<std::uint8_t>(value >> 8);
        machine.l = static_cast<std::uint8_t>(value);
    }

    Cells LedCells() const {
        Cells cells{};
        for (int i = 0; i < 8; ++i) {
            cells[static_cast<std::size_t>(i)] = machine.GetLedCell(i);
        }
        return cells;
    }

    FakePrompt prompt;
    FakeBeeper beeper;
    FakeDelay delay;
    FakeSerial serial;
    FakePrinter printer;
    SystemCalls calls{{prompt, beeper, delay, serial, printer}};
    C8085Object machine;
};

TEST(SegmentCodes, DigitTableAndRangeError) {
    const int expected[] = {0x5F, 0x06, 0x3B, 0x2F, 0x66, 0x6D, 0x7D, 0x07, 0x7F, 0x6F,
                            0x77, 0x7C, 0x59, 0x3E, 0x79, 0x71, 0x00, 0x80, 0x20, 0x5D};
    for (int i = 0; i < 20; ++i) {
        EXPECT_EQ(DigitCode(i), expected[i]) << i;
    }
    for (int bad : {-1, 20, 255}) {
        try {
            DigitCode(bad);
            ADD_FAILURE() << bad << " was accepted";
        } catch (const CMyException& error) {
            EXPECT_EQ(error.code, 24);
            EXPECT_EQ(error.errorFlag, 1);
            EXPECT_EQ(error.message, "Illegal data '" + std::to_string(bad) +
                                         "' requested for display on LED.  Valid values are "
                                         "from 0 to 19");
        }
    }
}

TEST(SegmentCodes, RawBitsAreActiveLowInTheirOwnOrder) {
    // Raw bit cleared -> segment lit: bit 4 a, 5 b, 6 c, 7 d, 1 e, 0 g, 2 f, 3 point.
    const std::pair<int, int> rows[] = {{0xFF, 0x00}, {0x00, 0xFF}, {0xEF, 0x01}, {0xDF, 0x02},
                                        {0xBF, 0x04}, {0x7F, 0x08}, {0xFD, 0x10}, {0xFE, 0x20},
                                        {0xFB, 0x40}, {0xF7, 0x80}, {0x0F, 0x0F}};
    for (const auto& [raw, code] : rows) {
        EXPECT_EQ(RawCode(static_cast<std::uint8_t>(raw)), code) << std::hex << raw;
    }
}

struct LedRow {
    const char* name;
    std::uint8_t a, c;
    std::uint16_t hl;
    std::vector<std::uint8_t> bytes; // placed at HL onwards
    Cells cells;
    int code; // 0: the call returns
};

TEST_F(SystemCallsTest, LedCalls) {
    const LedRow rows[] = {
        {"nothing", 0, 0, 0, {}, resetCells, 0},
        {"nothing either", 10, 7, 0, {}, resetCells, 0},
        {"clear middle", 1, 0, 0, {}, {0x06, 0x3B, 0, 0, 0, 0, 0x07, 0x7F}, 0},
        {"clear right", 1, 1, 0, {}, {0x06, 0x3B, 0x2F, 0x66, 0x6D, 0x7D, 0, 0}, 0},
        {"clear left", 1, 2, 0, {}, {0, 0, 0x2F, 0x66, 0x6D, 0x7D, 0x07, 0x7F}, 0},
        {"clear all", 1, 3, 0, {}, {0, 0, 0, 0, 0, 0, 0, 0}, 0},
        {"clear bad", 1, 4, 0, {}, resetCells, 9},
        {"point 7", 2, 0, 0, {}, {0x06, 0x3B, 0x2F, 0x66, 0x6D, 0x7D, 0x07, 0x80}, 0},
        {"point 5", 2, 1, 0, {}, {0x06, 0x3B, 0x2F, 0x66, 0x6D, 0x80, 0x07, 0x7F}, 0},
        {"points 4 5", 2, 2, 0, {}, {0x06, 0x3B, 0x2F, 0x66, 0x80, 0x80, 0x07, 0x7F}, 0},
        {"point 1", 2, 3, 0, {}, {0x06, 0x80, 0x2F, 0x66, 0x6D, 0x7D, 0x07, 0x7F}, 0},
        {"point bad", 2, 4, 0, {}, resetCells, 9},
        {"digit cell 3", 3, 3, 0x2000, {10}, {0x06, 0x3B, 0x2F, 0x77, 0x6D, 0x7D, 0x07, 0x7F}, 0},
        {"digit cell 0", 3, 0, 0x2000, {19}, {0x5D, 0x3B, 0x2F, 0x66, 0x6D, 0x7D, 0x07, 0x7F}, 0},
        {"digits right", 3, 8, 0x2000, {1, 2}, {0x06, 0x3B, 0x2F, 0x66, 0x6D, 0x7D, 0x06, 0x3B}, 0},
        {"digits middle",
         3,
         9,
         0x2000,
         {15, 14, 13, 12},
         {0x06, 0x3B, 0x71, 0x79, 0x3E, 0x59, 0x07, 0x7F},
         0},
        {"digits middle wrap",
         3,
         9,
         0xFFFF,
         {1, 2, 3, 4},
         {0x06, 0x3B, 0x06, 0x3B, 0x2F, 0x66, 0x07, 0x7F},
         0},
        {"digits left",
         3,
         10,
         0x2000,
         {16, 17},
         {0x00, 0x80, 0x2F, 0x66, 0x6D, 0x7D, 0x07, 0x7F},
         0},
        {"digits all",
         3,
         11,
         0x2000,
         {0, 1, 2, 3, 4, 5, 6, 18},
         {0x5F, 0x06, 0x3B, 0x2F, 0x66, 0x6D, 0x7D, 0x20},
         0},
        {"digit range error keeps earlier cells",
         3,
         11,
         0x2000,
         {8, 9, 10, 11, 12, 13, 14, 20},
         {0x7F, 0x6F, 0x77, 0x7C, 0x59, 0x3E, 0x79, 0x7F},
         24},
        {"digits bad", 3, 12, 0x2000, {1}, resetCells, 9},
        {"Err", 4, 0, 0, {}, {0, 0, 0x79, 0x30, 0x30, 0, 0, 0}, 0},
        {"byte left", 11, 0, 0x553C, {}, {0x2F, 0x59, 0x2F, 0x66, 0x6D, 0x7D, 0x07, 0x7F}, 0},
        {"HL middle", 11, 1, 0x12AB, {}, {0x06, 0x3B, 0x06, 0x3B, 0x77, 0x7C, 0x07, 0x7F}, 0},
        {"byte right", 11, 2, 0x009F, {}, {0x06, 0x3B, 0x2F, 0x66, 0x6D, 0x7D, 0x6F, 0x71}, 0},
        {"bytes bad", 11, 3, 0x1234, {}, resetCells, 9},
        {"raw left",
         13,
         0,
         0x2000,
         {0xFF, 0x00},
         {0x00, 0xFF, 0x2F, 0x66, 0x6D, 0x7D, 0x07, 0x7F},
         0},
        {"raw middle",
         13,
         1,
         0x2000,
         {0xEF, 0xFE, 0xF7, 0xFD},
         {0x06, 0x3B, 0x01, 0x20, 0x80, 0x10, 0x07, 0x7F},
         0},
        {"raw right",
         13,
         2,
         0x2000,
         {0xDF, 0x7F},
         {0x06, 0x3B, 0x2F, 0x66, 0x6D, 0x7D, 0x02, 0x08},
         0},
        {"raw all",
         13,
         3,
         0x2000,
         {0xBF, 0xFB, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF},
         {0x04, 0x40, 0xFF, 0, 0, 0, 0, 0},
         0},
        {"raw bad", 13, 4, 0x2000, {0}, resetCells, 9},
        {"function 18", 18, 0, 0, {}, resetCells, 9},
        {"function 255", 255, 3, 0, {}, resetCells, 9},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        machine.Reset();
        SetUp();
        SetHL(row.hl);
        for (std::size_t i = 0; i < row.bytes.size(); ++i) {
            machine.memory[static_cast<std::uint16_t>(row.hl + i)] = row.bytes[i];
        }
        const auto stop = Call(row.a, row.c);
        EXPECT_EQ(LedCells(), row.cells);
        EXPECT_EQ(stop ? stop->code : 0, row.code);
        EXPECT_EQ(machine.pc, row.code == 0 ? callAt + 3 : callAt);
        const bool marks = row.code == 0 && row.a != 0 && row.a != 10;
        EXPECT_EQ(machine.IsLedChanged(), marks ? 1 : 0);
        EXPECT_EQ(machine.a, row.a);
        EXPECT_EQ(machine.c, row.c);
        EXPECT_EQ(machine.HL(), row.hl);
    }
}

TEST_F(SystemCallsTest, StopMessagesCarryTheirPositionText) {
    auto stop = Call(18, 0);
    ASSERT_TRUE(stop);
    EXPECT_EQ(stop->message, "IP = 4096 -   Bad System Call ");
    EXPECT_EQ(stop->errorFlag, 1);

    // The LED range error comes from the digit table, without a position text.
    SetHL(0x2000);
    machine.memory[0x2000] = 21;
    stop = Call(3, 0);
    ASSERT_TRUE(stop);
    EXPECT_EQ(stop->message,
              "Illegal data '21' requested for display on LED.  Valid values are from 0 to 19");
    EXPECT_EQ(stop->errorFlag, 1);
}

struct RegisterRow {
    const char* name;
    std::uint8_t a, c, h, l;
    std::uint8_t b; // C of the BC pair is the sub-function; B is the high byte
    std::uint8_t wantA, wantD, wantE;
    int code;
};

TEST_F(SystemCallsTest, AsciiConversion) {
    const RegisterRow rows[] = {
        {"hex digits of 3F", 6, 0, 0, 0x3F, 0, 6, '3', 'F', 0},
        {"hex digits of A0", 6, 0, 0, 0xA0, 0, 6, 'A', '0', 0},
        {"lower a and 7", 6, 1, 'a', '7', 0, 0xA7, 0, 0, 0},
        {"upper F lower f", 6, 1, 'F', 'f', 0, 0xFF, 0, 0, 0},
        {"upper A upper B", 6, 1, 'A', 'B', 0, 0xAB, 0, 0, 0},
        {"digits 0 9", 6, 1, '0', '9', 0, 0x09, 0, 0, 0},
        {"bad sub-function", 6, 2, 0x12, 0x34, 0, 6, 0, 0, 9},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        machine.d = machine.e = 0;
        machine.h = row.h;
        machine.l = row.l;
        const auto stop = Call(row.a, row.c);
        EXPECT_EQ(stop ? stop->code : 0, row.code);
        EXPECT_EQ(machine.a, row.wantA);
        EXPECT_EQ(machine.d, row.wantD);
        EXPECT_EQ(machine.e, row.wantE);
        EXPECT_EQ(machine.IsLedChanged(), 0);
    }
}

TEST_F(SystemCallsTest, SubtractionShowsErrOnBorrow) {
    struct Row {
        std::uint16_t bc, hl, de;
        bool err;
    };
    const Row rows[] = {{0x0001, 0x0002, 0xFFFF, true},
                        {0x1234, 0x0034, 0x1200, false},
                        {0x8000, 0x8000, 0x0000, false},
                        {0x0000, 0xFFFF, 0x0001, true}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.bc);
        machine.Reset();
        SetUp();
        machine.b = static_cast<std::uint8_t>(row.bc >> 8);
        SetHL(row.hl);
        machine.a = 7;
        machine.c = static_cast<std::uint8_t>(row.bc);
        machine.Step();
        EXPECT_EQ(machine.DE(), row.de);
        const Cells err = {0, 0, 0x79, 0x30, 0x30, 0, 0, 0};
        EXPECT_EQ(LedCells(), row.err ? err : resetCells);
        EXPECT_EQ(machine.IsLedChanged(), row.err ? 1 : 0);
    }
}

TEST_F(SystemCallsTest, KeyboardPrompts) {
    struct Row {
        const char* name;
        std::uint8_t a, c;
        std::optional<int> answer;
        std::uint16_t wantHL;
        std::uint8_t wantA;
        Cells cells;
        int max;
        const char* text;
        const char* initial;
    };
    const char* key = "Read a key from keyboard and return the key code in reg 'A'";
    const char* four = "Read 4 keys as 16 bit data into 'HL' and display the data in address Led";
    const char* two = "Read 2 keys as 8 bit data into 'L' and display the data in data Led";
    const Row rows[] = {
        {"key", 5, 0, 9, 0x4321, 9, resetCells, 15, key, "0x0005"},
        {"key cancelled", 5, 0, std::nullopt, 0x4321, 5, resetCells, 15, key, "0x0005"},
        {"four keys",
         12,
         0,
         0x12AB,
         0x12AB,
         12,
         {0x06, 0x3B, 0x06, 0x3B, 0x77, 0x7C, 0x07, 0x7F},
         0xFFFF,
         four,
         "0x0000"},
        {"four keys small",
         12,
         0,
         0x5,
         0x0005,
         12,
         {0x06, 0x3B, 0x5F, 0x5F, 0x5F, 0x6D, 0x07, 0x7F},
         0xFFFF,
         four,
         "0x0000"},
        {"four keys cancelled", 12, 0, std::nullopt, 0x4321, 12, resetCells, 0xFFFF, four,
         "0x0000"},
        {"two keys",
         12,
         1,
         0x3C,
         0x433C,
         12,
         {0x06, 0x3B, 0x2F, 0x66, 0x2F, 0x59, 0x07, 0x7F},
         0xFF,
         two,
         "0x0000"},
        {"two keys cancelled", 12, 1, std::nullopt, 0x4321, 12, resetCells, 0xFF, two, "0x0000"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        machine.Reset();
        SetUp();
        prompt.requests.clear();
        prompt.answer = row.answer;
        SetHL(0x4321);
        const auto stop = Call(row.a, row.c);
        ASSERT_FALSE(stop) << stop->message;
        EXPECT_EQ(machine.pc, callAt + 3);
        EXPECT_EQ(machine.HL(), row.wantHL);
        EXPECT_EQ(machine.a, row.wantA);
        EXPECT_EQ(LedCells(), row.cells);
        EXPECT_EQ(machine.IsLedChanged(), row.a == 12 && row.answer ? 1 : 0);
        ASSERT_EQ(prompt.requests.size(), 1u);
        EXPECT_EQ(prompt.requests[0].min, 0);
        EXPECT_EQ(prompt.requests[0].max, row.max);
        EXPECT_EQ(prompt.requests[0].text, row.text);
        EXPECT_EQ(prompt.requests[0].initial, row.initial);
    }
    prompt.requests.clear();
    const auto stop = Call(12, 2);
    ASSERT_TRUE(stop);
    EXPECT_EQ(stop->code, 9);
    EXPECT_TRUE(prompt.requests.empty());
}

TEST_F(SystemCallsTest, BeepAndDelay) {
    EXPECT_FALSE(Call(8, 0));
    EXPECT_FALSE(Call(8, 1));
    const auto stop = Call(8, 2);
    ASSERT_TRUE(stop);
    EXPECT_EQ(stop->code, 9);
    EXPECT_EQ(beeper.beeps, (std::vector<std::pair<int, int>>{{1000, 75}, {2000, 75}}));

    for (int hl : {0, 1, 1000, 0xFFFF}) {
        SetHL(static_cast<std::uint16_t>(hl));
        EXPECT_FALSE(Call(9, 0));
    }
    EXPECT_EQ(delay.waits, (std::vector<long long>{0, 7, 7000, 0xFFFF * 7LL}));
}

TEST_F(SystemCallsTest, SerialPortsOpenTransferAndClose) {
    serial.incoming = 0x5A;
    machine.b = 0;
    EXPECT_FALSE(Call(14, 0));
    EXPECT_EQ(machine.b, 0x5A);
    machine.b = 0xC3;
    EXPECT_FALSE(Call(15, 1));
    EXPECT_EQ(serial.log, (std::vector<std::string>{"open COM1", "receive", "close", "open COM2",
                                                    "send 195", "close"}));

    serial.log.clear();
    for (std::uint8_t function : {std::uint8_t{14}, std::uint8_t{15}}) {
        const auto stop = Call(function, 2);
        ASSERT_TRUE(stop);
        EXPECT_EQ(stop->code, 9);
    }
    EXPECT_TRUE(serial.log.empty());
}

TEST_F(SystemCallsTest, SerialFailuresStopWithThePortClosed) {
    struct Row {
        const char* where;
        std::uint8_t function;
        int code;
        std::vector<std::string> log;
    };
    const Row rows[] = {
        {"open", 14, 27, {"open COM1"}},
        {"receive", 14, 28, {"open COM1", "receive", "close"}},
        {"send", 15, 28, {"open COM1", "send 7", "close"}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.where);
        serial.log.clear();
        serial.failIn = row.where;
        serial.failure = CMyException(1, row.code, "Input/output error");
        machine.b = 7;
        const auto stop = Call(row.function, 0);
        ASSERT_TRUE(stop);
        EXPECT_EQ(stop->code, row.code);
        EXPECT_EQ(stop->message, "Input/output error");
        EXPECT_EQ(machine.pc, callAt);
        EXPECT_EQ(machine.b, 7);
        EXPECT_EQ(serial.log, row.log);
    }
}

TEST_F(SystemCallsTest, PrintCalls) {
    machine.b = 'H';
    EXPECT_FALSE(Call(16, 0));
    machine.b = 0; // a C string: empty, not one NUL byte
    EXPECT_FALSE(Call(16, 0));
    machine.b = 200;
    EXPECT_FALSE(Call(16, 1));
    machine.b = 7;
    EXPECT_FALSE(Call(16, 1));
    EXPECT_FALSE(Call(17, 9));
    const auto stop = Call(16, 2);
    ASSERT_TRUE(stop);
    EXPECT_EQ(stop->code, 9);
    EXPECT_EQ(printer.texts, (std::vector<std::string>{"H", "", "200", "7", "\r\n"}));
}

// A device wait ended by CancelWaits stops silently with pc on the CALL; once re-armed the same
// call runs again and completes.
TEST_F(SystemCallsTest, CancelledWaitsStopSilentlyAndRepeat) {
    const auto cancelNow = [this] { calls.CancelWaits(); };
    delay.whileWaiting = cancelNow;
    beeper.whileBeeping = cancelNow;
    prompt.whileOpen = cancelNow;
    serial.whileSending = cancelNow;
    serial.incoming = std::nullopt;

    struct Row {
        const char* name;
        std::uint8_t a, c;
        std::vector<std::string> serialLog;
    };
    const Row rows[] = {{"delay", 9, 0, {}},
                        {"beep", 8, 1, {}},
                        {"key", 5, 0, {}},
                        {"four keys", 12, 0, {}},
                        {"serial write", 15, 0, {"open COM1", "send 1", "close"}},
                        {"serial read", 14, 1, {"open COM2", "receive", "close"}}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        calls.RearmWaits();
        serial.log.clear();
        machine.b = 1;
        SetHL(0x0102);
        const auto stop = Call(row.a, row.c);
        ASSERT_TRUE(stop);
        EXPECT_EQ(stop->code, StopCode::Cancelled);
        EXPECT_EQ(stop->errorFlag, 0);
        EXPECT_EQ(stop->message, "IP = 4096 -   Run stopped");
        EXPECT_EQ(machine.pc, callAt);
        EXPECT_EQ(machine.a, row.a);
        EXPECT_EQ(machine.HL(), 0x0102);
        EXPECT_EQ(machine.IsLedChanged(), 0);
        EXPECT_EQ(serial.log, row.serialLog);
    }

    delay.whileWaiting = nullptr;
    calls.RearmWaits();
    EXPECT_FALSE(Call(9, 0));
    EXPECT_EQ(machine.pc, callAt + 3);
}

} // namespace
