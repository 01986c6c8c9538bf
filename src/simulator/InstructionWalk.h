#pragma once

#include "simulator/SimSnapshot.h"

#include <cstdint>
#include <vector>

// Instruction boundaries of a memory copy, for the Instructions pane's backward moves. An 8085
// instruction stream cannot be decoded backwards, so every backward move decodes forwards from
// the nearest checkpoint (an instruction start the machine recorded at load time) below it.
namespace InstructionWalk {

// The address of the instruction after the one at `address` (wrapping at the end of memory).
std::uint16_t Next(const SimSnapshot& snapshot, std::uint16_t address);

// The starts of the instructions decoded from `from` that begin before `limit` (0x10000 for the
// end of memory); decoding stops at the end of memory.
std::vector<std::uint16_t> StartsBetween(const SimSnapshot& snapshot, std::uint16_t from,
                                         long limit);

// The last instruction whose successor starts at or after `address` (> 0).
std::uint16_t InstructionBefore(const SimSnapshot& snapshot, std::uint16_t address);

// The start of the instruction `count` instructions before `address`, or the lowest start found
// when memory from 0 holds fewer.
std::uint16_t StartBefore(const SimSnapshot& snapshot, std::uint16_t address, int count);

// The last `count` instruction starts before the end of memory, decoded from the checkpoint below
// `near`.
std::vector<std::uint16_t> LastStarts(const SimSnapshot& snapshot, std::uint16_t near, int count);

} // namespace InstructionWalk
