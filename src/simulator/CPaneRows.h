#pragma once

#include "simulator/SimSnapshot.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// The six panes of the simulator window.
enum class PaneKind { Instructions, MemoryDump, Registers, Flags, Stack, Ports };

// One shown row: the number shown, the address (port, stack slot) it belongs to, whether the
// number changed since the previous refill, and the text exactly as drawn.
struct PaneRow {
    int value = 0;
    int key = 0;
    bool changed = false;
    std::string text;
};

// What a pane shows and where its selection is: the rows of one pane filled from a machine copy,
// with the pane's keyboard and scroll-bar moves. Every move answers whether anything changed
// (the widget then repaints). The widget only draws these rows and routes input here.
class CPaneRows {
public:
    explicit CPaneRows(PaneKind paneKind);

    PaneKind Kind() const { return kind; }
    // Rows that fit the pane; keeps the scroll position and refills with change marks against
    // the values shown before.
    void SetRowCount(int count);
    int RowCount() const { return rowCount; }
    // Rows that can be selected for Modify (Registers 12, Flags 5, all rows otherwise).
    int SelectableRows() const;
    int SelectedRow() const { return selectedRow; }
    std::uint16_t FirstAddress() const { return firstAddress; }
    std::uint16_t LastAddress() const { return lastAddress; }
    // The largest key the pane shows or accepts in Jump to address.
    int TopLimit() const;
    const std::vector<PaneRow>& Rows() const { return rows; }
    // The key of the selected row.
    std::uint16_t SelectedAddress() const;

    // The copy to show from now on; refills with change marks when `refill` is set.
    void SetSnapshot(std::shared_ptr<const SimSnapshot> copy, bool refill = true);
    const SimSnapshot& Snapshot() const { return *snapshot; }

    // Fills the rows from `first`; marks rows whose value differs from the previous refill.
    void Refill(std::uint16_t first, bool markChanges);
    void Refresh() { Refill(firstAddress, true); }

    bool Select(int row);
    bool LineUp();
    bool LineDown();
    bool PageUp();
    bool PageDown();
    bool End();
    bool Home();
    // Scroll-bar arrows: the rows move, the selection stays.
    bool ScrollLineUp();
    bool ScrollLineDown();
    // Jump to address: the value is within 0..TopLimit().
    bool JumpTo(int address);

    // Instructions pane: shows `address` when it is outside the rows shown.
    bool FollowPC(std::uint16_t address);
    // Instructions pane: shows `address` and marks it.
    bool ShowAddress(std::uint16_t address);
    int ShownAddress() const { return shownAddress; }

    // Markers of an Instructions pane row.
    enum class Breakpoint { None, Enabled, Disabled };
    bool IsPcRow(int row) const;
    bool IsShownRow(int row) const;
    Breakpoint BreakpointOf(int row) const;

private:
    std::uint16_t FillInstructions(std::uint16_t first, bool markChanges);
    std::uint16_t FillValues(std::uint16_t first, bool markChanges);
    void SetRow(int row, int key, int value, bool markChanges, std::string text);
    bool InstructionLineUp();
    bool InstructionLineDown();
    bool InstructionPageUp();
    bool InstructionPageDown();
    bool InstructionEnd();
    bool EndsAtMemoryEnd(std::uint16_t address) const;
    // The last line shown is the last instruction before the end of memory.
    bool AtMemoryEnd() const;

    PaneKind kind;
    std::shared_ptr<const SimSnapshot> snapshot;
    std::vector<PaneRow> rows;
    int rowCount = 0;
    int selectedRow = 0;
    std::uint16_t firstAddress = 0;
    std::uint16_t lastAddress = 0;
    int shownAddress = -1;
};
