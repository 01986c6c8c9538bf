#pragma once

#include <cstdint>

// Bits of a search's flag word, as kept per view and passed to FindInBlock.
namespace SearchFlags {

constexpr uint32_t MatchCase = 0x01;
constexpr uint32_t WholeWord = 0x02;
constexpr uint32_t Upwards = 0x10;

} // namespace SearchFlags
