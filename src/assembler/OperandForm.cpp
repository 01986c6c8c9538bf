#include "assembler/OperandForm.h"

#include "machine/OpcodeRow.h"

OperandForm FormOfKind(int kind) {
    namespace K = InstructionKind;
    switch (kind) {
    case K::Aci:
    case K::Adi:
    case K::Ani:
    case K::Cpi:
    case K::In:
    case K::Ori:
    case K::Out:
    case K::Sbi:
    case K::Sui:
    case K::Xri:
        return OperandForm::Immediate8;
    case K::Adc:
    case K::Add:
    case K::Ana:
    case K::Cmp:
    case K::Ora:
    case K::Sbb:
    case K::Sub:
    case K::Xra:
        return OperandForm::RegisterLow;
    case K::Inr:
    case K::Dcr:
        return OperandForm::RegisterHigh;
    case K::Mvi:
        return OperandForm::Mvi;
    case K::Mov:
        return OperandForm::Mov;
    case K::Inx:
    case K::Dad:
    case K::Dcx:
        return OperandForm::PairSp;
    case K::Lxi:
        return OperandForm::Lxi;
    case K::Push:
    case K::Pop:
        return OperandForm::PairPsw;
    case K::Stax:
    case K::Ldax:
        return OperandForm::PairBd;
    case K::Rst:
        return OperandForm::Rst;
    case K::Call:
    case K::Jmp:
    case K::Shld:
    case K::Sta:
    case K::Lhld:
    case K::Lda:
    case K::Jc:
    case K::Jnc:
    case K::Jp:
    case K::Jm:
    case K::Jpe:
    case K::Jpo:
    case K::Jz:
    case K::Jnz:
    case K::Cc:
    case K::Cnc:
    case K::Cp:
    case K::Cm:
    case K::Cpe:
    case K::Cpo:
    case K::Cz:
    case K::Cnz:
        return OperandForm::Address16;
    default:
        return OperandForm::None;
    }
}
