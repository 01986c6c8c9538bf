#include "MachineTestSupport.h"

#include <gtest/gtest.h>

namespace {

TEST(Transfer, MovCopiesEverySourceIntoEveryDestination) {
    for (int destination = 0; destination < 8; ++destination) {
        for (int source = 0; source < 8; ++source) {
            if (destination == 6 && source == 6) {
                continue; // 0x76 is HLT
            }
            C8085Object machine;
            const std::uint8_t values[] = {0xB0, 0xC1, 0xD2, 0xE3, 0x40, 0x51, 0x66, 0xA7};
            for (int reg = 0; reg < 8; ++reg) {
                if (reg != 6) {
                    Register(machine, reg) = values[reg];
                }
            }
            machine.memory[0x4051] = values[6];
            machine.lastWritten = 0x7777;
            machine.flags = 0xD5;
            const auto opcode = static_cast<std::uint8_t>(0x40 | destination << 3 | source);
            Load(machine, 0x0100, {opcode});
            machine.Step();
            EXPECT_EQ(machine.pc, 0x0101);
            EXPECT_EQ(machine.flags, 0xD5);
            // After a MOV into H or L, M is no longer at 0x4051; check there directly.
            const std::uint8_t written =
                destination == 6 ? machine.memory[0x4051] : Register(machine, destination);
            EXPECT_EQ(written, values[source]) << "mov " << destination << "," << source;
            EXPECT_EQ(machine.lastWritten, 0x7777) << "mov m,r does not record the write";
        }
    }
}

TEST(Transfer, ImmediatesAndDirectAddressing) {
    C8085Object machine;
    machine.lastWritten = 0x7777;
    SetHL(machine, 0x3000);
    Load(machine, 0x0100,
         {
             0x06, 0x11,       // mvi b,11
             0x36, 0x99,       // mvi m,99
             0x01, 0x34, 0x12, // lxi b,1234
             0x11, 0x78, 0x56, // lxi d,5678
             0x21, 0xBC, 0x9A, // lxi h,9abc
             0x31, 0xF0, 0xDE, // lxi sp,def0
             0x3E, 0x42,       // mvi a,42
             0x32, 0x00, 0x50, // sta 5000
             0x3A, 0x00, 0x30, // lda 3000
             0x22, 0xFF, 0xFF, // shld ffff
             0x2A, 0x00, 0x30, // lhld 3000
         });
    machine.Step();
    EXPECT_EQ(machine.b, 0x11);
    machine.Step();
    EXPECT_EQ(machine.memory[0x3000], 0x99);
    EXPECT_EQ(machine.lastWritten, 0x7777) << "mvi m does not record the write";
    for (int i = 0; i < 4; ++i) {
        machine.Step();
    }
    EXPECT_EQ(machine.BC(), 0x1234);
    EXPECT_EQ(machine.DE(), 0x5678);
    EXPECT_EQ(machine.HL(), 0x9ABC);
    EXPECT_EQ(machine.sp, 0xDEF0);
    machine.Step();
    machine.Step();
    EXPECT_EQ(machine.memory[0x5000], 0x42);
    EXPECT_EQ(machine.lastWritten, 0x5000);
    machine.Step();
    EXPECT_EQ(machine.a, 0x99);
    machine.Step();
    EXPECT_EQ(machine.memory[0xFFFF], 0xBC);
    EXPECT_EQ(machine.memory[0x0000], 0x9A);
    EXPECT_EQ(machine.lastWritten, 0x0000);
    machine.memory[0x3001] = 0x77;
    machine.Step();
    EXPECT_EQ(machine.l, 0x99);
    EXPECT_EQ(machine.h, 0x77) << "H comes from the byte after L's";
    EXPECT_EQ(machine.pc, 0x011E);
}

TEST(Transfer, IndirectThroughPairsAndExchanges) {
    C8085Object machine;
    machine.a = 0x5A;
    machine.b = 0x20;
    machine.c = 0x10;
    machine.d = 0x20;
    machine.e = 0x20;
    machine.memory[0x2020] = 0xA5;
    Load(machine, 0x0100, {0x02, 0x1A, 0x0A, 0x12, 0xEB});
    machine.Step(); // stax b
    EXPECT_EQ(machine.memory[0x2010], 0x5A);
    EXPECT_EQ(machine.lastWritten, 0x2010);
    EXPECT_EQ(machine.pc, 0x0101);
    machine.Step(); // ldax d
    EXPECT_EQ(machine.a, 0xA5);
    machine.memory[0x2010] = 0x3C;
    machine.Step(); // ldax b
    EXPECT_EQ(machine.a, 0x3C);
    machine.Step(); // stax d
    EXPECT_EQ(machine.memory[0x2020], 0x3C);
    EXPECT_EQ(machine.lastWritten, 0x2020);
    SetHL(machine, 0x1234);
    machine.Step(); // xchg
    EXPECT_EQ(machine.HL(), 0x2020);
    EXPECT_EQ(machine.DE(), 0x1234);

    machine.sp = 0xFFFF;
    machine.memory[0xFFFF] = 0x11;
    machine.memory[0x0000] = 0x22;
    Load(machine, 0x0200, {0xE3, 0xF9});
    machine.Step(); // xthl: L with [SP], H with [SP+1], which wraps
    EXPECT_EQ(machine.HL(), 0x2211);
    EXPECT_EQ(machine.memory[0xFFFF], 0x20);
    EXPECT_EQ(machine.memory[0x0000], 0x20);
    EXPECT_EQ(machine.sp, 0xFFFF);
    EXPECT_EQ(machine.lastWritten, 0xFFFF);
    machine.Step(); // sphl
    EXPECT_EQ(machine.sp, 0x2211);
}

TEST(Transfer, PushAndPopAllPairsThroughAWrappingStack) {
    C8085Object machine;
    machine.lastWritten = 0x7777;
    Load(machine, 0x0100,
         {0x31, 0x00, 0x00, // lxi sp,0
          0xC5, 0xD5, 0xE5, 0xF5, 0xC1, 0xD1, 0xE1, 0xF1});
    machine.Step();
    machine.b = 0x01, machine.c = 0x02, machine.d = 0x03, machine.e = 0x04;
    machine.h = 0x05, machine.l = 0x06, machine.a = 0x07, machine.flags = 0xFF;
    machine.Step(); // push b at 0xFFFF, 0xFFFE
    EXPECT_EQ(machine.memory[0xFFFF], 0x01);
    EXPECT_EQ(machine.memory[0xFFFE], 0x02);
    EXPECT_EQ(machine.sp, 0xFFFE);
    EXPECT_EQ(machine.lastWritten, 0xFFFE);
    machine.Step();
    machine.Step();
    machine.Step(); // push psw
    EXPECT_EQ(machine.memory[0xFFF9], 0x07);
    EXPECT_EQ(machine.memory[0xFFF8], 0xFF);
    EXPECT_EQ(machine.lastWritten, 0xFFF8);
    // Pop in the same order: b gets psw, d gets h, h gets d, psw gets b.
    machine.Step();
    machine.Step();
    machine.Step();
    machine.Step();
    EXPECT_EQ(machine.BC(), 0x07FF) << "A into B, the whole flag byte into C";
    EXPECT_EQ(machine.DE(), 0x0506);
    EXPECT_EQ(machine.HL(), 0x0304);
    EXPECT_EQ(machine.a, 0x01);
    EXPECT_EQ(machine.flags, 0x02) << "POP PSW loads all eight bits";
    EXPECT_EQ(machine.sp, 0x0000);
}

TEST(Transfer, PortsAreWrittenByOutAndReadByIn) {
    C8085Object machine;
    machine.a = 0x5A;
    machine.ports[0x10] = 0x33;
    const std::uint8_t flags = machine.flags;
    Load(machine, 0x0100, {0xD3, 0xFF, 0xDB, 0x10});
    machine.Step();
    EXPECT_EQ(machine.ports[0xFF], 0x5A);
    machine.Step();
    EXPECT_EQ(machine.a, 0x33);
    EXPECT_EQ(machine.pc, 0x0104);
    EXPECT_EQ(machine.flags, flags);
}

} // namespace
