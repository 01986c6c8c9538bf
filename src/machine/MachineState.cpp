#include "machine/MachineState.h"

#include "machine/C8085Object.h"

MachineState MachineState::Take(const C8085Object& machine) {
    MachineState state;
    state.a = machine.a;
    state.b = machine.b;
    state.c = machine.c;
    state.d = machine.d;
    state.e = machine.e;
    state.h = machine.h;
    state.l = machine.l;
    state.flags = machine.flags;
    state.pc = machine.pc;
    state.sp = machine.sp;
    state.startAddress = machine.startAddress;
    state.lastWritten = machine.lastWritten;
    state.ports = machine.ports;
    for (int i = 0; i < C8085Object::LedCount; ++i) {
        state.ledCells[static_cast<std::size_t>(i)] = machine.GetLedCell(i);
    }
    state.callDepth = machine.callDepth;
    state.stepOutDepth = machine.stepOutDepth;
    state.stepOutArmed = machine.stepOutArmed;
    state.instructionCount = machine.instructionCount;
    state.tStateCount = machine.tStateCount;
    return state;
}

void MachineState::Restore(C8085Object& machine) const {
    machine.a = a;
    machine.b = b;
    machine.c = c;
    machine.d = d;
    machine.e = e;
    machine.h = h;
    machine.l = l;
    machine.flags = flags;
    machine.pc = pc;
    machine.sp = sp;
    machine.startAddress = startAddress;
    machine.lastWritten = lastWritten;
    machine.ports = ports;
    for (int i = 0; i < C8085Object::LedCount; ++i) {
        machine.ledCells[static_cast<std::size_t>(i)].store(ledCells[static_cast<std::size_t>(i)],
                                                            std::memory_order_relaxed);
    }
    machine.SetLedChanged(1);
    machine.callDepth = callDepth;
    machine.stepOutDepth = stepOutDepth;
    machine.stepOutArmed = stepOutArmed;
    machine.instructionCount = instructionCount;
    machine.tStateCount = tStateCount;
}

bool MachineState::Matches(const C8085Object& machine) const {
    return *this == Take(machine);
}
