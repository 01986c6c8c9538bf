#include "simulator/CPaneRows.h"

#include "machine/InstructionSet.h"
#include "simulator/FormatText.h"
#include "simulator/InstructionWalk.h"
#include "simulator/RegisterRows.h"

#include <algorithm>

namespace {

constexpr int memoryEnd = 0xFFFF;

} // namespace

CPaneRows::CPaneRows(PaneKind paneKind) : kind(paneKind), snapshot(SimSnapshot::Empty()) {
}

int CPaneRows::TopLimit() const {
    switch (kind) {
    case PaneKind::Instructions:
    case PaneKind::MemoryDump:
        return memoryEnd;
    case PaneKind::Ports:
        return 255;
    default:
        return 0;
    }
}

int CPaneRows::SelectableRows() const {
    switch (kind) {
    case PaneKind::Registers:
        return std::min(rowCount, RegisterRows::count);
    case PaneKind::Flags:
        return std::min(rowCount, static_cast<int>(RegisterRows::flagRows.size()));
    default:
        return rowCount;
    }
}

std::uint16_t CPaneRows::SelectedAddress() const {
    if (selectedRow < 0 || selectedRow >= static_cast<int>(rows.size())) {
        return 0;
    }
    return static_cast<std::uint16_t>(rows[static_cast<std::size_t>(selectedRow)].key);
}

void CPaneRows::SetRowCount(int count) {
    count = std::max(count, 1);
    if (TopLimit() > 0) {
        count = std::min(count, TopLimit() + 1);
        if (kind != PaneKind::Instructions && firstAddress + count - 1 > TopLimit()) {
            firstAddress = static_cast<std::uint16_t>(TopLimit() - count + 1);
        }
    }
    rowCount = count;
    rows.resize(static_cast<std::size_t>(count));
    selectedRow = std::min(selectedRow, count - 1);
    Refill(firstAddress, false);
}

void CPaneRows::SetSnapshot(std::shared_ptr<const SimSnapshot> copy, bool refill) {
    snapshot = copy ? std::move(copy) : SimSnapshot::Empty();
    if (refill) {
        Refresh();
    }
}

void CPaneRows::SetRow(int row, int key, int value, bool markChanges, std::string text) {
    auto& r = rows[static_cast<std::size_t>(row)];
    r.changed = markChanges && r.value != value;
    r.value = value;
    r.key = key;
    r.text = std::move(text);
}

void CPaneRows::Refill(std::uint16_t first, bool markChanges) {
    firstAddress = first;
    lastAddress = kind == PaneKind::Instructions ? FillInstructions(first, markChanges)
                                                 : FillValues(first, markChanges);
}

std::uint16_t CPaneRows::FillInstructions(std::uint16_t first, bool markChanges) {
    const SimSnapshot& s = *snapshot;
    std::uint16_t address = first;
    bool wrapped = false;
    for (int i = 0; i < rowCount; ++i) {
        SetRow(i, address, s.memory[address], markChanges,
               FormatText("%04x %s", address,
                          InstructionSet::InstructionText(s.memory, address, "").c_str()));
        const std::uint16_t next = InstructionWalk::Next(s, address);
        wrapped = wrapped || next <= address;
        address = next;
    }
    return wrapped ? static_cast<std::uint16_t>(rows.back().key) : address;
}

std::uint16_t CPaneRows::FillValues(std::uint16_t first, bool markChanges) {
    const SimSnapshot& s = *snapshot;
    for (int i = 0; i < rowCount; ++i) {
        const auto row = static_cast<std::size_t>(i);
        switch (kind) {
        case PaneKind::MemoryDump: {
            const auto key = static_cast<std::uint16_t>(first + i);
            SetRow(i, key, s.memory[key], markChanges, FormatText("%04x %02x", key, s.memory[key]));
            break;
        }
        case PaneKind::Registers:
            if (RegisterRows::IsRow(i)) {
                const auto& shown = RegisterRows::snapshotRows[row];
                const int value = shown.read(s);
                SetRow(i, i, value, markChanges,
                       FormatText(shown.bits == 8 ? "%s  %02X" : "%s %04X", shown.name, value));
            } else {
                SetRow(i, i, 0, false, " ");
            }
            break;
        case PaneKind::Flags:
            if (row < RegisterRows::flagRows.size()) {
                const auto& flag = RegisterRows::flagRows[row];
                const int value = (s.flags & flag.mask) != 0 ? 1 : 0;
                SetRow(i, i, value, markChanges, FormatText("%-2s %.1X", flag.name, value));
            } else {
                SetRow(i, i, 0, false, " ");
            }
            break;
        case PaneKind::Stack: {
            const auto low = static_cast<std::uint16_t>(s.sp + 2 * i);
            const int word = s.memory[low] | s.memory[static_cast<std::uint16_t>(low + 1)] << 8;
            SetRow(i, static_cast<std::uint16_t>(s.sp + i), word, markChanges,
                   i == 0 ? FormatText("SP   %04x", word)
                          : FormatText("SP+%01x %04x", 2 * i, word));
            break;
        }
        case PaneKind::Ports: {
            const auto port = static_cast<std::uint8_t>(first + i);
            SetRow(i, port, s.ports[port], markChanges,
                   FormatText("%02x %02x", port, s.ports[port]));
            break;
        }
        case PaneKind::Instructions:
            break;
        }
    }
    if (kind == PaneKind::Registers || kind == PaneKind::Flags) {
        return 0;
    }
    return static_cast<std::uint16_t>(rows.back().key);
}

bool CPaneRows::Select(int row) {
    if (row < 0 || row >= rowCount || row == selectedRow) {
        return false;
    }
    selectedRow = row;
    return true;
}

// Registers, Flags and Stack always show the same rows (TopLimit 0): their moves only move the
// selection. Memory and Ports scroll by keys, Instructions by decoded instructions.

bool CPaneRows::LineUp() {
    if (kind == PaneKind::Instructions) {
        return InstructionLineUp();
    }
    if (selectedRow > 0) {
        --selectedRow;
        return true;
    }
    if (TopLimit() == 0 || firstAddress == 0) {
        return false;
    }
    Refill(static_cast<std::uint16_t>(firstAddress - 1), false);
    return true;
}

bool CPaneRows::LineDown() {
    if (kind == PaneKind::Instructions) {
        return InstructionLineDown();
    }
    if (selectedRow < rowCount - 1) {
        ++selectedRow;
        return true;
    }
    if (TopLimit() == 0 || lastAddress >= TopLimit()) {
        return false;
    }
    Refill(static_cast<std::uint16_t>(firstAddress + 1), false);
    return true;
}

bool CPaneRows::PageUp() {
    if (kind == PaneKind::Instructions) {
        return InstructionPageUp();
    }
    if (firstAddress == 0 || TopLimit() == 0) {
        return Select(0);
    }
    Refill(static_cast<std::uint16_t>(std::max(0, firstAddress - rowCount)), false);
    if (firstAddress == 0) {
        selectedRow = 0;
    }
    return true;
}

bool CPaneRows::PageDown() {
    if (kind == PaneKind::Instructions) {
        return InstructionPageDown();
    }
    if (TopLimit() == 0 || lastAddress >= TopLimit()) {
        return Select(rowCount - 1);
    }
    if (lastAddress + rowCount > TopLimit()) {
        Refill(static_cast<std::uint16_t>(TopLimit() - rowCount + 1), false);
        selectedRow = rowCount - 1;
    } else {
        Refill(static_cast<std::uint16_t>(firstAddress + rowCount), false);
    }
    return true;
}

bool CPaneRows::End() {
    if (kind == PaneKind::Instructions) {
        return InstructionEnd();
    }
    if (TopLimit() == 0 || lastAddress >= TopLimit()) {
        return Select(rowCount - 1);
    }
    Refill(static_cast<std::uint16_t>(TopLimit() - rowCount + 1), false);
    selectedRow = rowCount - 1;
    return true;
}

bool CPaneRows::Home() {
    if (firstAddress == 0 && selectedRow == 0) {
        return false;
    }
    selectedRow = 0;
    Refill(0, false);
    return true;
}

bool CPaneRows::ScrollLineUp() {
    if (TopLimit() == 0 || firstAddress == 0) {
        return false;
    }
    Refill(kind == PaneKind::Instructions
               ? InstructionWalk::InstructionBefore(*snapshot, firstAddress)
               : static_cast<std::uint16_t>(firstAddress - 1),
           false);
    return true;
}

bool CPaneRows::ScrollLineDown() {
    if (TopLimit() == 0) {
        return false;
    }
    if (kind == PaneKind::Instructions) {
        if (AtMemoryEnd()) {
            return false;
        }
        Refill(InstructionWalk::Next(*snapshot, firstAddress), false);
        return true;
    }
    if (lastAddress >= TopLimit()) {
        return false;
    }
    Refill(static_cast<std::uint16_t>(firstAddress + 1), false);
    return true;
}

bool CPaneRows::JumpTo(int address) {
    if (TopLimit() == 0 || address < 0 || address > TopLimit()) {
        return false;
    }
    if (kind == PaneKind::Instructions) {
        if (address < firstAddress || address >= lastAddress || lastAddress == rows.back().key) {
            // Near the end of memory the pane shows the last rows below the limit, as the other
            // panes do, rather than lines wrapping round to address 0.
            Refill(static_cast<std::uint16_t>(std::min(address, TopLimit() - rowCount + 1)), false);
            selectedRow = 0;
        }
        // The selection moves to the line that holds the address.
        int row = 0;
        while (row + 1 < rowCount && rows[static_cast<std::size_t>(row) + 1].key <= address &&
               rows[static_cast<std::size_t>(row) + 1].key >
                   rows[static_cast<std::size_t>(row)].key) {
            ++row;
        }
        Select(row);
        return true;
    }
    if (address < firstAddress || address > rows.back().key) {
        Refill(static_cast<std::uint16_t>(std::min(address, TopLimit() - rowCount + 1)), false);
    }
    Select(address - firstAddress);
    return true;
}

bool CPaneRows::FollowPC(std::uint16_t address) {
    if (address >= firstAddress && address < lastAddress) {
        return false;
    }
    Refill(address, true);
    return true;
}

bool CPaneRows::ShowAddress(std::uint16_t address) {
    FollowPC(address);
    shownAddress = address;
    return true;
}

bool CPaneRows::IsPcRow(int row) const {
    return rows[static_cast<std::size_t>(row)].key == snapshot->pc;
}

bool CPaneRows::IsShownRow(int row) const {
    return rows[static_cast<std::size_t>(row)].key == shownAddress;
}

CPaneRows::Breakpoint CPaneRows::BreakpointOf(int row) const {
    const auto* entry =
        snapshot->BreakpointAt(static_cast<std::uint16_t>(rows[static_cast<std::size_t>(row)].key));
    if (entry == nullptr) {
        return Breakpoint::None;
    }
    return entry->enabled != 0 ? Breakpoint::Enabled : Breakpoint::Disabled;
}

// Instructions pane moves.

bool CPaneRows::EndsAtMemoryEnd(std::uint16_t address) const {
    return address + InstructionSet::InstructionLength(snapshot->memory[address]) > memoryEnd;
}

bool CPaneRows::InstructionLineUp() {
    if (selectedRow > 0) {
        --selectedRow;
        return true;
    }
    if (firstAddress == 0) {
        return false;
    }
    Refill(InstructionWalk::InstructionBefore(*snapshot, firstAddress), false);
    return true;
}

bool CPaneRows::InstructionLineDown() {
    if (SelectedAddress() >= memoryEnd || EndsAtMemoryEnd(SelectedAddress())) {
        return false;
    }
    if (selectedRow < rowCount - 1) {
        ++selectedRow;
        return true;
    }
    Refill(InstructionWalk::Next(*snapshot, firstAddress), false);
    return true;
}

bool CPaneRows::InstructionPageUp() {
    if (firstAddress == 0) {
        return Select(0);
    }
    Refill(InstructionWalk::StartBefore(*snapshot, firstAddress, rowCount), false);
    return true;
}

bool CPaneRows::AtMemoryEnd() const {
    return lastAddress == rows.back().key ||
           EndsAtMemoryEnd(static_cast<std::uint16_t>(rows.back().key));
}

bool CPaneRows::InstructionPageDown() {
    if (AtMemoryEnd()) {
        return Select(rowCount - 1);
    }
    const auto rest = InstructionWalk::StartsBetween(*snapshot, lastAddress, 0x10000);
    if (rest.size() < static_cast<std::size_t>(rowCount)) {
        return InstructionEnd();
    }
    Refill(lastAddress, false);
    return true;
}

bool CPaneRows::InstructionEnd() {
    if (AtMemoryEnd()) {
        return Select(rowCount - 1);
    }
    const auto starts = InstructionWalk::LastStarts(*snapshot, firstAddress, rowCount);
    Refill(starts.front(), false);
    selectedRow = rowCount - 1;
    return true;
}
