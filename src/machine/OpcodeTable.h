#pragma once

#include "machine/OpcodeRow.h"

// The program-wide table of the 256 opcodes, indexed by opcode. Built before main runs; a machine
// binds its execute operations into it when constructed.
std::array<OpcodeRow, 256>& OpcodeTable();

// What a row runs until a machine binds its own operations: the illegal-instruction stop.
[[noreturn]] int UnboundExecute(C8085Object& machine);

// The operand formatters of the two- and three-byte rows; the word wraps at the end of memory.
std::string FormatByte(const Memory& memory, std::uint16_t address, std::string_view prefix);
std::string FormatWord(const Memory& memory, std::uint16_t address, std::string_view prefix);
