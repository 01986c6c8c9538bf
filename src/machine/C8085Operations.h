#pragma once

#include "machine/OpcodeRow.h"

// The machine's operation for each of the 256 opcodes, with the operand formatter of its row.
class C8085Operations {
public:
    static const ExecuteBindings& Bindings();
};
