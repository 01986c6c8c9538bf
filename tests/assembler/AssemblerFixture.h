#pragma once

#include "assembler/CParse.h"
#include "machine/C8085Object.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <vector>

// A machine with an assembler attached, as a document holds them.
class AssemblerFixture {
public:
    AssemblerFixture() { parser.Attach(machine); }

    // The bytes at `address` onwards.
    std::vector<std::uint8_t> Bytes(std::uint16_t address, std::size_t count) const {
        std::vector<std::uint8_t> bytes;
        for (std::size_t i = 0; i < count; ++i) {
            bytes.push_back(machine.memory[static_cast<std::uint16_t>(address + i)]);
        }
        return bytes;
    }

    // How many bytes of memory are not zero.
    std::size_t NonZeroBytes() const {
        std::size_t count = 0;
        for (std::uint8_t byte : machine.memory) {
            count += byte != 0 ? 1 : 0;
        }
        return count;
    }

    C8085Object machine;
    CParse parser;
};

inline std::string Hex(const std::vector<std::uint8_t>& bytes) {
    std::ostringstream out;
    out << std::hex;
    for (std::uint8_t byte : bytes) {
        out << (byte < 16 ? "0" : "") << static_cast<int>(byte) << ' ';
    }
    return out.str();
}
