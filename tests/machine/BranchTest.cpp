#include "MachineTestSupport.h"
#include "machine/OpcodeTable.h"
#include "machine/SystemCallHandler.h"

#include <gtest/gtest.h>
#include <set>

namespace {

struct ConditionRow {
    const char* name;
    int code; // nz z nc c po pe p m
    std::uint8_t flags;
    bool holds;
};

const ConditionRow conditionRows[] = {
    {"nz", 0, 0x00, true}, {"nz", 0, 0x40, false}, {"z", 1, 0x40, true},  {"z", 1, 0xBF, false},
    {"nc", 2, 0xFE, true}, {"nc", 2, 0x01, false}, {"c", 3, 0x01, true},  {"c", 3, 0xFE, false},
    {"po", 4, 0xFB, true}, {"po", 4, 0x04, false}, {"pe", 5, 0x04, true}, {"pe", 5, 0xFB, false},
    {"p", 6, 0x7F, true},  {"p", 6, 0x80, false},  {"m", 7, 0x80, true},  {"m", 7, 0x7F, false},
};

TEST(Branch, ConditionalJumpsCallsAndReturnsFollowTheirFlags) {
    for (const auto& row : conditionRows) {
        const auto jump = static_cast<std::uint8_t>(0xC2 | row.code << 3);
        const auto call = static_cast<std::uint8_t>(0xC4 | row.code << 3);
        const auto ret = static_cast<std::uint8_t>(0xC0 | row.code << 3);

        C8085Object machine;
        machine.flags = row.flags;
        Load(machine, 0x0100, {jump, 0x00, 0x20});
        machine.Step();
        EXPECT_EQ(machine.pc, row.holds ? 0x2000 : 0x0103) << "j" << row.name;

        machine.sp = 0x8000;
        Load(machine, 0x0100, {call, 0x00, 0x30});
        machine.Step();
        EXPECT_EQ(machine.pc, row.holds ? 0x3000 : 0x0103) << "c" << row.name;
        EXPECT_EQ(machine.sp, row.holds ? 0x7FFE : 0x8000) << "c" << row.name;
        EXPECT_EQ(machine.callDepth, row.holds ? 1 : 0) << "c" << row.name;

        machine.sp = 0x7FFE;
        machine.memory[0x7FFE] = 0x03;
        machine.memory[0x7FFF] = 0x01;
        Load(machine, 0x3000, {ret});
        machine.Step();
        EXPECT_EQ(machine.pc, row.holds ? 0x0103 : 0x3001) << "r" << row.name;
        EXPECT_EQ(machine.sp, row.holds ? 0x8000 : 0x7FFE) << "r" << row.name;
        EXPECT_EQ(machine.callDepth, 0) << "r" << row.name;
        EXPECT_EQ(machine.flags, row.flags);
    }
}

TEST(Branch, CallPushesTheReturnAddressAndRetComesBack) {
    C8085Object machine;
    machine.sp = 0x0001;
    Load(machine, 0x1234, {0xCD, 0x00, 0x40});
    machine.Step();
    EXPECT_EQ(machine.pc, 0x4000);
    EXPECT_EQ(machine.sp, 0xFFFF) << "the stack wraps below 0";
    EXPECT_EQ(machine.memory[0xFFFF], 0x37);
    EXPECT_EQ(machine.memory[0x0000], 0x12);
    EXPECT_EQ(machine.lastWritten, 0xFFFF);
    EXPECT_EQ(machine.callDepth, 1);
    Load(machine, 0x4000, {0xC9});
    machine.Step();
    EXPECT_EQ(machine.pc, 0x1237);
    EXPECT_EQ(machine.sp, 0x0001);
    EXPECT_EQ(machine.callDepth, 0);
}

TEST(Branch, RestartsCallTheirVectorAndReturnAfterThemselves) {
    for (int n = 0; n < 8; ++n) {
        C8085Object machine;
        machine.sp = 0x9000;
        Load(machine, 0x0500, {static_cast<std::uint8_t>(0xC7 | n << 3)});
        machine.Step();
        EXPECT_EQ(machine.pc, n * 8) << "rst " << n;
        EXPECT_EQ(machine.memory[0x8FFE], 0x01);
        EXPECT_EQ(machine.memory[0x8FFF], 0x05);
        EXPECT_EQ(machine.callDepth, 1);
        machine.memory[machine.pc] = 0xC9;
        machine.Step();
        EXPECT_EQ(machine.pc, 0x0501) << "rst " << n;
    }
}

TEST(Branch, JumpsAndPchlSetPcExactly) {
    C8085Object machine;
    Load(machine, 0xFFFE, {0xC3, 0xCD}); // the address wraps to 0x0000
    machine.memory[0x0000] = 0xAB;
    machine.Step();
    EXPECT_EQ(machine.pc, 0xABCD);
    SetHL(machine, 0x1235);
    Load(machine, 0x0100, {0xE9});
    machine.Step();
    EXPECT_EQ(machine.pc, 0x1235);
}

TEST(Branch, EveryNonBranchingOpcodeAdvancesPcByItsLength) {
    using namespace InstructionKind;
    const std::set<int> branching = {Call, Rst, Jmp, Pchl, Ret, Hlt, Invalid, Jc, Jnc, Jp,  Jm,
                                     Jpe,  Jpo, Jz,  Jnz,  Rc,  Rnc, Rp,      Rm, Rpe, Rpo, Rz,
                                     Rnz,  Cc,  Cnc, Cp,   Cm,  Cpe, Cpo,     Cz, Cnz};
    for (int opcode = 0; opcode < 256; ++opcode) {
        const OpcodeRow& row = OpcodeTable()[opcode];
        if (branching.count(row.kind)) {
            continue;
        }
        C8085Object machine;
        Load(machine, 0xFFFE, {static_cast<std::uint8_t>(opcode), 0x00, 0x20});
        machine.Step();
        EXPECT_EQ(machine.pc, static_cast<std::uint16_t>(0xFFFE + row.length))
            << "opcode " << opcode;
    }
}

class RecordingHandler : public SystemCallHandler {
public:
    void SystemCall(C8085Object& machine) override {
        ++calls;
        seenPc = machine.pc;
        machine.a = 0x77;
    }
    int calls = 0;
    std::uint16_t seenPc = 0;
};

TEST(Branch, OnlyTheUnconditionalCallToFiveIsASystemCall) {
    C8085Object machine;
    RecordingHandler handler;
    machine.SetSystemCallHandler(&handler);
    EXPECT_EQ(machine.GetSystemCallHandler(), &handler);
    machine.sp = 0x8000;
    Load(machine, 0x0200, {0xCD, 0x05, 0x00});
    machine.Step();
    EXPECT_EQ(handler.calls, 1);
    EXPECT_EQ(handler.seenPc, 0x0200);
    EXPECT_EQ(machine.a, 0x77);
    EXPECT_EQ(machine.pc, 0x0203);
    EXPECT_EQ(machine.sp, 0x8000) << "no push";
    EXPECT_EQ(machine.callDepth, 0);

    machine.flags = 0x40;
    Load(machine, 0x0200, {0xCC, 0x05, 0x00}); // cz 5 with Z set
    machine.Step();
    EXPECT_EQ(handler.calls, 1);
    EXPECT_EQ(machine.pc, 0x0005);
    EXPECT_EQ(machine.sp, 0x7FFE);
    EXPECT_EQ(machine.callDepth, 1);

    Load(machine, 0x0200, {0xEF}); // rst 5 lands at 0x0028, not in the system call
    machine.Step();
    EXPECT_EQ(handler.calls, 1);
    EXPECT_EQ(machine.pc, 0x0028);
}

} // namespace
