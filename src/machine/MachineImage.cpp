#include "machine/MachineImage.h"

#include "machine/C8085Object.h"

MachineImage MachineImage::Take(const C8085Object& machine) {
    return {machine.memory, MachineState::Take(machine)};
}

void MachineImage::Capture(const C8085Object& machine) {
    memory = machine.memory;
    state = MachineState::Take(machine);
}

void MachineImage::Restore(C8085Object& machine) const {
    machine.memory = memory;
    state.Restore(machine);
}

bool MachineImage::Matches(const C8085Object& machine) const {
    return machine.memory == memory && state.Matches(machine);
}
