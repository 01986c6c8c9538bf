#include "machine/StepHistory.h"

#include "machine/C8085Object.h"
#include "machine/CMyException.h"
#include "machine/ErrorCodes.h"

#include <algorithm>

namespace {

// Stops that leave the machine exactly as it was before the stopping instruction, or, for the
// end of a step-out, after a return that completed. Any other stop may have changed something on
// the way (a system call lighting LED cells before it failed), so the next execution starts a
// new stretch.
bool ChangesNothingBeyondInstructions(int code) {
    switch (code) {
    case StopCode::Breakpoint:
    case StopCode::Halt:
    case StopCode::IllegalInstruction:
    case StopCode::BadSystemCall:
    case StopCode::StepOutEnd:
    case StopCode::Cancelled:
        return true;
    default:
        return false;
    }
}

} // namespace

StepHistory::StepHistory(const Limits& given) : limits(given) {
    limits.checkpointInterval = std::max<std::uint64_t>(limits.checkpointInterval, 1);
    limits.replayInterval = std::max<std::uint64_t>(limits.replayInterval, 1);
}

void StepHistory::Clear() {
    stretches.clear();
    endValid = false;
    newStretch = true;
    recording = false;
    bytes = 0;
}

std::uint64_t StepHistory::Reach() const {
    std::uint64_t reach = 0;
    for (const Stretch& stretch : stretches) {
        reach += stretch.length - stretch.checkpoints.front().index;
    }
    return reach;
}

std::size_t StepHistory::StoredBytes(const Stored& stored) {
    return sizeof(Stored) + stored.memory.OwnBytes();
}

const PagedMemory* StepHistory::NewestMemory() const {
    return stretches.empty() ? nullptr : &stretches.back().checkpoints.back().memory;
}

void StepHistory::Store(Stretch& stretch, const C8085Object& machine, std::uint64_t index,
                        std::size_t systemCalls) {
    Stored stored;
    stored.index = index;
    stored.memory = PagedMemory::Take(machine.memory, NewestMemory());
    stored.state = MachineState::Take(machine);
    stored.systemCalls = systemCalls;
    bytes += StoredBytes(stored);
    stretch.checkpoints.push_back(std::move(stored));
}

void StepHistory::Begin(const C8085Object& machine, std::vector<SavedByte> planted) {
    recording = true;
    if (!newStretch && endValid && !stretches.empty() && stretches.back().planted == planted &&
        end.Matches(machine)) {
        return;
    }
    newStretch = false;
    // Stored before the new stretch is added, so that its pages are shared with the newest ones.
    Stretch stretch;
    stretch.planted = std::move(planted);
    stretch.countAtStart = machine.instructionCount;
    bytes += stretch.planted.size() * sizeof(SavedByte) + sizeof(Stretch);
    Store(stretch, machine, 0, 0);
    stretches.push_back(std::move(stretch));
    Trim();
}

void StepHistory::Checkpoint(const C8085Object& machine) {
    if (!recording || stretches.empty()) {
        return;
    }
    Stretch& stretch = stretches.back();
    stretch.length = machine.instructionCount - stretch.countAtStart;
    if (stretch.length - stretch.checkpoints.back().index >= limits.checkpointInterval) {
        Store(stretch, machine, stretch.length, stretch.effectsDropped + stretch.effects.size());
        Trim();
    }
}

void StepHistory::End(const C8085Object& machine, std::optional<int> stopCode) {
    if (!recording) {
        return;
    }
    Checkpoint(machine);
    recording = false;
    end.Capture(machine);
    endValid = true;
    newStretch = stopCode && !ChangesNothingBeyondInstructions(*stopCode);
}

void StepHistory::SystemCallCompleted(const C8085Object& m) {
    if (!recording || stretches.empty()) {
        return;
    }
    Effect effect{m.a, m.b, m.c, m.d, m.e, m.h, m.l, m.flags, {}};
    for (int i = 0; i < C8085Object::LedCount; ++i) {
        effect.ledCells[static_cast<std::size_t>(i)] = m.GetLedCell(i);
    }
    stretches.back().effects.push_back(effect);
    bytes += sizeof(Effect);
}

void StepHistory::DropOldest(Stretch& oldest) {
    bytes -= StoredBytes(oldest.checkpoints.front());
    oldest.checkpoints.pop_front();
    const std::size_t gone = oldest.checkpoints.front().systemCalls - oldest.effectsDropped;
    oldest.effects.erase(oldest.effects.begin(),
                         oldest.effects.begin() + static_cast<std::ptrdiff_t>(gone));
    oldest.effectsDropped += gone;
    bytes -= gone * sizeof(Effect);
}

void StepHistory::Trim() {
    std::uint64_t reach = Reach();
    while (!stretches.empty() &&
           (stretches.size() > 1 || stretches.front().checkpoints.size() > 1)) {
        Stretch& oldest = stretches.front();
        const bool wholeStretch = oldest.checkpoints.size() == 1;
        const std::uint64_t lost = (wholeStretch ? oldest.length : oldest.checkpoints[1].index) -
                                   oldest.checkpoints.front().index;
        const bool tooLong = reach - lost >= limits.maxInstructions;
        if (!tooLong && bytes <= limits.maxBytes) {
            return;
        }
        reach -= lost;
        if (wholeStretch) {
            bytes -= StoredBytes(oldest.checkpoints.front()) +
                     oldest.planted.size() * sizeof(SavedByte) + sizeof(Stretch) +
                     oldest.effects.size() * sizeof(Effect);
            stretches.pop_front();
        } else {
            DropOldest(oldest);
        }
    }
}

bool StepHistory::Replay(std::uint64_t index, C8085Object& machine, std::size_t& systemCalls) {
    Stretch& stretch = stretches.back();
    const Stored& from = stretch.checkpoints.back();
    std::uint64_t at = from.index;
    from.memory.CopyTo(machine.memory);
    from.state.Restore(machine);
    systemCalls = from.systemCalls;
    const bool leaveCheckpoints = index - at > limits.replayInterval;
    for (; at < index; ++at) {
        if (leaveCheckpoints && at > stretch.checkpoints.back().index &&
            at - stretch.checkpoints.back().index >= limits.replayInterval) {
            Store(stretch, machine, at, systemCalls);
        }
        if (machine.IsSystemCallAt(machine.pc)) {
            const std::size_t k = systemCalls - stretch.effectsDropped;
            if (k >= stretch.effects.size()) {
                return false;
            }
            const Effect& effect = stretch.effects[k];
            machine.a = effect.a;
            machine.b = effect.b;
            machine.c = effect.c;
            machine.d = effect.d;
            machine.e = effect.e;
            machine.h = effect.h;
            machine.l = effect.l;
            machine.flags = effect.flags;
            for (int cell = 0; cell < C8085Object::LedCount; ++cell) {
                machine.ledCells[static_cast<std::size_t>(cell)].store(
                    effect.ledCells[static_cast<std::size_t>(cell)], std::memory_order_relaxed);
            }
            machine.SkipSystemCall();
            ++systemCalls;
            continue;
        }
        try {
            machine.Step();
        } catch (const CMyException& e) {
            // Only a step-out's last return stops and completes; it ends its stretch, so a
            // replay meets it only as the last instruction.
            if (e.code != StopCode::StepOutEnd || at + 1 != index) {
                return false;
            }
        }
    }
    return true;
}

std::optional<StepHistory::Undone> StepHistory::StepBack(C8085Object& machine) {
    if (recording) {
        return std::nullopt;
    }
    while (!stretches.empty() &&
           stretches.back().length <= stretches.back().checkpoints.front().index) {
        if (stretches.back().checkpoints.front().index > 0) {
            return std::nullopt; // its older instructions were dropped
        }
        const Stretch& empty = stretches.back();
        bytes -= StoredBytes(empty.checkpoints.front()) + sizeof(Stretch) +
                 empty.planted.size() * sizeof(SavedByte);
        stretches.pop_back();
    }
    if (stretches.empty()) {
        return std::nullopt;
    }
    Stretch& stretch = stretches.back();
    const std::uint64_t target = stretch.length - 1;
    // What came after the target goes, as after an undo.
    stretch.length = target;
    while (stretch.checkpoints.size() > 1 && stretch.checkpoints.back().index > target) {
        bytes -= StoredBytes(stretch.checkpoints.back());
        stretch.checkpoints.pop_back();
    }
    std::size_t systemCalls = 0;
    if (!Replay(target, machine, systemCalls)) {
        // Should never happen; a history that cannot be trusted is dropped.
        Clear();
        return std::nullopt;
    }
    Undone undone;
    undone.pc = machine.pc;
    if (machine.IsSystemCallAt(machine.pc)) {
        undone.systemCall = machine.a;
        undone.subFunction = machine.c;
    }
    for (const SavedByte& saved : stretch.planted) {
        machine.memory[saved.address] = saved.byte;
    }
    machine.SetLedChanged(1);
    const std::size_t kept = systemCalls - stretch.effectsDropped;
    bytes -= (stretch.effects.size() - kept) * sizeof(Effect);
    stretch.effects.resize(kept);
    end.Capture(machine);
    endValid = true;
    // A stretch of a run with planted breakpoints cannot go on unplanted.
    newStretch = !stretch.planted.empty();
    Trim();
    return undone;
}
