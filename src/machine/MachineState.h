#pragma once

#include <array>
#include <cstdint>

class C8085Object;

// Everything of a machine but its memory that the program or the debugger can see change:
// registers, flags, program counter, stack pointer, last-written address, ports, LED cells,
// call depth, step-out mode and the instruction and T-state counters.
struct MachineState {
    std::uint8_t a = 0, b = 0, c = 0, d = 0, e = 0, h = 0, l = 0;
    std::uint8_t flags = 0;
    std::uint16_t pc = 0;
    std::uint16_t sp = 0;
    std::uint16_t startAddress = 0;
    std::uint16_t lastWritten = 0;
    std::array<std::uint8_t, 256> ports{};
    std::array<int, 8> ledCells{};
    int callDepth = 0;
    int stepOutDepth = -1;
    int stepOutArmed = 0;
    std::uint64_t instructionCount = 0;
    std::uint64_t tStateCount = 0;

    static MachineState Take(const C8085Object& machine);
    // Puts the state back and marks the LED cells changed, so that the LED window repaints.
    void Restore(C8085Object& machine) const;
    // The machine holds this state (the LED window's repaint flag aside).
    bool Matches(const C8085Object& machine) const;

    bool operator==(const MachineState&) const = default;
};
