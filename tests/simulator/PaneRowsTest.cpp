// The panes' rows: formats, change marks, markers, scrolling at both ends, the Instructions
// pane's backward moves, and the editing rules.

#include "machine/C8085Object.h"
#include "simulator/CPaneRows.h"
#include "simulator/PaneEdits.h"
#include "simulator/RegisterRows.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

std::vector<std::string> Texts(const CPaneRows& rows) {
    std::vector<std::string> texts;
    for (const auto& row : rows.Rows()) {
        texts.push_back(row.text);
    }
    return texts;
}

std::vector<int> Changed(const CPaneRows& rows) {
    std::vector<int> marked;
    for (std::size_t i = 0; i < rows.Rows().size(); ++i) {
        if (rows.Rows()[i].changed) {
            marked.push_back(static_cast<int>(i));
        }
    }
    return marked;
}

CPaneRows Pane(PaneKind kind, int rowCount, const C8085Object& machine) {
    CPaneRows rows(kind);
    rows.SetRowCount(rowCount);
    rows.SetSnapshot(SimSnapshot::Take(machine, nullptr, 1));
    return rows;
}

// Refreshes `rows` from the machine as it is now.
void Refresh(CPaneRows& rows, const C8085Object& machine) {
    rows.SetSnapshot(SimSnapshot::Take(machine, nullptr, rows.Snapshot().sequence + 1));
}

} // namespace

TEST(PaneRows, RegistersAndFlagsShowTheirFormatsAndMarkOnlyWhatChanged) {
    C8085Object machine;
    machine.a = 0x0B;
    machine.b = 0x12;
    machine.c = 0x34;
    machine.pc = 0x29;
    machine.sp = 0xFFF0;
    auto registers = Pane(PaneKind::Registers, 14, machine);
    auto flags = Pane(PaneKind::Flags, 5, machine);
    EXPECT_EQ(Texts(registers),
              (std::vector<std::string>{"A  0B", "B  12", "C  34", "D  00", "E  00", "H  00",
                                        "L  00", "BC 1234", "DE 0000", "HL 0000", "IP 0029",
                                        "SP FFF0", " ", " "}));
    EXPECT_EQ(registers.SelectableRows(), RegisterRows::count);
    machine.flags = C8085Object::FlagZ | C8085Object::FlagCY;
    Refresh(flags, machine);
    EXPECT_EQ(Texts(flags), (std::vector<std::string>{"S  0", "Z  1", "AC 0", "P  0", "CY 1"}));

    // A step that changes only A and Z: exactly those rows are red.
    Refresh(registers, machine);
    Refresh(flags, machine);
    machine.a = 0;
    machine.flags = C8085Object::FlagCY;
    Refresh(registers, machine);
    Refresh(flags, machine);
    EXPECT_EQ(Changed(registers), std::vector<int>{0});
    EXPECT_EQ(Changed(flags), std::vector<int>{1});
    Refresh(registers, machine);
    EXPECT_TRUE(Changed(registers).empty());
}

TEST(PaneRows, MemoryStackAndPortsRows) {
    C8085Object machine;
    machine.memory[0xFFFE] = 0x34;
    machine.memory[0xFFFF] = 0x12;
    machine.memory[0x0000] = 0xCD;
    machine.memory[0x0001] = 0xAB;
    machine.sp = 0xFFFE;
    machine.ports[0xFF] = 0x7E;
    auto stack = Pane(PaneKind::Stack, 9, machine);
    EXPECT_EQ(stack.Rows()[0].text, "SP   1234");
    EXPECT_EQ(stack.Rows()[1].text, "SP+2 abcd");
    EXPECT_EQ(stack.Rows()[8].text, "SP+10 0000");

    auto memory = Pane(PaneKind::MemoryDump, 4, machine);
    EXPECT_EQ(Texts(memory),
              (std::vector<std::string>{"0000 cd", "0001 ab", "0002 00", "0003 00"}));
    // A scroll refills without marks, even over changed bytes.
    machine.memory[1] = 0;
    Refresh(memory, machine);
    EXPECT_EQ(Changed(memory), std::vector<int>{1});
    memory.ScrollLineDown();
    EXPECT_TRUE(Changed(memory).empty());

    auto ports = Pane(PaneKind::Ports, 10, machine);
    ports.End();
    EXPECT_EQ(ports.Rows().back().text, "ff 7e");
    EXPECT_EQ(ports.Rows().front().text, "f6 00");
}

// Moves at both ends of the Memory Dump and the Ports: first row key, selected row, changed?
TEST(PaneRows, ScrollingStopsAtBothEnds) {
    C8085Object machine;
    struct Case {
        PaneKind kind;
        int limit;
    };
    for (const Case c : {Case{PaneKind::MemoryDump, 0xFFFF}, Case{PaneKind::Ports, 0xFF}}) {
        SCOPED_TRACE(c.limit);
        auto rows = Pane(c.kind, 8, machine);
        EXPECT_FALSE(rows.LineUp());
        EXPECT_FALSE(rows.Home());
        EXPECT_FALSE(rows.PageUp());
        EXPECT_FALSE(rows.ScrollLineUp());
        EXPECT_TRUE(rows.End());
        EXPECT_EQ(rows.FirstAddress(), c.limit - 7);
        EXPECT_EQ(rows.SelectedRow(), 7);
        EXPECT_EQ(rows.Rows().back().key, c.limit);
        EXPECT_FALSE(rows.LineDown());
        EXPECT_FALSE(rows.PageDown());
        EXPECT_FALSE(rows.End());
        EXPECT_FALSE(rows.ScrollLineDown());
        EXPECT_TRUE(rows.PageUp());
        EXPECT_EQ(rows.FirstAddress(), c.limit - 15);
        EXPECT_TRUE(rows.Home());
        EXPECT_EQ(rows.FirstAddress(), 0);
        EXPECT_EQ(rows.SelectedRow(), 0);
        // Page Down near the end stops at the limit, with the last row selected.
        ASSERT_TRUE(rows.JumpTo(c.limit - 10));
        EXPECT_EQ(rows.FirstAddress(), c.limit - 10);
        EXPECT_TRUE(rows.PageDown());
        EXPECT_EQ(rows.Rows().back().key, c.limit);
        EXPECT_EQ(rows.SelectedRow(), 7);
        // Jump to the limit shows it, selected; within the rows only the selection moves.
        rows.Home();
        ASSERT_TRUE(rows.JumpTo(c.limit));
        EXPECT_EQ(rows.Rows()[static_cast<std::size_t>(rows.SelectedRow())].key, c.limit);
        ASSERT_TRUE(rows.JumpTo(c.limit - 3));
        EXPECT_EQ(rows.FirstAddress(), c.limit - 7);
        EXPECT_EQ(rows.SelectedAddress(), c.limit - 3);
        EXPECT_FALSE(rows.JumpTo(c.limit + 1));
    }
}

TEST(PaneRows, InstructionsRowsMarkersAndFollowingThePc) {
    C8085Object machine;
    // mvi a,5 / lxi h,1234h / nop / hlt
    const std::uint8_t program[] = {0x3E, 0x05, 0x21, 0x34, 0x12, 0x00, 0x76};
    std::copy(std::begin(program), std::end(program), machine.memory.begin());
    machine.Start();
    machine.pc = 2;
    auto rows = Pane(PaneKind::Instructions, 4, machine);
    EXPECT_EQ(rows.Rows()[0].key, 0);
    EXPECT_EQ(rows.Rows()[1].key, 2);
    EXPECT_EQ(rows.Rows()[2].key, 5);
    EXPECT_EQ(rows.Rows()[3].key, 6);
    EXPECT_EQ(rows.Rows()[1].text.substr(0, 5), "0002 ");
    EXPECT_EQ(rows.LastAddress(), 7);
    EXPECT_FALSE(rows.IsPcRow(0));
    EXPECT_TRUE(rows.IsPcRow(1));
    // A pc inside the shown range does not scroll, even off the instruction starts.
    EXPECT_FALSE(rows.FollowPC(3));
    EXPECT_TRUE(rows.FollowPC(0x100));
    EXPECT_EQ(rows.FirstAddress(), 0x100);
    rows.ShowAddress(6);
    EXPECT_EQ(rows.FirstAddress(), 6);
    EXPECT_TRUE(rows.IsShownRow(0));
}

TEST(PaneRows, InstructionsBackwardMovesFindInstructionStarts) {
    C8085Object machine;
    // 300 times lxi h,0 / nop: starts at 4k and 4k + 3.
    for (int i = 0; i < 300; ++i) {
        machine.memory[4 * static_cast<std::size_t>(i)] = 0x21;
        machine.memory[4 * static_cast<std::size_t>(i) + 3] = 0x00;
    }
    machine.Start();
    auto rows = Pane(PaneKind::Instructions, 10, machine);
    ASSERT_TRUE(rows.JumpTo(400));
    EXPECT_TRUE(rows.LineUp());
    EXPECT_EQ(rows.FirstAddress(), 399);
    EXPECT_TRUE(rows.LineUp());
    EXPECT_EQ(rows.FirstAddress(), 396);
    // Page Up: the instruction before the first row becomes the last row.
    EXPECT_TRUE(rows.PageUp());
    EXPECT_EQ(rows.FirstAddress(), 376);
    EXPECT_EQ(rows.Rows().back().key, 395);
    // An address inside an instruction: Line Up goes to the instruction holding the byte before.
    rows.Refill(401, false);
    EXPECT_TRUE(rows.LineUp());
    EXPECT_EQ(rows.FirstAddress(), 400);
    // From page to page back to the start of memory.
    rows.Refill(20, false);
    EXPECT_TRUE(rows.PageUp());
    EXPECT_EQ(rows.FirstAddress(), 0);
    EXPECT_FALSE(rows.PageUp());
}

TEST(PaneRows, InstructionsAtTheEndOfMemory) {
    C8085Object machine; // all nop
    machine.Start();
    auto rows = Pane(PaneKind::Instructions, 6, machine);
    EXPECT_TRUE(rows.End());
    EXPECT_EQ(rows.FirstAddress(), 0xFFFA);
    EXPECT_EQ(rows.SelectedAddress(), 0xFFFF);
    EXPECT_FALSE(rows.LineDown());
    EXPECT_FALSE(rows.PageDown());
    EXPECT_FALSE(rows.ScrollLineDown());
    rows.Refill(0xFFF0, false);
    EXPECT_TRUE(rows.PageDown());
    EXPECT_EQ(rows.FirstAddress(), 0xFFF6);
    EXPECT_TRUE(rows.PageDown());
    EXPECT_EQ(rows.Rows().back().key, 0xFFFF);
    EXPECT_EQ(rows.SelectedRow(), 5);
}

TEST(PaneEdits, ValueTextsAreCheckedAsTyped) {
    struct Case {
        const char* text;
        int min, max;
        int value;
        const char* error;
    };
    const Case cases[] = {
        {"0x3e", 0, 255, 62, ""},
        {"076", 0, 255, 62, ""},
        {"62", 0, 255, 62, ""},
        {"3e", 0, 255, 0, "Invalid Number "},
        {"256", 0, 255, 0, "Number should be within 0 and 255"},
        {"65535", 0, 65535, 65535, ""},
        {"70000", 0, 65535, 0, "Number should be within 0 and 65535"},
        {"-1", 0, 65535, 0, "Number should be within 0 and 65535"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const auto checked = PaneEdits::CheckValue(c.text, c.min, c.max);
        EXPECT_EQ(checked.error, c.error);
        EXPECT_EQ(checked.value.value_or(0), c.value);
    }
}

TEST(PaneEdits, ModifyPromptsStoreAndStepValues) {
    C8085Object machine;
    machine.memory[0x1234] = 0x3E;
    const auto memory = PaneEdits::ModifyPrompt(PaneKind::MemoryDump, machine, 0, 0x1234);
    ASSERT_TRUE(memory);
    EXPECT_EQ(memory->prompt, "Change data at 0x1234");
    EXPECT_EQ(memory->initial, "0x003e");
    EXPECT_EQ(memory->max, 255);
    PaneEdits::StoreValue(PaneKind::MemoryDump, machine, 0, 0x1234, 7);
    EXPECT_EQ(machine.memory[0x1234], 7);
    EXPECT_EQ(machine.lastWritten, 0x1234);

    machine.sp = 0xABCD;
    const auto sp =
        PaneEdits::ModifyPrompt(PaneKind::Registers, machine, RegisterRows::RowOf("SP"), 0);
    ASSERT_TRUE(sp);
    EXPECT_EQ(sp->prompt, "New value for register SP");
    EXPECT_EQ(sp->initial, "0xABCD");
    EXPECT_EQ(sp->max, 65535);
    EXPECT_EQ(
        PaneEdits::ModifyPrompt(PaneKind::Registers, machine, RegisterRows::RowOf("A"), 0)->max,
        255);
    EXPECT_FALSE(PaneEdits::ModifyPrompt(PaneKind::Registers, machine, RegisterRows::count, 0));
    EXPECT_FALSE(PaneEdits::ModifyPrompt(PaneKind::Instructions, machine, 0, 0));
    EXPECT_EQ(PaneEdits::AfterRegisterEdit(RegisterRows::RowOf("SP")), PaneEdits::FollowUp::Stack);
    EXPECT_EQ(PaneEdits::AfterRegisterEdit(RegisterRows::RowOf("IP")),
              PaneEdits::FollowUp::Instructions);

    PaneEdits::StoreValue(PaneKind::Registers, machine, RegisterRows::RowOf("DE"), 0, 0x1234);
    EXPECT_EQ(machine.d, 0x12);
    EXPECT_EQ(machine.e, 0x34);
    machine.a = 0xFF;
    PaneEdits::StepValue(PaneKind::Registers, machine, RegisterRows::RowOf("A"), 0, 1);
    EXPECT_EQ(machine.a, 0);
    machine.pc = 0;
    PaneEdits::StepValue(PaneKind::Registers, machine, RegisterRows::RowOf("IP"), 0, -1);
    EXPECT_EQ(machine.pc, 0xFFFF);
    PaneEdits::StepValue(PaneKind::MemoryDump, machine, 0, 0x10, -1);
    EXPECT_EQ(machine.memory[0x10], 0xFF);
    machine.flags = 0xFF;
    PaneEdits::StepValue(PaneKind::Flags, machine, 2, 0, 1); // AC
    EXPECT_EQ(machine.flags, 0xFF & ~C8085Object::FlagAC);
    EXPECT_FALSE(PaneEdits::StepValue(PaneKind::Instructions, machine, 0, 0, 1));
}

TEST(PaneEdits, PortsAndStackWordsAreEditable) {
    C8085Object machine;
    machine.ports[0x42] = 0x3E;
    const auto port = PaneEdits::ModifyPrompt(PaneKind::Ports, machine, 2, 0x42);
    ASSERT_TRUE(port);
    EXPECT_EQ(port->prompt, "Change data at port 0x42");
    EXPECT_EQ(port->initial, "0x003e");
    EXPECT_EQ(port->max, 255);
    PaneEdits::StoreValue(PaneKind::Ports, machine, 2, 0x42, 0x99);
    // IN reads what was typed.
    machine.memory[0] = 0xDB; // in 42h
    machine.memory[1] = 0x42;
    machine.Step();
    EXPECT_EQ(machine.a, 0x99);
    machine.ports[0x42] = 0xFF;
    EXPECT_TRUE(PaneEdits::StepValue(PaneKind::Ports, machine, 2, 0x42, 1));
    EXPECT_EQ(machine.ports[0x42], 0x00);
    PaneEdits::StepValue(PaneKind::Ports, machine, 2, 0x42, -1);
    EXPECT_EQ(machine.ports[0x42], 0xFF);

    // Row n is the word at SP + 2n, little endian, wrapping at the end of memory.
    machine.sp = 0xFFFE;
    machine.memory[0x0000] = 0x34;
    machine.memory[0x0001] = 0x12;
    const auto word = PaneEdits::ModifyPrompt(PaneKind::Stack, machine, 1, 0xFFFF);
    ASSERT_TRUE(word);
    EXPECT_EQ(word->prompt, "Change word at 0x0000");
    EXPECT_EQ(word->initial, "0x1234");
    EXPECT_EQ(word->max, 65535);
    PaneEdits::StoreValue(PaneKind::Stack, machine, 0, 0xFFFE, 0xBEEF);
    EXPECT_EQ(machine.memory[0xFFFE], 0xEF);
    EXPECT_EQ(machine.memory[0xFFFF], 0xBE);
    machine.memory[0x0000] = 0xFF;
    machine.memory[0x0001] = 0x00;
    EXPECT_TRUE(PaneEdits::StepValue(PaneKind::Stack, machine, 1, 0xFFFF, 1));
    EXPECT_EQ(machine.memory[0x0000], 0x00);
    EXPECT_EQ(machine.memory[0x0001], 0x01);
    machine.memory[0x0000] = machine.memory[0x0001] = 0;
    PaneEdits::StepValue(PaneKind::Stack, machine, 1, 0xFFFF, -1);
    EXPECT_EQ(machine.memory[0x0000], 0xFF);
    EXPECT_EQ(machine.memory[0x0001], 0xFF);
}

TEST(PaneEdits, InstructionsAreAssembledInPlace) {
    C8085Object machine;
    machine.memory[0x20] = 0x3E;
    machine.memory[0x21] = 0x0B;
    const auto offered = PaneEdits::InstructionEditPrompt(machine, 0x20);
    EXPECT_EQ(offered.location, "0x0020");
    EXPECT_NE(offered.instruction.find("0x"), std::string::npos);

    EXPECT_FALSE(PaneEdits::AssembleInstruction(machine, "0x30", "mvi b, 7"));
    EXPECT_EQ(machine.memory[0x30], 0x06);
    EXPECT_EQ(machine.memory[0x31], 0x07);

    const auto badPlace = PaneEdits::AssembleInstruction(machine, "70000", "nop");
    ASSERT_TRUE(badPlace);
    EXPECT_EQ(badPlace->caption, "Error");
    EXPECT_EQ(badPlace->message, "Number should be within 0 and 65535");
    const auto notNumber = PaneEdits::AssembleInstruction(machine, "zz", "nop");
    ASSERT_TRUE(notNumber);
    EXPECT_EQ(notNumber->message, "Invalid Number ");
    const auto badText = PaneEdits::AssembleInstruction(machine, "0x40", "mvi q, 1");
    ASSERT_TRUE(badText);
    EXPECT_EQ(badText->caption, "Exception");
}

TEST(RegisterRows, TheMachineAndItsCopiesShareOneTable) {
    C8085Object machine;
    for (int row = 0; row < RegisterRows::count; ++row) {
        const auto index = static_cast<std::size_t>(row);
        EXPECT_STREQ(RegisterRows::machineRows[index].name, RegisterRows::snapshotRows[index].name);
        EXPECT_EQ(RegisterRows::machineRows[index].bits, RegisterRows::snapshotRows[index].bits);
        EXPECT_EQ(RegisterRows::RowOf(RegisterRows::machineRows[index].name), row);
    }
    // Distinct values in every byte register and word: a copy reads back each row unchanged.
    int value = 0x1100;
    for (const auto& row : RegisterRows::machineRows) {
        if (row.bits == 8 || row.name == std::string("IP") || row.name == std::string("SP")) {
            row.write(machine, value += 0x0123);
        }
    }
    const auto copy = SimSnapshot::Take(machine, nullptr, 1);
    for (int row = 0; row < RegisterRows::count; ++row) {
        const auto index = static_cast<std::size_t>(row);
        EXPECT_EQ(RegisterRows::snapshotRows[index].read(*copy),
                  RegisterRows::machineRows[index].read(machine))
            << RegisterRows::machineRows[index].name;
    }
    EXPECT_EQ(RegisterRows::RowOf("PSW"), -1);
}
