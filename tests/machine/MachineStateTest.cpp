#include "MachineTestSupport.h"
#include "machine/Raise.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace {

TEST(MachineState, ResetSetsTheStatedValuesAndKeepsTheRest) {
    C8085Object machine;
    machine.memory.fill(0x55);
    machine.a = machine.b = machine.c = machine.d = 1;
    machine.e = 0x11;
    machine.h = 0x22;
    machine.l = 0x33;
    machine.ports[0x80] = 0x99;
    machine.lastWritten = 0x1234;
    machine.checkpoints[5] = 777;
    machine.SetStartAddress(0x4000);
    machine.pc = 0x4003;
    machine.sp = 0x1000;
    machine.flags = 0x01;
    machine.callDepth = 3;
    machine.SetStepOut(1);
    machine.ClearLeds();
    machine.SetLedChanged(0);

    machine.Reset();

    const int digitsOneToEight[] = {6, 59, 47, 102, 109, 125, 7, 127};
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(machine.GetLedCell(i), digitsOneToEight[i]);
    }
    EXPECT_EQ(machine.IsLedChanged(), 1);
    EXPECT_EQ(machine.startAddress, 0);
    EXPECT_EQ(machine.pc, 0);
    EXPECT_EQ(machine.sp, 0xFFEE);
    EXPECT_EQ(machine.flags, 0xA0);
    EXPECT_EQ(machine.memory[0x0000], 0);
    EXPECT_EQ(machine.memory[0xFFFF], 0);
    EXPECT_EQ(std::count(machine.memory.begin(), machine.memory.end(), 0), 65536);
    EXPECT_EQ(machine.a | machine.b | machine.c | machine.d, 0);
    EXPECT_EQ(machine.e, 0x11);
    EXPECT_EQ(machine.h, 0x22);
    EXPECT_EQ(machine.l, 0x33);
    EXPECT_EQ(machine.ports[0x80], 0x99);
    EXPECT_EQ(machine.lastWritten, 0x1234);
    EXPECT_EQ(machine.checkpoints[5], 777);
    EXPECT_EQ(machine.callDepth, 0);
    EXPECT_EQ(machine.stepOutArmed, 0);
    EXPECT_EQ(machine.stepOutDepth, -1);
}

TEST(MachineState, ConstructionClearsPortsAndSetsTheCheckpointInterval) {
    C8085Object machine;
    EXPECT_EQ(std::count(machine.ports.begin(), machine.ports.end(), 0), 256);
    EXPECT_EQ(machine.checkpointInterval, 63);
    EXPECT_EQ(machine.Checkpoint(0), 0);
    EXPECT_EQ(C8085Object::MemoryEnd(), 0xFFFF);
    EXPECT_EQ(machine.GetSystemCallHandler(), nullptr);
}

TEST(MachineState, WritesRecordTheLastWrittenAddressAndWrapAtTheTop) {
    C8085Object machine;
    EXPECT_EQ(machine.WriteByte(0x1234, 0xAB), 0x1234);
    EXPECT_EQ(machine.memory[0x1234], 0xAB);
    EXPECT_EQ(machine.lastWritten, 0x1234);

    machine.WriteByteAndWord(0x2000, 0xC3, 0xBEEF);
    EXPECT_EQ(machine.memory[0x2000], 0xC3);
    EXPECT_EQ(machine.memory[0x2001], 0xEF);
    EXPECT_EQ(machine.memory[0x2002], 0xBE);
    EXPECT_EQ(machine.lastWritten, 0x2001);

    machine.WriteByteAndWord(0xFFFF, 0xCD, 0x1234);
    EXPECT_EQ(machine.memory[0xFFFF], 0xCD);
    EXPECT_EQ(machine.memory[0x0000], 0x34);
    EXPECT_EQ(machine.memory[0x0001], 0x12);
    EXPECT_EQ(machine.lastWritten, 0x0000);

    machine.WriteTwoBytes(0xFFFF, 0x3E, 0x7F);
    EXPECT_EQ(machine.memory[0xFFFF], 0x3E);
    EXPECT_EQ(machine.memory[0x0000], 0x7F);
    EXPECT_EQ(machine.lastWritten, 0x0000);
}

TEST(MachineState, StartRecomputesCheckpointsOverOneByteInstructions) {
    C8085Object machine; // memory full of NOP
    machine.SetStartAddress(0x0100);
    machine.Start();
    EXPECT_EQ(machine.pc, 0x0100);
    for (int k = 0; k < 1024; ++k) {
        ASSERT_EQ(machine.Checkpoint(k), 63 * k) << k;
    }
    const std::pair<std::uint16_t, int> rows[] = {{0, 1024},     {1, 1},        {63, 1},
                                                  {64, 2},       {126, 2},      {127, 3},
                                                  {64449, 1023}, {64450, 1024}, {0xFFFF, 1024}};
    for (const auto& [address, index] : rows) {
        EXPECT_EQ(machine.CheckpointIndex(address), index) << address;
    }
    EXPECT_EQ(machine.Checkpoint(1024), 0);
    EXPECT_EQ(machine.Checkpoint(1025), 63);
    EXPECT_EQ(machine.Checkpoint(-1), 63 * 1023);
}

TEST(MachineState, CheckpointsPastTheEndOfMemoryReadTheTop) {
    C8085Object machine;
    machine.memory.fill(0xC3); // JMP: three bytes each
    machine.Start();
    // 63 three-byte instructions are 189 bytes; checkpoint 347 would lie past 0xFFFF.
    EXPECT_EQ(machine.Checkpoint(346), 346 * 189);
    for (int k = 347; k < 1024; ++k) {
        ASSERT_EQ(machine.Checkpoint(k), 0xFFFF) << k;
    }
    EXPECT_EQ(machine.CheckpointIndex(0xFFFF), 347);
    EXPECT_EQ(machine.CheckpointIndex(346 * 189 + 1), 347);
    EXPECT_EQ(machine.CheckpointIndex(346 * 189), 346);

    // Start describes the memory as it is when called.
    machine.memory.fill(0x00);
    machine.Start();
    EXPECT_EQ(machine.Checkpoint(1023), 63 * 1023);
}

TEST(MachineState, LedGroupsAddressTheirOwnCells) {
    C8085Object machine;
    machine.ClearLeds();
    machine.SetLeftPair(1, 0x11);
    machine.SetMiddle(0, 0x22);
    machine.SetMiddle(3, 0x33);
    machine.SetRightPair(0, 0x44);
    machine.SetRightPair(1, 0x55);
    // Indexes outside a group write nothing.
    machine.SetLeftPair(2, 0x66);
    machine.SetMiddle(4, 0x66);
    machine.SetRightPair(-1, 0x66);
    const int expected[] = {0, 0x11, 0x22, 0, 0, 0x33, 0x44, 0x55};
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(machine.GetLedCell(i), expected[i]) << i;
    }
    EXPECT_EQ(machine.GetLedCell(8), 0);
    machine.SetLedChanged(0);
    EXPECT_EQ(machine.IsLedChanged(), 0);
}

TEST(Raise, ComposesThePositionTextOfItsOwner) {
    C8085Object machine;
    machine.pc = 4096;
    try {
        Raise(machine, 0, 26, " Halt executed");
        FAIL() << "no throw";
    } catch (const CMyException& stop) {
        EXPECT_EQ(stop.message, "IP = 4096 -   Halt executed");
        EXPECT_EQ(stop.errorFlag, 0);
        EXPECT_EQ(stop.errorSet, 0);
        EXPECT_EQ(stop.line, -1);
        EXPECT_EQ(stop.column, -1);
    }
    InstructionSet plain;
    try {
        Raise(plain, 1, 5, "Line - 3 Column - 7 Undefined symbol");
        FAIL() << "no throw";
    } catch (const CMyException& stop) {
        EXPECT_EQ(stop.message, "Line - 3 Column - 7 Undefined symbol");
        EXPECT_EQ(stop.line, 3);
        EXPECT_EQ(stop.column, 7);
        EXPECT_EQ(stop.code, 5);
        EXPECT_EQ(stop.errorSet, 1);
    }
}

} // namespace
