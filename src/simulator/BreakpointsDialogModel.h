#pragma once

#include "simulator/BreakpointMarks.h"
#include "simulator/CBreakpointList.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

class SourceViewServices;

// The Breakpoints dialog without its window: one checkable item per breakpoint entry, Remove and
// Remove All recorded until OK applies them through the source view, Cancel dropping them.
class BreakpointsDialogModel {
public:
    struct Item {
        std::uint16_t address = 0;
        std::string text;
        bool checked = true;
        bool enabledBefore = true;
        int sourceLine = -1; // of the entry, -1 when made from an address
        // A breakpoint mark of a line not compiled yet: no address, only its line (0-based).
        int markedLine = -1;
    };

    // `instructionText` gives the disassembly at an address, without a number prefix.
    BreakpointsDialogModel(const std::vector<BreakpointEntry>& entries,
                           const std::function<std::string(std::uint16_t)>& instructionText);

    // "0x%04x %s" for an entry made from an address; "0x%04x %.10s,  at Line %d" (1-based) for
    // one made from a source line.
    static std::string ItemText(const BreakpointEntry& entry, std::string_view instruction);
    // "------ %.10s,  at Line %d" with the line's own text where the address and the
    // disassembly would stand.
    static std::string MarkedLineText(const BreakpointMarks::MarkedLine& marked);

    // With the simulator closed the marks are what the next compile makes breakpoints of: adds
    // an item for every marked line that no entry was made from.
    void AddMarkedLines(const std::vector<BreakpointMarks::MarkedLine>& lines);

    const std::vector<Item>& Items() const { return items; }
    void SetChecked(int index, bool checked);
    // Removes the item at `index`; the item now selected, -1 when the list became empty or
    // `index` named no item (then nothing changes).
    int Remove(int index);
    void RemoveAll();
    // Remove and Remove All are offered while there are items.
    bool CanRemove() const { return !items.empty(); }
    const std::vector<std::uint16_t>& Removed() const { return removed; }

    // OK: removes every removed address, then swaps every item whose check box no longer shows
    // its entry's state. Items of marked lines set or clear their line's mark instead.
    void Apply(SourceViewServices& view) const;

private:
    std::vector<Item> items;
    std::vector<std::uint16_t> removed;
    std::vector<int> removedLines;
};
