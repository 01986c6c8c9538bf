#pragma once

#include <cstdint>

// The source view's marks in the text buffer's line flag words.
constexpr std::uint32_t LineFlagExecution = 0x10000;          // the line of the program counter
constexpr std::uint32_t LineFlagBreakpointDisabled = 0x20000; // a disabled breakpoint
constexpr std::uint32_t LineFlagBreakpoint = 0x40000;         // an enabled breakpoint
