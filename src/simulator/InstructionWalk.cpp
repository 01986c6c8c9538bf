#include "simulator/InstructionWalk.h"

#include "machine/InstructionSet.h"

#include <algorithm>

namespace InstructionWalk {
namespace {

// The highest checkpoint below `address`; 0 (the start of memory) when none.
int CheckpointIndexBelow(const SimSnapshot& snapshot, std::uint16_t address) {
    int best = -1;
    for (int k = 0; k < static_cast<int>(snapshot.checkpoints.size()); ++k) {
        const auto point = snapshot.checkpoints[static_cast<std::size_t>(k)];
        if (point < address &&
            (best < 0 || point >= snapshot.checkpoints[static_cast<std::size_t>(best)])) {
            best = k;
        }
    }
    return best < 0 ? 0 : best;
}

std::uint16_t CheckpointAt(const SimSnapshot& snapshot, int k) {
    return k == 0 ? 0 : snapshot.checkpoints[static_cast<std::size_t>(k)];
}

} // namespace

std::uint16_t Next(const SimSnapshot& snapshot, std::uint16_t address) {
    return static_cast<std::uint16_t>(address +
                                      InstructionSet::InstructionLength(snapshot.memory[address]));
}

std::vector<std::uint16_t> StartsBetween(const SimSnapshot& snapshot, std::uint16_t from,
                                         long limit) {
    std::vector<std::uint16_t> starts;
    for (long address = from; address < limit && address <= 0xFFFF;) {
        starts.push_back(static_cast<std::uint16_t>(address));
        address +=
            InstructionSet::InstructionLength(snapshot.memory[static_cast<std::size_t>(address)]);
    }
    return starts;
}

std::uint16_t InstructionBefore(const SimSnapshot& snapshot, std::uint16_t address) {
    const int k = CheckpointIndexBelow(snapshot, address);
    const auto starts = StartsBetween(snapshot, CheckpointAt(snapshot, k), address);
    return starts.empty() ? 0 : starts.back();
}

std::uint16_t StartBefore(const SimSnapshot& snapshot, std::uint16_t address, int count) {
    int k = CheckpointIndexBelow(snapshot, address);
    for (;;) {
        const std::uint16_t from = CheckpointAt(snapshot, k);
        const auto starts = StartsBetween(snapshot, from, address);
        if (starts.size() >= static_cast<std::size_t>(count)) {
            return starts[starts.size() - static_cast<std::size_t>(count)];
        }
        if (from == 0) {
            return 0;
        }
        k = CheckpointIndexBelow(snapshot, from);
    }
}

std::vector<std::uint16_t> LastStarts(const SimSnapshot& snapshot, std::uint16_t near, int count) {
    const int k = CheckpointIndexBelow(snapshot, near);
    auto starts = StartsBetween(snapshot, CheckpointAt(snapshot, k), 0x10000);
    if (starts.size() > static_cast<std::size_t>(count)) {
        starts.erase(starts.begin(), starts.end() - count);
    }
    return starts;
}

} // namespace InstructionWalk
