#include "simulator/SimSnapshot.h"

#include "machine/C8085Object.h"

const BreakpointEntry* SimSnapshot::BreakpointAt(std::uint16_t address) const {
    for (const auto& entry : breakpoints) {
        if (entry.address == address) {
            return &entry;
        }
    }
    return nullptr;
}

std::shared_ptr<const SimSnapshot> SimSnapshot::Take(const C8085Object& machine,
                                                     const CBreakpointList* breakpoints,
                                                     std::uint64_t sequence) {
    auto copy = std::make_shared<SimSnapshot>();
    copy->sequence = sequence;
    copy->memory = machine.memory;
    copy->a = machine.a;
    copy->b = machine.b;
    copy->c = machine.c;
    copy->d = machine.d;
    copy->e = machine.e;
    copy->h = machine.h;
    copy->l = machine.l;
    copy->flags = machine.flags;
    copy->pc = machine.pc;
    copy->sp = machine.sp;
    copy->ports = machine.ports;
    copy->checkpoints = machine.checkpoints;
    if (breakpoints != nullptr) {
        copy->breakpoints = breakpoints->GetBreakpoints();
    }
    return copy;
}

std::shared_ptr<const SimSnapshot> SimSnapshot::Empty() {
    static const auto empty = std::make_shared<const SimSnapshot>();
    return empty;
}
