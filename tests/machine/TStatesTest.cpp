// Clock states: every opcode's figures against the 8085 data sheet, and how the machine counts
// instructions and T-states as it executes (taken and untaken conditions, system calls, stops,
// the end of a step-out, the counted loop of a full-speed run).

#include "MachineTestSupport.h"
#include "machine/C8085Object.h"
#include "machine/CpmConsole.h"
#include "machine/OpcodeTable.h"
#include "machine/SystemCallHandler.h"

#include <atomic>
#include <gtest/gtest.h>
#include <sstream>
#include <string>

namespace {

// The data sheet's states, row by row as the opcode map reads (high nibble down, low nibble
// across). "a/b": a when the condition fails, b when it holds. "-": an opcode the 8085 data sheet
// does not list; it never completes here (it stops the machine), so its figures are 0.
constexpr const char* dataSheet[16] = {
    //  0     1     2    3    4     5     6    7    8     9    A    B    C     D     E    F
    "4     10    7    6    4     4     7    4    -     10   7    6    4     4     7    4",  // 0
    "-     10    7    6    4     4     7    4    -     10   7    6    4     4     7    4",  // 1
    "4     10    16   6    4     4     7    4    -     10   16   6    4     4     7    4",  // 2
    "4     10    13   6    10    10    10   4    -     10   13   6    4     4     7    4",  // 3
    "4     4     4    4    4     4     7    4    4     4    4    4    4     4     7    4",  // 4
    "4     4     4    4    4     4     7    4    4     4    4    4    4     4     7    4",  // 5
    "4     4     4    4    4     4     7    4    4     4    4    4    4     4     7    4",  // 6
    "7     7     7    7    7     7     5    7    4     4    4    4    4     4     7    4",  // 7
    "4     4     4    4    4     4     7    4    4     4    4    4    4     4     7    4",  // 8
    "4     4     4    4    4     4     7    4    4     4    4    4    4     4     7    4",  // 9
    "4     4     4    4    4     4     7    4    4     4    4    4    4     4     7    4",  // A
    "4     4     4    4    4     4     7    4    4     4    4    4    4     4     7    4",  // B
    "6/12  10    7/10 10   9/18  12    7    12   6/12  10   7/10 -    9/18  18    7    12", // C
    "6/12  10    7/10 10   9/18  12    7    12   6/12  -    7/10 10   9/18  -     7    12", // D
    "6/12  10    7/10 16   9/18  12    7    12   6/12  6    7/10 4    9/18  -     7    12", // E
    "6/12  10    7/10 4    9/18  12    7    12   6/12  6    7/10 4    9/18  -     7    12", // F
};

struct Figures {
    int untaken = 0;
    int taken = 0;
};

Figures DataSheetFigures(int opcode) {
    std::istringstream row(dataSheet[opcode >> 4]);
    std::string cell;
    for (int column = 0; column <= (opcode & 0xF); ++column) {
        row >> cell;
    }
    if (cell == "-") {
        return {0, 0};
    }
    const auto slash = cell.find('/');
    if (slash == std::string::npos) {
        return {std::stoi(cell), std::stoi(cell)};
    }
    return {std::stoi(cell.substr(0, slash)), std::stoi(cell.substr(slash + 1))};
}

TEST(TStates, EveryOpcodeHasTheDataSheetFigures) {
    for (int opcode = 0; opcode < 256; ++opcode) {
        const OpcodeRow& row = OpcodeTable()[static_cast<std::size_t>(opcode)];
        const Figures expected = DataSheetFigures(opcode);
        EXPECT_EQ(row.tStates, expected.untaken) << "opcode " << std::hex << opcode;
        EXPECT_EQ(row.tStatesTaken, expected.taken) << "opcode " << std::hex << opcode;
    }
}

TEST(TStates, EveryOpcodeCountsTheFiguresOfItsRow) {
    for (int opcode = 0; opcode < 256; ++opcode) {
        const OpcodeRow& row = OpcodeTable()[static_cast<std::size_t>(opcode)];
        if (row.tStates == 0 || opcode == 0x76) {
            continue; // invalid, breakpoint, halt: they stop and are not counted
        }
        bool sawUntaken = false;
        bool sawTaken = false;
        // All flags clear, then all set: every condition fails once and holds once.
        for (const std::uint8_t flags : {std::uint8_t{0x00}, std::uint8_t{0xFF}}) {
            C8085Object machine;
            Load(machine, 0x1000, {static_cast<std::uint8_t>(opcode), 0x10, 0x20});
            machine.flags = flags;
            machine.sp = 0x3000;
            machine.Step();
            const bool pcSet = machine.pc != 0x1000 + row.length;
            const int expected = pcSet ? row.tStatesTaken : row.tStates;
            (pcSet ? sawTaken : sawUntaken) = true;
            EXPECT_EQ(machine.tStateCount, static_cast<std::uint64_t>(expected))
                << "opcode " << std::hex << opcode << " flags " << int{flags};
        }
        if (row.tStates != row.tStatesTaken) {
            EXPECT_TRUE(sawTaken && sawUntaken) << "opcode " << std::hex << opcode;
        }
    }
}

struct CountCase {
    const char* name;
    std::initializer_list<std::uint8_t> program;
    std::uint8_t flags;
    std::uint64_t states;
};

TEST(TStates, OneStepCountsOneInstructionWithItsFigure) {
    const CountCase cases[] = {
        {"mov b,c", {0x41}, 0, 4},
        {"mov m,a", {0x77}, 0, 7},
        {"mvi m", {0x36, 0x01}, 0, 10},
        {"lhld", {0x2A, 0x00, 0x20}, 0, 16},
        {"jnz taken", {0xC2, 0x00, 0x10}, 0, 10},
        {"jnz not taken", {0xC2, 0x00, 0x10}, C8085Object::FlagZ, 7},
        {"jz to the next instruction, taken", {0xCA, 0x03, 0x00}, C8085Object::FlagZ, 10},
        {"cc taken", {0xDC, 0x00, 0x10}, C8085Object::FlagCY, 18},
        {"cc not taken", {0xDC, 0x00, 0x10}, 0, 9},
        {"rp taken", {0xF0}, 0, 12},
        {"rp not taken", {0xF0}, C8085Object::FlagS, 6},
        {"ret", {0xC9}, 0, 10},
        {"rst 1", {0xCF}, 0, 12},
        {"push psw", {0xF5}, 0, 12},
        {"xthl", {0xE3}, 0, 16},
        {"in", {0xDB, 0x01}, 0, 10},
    };
    for (const auto& c : cases) {
        C8085Object machine;
        Load(machine, 0, c.program);
        machine.flags = c.flags;
        machine.sp = 0x3000;
        machine.Step();
        EXPECT_EQ(machine.tStateCount, c.states) << c.name;
        EXPECT_EQ(machine.instructionCount, 1u) << c.name;
    }
}

class NothingHandler : public SystemCallHandler {
public:
    void SystemCall(C8085Object& machine) override { machine.a = 0x42; }
};

TEST(TStates, ASystemCallCountsAsTheCallAndTheReturnItStandsFor) {
    C8085Object machine;
    NothingHandler devices;
    machine.SetSystemCallHandler(&devices);
    Load(machine, 0, {0xCD, 0x05, 0x00});
    machine.Step();
    EXPECT_EQ(machine.a, 0x42);
    EXPECT_EQ(machine.tStateCount, 18u + 10u);
    EXPECT_EQ(machine.instructionCount, 1u);
    // A conditional call to 0x0005 is an ordinary call.
    Load(machine, 0, {0xDC, 0x05, 0x00});
    machine.flags = C8085Object::FlagCY;
    machine.ZeroCounters();
    machine.Step();
    EXPECT_EQ(machine.tStateCount, 18u);
}

TEST(TStates, StopsAreNotCountedButTheReturnEndingAStepOutIs) {
    C8085Object machine;
    Load(machine, 0, {0x00, 0x76}); // nop / hlt
    machine.Step();
    EXPECT_TRUE(StepCatching(machine));
    EXPECT_TRUE(StepCatching(machine)); // the halt again
    EXPECT_EQ(machine.instructionCount, 1u);
    EXPECT_EQ(machine.tStateCount, 4u);

    // call sub / hlt / sub: rz (taken) -- Step Out inside sub stops at the return, counted.
    machine.Reset();
    Load(machine, 0, {0xCD, 0x10, 0x00, 0x76});
    machine.memory[0x10] = 0xC8;
    machine.sp = 0x2000;
    machine.Step();
    machine.SetStepOut(1);
    machine.flags = C8085Object::FlagZ;
    const auto stop = StepCatching(machine);
    ASSERT_TRUE(stop);
    EXPECT_EQ(stop->code, StopCode::StepOutEnd);
    EXPECT_EQ(machine.pc, 3);
    EXPECT_EQ(machine.instructionCount, 2u);
    EXPECT_EQ(machine.tStateCount, 18u + 12u);
}

TEST(TStates, AFullSpeedLoopCountsAsSingleStepsDo) {
    const std::string path = std::string(ZORVAN_CPU_TESTS) + "/8085EXM.COM";
    constexpr std::uint64_t slice = 200'000;
    CpmConsole console([](char) {});
    std::string error;
    C8085Object stepped;
    stepped.SetSystemCallHandler(&console);
    ASSERT_TRUE(CpmConsole::LoadComFile(stepped, path, error)) << error;
    for (std::uint64_t i = 0; i < slice; ++i) {
        stepped.Step();
    }
    C8085Object looped;
    looped.SetSystemCallHandler(&console);
    ASSERT_TRUE(CpmConsole::LoadComFile(looped, path, error)) << error;
    const std::atomic<int> running{1};
    std::uint64_t done = 0;
    while (done < slice) {
        done += looped.RunWhile(running, std::min<std::uint64_t>(slice - done, 7777));
    }
    EXPECT_EQ(looped.instructionCount, slice);
    EXPECT_EQ(looped.tStateCount, stepped.tStateCount);
    EXPECT_GT(looped.tStateCount, 4 * slice);
    EXPECT_EQ(looped.pc, stepped.pc);

    // A loop cleared from outside does nothing; a stop inside it still leaves the count right.
    const std::atomic<int> stopped{0};
    EXPECT_EQ(looped.RunWhile(stopped, 100), 0u);
    C8085Object halting;
    Load(halting, 0, {0x00, 0x00, 0x76});
    EXPECT_THROW(halting.RunWhile(running, 100), CMyException);
    EXPECT_EQ(halting.instructionCount, 2u);
    EXPECT_EQ(halting.tStateCount, 8u);
}

TEST(TStates, ResetAndZeroCountersStartAgain) {
    C8085Object machine;
    machine.Step();
    EXPECT_EQ(machine.instructionCount, 1u);
    machine.ZeroCounters();
    EXPECT_EQ(machine.instructionCount, 0u);
    EXPECT_EQ(machine.tStateCount, 0u);
    machine.Step();
    machine.Reset();
    EXPECT_EQ(machine.instructionCount, 0u);
    EXPECT_EQ(machine.tStateCount, 0u);
}

} // namespace
