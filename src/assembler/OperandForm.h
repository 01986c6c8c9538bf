#pragma once

// How an instruction's operands are written, decided by its kind.
enum class OperandForm {
    None,
    Immediate8,
    RegisterLow,  // register in bits 2-0
    RegisterHigh, // register in bits 5-3
    Mvi,
    Mov,
    PairSp, // b, d, h or sp in bits 5-4
    Lxi,
    PairPsw, // b, d, h or psw
    PairBd,  // b or d
    Rst,
    Address16,
};

// The operand form of an instruction kind (OpcodeRow::kind).
OperandForm FormOfKind(int kind);
