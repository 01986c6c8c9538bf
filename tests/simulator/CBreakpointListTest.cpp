#include "simulator/CBreakpointList.h"

#include "machine/C8085Object.h"

#include <gtest/gtest.h>

namespace {

class ListBench : public CBreakpointList {
public:
    C8085Object& GetMachine() override { return machine; }

    std::vector<std::uint16_t> Addresses() const {
        std::vector<std::uint16_t> addresses;
        for (const auto& entry : GetBreakpoints()) {
            addresses.push_back(entry.address);
        }
        return addresses;
    }

    C8085Object machine;
};

using Addresses = std::vector<std::uint16_t>;

TEST(BreakpointList, ToggleTwiceLeavesTheListAsItWas) {
    const Addresses starts[] = {{}, {0x0010}, {0x0010, 0x0020}};
    for (const auto& start : starts) {
        ListBench list;
        for (auto address : start) {
            list.AddBreakpoint(address, 1, 1);
        }
        list.ToggleBreakpoint(0x0030, 4);
        EXPECT_TRUE(list.HasBreakpoint(0x0030));
        EXPECT_TRUE(list.IsBreakpointEnabled(0x0030));
        EXPECT_EQ(list.GetBreakpoints().back().sourceLine, 4);
        list.ToggleBreakpoint(0x0030, 4);
        EXPECT_EQ(list.Addresses(), start);
    }
}

TEST(BreakpointList, LookupsTakeTheFirstEntryWithAnAddress) {
    ListBench list;
    list.machine.memory[0x0040] = 0x3C;
    list.AddBreakpoint(0x0040, 3, 0);
    list.AddBreakpoint(0x0040, -1, 1);
    EXPECT_EQ(list.GetBreakpoints()[0].savedByte, 0x3C);
    EXPECT_FALSE(list.IsBreakpointEnabled(0x0040));
    list.SetBreakpointEnabled(0x0040, 1);
    EXPECT_EQ(list.GetBreakpoints()[0].enabled, 1);
    EXPECT_TRUE(list.RemoveBreakpoint(0x0040));
    ASSERT_EQ(list.GetBreakpoints().size(), 1u);
    EXPECT_EQ(list.GetBreakpoints()[0].sourceLine, -1);
    EXPECT_FALSE(list.IsBreakpointEnabled(0x0041));
    EXPECT_FALSE(list.RemoveBreakpoint(0x0041));
    list.ClearBreakpoints();
    EXPECT_FALSE(list.HasBreakpoint(0x0040));
}

TEST(BreakpointList, PlantPatchesEnabledEntriesAndRestoreWritesEveryByteBack) {
    ListBench list;
    auto& memory = list.machine.memory;
    memory[0x10] = 0x11;
    memory[0x20] = 0x22;
    memory[0x30] = 0x33;
    list.AddBreakpoint(0x10, 0, 1);
    list.AddBreakpoint(0x20, 1, 0);
    list.AddBreakpoint(0x30, 2, 1);
    list.AddBreakpoint(0x20, -1, 0);

    list.PlantBreakpoints(true);
    EXPECT_EQ(memory[0x10], 0x08);
    EXPECT_EQ(memory[0x20], 0x22) << "disabled";
    EXPECT_EQ(memory[0x30], 0x08);
    EXPECT_EQ(list.machine.lastWritten, 0x30) << "the last enabled entry";

    list.RestoreSavedBytes();
    EXPECT_EQ(memory[0x10], 0x11);
    EXPECT_EQ(memory[0x20], 0x22);
    EXPECT_EQ(memory[0x30], 0x33);
    EXPECT_EQ(list.machine.lastWritten, 0x20) << "the last entry";
}

TEST(BreakpointList, PlantWithoutCaptureKeepsTheBytesSavedEarlier) {
    ListBench list;
    auto& memory = list.machine.memory;
    memory[0x0005] = 0x3C;
    list.AddBreakpoint(0x0005, 0, 1);
    // A recompile puts another program there.
    memory[0x0005] = 0x04;
    list.PlantBreakpoints(false);
    EXPECT_EQ(memory[0x0005], 0x08);
    list.RestoreSavedBytes();
    EXPECT_EQ(memory[0x0005], 0x3C) << "the byte captured before the recompile";

    memory[0x0005] = 0x04;
    list.PlantBreakpoints(true);
    list.RestoreSavedBytes();
    EXPECT_EQ(memory[0x0005], 0x04) << "recaptured";
}

TEST(BreakpointList, NeverSavesItsOwnBreakpointOpcode) {
    ListBench list;
    auto& memory = list.machine.memory;
    memory[0x0007] = 0x76;
    list.AddBreakpoint(0x0007, 0, 1);
    list.PlantBreakpoints(true);
    list.PlantBreakpoints(true);       // planted twice
    list.AddBreakpoint(0x0007, -1, 1); // added over a planted byte
    EXPECT_EQ(list.GetBreakpoints()[1].savedByte, 0x76);
    list.RestoreSavedBytes();
    EXPECT_EQ(memory[0x0007], 0x76);
    list.RestoreSavedBytes(); // nothing planted: nothing written
    EXPECT_EQ(memory[0x0007], 0x76);
}

TEST(BreakpointList, ChangesDuringARunTouchTheMemoryOnlyWhenItEnds) {
    ListBench list;
    auto& memory = list.machine.memory;
    memory[0x10] = 0x11;
    memory[0x20] = 0x22;
    list.AddBreakpoint(0x10, 0, 1);
    list.AddBreakpoint(0x20, 1, 1);
    list.PlantBreakpoints(true);
    list.HoldMemoryForRun();

    memory[0x30] = 0x33; // the program writes while running
    EXPECT_TRUE(list.RemoveBreakpoint(0x10));
    list.AddBreakpoint(0x30, 2, 1);
    list.ClearBreakpoints();
    list.AddBreakpoint(0x40, 3, 1);
    EXPECT_EQ(memory[0x10], 0x08) << "left alone while the run holds the memory";
    EXPECT_EQ(memory[0x20], 0x08);
    memory[0x40] = 0x44;

    list.RestoreSavedBytes();
    EXPECT_EQ(memory[0x10], 0x11) << "a removed breakpoint leaves no 0x08 behind";
    EXPECT_EQ(memory[0x20], 0x22);
    ASSERT_EQ(list.GetBreakpoints().size(), 1u);
    EXPECT_EQ(list.GetBreakpoints()[0].savedByte, 0x44) << "captured once the run ended";

    // After the run the list touches memory at once again.
    memory[0x50] = 0x55;
    list.AddBreakpoint(0x50, 4, 1);
    EXPECT_EQ(list.GetBreakpoints()[1].savedByte, 0x55);
}

TEST(BreakpointList, TheTemporaryBreakpointIsRemovedExactly) {
    ListBench list;
    list.AddBreakpoint(0x0100, 9, 1);
    const int temporary = list.AddTemporaryBreakpoint(0x0100);
    const int second = list.AddTemporaryBreakpoint(0x0100);
    EXPECT_NE(temporary, second);
    EXPECT_TRUE(list.RemoveTemporaryBreakpoint(temporary));
    EXPECT_FALSE(list.RemoveTemporaryBreakpoint(temporary));
    ASSERT_EQ(list.GetBreakpoints().size(), 2u);
    EXPECT_EQ(list.GetBreakpoints()[0].sourceLine, 9) << "the user's breakpoint stays first";
    EXPECT_TRUE(list.RemoveTemporaryBreakpoint(second));
    EXPECT_EQ(list.Addresses(), Addresses{0x0100});
}

} // namespace
