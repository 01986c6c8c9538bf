#pragma once

#include "machine/OpcodeRow.h"

#include <array>

// The machine's operation for each of the 256 opcodes, with the operand formatter of its row.
class C8085Operations {
public:
    static const ExecuteBindings& Bindings();

    // The same operations as the machine's own loop calls them: the result's low 16 bits are the
    // length pc advances by (0 when the operation set pc itself), the bits above are the
    // instruction's T-states, the taken figure when a condition held. The figures are the opcode
    // table's (a test holds the two together); returning them costs the operation nothing.
    static const std::array<ExecuteOperation, 256>& CountingOperations();
    static constexpr int StatesShift = 16;
};
