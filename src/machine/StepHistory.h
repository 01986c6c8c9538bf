#pragma once

#include "machine/MachineImage.h"
#include "machine/MachineState.h"
#include "machine/PagedMemory.h"
#include "machine/SystemCallObserver.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <vector>

class C8085Object;

// The instructions a machine executed, so that they can be undone one at a time (Step Back).
//
// Nothing is recorded per instruction, so that a full-speed run keeps its speed. The history
// keeps copies of the whole machine (checkpoints, every `checkpointInterval` instructions and
// wherever something other than an instruction changed the machine) and the effect of every
// system call. Stepping back to instruction n puts the nearest checkpoint before n back and
// executes forward to n again; a system call is not made again but its recorded effect is put
// back, so no device is asked twice. The machine is deterministic otherwise.
//
// An execution is framed by Begin and End. Begin continues the newest stretch of history when
// the machine is as the last End left it; otherwise something else changed it (an edit, the
// breakpoints being planted, counters zeroed) and a new stretch starts from a checkpoint of the
// machine as it is. A stretch run with planted breakpoints remembers the bytes under them, which
// a Step Back into it writes back as the end of that run did.
//
// Bounded: it keeps at least `maxInstructions` instructions when the memory allows, and holds at
// most about `maxBytes` (checkpoint pages are shared while they stay the same).
//
// Whoever executes the machine records; nothing here locks.
class StepHistory : public SystemCallObserver {
public:
    struct Limits {
        std::uint64_t maxInstructions = std::uint64_t{1} << 20;
        std::uint64_t checkpointInterval = std::uint64_t{1} << 16;
        // A Step Back that replays further than this leaves checkpoints this far apart on its
        // way, so that the next ones replay little.
        std::uint64_t replayInterval = std::uint64_t{1} << 10;
        std::size_t maxBytes = std::size_t{32} << 20;
    };
    // A byte a run's breakpoint replaced in memory.
    struct SavedByte {
        std::uint16_t address = 0;
        std::uint8_t byte = 0;
        bool operator==(const SavedByte&) const = default;
    };

    StepHistory() : StepHistory(Limits{}) {}
    explicit StepHistory(const Limits& limits);

    // Before an execution (a step or a run) starts. `planted`: the bytes under the breakpoints
    // planted for it, written back when it ends.
    void Begin(const C8085Object& machine, std::vector<SavedByte> planted = {});
    // Between two instructions of an execution: takes a checkpoint when one is due.
    void Checkpoint(const C8085Object& machine);
    // After the execution, before anything else changes the machine. `stopCode`: the code of the
    // stop that ended it, if one did.
    void End(const C8085Object& machine, std::optional<int> stopCode = std::nullopt);
    void SystemCallCompleted(const C8085Object& machine) override;

    // What a Step Back undid.
    struct Undone {
        std::uint16_t pc = 0; // the undone instruction's address, the program counter now
        // The function (register A) and sub-function (C) of an undone system call, else -1.
        int systemCall = -1;
        int subFunction = -1;
    };
    // Puts the machine back as it was before the last instruction recorded; nothing when there
    // is none (or while an execution is being recorded).
    std::optional<Undone> StepBack(C8085Object& machine);

    // Instructions Step Back can undo now.
    std::uint64_t Reach() const;
    void Clear();
    // Memory the history holds now, in bytes (the machine copy kept for Begin aside).
    std::size_t Bytes() const { return bytes; }
    const Limits& GetLimits() const { return limits; }

private:
    struct Stored {
        std::uint64_t index = 0; // instructions of its stretch before it
        PagedMemory memory;
        MachineState state;
        std::size_t systemCalls = 0; // system calls of its stretch before it
    };
    struct Effect {
        std::uint8_t a, b, c, d, e, h, l, flags;
        std::array<int, 8> ledCells;
    };
    struct Stretch {
        std::vector<SavedByte> planted;
        std::deque<Stored> checkpoints; // never empty; the front is where the stretch starts now
        std::deque<Effect> effects;
        std::size_t effectsDropped = 0; // system calls before effects.front()
        std::uint64_t countAtStart = 0; // the machine's instruction count at index 0
        std::uint64_t length = 0;       // instructions recorded
    };

    void Store(Stretch& stretch, const C8085Object& machine, std::uint64_t index,
               std::size_t systemCalls);
    const PagedMemory* NewestMemory() const;
    void DropOldest(Stretch& oldest);
    void Trim();
    static std::size_t StoredBytes(const Stored& stored);
    // Replays the newest stretch from its last checkpoint up to `index`, leaving checkpoints on
    // the way; false when the machine behaved otherwise than recorded.
    bool Replay(std::uint64_t index, C8085Object& machine, std::size_t& systemCalls);

    Limits limits;
    std::deque<Stretch> stretches;
    MachineImage end; // the machine as the last execution or Step Back left it
    bool endValid = false;
    bool newStretch = true; // the next Begin starts a new stretch whatever it finds
    bool recording = false;
    std::size_t bytes = 0;
};
