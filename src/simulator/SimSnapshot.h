#pragma once

#include "machine/OpcodeRow.h"
#include "simulator/CBreakpointList.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class C8085Object;

// What the panes show, copied out of the machine at one instant. The panes decode and format
// from this copy only, so a worker that goes on executing never changes a pane under its paint.
// Copies are numbered in the order they were taken; a pane drops a copy older than the one it
// shows.
struct SimSnapshot {
    std::uint64_t sequence = 0;
    Memory memory{};
    std::uint8_t a = 0, b = 0, c = 0, d = 0, e = 0, h = 0, l = 0;
    std::uint8_t flags = 0;
    std::uint16_t pc = 0;
    std::uint16_t sp = 0;
    std::array<std::uint8_t, 256> ports{};
    std::array<std::uint16_t, 1024> checkpoints{};
    std::vector<BreakpointEntry> breakpoints;
    std::uint64_t instructionCount = 0;
    std::uint64_t tStateCount = 0;

    // The entry for `address`, or null.
    const BreakpointEntry* BreakpointAt(std::uint16_t address) const;

    // Copies the machine (and the breakpoint list when given) now, on the calling thread.
    static std::shared_ptr<const SimSnapshot>
    Take(const C8085Object& machine, const CBreakpointList* breakpoints, std::uint64_t sequence);
    // All zeros: what a pane shows before its first copy.
    static std::shared_ptr<const SimSnapshot> Empty();
    // This copy with another breakpoint list (the machine is not read again).
    std::shared_ptr<const SimSnapshot> WithBreakpoints(std::vector<BreakpointEntry> list) const;

    // The counter line under the panes: "Instructions N   T-states M   (X ms at 3.072 MHz)".
    static std::string CounterText(std::uint64_t instructions, std::uint64_t tStates);
};
