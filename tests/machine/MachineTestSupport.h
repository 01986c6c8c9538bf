#pragma once

#include "machine/C8085Object.h"
#include "machine/CMyException.h"

#include <cstdint>
#include <initializer_list>
#include <optional>

// Register by its code in the encoding: b 0, c 1, d 2, e 3, h 4, l 5, m 6 (memory at HL), a 7.
inline std::uint8_t& Register(C8085Object& machine, int code) {
    switch (code) {
    case 0:
        return machine.b;
    case 1:
        return machine.c;
    case 2:
        return machine.d;
    case 3:
        return machine.e;
    case 4:
        return machine.h;
    case 5:
        return machine.l;
    case 6:
        return machine.memory[machine.HL()];
    default:
        return machine.a;
    }
}

inline void SetHL(C8085Object& machine, std::uint16_t value) {
    machine.h = static_cast<std::uint8_t>(value >> 8);
    machine.l = static_cast<std::uint8_t>(value);
}

// Puts `bytes` at `address` and points pc at them.
inline void Load(C8085Object& machine, std::uint16_t address,
                 std::initializer_list<std::uint8_t> bytes) {
    std::uint16_t at = address;
    for (const std::uint8_t byte : bytes) {
        machine.memory[at++] = byte;
    }
    machine.pc = address;
}

// Steps once and returns the stop, if any.
inline std::optional<CMyException> StepCatching(C8085Object& machine) {
    try {
        machine.Step();
    } catch (const CMyException& stop) {
        return stop;
    }
    return std::nullopt;
}
