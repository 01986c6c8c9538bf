#include "MachineTestSupport.h"

#include <gtest/gtest.h>
#include <string>

namespace {

struct StopRow {
    std::uint8_t opcode;
    int errorFlag;
    int code;
    const char* message;
};

TEST(Stops, EveryStopKeepsPcOnTheStoppingInstruction) {
    const StopRow rows[] = {
        {0x76, 0, 26, "IP = 4096 -   Halt executed"},
        {0x08, 0, 25, "IP = 4096 -  Breakpoint "},
        {0x10, 1, 1, "IP = 4096 -  Illegal Instruction "},
        {0x18, 1, 1, "IP = 4096 -  Illegal Instruction "},
        {0x28, 1, 1, "IP = 4096 -  Illegal Instruction "},
        {0x38, 1, 1, "IP = 4096 -  Illegal Instruction "},
        {0xCB, 1, 1, "IP = 4096 -  Illegal Instruction "},
        {0xD9, 1, 1, "IP = 4096 -  Illegal Instruction "},
        {0xDD, 1, 1, "IP = 4096 -  Illegal Instruction "},
        {0xED, 1, 1, "IP = 4096 -  Illegal Instruction "},
        {0xFD, 1, 1, "IP = 4096 -  Illegal Instruction "},
        {0xCD, 1, 9, "IP = 4096 -   Bad System Call "}, // CALL 5 without a handler
    };
    for (const auto& row : rows) {
        C8085Object machine;
        machine.sp = 0x8000;
        Load(machine, 4096, {row.opcode, 0x05, 0x00});
        for (int attempt = 0; attempt < 2; ++attempt) { // stepping again stops again
            const auto stop = StepCatching(machine);
            ASSERT_TRUE(stop.has_value()) << std::hex << int{row.opcode};
            EXPECT_EQ(stop->message, row.message);
            EXPECT_EQ(stop->code, row.code);
            EXPECT_EQ(stop->errorFlag, row.errorFlag);
            EXPECT_EQ(stop->errorSet, row.errorFlag);
            EXPECT_EQ(stop->line, -1);
            EXPECT_EQ(stop->column, -1);
            EXPECT_EQ(machine.pc, 4096);
            EXPECT_EQ(machine.sp, 0x8000);
            EXPECT_EQ(machine.currentOpcode, row.opcode);
        }
    }
}

TEST(Stops, HaltAtAddressZero) {
    C8085Object machine;
    Load(machine, 0x0000, {0x76});
    const auto stop = StepCatching(machine);
    ASSERT_TRUE(stop.has_value());
    EXPECT_EQ(stop->message.rfind("IP = 0 -  ", 0), 0u);
    EXPECT_TRUE(stop->code == 26 && !stop->IsBreakpoint() && !stop->IsStepOutEnd());
    EXPECT_EQ(machine.pc, 0);
}

// 0x0000: call 0x0010; hlt
// 0x0010: call 0x0020; ret        (outer)
// 0x0020: call 0x0030; ret        (middle)
// 0x0030: ret                     (inner)
void LoadNestedCalls(C8085Object& machine) {
    Load(machine, 0x0030, {0xC9});
    Load(machine, 0x0020, {0xCD, 0x30, 0x00, 0xC9});
    Load(machine, 0x0010, {0xCD, 0x20, 0x00, 0xC9});
    Load(machine, 0x0000, {0xCD, 0x10, 0x00, 0x76});
    machine.sp = 0x8000;
}

TEST(StepOut, StopsOnlyAtTheReturnThatLeavesTheSubroutine) {
    C8085Object machine;
    LoadNestedCalls(machine);
    machine.Step(); // into outer
    machine.Step(); // into middle
    ASSERT_EQ(machine.callDepth, 2);
    machine.SetStepOut(1);
    EXPECT_EQ(machine.stepOutArmed, 1);
    EXPECT_EQ(machine.stepOutDepth, 2);
    machine.Step(); // into inner
    machine.Step(); // inner returns: deeper, no stop
    EXPECT_EQ(machine.pc, 0x0023);
    EXPECT_EQ(machine.callDepth, 2);
    const auto stop = StepCatching(machine); // middle returns
    ASSERT_TRUE(stop.has_value());
    EXPECT_TRUE(stop->IsStepOutEnd());
    EXPECT_EQ(stop->code, 10);
    EXPECT_EQ(stop->errorFlag, 0);
    EXPECT_EQ(stop->message, "IP = 19 -    ");
    EXPECT_EQ(machine.pc, 0x0013) << "the return has completed";
    EXPECT_EQ(machine.sp, 0x7FFE);
    EXPECT_EQ(machine.callDepth, 2) << "the stopping return does not lower the depth";
    EXPECT_EQ(machine.stepOutDepth, -1);

    // Disarmed by the stop's depth reset, later returns run on.
    machine.Step(); // outer returns
    EXPECT_EQ(machine.pc, 0x0003);
    EXPECT_EQ(machine.callDepth, 1);
}

TEST(StepOut, TakenConditionalReturnsCheckToo) {
    C8085Object machine;
    machine.sp = 0x8000;
    Load(machine, 0x0040, {0xC0, 0xC8}); // rnz (not taken with Z set), rz
    Load(machine, 0x0000, {0xCD, 0x40, 0x00});
    machine.Step();
    machine.SetStepOut(1);
    machine.flags = 0x40;
    machine.Step();
    EXPECT_EQ(machine.pc, 0x0041);
    const auto stop = StepCatching(machine);
    ASSERT_TRUE(stop.has_value());
    EXPECT_EQ(stop->code, 10);
    EXPECT_EQ(machine.pc, 0x0003);
}

TEST(StepOut, AtTheTopLevelNoReturnStops) {
    C8085Object machine;
    machine.sp = 0x8000;
    machine.memory[0x8000] = 0x00;
    machine.memory[0x8001] = 0x20;
    Load(machine, 0x2000, {0x76});
    Load(machine, 0x0100, {0xC9});
    machine.SetStepOut(1);
    EXPECT_EQ(machine.stepOutDepth, 0);
    machine.Step(); // a return at depth 0 runs on
    EXPECT_EQ(machine.pc, 0x2000);
    EXPECT_EQ(machine.callDepth, -1);
    const auto stop = StepCatching(machine);
    ASSERT_TRUE(stop.has_value());
    EXPECT_EQ(stop->code, 26) << "only another stop ends it";
}

TEST(StepOut, LeavingTheModeKeepsReturnsSilent) {
    C8085Object machine;
    LoadNestedCalls(machine);
    machine.Step();
    machine.SetStepOut(1);
    machine.SetStepOut(0);
    EXPECT_EQ(machine.stepOutArmed, 0);
    EXPECT_EQ(machine.stepOutDepth, 1);
    for (int i = 0; i < 5; ++i) {
        machine.Step();
    }
    EXPECT_EQ(machine.pc, 0x0003);
    EXPECT_EQ(machine.callDepth, 0);
}

} // namespace
