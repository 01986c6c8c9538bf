#include "assembler/KeywordTables.h"

namespace {

// The ending the conditional jumps and calls share with JMP, and the one CC shares with CALL.
#define ADDRESS_NOTE "NOTE :- addres must be specified in reverse order"
#define SYSTEM_CALL_NOTE "Note:- call 05 will make System Calls "
#define PUSHES_IP "  IP is pushed to stack before the call.  "
#define POPS_IP "IP is popped from the stack when the condition holds; no flags are affected"

constexpr KeywordEntry instructions[] = {
    {"aci", "  ACI <8 bit> : Add immediate accumulator with carry :  The previous carry flat is "
            "cleared after addition"},
    {"adc", "  ADC R/M : Add register or memory and the carry to accumulator : All flags are "
            "modified to reflect the result of addition"},
    {"add", "  ADD R/M : Add register or memory to accumulator : All flags are modified to reflect "
            "the result of addition"},
    {"adi", "  ACI <8 bit> :Add immediate to accumulator : All flags are modified to reflect the "
            "result of addition"},
    {"ana", "  ANA R/M : Logical AND register or memory with accumulator : S, Z, P reflect the "
            "result, CY is cleared and AC is set"},
    {"ani", "  ANI <8 bit> : Logical AND immediate with accumulator : S, Z, P reflect the result, "
            "CY is cleared and AC is set"},
    {"call", "  CALL <16 bit addr> : Branch to subroutine :" PUSHES_IP SYSTEM_CALL_NOTE},
    {"cc", "  CC <16 bit addr> : Call on carry (CY = 1) :" PUSHES_IP SYSTEM_CALL_NOTE},
    {"cm", "  CC <16 bit addr> : Call on minus :" PUSHES_IP SYSTEM_CALL_NOTE},
    {"cma", "  CMA : Complement accumulator (A = NOT A) : No flags are affected"},
    {"cmc", "  CMC : Complement the carry flag : Only CY is changed"},
    {"cmp",
     "  CMP R/M : Compare register or memory with accumulator : A is unchanged; flags as for "
     "A - R/M: Z is set when equal, CY when A is smaller"},
    {"cnc", "  CNC <16 bit addr> : Call on no carry (CY = 0) :" PUSHES_IP ADDRESS_NOTE},
    {"cnz", "  CNZ <16 bit addr> : Call on not zero (Z = 0) :" PUSHES_IP ADDRESS_NOTE},
    {"cp", "  CP <16 bit addr> : Call on plus (S = 0) :" PUSHES_IP ADDRESS_NOTE},
    {"cpe", "  CPE <16 bit addr> : Call on parity even (P = 1) :" PUSHES_IP ADDRESS_NOTE},
    {"cpi", "  CPI <8 bit> : Compare immediate with accumulator : A is unchanged; flags as for "
            "A - data: Z is set when equal, CY when A is smaller"},
    {"cpo", "  CPO <16 bit addr> : Call on parity odd (P = 0) :" PUSHES_IP ADDRESS_NOTE},
    {"cz", "  CZ <16 bit addr> : Call on zero (Z = 1) :" PUSHES_IP ADDRESS_NOTE},
    {"daa", "  DAA : Decimal adjust accumulator : Makes A two BCD digits after a BCD addition; S, "
            "Z, P, AC reflect the result, CY is set on a decimal carry"},
    {"dad", "DAD Reg Pair(HL,SP) : Add register pair to H and L registers:  If result is > 16 "
            "bits, the CY flag is set. No other flags affected"},
    {"dcr", "  DCR R/M : Decrement register or memory by 1 : S, Z, P, AC are modified; CY is not "
            "affected"},
    {"dcx", "  DCX Reg Pair(B,D,H,SP) : Decrement register pair by 1 : No flags are affected"},
    {"di", "  DI : Disable interrupts : The simulator has no interrupts, so nothing changes"},
    {"ei", "  EI : Enable interrupts : The simulator has no interrupts, so nothing changes"},
    {"hlt",
     "  HLT  :  Halt and enter wait state.  A message box is displayed and simulation halts"},
    {"in", "  IN <8 bit port> : Read the input port into accumulator : No flags are affected"},
    {"inr", "  INR R/M : Increment register or memory by 1 : S, Z, P, AC are modified; CY is not "
            "affected"},
    {"inx", "  INX Reg Pair(B,D,H,SP) : Increment register pair by 1 : No flags are affected"},
    {"jc", "  JC <16 bit addr> : Jump on carry (CY = 1) : " ADDRESS_NOTE},
    {"jm", "  JM <16 bit addr> : Jump on minus (S = 1) : " ADDRESS_NOTE},
    {"jmp", "  JMP <16 bit addr>  :  Jump unconditionally : " ADDRESS_NOTE},
    {"jnc", "  JNC <16 bit addr> : Jump on no carry (CY = 0) : " ADDRESS_NOTE},
    {"jnz", "  JNZ <16 bit addr> : Jump on not zero (Z = 0) : " ADDRESS_NOTE},
    {"jp", "  JP <16 bit addr> : Jump on plus (S = 0) : " ADDRESS_NOTE},
    {"jpe", "  JPE <16 bit addr> : Jump on parity even (P = 1) : " ADDRESS_NOTE},
    {"jpo", "  JPO <16 bit addr> : Jump on parity odd (P = 0) : " ADDRESS_NOTE},
    {"jz", "  JZ <16 bit addr> : Jump on zero (Z = 1) : " ADDRESS_NOTE},
    {"lda", "  LDA <16 bit addr> : Load accumulator from the memory address : No flags are "
            "affected"},
    {"ldax", "  LDAX Reg Pair(B,D) : Load accumulator from the address held in BC or DE : No flags "
             "are affected"},
    {"lhld", "  LHLD <16 bit addr> : Load H and L from memory : L = [addr], H = [addr+1]; no flags "
             "are affected"},
    {"lxi", "  LXI Reg Pair(B,D,H,SP), <16 bit> : Load register pair immediate : No flags are "
            "affected"},
    {"mov", "  MOV R/M , R/M  :  Copy from source to destination : Note: one of the operands has "
            "to he a reg."},
    {"mvi", "  MVI R/M, <8 bit> : Move immediate to register or memory : No flags are affected"},
    {"nop", "  NOP : No operation : Nothing changes but the IP"},
    {"ora", "  ORA R/M : Logical OR register or memory with accumulator : S, Z, P reflect the "
            "result, CY and AC are cleared"},
    {"ori", "  ORI <8 bit> : Logical OR immediate with accumulator : S, Z, P reflect the result, "
            "CY and AC are cleared"},
    {"out", "  OUT <8 bit port> : Write accumulator to the output port : No flags are affected"},
    {"pchl", "  PCHL : Jump to the address in H and L (IP = HL) : No flags are affected"},
    {"pop", "  POP Reg Pair(B,D,H,PSW) : Pop register pair from stack : Low byte from [SP], high "
            "byte from [SP+1], then SP += 2; POP PSW loads every flag"},
    {"push", "  PUSH Reg Pair(B,D,H,PSW) : Push register pair onto stack : High byte to [SP-1], "
             "low byte to [SP-2], then SP -= 2; no flags are affected"},
    {"ral", "  RAL : Rotate accumulator left through carry : Bit 7 goes to CY, the old CY to bit "
            "0; only CY is changed"},
    {"rar", "  RAR : Rotate accumulator right through carry : Bit 0 goes to CY, the old CY to bit "
            "7; only CY is changed"},
    {"rc", "  RC : Return on carry (CY = 1) : " POPS_IP},
    {"ret", "  RET : Return from subroutine : IP is popped from the stack; no flags are affected"},
    {"rim", "  RIM  : Read interrupt Mask into accumulator  :  NOT IMPLEMENTED"},
    {"rlc", "  RLC : Rotate accumulator left : Bit 7 goes to bit 0 and to CY; only CY is changed"},
    {"rm", "  RM : Return on minus (S = 1) : " POPS_IP},
    {"rnc", "  RNC : Return on no carry (CY = 0) : " POPS_IP},
    {"rnz", "  RNZ : Return on not zero (Z = 0) : " POPS_IP},
    {"rp", "  RP : Return on plus (S = 0) : " POPS_IP},
    {"rpe", "  RPE : Return on parity even (P = 1) : " POPS_IP},
    {"rpo", "  RPO : Return on parity odd (P = 0) : " POPS_IP},
    {"rrc", "  RRC : Rotate accumulator right : Bit 0 goes to bit 7 and to CY; only CY is changed"},
    {"rst", "  RST : Restart Instruction : RST 0 - 7 correspond to CALL instructions to "
            "0,8,10,18,20,28,30,38 addr loc."},
    {"rz", "  RZ : Return on zero (Z = 1) : " POPS_IP},
    {"sbb", "  SUB R/M :  Subtract source and borrow from accumulator : All flags are modified to "
            "reflect the result of the operation"},
    {"sbi", "  SBI <8 bit> : Subtract immediate and borrow from accumulator : All flags are "
            "modified to reflect the result of the operation"},
    {"shld", "  SHLD <16 bit addr> : Store H and L to memory : [addr] = L, [addr+1] = H; no flags "
             "are affected"},
    {"sim", "  SIM  :  Set interrupt mask :  NOT IMPLEMENTED"},
    {"sphl", "  SPHL : Copy H and L into the stack pointer (SP = HL) : No flags are affected"},
    {"sta", "  STA <16 bit addr> : Store accumulator at the memory address : No flags are "
            "affected"},
    {"stax", "  STAX Reg Pair(B,D) : Store accumulator at the address held in BC or DE : No flags "
             "are affected"},
    {"stc", "  STC : Set the carry flag : Only CY is changed"},
    {"sub", "  SUB R/M : Subtract register or memory from accumulator : All flags are modified to "
            "reflect the result of the operation"},
    {"sui", "  SUI <8 bit> : Subtract immediate from accumulator : All flags are modified to "
            "reflect the result of the operation"},
    {"xchg", "  XCHG : Exchange H and L with D and E : No flags are affected"},
    {"xra", "  XRA R/M : Exclusive OR register or memory with accumulator : S, Z, P reflect the "
            "result, CY and AC are cleared (XRA A clears A)"},
    {"xri", "  XRI <8 bit> : Exclusive OR immediate with accumulator : S, Z, P reflect the result, "
            "CY and AC are cleared"},
    {"xthl", "  XTHL  :  Exchange H and L with top of stack :  L is exchanged with [SP] and H is "
             "exchanged with [SP+1]. SP itself is not changed."},
};

#undef ADDRESS_NOTE
#undef SYSTEM_CALL_NOTE
#undef PUSHES_IP
#undef POPS_IP

constexpr KeywordEntry directives[] = {
    {".setword", " Directive : .setword <addr>, <word>:  Assign the memory address with a value"},
    {".setbyte", " Directive : .setbyte <addr>, <byte>:  Assign the memory address with a value"},
    {".equ", " Directive : .equ <identifier>, <value>:  Assign a value to an identifier"},
    {".begin", " Directive : .begin <word>:  Set the IP to this address"},
    {".org", " Directive : .org <word>:  The next instruction is placed at this address"},
    {".fill", " Directive : .fill <word>, <word>, <byte>:  Fill the memory range with this value"},
};

// The directives written without the dot, in the order a program uses them.
constexpr KeywordEntry plainDirectives[] = {
    {"org", " Directive : ORG <word>:  The next instruction is placed at this address"},
    {"equ", " Directive : <identifier> EQU <value>:  Assign a value to an identifier"},
    {"set", " Directive : <identifier> SET <value>:  Assign a value to an identifier; SET may "
            "assign it again"},
    {"db", " Directive : DB <byte or 'text'>, ...:  Place bytes at this address"},
    {"dw", " Directive : DW <word>, ...:  Place words at this address, low byte first"},
    {"ds", " Directive : DS <word>:  Reserve this many bytes; the memory is left as it is"},
    {"end", " Directive : END [<word>]:  End of the source; the IP starts at the word when one is "
            "given"},
};

constexpr KeywordEntry registers[] = {
    {"a", ""}, {"b", ""}, {"c", ""}, {"d", ""},  {"e", ""},
    {"h", ""}, {"l", ""}, {"m", ""}, {"sp", ""}, {"psw", ""},
};

} // namespace

const KeywordTable& InstructionKeywords() {
    static const KeywordTable table(instructions, SourceColour::Instruction);
    return table;
}

const KeywordTable& DirectiveKeywords() {
    static const KeywordTable table(directives, SourceColour::Directive);
    return table;
}

const KeywordTable& PlainDirectiveKeywords() {
    static const KeywordTable table(plainDirectives, SourceColour::Directive);
    return table;
}

const KeywordTable& RegisterKeywords() {
    static const KeywordTable table(registers, SourceColour::Register);
    return table;
}
