#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

class C8085Object;

// The 64 KiB address space; indexing it with a 16-bit address can never leave it.
using Memory = std::array<std::uint8_t, 65536>;

// Executes the instruction whose opcode the machine has just fetched. Returns nonzero when pc is
// to advance by the row's length, zero when the operation has set pc itself. The machine's own
// operations return the length itself as the nonzero value.
using ExecuteOperation = int (*)(C8085Object& machine);

// Formats the immediate operand found at `address` behind `prefix` ("0x" in the edit dialog).
using OperandFormatter = std::string (*)(const Memory& memory, std::uint16_t address,
                                         std::string_view prefix);

struct ExecutePair {
    ExecuteOperation execute = nullptr;
    OperandFormatter formatOperand = nullptr;
};

using ExecuteBindings = std::array<ExecutePair, 256>;

// One opcode of the 8085: how it is written, how long it is, how it is shown and what runs it.
struct OpcodeRow {
    const char* mnemonic;    // lower case; empty for the invalid opcodes
    const char* displayText; // disassembly without the immediate operand
    int kind;                // InstructionKind below; decides the operand form when assembling
    int length;              // 1 to 3 bytes
    std::uint8_t opcode;     // equals the row index
    ExecuteOperation execute;
    OperandFormatter formatOperand; // none, byte or word
    // Clock states of the 8085 data sheet. Where a condition decides (conditional jumps, calls
    // and returns) `tStates` is the figure when it fails and `tStatesTaken` the figure when it
    // holds; elsewhere both are the same. The invalid opcodes never complete here (they stop the
    // machine), so they have 0.
    int tStates;
    int tStatesTaken;
};

// One kind per mnemonic. The assembler picks the operand form by kind.
namespace InstructionKind {
enum : int {
    Aci,
    Adc,
    Add,
    Adi,
    Ana,
    Ani,
    Cpi,
    Cmp,
    Call,
    Cma,
    Cmc,
    Daa,
    In,
    Ori,
    Out,
    Sbi,
    Sui,
    Xri,
    Rst,
    Ora,
    Sbb,
    Sub,
    Xra,
    Pop,
    Push,
    Jmp,
    Shld,
    Sta,
    Di,
    Ei,
    Hlt,
    Pchl,
    Ral,
    Rar,
    Rrc,
    Ret,
    Rim,
    Sim,
    Sphl,
    Xchg,
    Xthl,
    Nop,
    Lxi,
    Stax,
    Inx,
    Inr,
    Dcr,
    Mvi,
    Rlc,
    Invalid,
    Dad,
    Ldax,
    Dcx,
    Mov,
    Lhld,
    Lda,
    Stc,
    Jc,
    Jnc,
    Jp,
    Jm,
    Jpe,
    Jpo,
    Jz,
    Jnz,
    Rc,
    Rnc,
    Rp,
    Rm,
    Rpe,
    Rpo,
    Rz,
    Rnz,
    Cc,
    Cnc,
    Cp,
    Cm,
    Cpe,
    Cpo,
    Cz,
    Cnz
};
} // namespace InstructionKind
