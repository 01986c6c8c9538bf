#pragma once

#include "machine/MachineState.h"
#include "machine/OpcodeRow.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>

class C8085Object;

// A program assembled once for zorvan-grade, ready to start: the machine as the compile left it
// (memory, registers, flags, stack pointer, LED cells, pc on the start address). Each case loads
// a copy into its own machine, so cases never share state.
class AssembledProgram {
public:
    // Assembles the .85 file at `path` without writing any line map, so that nothing is written
    // beside it (nor anywhere else). `shownName` names the file in messages. Null with `error`
    // set ("FILE:LINE:COLUMN: error: ... (code N)"; code 20 when the file cannot be read).
    static std::shared_ptr<const AssembledProgram>
    Assemble(const std::string& path, const std::string& shownName, std::string& error);

    // The machine's state = this program at its start; ports 0, no call depth, no step-out.
    void LoadInto(C8085Object& machine) const;

private:
    Memory memory{};
    MachineState start; // registers, flags, pc, sp and LED cells as the compile left them
};
