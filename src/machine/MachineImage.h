#pragma once

#include "machine/MachineState.h"
#include "machine/OpcodeRow.h"

class C8085Object;

// A whole machine at one moment: its memory and its state. Taken right after a compile, it lets
// Reset start the program again as it was loaded.
struct MachineImage {
    Memory memory{};
    MachineState state;

    static MachineImage Take(const C8085Object& machine);
    // Take into this image, without a 64 KiB temporary on the stack (a worker's stack stays
    // small, so that its end costs the system nothing).
    void Capture(const C8085Object& machine);
    void Restore(C8085Object& machine) const;
    bool Matches(const C8085Object& machine) const;
};
