#include "simulator/SimSnapshot.h"

#include "machine/C8085Object.h"
#include "simulator/RegisterRows.h"

#include <cstdio>

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
    for (std::size_t row = 0; row < RegisterRows::machineRows.size(); ++row) {
        RegisterRows::snapshotRows[row].write(*copy, RegisterRows::machineRows[row].read(machine));
    }
    copy->flags = machine.flags;
    copy->ports = machine.ports;
    copy->checkpoints = machine.checkpoints;
    copy->instructionCount = machine.instructionCount;
    copy->tStateCount = machine.tStateCount;
    if (breakpoints != nullptr) {
        copy->breakpoints = breakpoints->GetBreakpoints();
    }
    return copy;
}

std::shared_ptr<const SimSnapshot> SimSnapshot::Empty() {
    static const auto empty = std::make_shared<const SimSnapshot>();
    return empty;
}

std::shared_ptr<const SimSnapshot>
SimSnapshot::WithBreakpoints(std::vector<BreakpointEntry> list) const {
    auto copy = std::make_shared<SimSnapshot>(*this);
    copy->breakpoints = std::move(list);
    return copy;
}

std::string SimSnapshot::CounterText(std::uint64_t instructions, std::uint64_t tStates) {
    // 3.072 MHz: 3072 T-states take one millisecond. Whole numbers, so that no locale turns the
    // decimal point into a comma.
    constexpr std::uint64_t statesPerMs = 3072;
    const std::uint64_t microseconds =
        tStates / statesPerMs * 1000 +
        (tStates % statesPerMs * 1000 + statesPerMs / 2) / statesPerMs;
    char time[48];
    std::snprintf(time, sizeof time, "%llu.%03llu",
                  static_cast<unsigned long long>(microseconds / 1000),
                  static_cast<unsigned long long>(microseconds % 1000));
    return "Instructions " + std::to_string(instructions) + "   T-states " +
           std::to_string(tStates) + "   (" + time + " ms at 3.072 MHz)";
}
