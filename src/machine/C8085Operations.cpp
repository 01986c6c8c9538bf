#include "machine/C8085Operations.h"

#include "machine/C8085Object.h"
#include "machine/OpcodeTable.h"
#include "machine/Raise.h"

#include <utility>

// One small function per opcode, generated from a template so that registers, pairs and
// conditions are chosen at compile time: a step is one table look-up and one indirect call.

namespace {

using Byte = std::uint8_t;
using Word = std::uint16_t;
using Machine = C8085Object;

constexpr unsigned S = Machine::FlagS;
constexpr unsigned Z = Machine::FlagZ;
constexpr unsigned AC = Machine::FlagAC;
constexpr unsigned P = Machine::FlagP;
constexpr unsigned CY = Machine::FlagCY;
// Bits 5, 3 and 1 belong to no flag; flag-setting instructions leave them as they are.
constexpr unsigned KeptBits = 0x2A;

constexpr std::array<Byte, 256> MakeSignZeroParity() {
    std::array<Byte, 256> table{};
    for (unsigned value = 0; value < 256; ++value) {
        unsigned ones = 0;
        for (unsigned bit = value; bit != 0; bit >>= 1) {
            ones += bit & 1;
        }
        unsigned f = (value & 0x80) != 0 ? S : 0;
        f |= value == 0 ? Z : 0;
        f |= ones % 2 == 0 ? P : 0;
        table[value] = static_cast<Byte>(f);
    }
    return table;
}
constexpr std::array<Byte, 256> signZeroParity = MakeSignZeroParity();

inline Word Wrap(unsigned value) {
    return static_cast<Word>(value);
}
inline Byte Data(const Machine& m) {
    return m.memory[Wrap(m.pc + 1u)];
}
inline Word ReadWord(const Machine& m, Word address) {
    return Wrap(m.memory[address] | m.memory[Wrap(address + 1u)] << 8);
}
inline Word Address(const Machine& m) {
    return ReadWord(m, Wrap(m.pc + 1u));
}
inline unsigned Carry(const Machine& m) {
    return m.flags & CY;
}

// Register codes of the encoding: b 0, c 1, d 2, e 3, h 4, l 5, m 6 (memory at HL), a 7.
template <int R> Byte Get(const Machine& m) {
    if constexpr (R == 0) {
        return m.b;
    } else if constexpr (R == 1) {
        return m.c;
    } else if constexpr (R == 2) {
        return m.d;
    } else if constexpr (R == 3) {
        return m.e;
    } else if constexpr (R == 4) {
        return m.h;
    } else if constexpr (R == 5) {
        return m.l;
    } else if constexpr (R == 6) {
        return m.memory[m.HL()];
    } else {
        return m.a;
    }
}

template <int R> void Set(Machine& m, Byte value) {
    if constexpr (R == 0) {
        m.b = value;
    } else if constexpr (R == 1) {
        m.c = value;
    } else if constexpr (R == 2) {
        m.d = value;
    } else if constexpr (R == 3) {
        m.e = value;
    } else if constexpr (R == 4) {
        m.h = value;
    } else if constexpr (R == 5) {
        m.l = value;
    } else if constexpr (R == 6) {
        m.memory[m.HL()] = value;
    } else {
        m.a = value;
    }
}

// Pair codes: b 0, d 1, h 2, sp 3.
template <int Pair> Word GetPair(const Machine& m) {
    if constexpr (Pair == 0) {
        return m.BC();
    } else if constexpr (Pair == 1) {
        return m.DE();
    } else if constexpr (Pair == 2) {
        return m.HL();
    } else {
        return m.sp;
    }
}

template <int Pair> void SetPair(Machine& m, Word value) {
    const auto high = static_cast<Byte>(value >> 8);
    const auto low = static_cast<Byte>(value);
    if constexpr (Pair == 0) {
        m.b = high;
        m.c = low;
    } else if constexpr (Pair == 1) {
        m.d = high;
        m.e = low;
    } else if constexpr (Pair == 2) {
        m.h = high;
        m.l = low;
    } else {
        m.sp = value;
    }
}

// x a byte, y 0..0x1FF; AC from the low nibbles of x and y, so ADC's carry-in takes part through
// the low nibble of r + CY.
template <bool SetCarry> Byte Add8(Machine& m, unsigned x, unsigned y) {
    const unsigned sum = x + y;
    const auto result = static_cast<Byte>(sum);
    unsigned f = m.flags & (SetCarry ? KeptBits : KeptBits | CY);
    f |= signZeroParity[result];
    f |= (x & 0xF) + (y & 0xF) > 0xF ? AC : 0;
    if constexpr (SetCarry) {
        f |= sum > 0xFF ? CY : 0;
    }
    m.flags = static_cast<Byte>(f);
    return result;
}

// s 0..0x100; AC from adding the low nibble of the two's complement of s.
inline Byte Sub8(Machine& m, unsigned x, unsigned s) {
    const auto result = static_cast<Byte>(x - s);
    unsigned f = (m.flags & KeptBits) | signZeroParity[result];
    f |= (x & 0xF) + ((256 - s) & 0xF) > 0xF ? AC : 0;
    f |= s > x ? CY : 0;
    m.flags = static_cast<Byte>(f);
    return result;
}

inline void Logic(Machine& m, unsigned value, unsigned auxiliaryCarry) {
    m.a = static_cast<Byte>(value);
    m.flags = static_cast<Byte>((m.flags & KeptBits) | signZeroParity[m.a] | auxiliaryCarry);
}

// Operation codes of the ALU group: add, adc, sub, sbb, ana, xra, ora, cmp.
template <int Operation> void Alu(Machine& m, unsigned value) {
    if constexpr (Operation == 0) {
        m.a = Add8<true>(m, m.a, value);
    } else if constexpr (Operation == 1) {
        m.a = Add8<true>(m, m.a, value + Carry(m));
    } else if constexpr (Operation == 2) {
        m.a = Sub8(m, m.a, value);
    } else if constexpr (Operation == 3) {
        m.a = Sub8(m, m.a, value + Carry(m));
    } else if constexpr (Operation == 4) {
        Logic(m, m.a & value, AC);
    } else if constexpr (Operation == 5) {
        Logic(m, m.a ^ value, 0);
    } else if constexpr (Operation == 6) {
        Logic(m, m.a | value, 0);
    } else {
        Sub8(m, m.a, value);
    }
}

// Condition codes: nz, z, nc, c, po, pe, p, m.
template <int Condition> bool Holds(const Machine& m) {
    constexpr unsigned masks[] = {Z, Z, CY, CY, P, P, S, S};
    const bool set = (m.flags & masks[Condition]) != 0;
    return (Condition & 1) != 0 ? set : !set;
}

int CallTo(Machine& m, Word target, Word returnAddress) {
    ++m.callDepth;
    m.sp = Wrap(m.sp - 2u);
    m.memory[m.sp] = static_cast<Byte>(returnAddress);
    m.memory[Wrap(m.sp + 1u)] = static_cast<Byte>(returnAddress >> 8);
    m.lastWritten = m.sp;
    m.pc = target;
    return 0;
}

[[noreturn]] void EndStepOut(Machine& m) {
    m.stepOutDepth = -1;
    // The return has completed before the stop.
    m.CountReturnEndingStepOut();
    Raise(m, 0, StopCode::StepOutEnd, "  ");
}

int Return(Machine& m) {
    m.pc = ReadWord(m, m.sp);
    m.sp = Wrap(m.sp + 2u);
    if (m.stepOutArmed != 0 && m.callDepth > 0 && m.stepOutDepth == m.callDepth) {
        EndStepOut(m);
    }
    --m.callDepth;
    return 0;
}

int Daa(Machine& m) {
    unsigned value = m.a;
    bool carry = (m.flags & CY) != 0;
    bool auxiliary = false;
    if ((value & 0xF) > 9 || (m.flags & AC) != 0) {
        auxiliary = (value & 0xF) + 6 > 0xF;
        value += 6;
        // A carry out of bit 7 here is a decimal carry too (0x99 + 0x66 must give 0x65, CY 1).
        if (value > 0xFF) {
            carry = true;
            value &= 0xFF;
        }
    }
    if ((value >> 4) > 9 || carry) {
        value += 0x60;
        carry = carry || value > 0xFF;
    }
    m.a = static_cast<Byte>(value);
    m.flags = static_cast<Byte>((m.flags & KeptBits) | signZeroParity[m.a] | (auxiliary ? AC : 0) |
                                (carry ? CY : 0));
    return 1;
}

inline void SetCarry(Machine& m, unsigned carry) {
    m.flags = static_cast<Byte>((m.flags & ~CY) | carry);
}

[[noreturn]] int Illegal(Machine& m) {
    Raise(m, 1, StopCode::IllegalInstruction, "Illegal Instruction ");
}

// 0x00-0x3F apart from the invalid opcodes.
template <int Op> int ExecuteLow(Machine& m) {
    constexpr int r = (Op >> 3) & 7;
    constexpr int pair = (Op >> 4) & 3;
    if constexpr (Op == 0x00 || Op == 0x20 || Op == 0x30) {
        return 1; // nop; rim and sim: the machine has no interrupts
    } else if constexpr ((Op & 0xF) == 0x1) {
        SetPair<pair>(m, Address(m));
    } else if constexpr (Op == 0x02 || Op == 0x12) {
        m.lastWritten = GetPair<pair>(m);
        m.memory[m.lastWritten] = m.a;
    } else if constexpr (Op == 0x0A || Op == 0x1A) {
        m.a = m.memory[GetPair<pair>(m)];
    } else if constexpr (Op == 0x22) {
        const Word address = Address(m);
        m.memory[address] = m.l;
        m.lastWritten = Wrap(address + 1u);
        m.memory[m.lastWritten] = m.h;
    } else if constexpr (Op == 0x2A) {
        const Word address = Address(m);
        m.l = m.memory[address];
        m.h = m.memory[Wrap(address + 1u)];
    } else if constexpr (Op == 0x32) {
        m.lastWritten = Address(m);
        m.memory[m.lastWritten] = m.a;
    } else if constexpr (Op == 0x3A) {
        m.a = m.memory[Address(m)];
    } else if constexpr ((Op & 0xF) == 0x3) {
        SetPair<pair>(m, Wrap(GetPair<pair>(m) + 1u));
    } else if constexpr ((Op & 0xF) == 0xB) {
        SetPair<pair>(m, Wrap(GetPair<pair>(m) - 1u));
    } else if constexpr ((Op & 0xF) == 0x9) {
        const unsigned sum = unsigned{m.HL()} + GetPair<pair>(m);
        SetPair<2>(m, Wrap(sum));
        SetCarry(m, sum > 0xFFFF ? CY : 0);
    } else if constexpr ((Op & 7) == 4) {
        Set<r>(m, Add8<false>(m, Get<r>(m), 1));
    } else if constexpr ((Op & 7) == 5) {
        Set<r>(m, Add8<false>(m, Get<r>(m), 0xFF));
    } else if constexpr ((Op & 7) == 6) {
        Set<r>(m, Data(m));
    } else if constexpr (Op == 0x07) {
        const unsigned carry = m.a >> 7;
        m.a = static_cast<Byte>(m.a << 1 | carry);
        SetCarry(m, carry);
    } else if constexpr (Op == 0x0F) {
        const unsigned carry = m.a & 1u;
        m.a = static_cast<Byte>(m.a >> 1 | carry << 7);
        SetCarry(m, carry);
    } else if constexpr (Op == 0x17) {
        const unsigned carry = m.a >> 7;
        m.a = static_cast<Byte>(m.a << 1 | Carry(m));
        SetCarry(m, carry);
    } else if constexpr (Op == 0x1F) {
        const unsigned carry = m.a & 1u;
        m.a = static_cast<Byte>(m.a >> 1 | Carry(m) << 7);
        SetCarry(m, carry);
    } else if constexpr (Op == 0x27) {
        return Daa(m);
    } else if constexpr (Op == 0x2F) {
        m.a = static_cast<Byte>(~m.a);
    } else if constexpr (Op == 0x37) {
        SetCarry(m, CY);
    } else {
        static_assert(Op == 0x3F);
        SetCarry(m, Carry(m) ^ CY);
    }
    return 1;
}

// 0xC0-0xFF apart from the invalid opcodes.
template <int Op> int ExecuteHigh(Machine& m) {
    constexpr int r = (Op >> 3) & 7;
    constexpr int pair = (Op >> 4) & 3;
    if constexpr ((Op & 7) == 0) {
        return Holds<r>(m) ? Return(m) : 1;
    } else if constexpr (Op == 0xC9) {
        return Return(m);
    } else if constexpr (Op == 0xF1) {
        m.flags = m.memory[m.sp];
        m.a = m.memory[Wrap(m.sp + 1u)];
        m.sp = Wrap(m.sp + 2u);
    } else if constexpr ((Op & 0xF) == 0x1) {
        SetPair<pair>(m, ReadWord(m, m.sp));
        m.sp = Wrap(m.sp + 2u);
    } else if constexpr (Op == 0xE9) {
        m.pc = m.HL();
        return 0;
    } else if constexpr (Op == 0xF9) {
        m.sp = m.HL();
    } else if constexpr ((Op & 7) == 2) {
        if (!Holds<r>(m)) {
            return 1;
        }
        m.pc = Address(m);
        return 0;
    } else if constexpr (Op == 0xC3) {
        m.pc = Address(m);
        return 0;
    } else if constexpr (Op == 0xD3) {
        m.ports[Data(m)] = m.a;
    } else if constexpr (Op == 0xDB) {
        m.a = m.ports[Data(m)];
    } else if constexpr (Op == 0xE3) {
        const Word second = Wrap(m.sp + 1u);
        std::swap(m.l, m.memory[m.sp]);
        std::swap(m.h, m.memory[second]);
        m.lastWritten = m.sp;
    } else if constexpr (Op == 0xEB) {
        std::swap(m.h, m.d);
        std::swap(m.l, m.e);
    } else if constexpr (Op == 0xF3 || Op == 0xFB) {
        return 1; // di, ei: the machine has no interrupts
    } else if constexpr ((Op & 7) == 4) {
        // A conditional call never makes a system call, even to 0x0005.
        return Holds<r>(m) ? CallTo(m, Address(m), Wrap(m.pc + 3u)) : 1;
    } else if constexpr (Op == 0xCD) {
        const Word target = Address(m);
        if (target == 0x0005) {
            m.SystemCall();
            m.AddSystemCallReturnStates();
            return 1;
        }
        return CallTo(m, target, Wrap(m.pc + 3u));
    } else if constexpr (Op == 0xF5) {
        m.sp = Wrap(m.sp - 1u);
        m.memory[m.sp] = m.a;
        m.sp = Wrap(m.sp - 1u);
        m.memory[m.sp] = m.flags;
        m.lastWritten = m.sp;
    } else if constexpr ((Op & 0xF) == 0x5) {
        const Word value = GetPair<pair>(m);
        m.sp = Wrap(m.sp - 1u);
        m.memory[m.sp] = static_cast<Byte>(value >> 8);
        m.sp = Wrap(m.sp - 1u);
        m.memory[m.sp] = static_cast<Byte>(value);
        m.lastWritten = m.sp;
    } else if constexpr ((Op & 7) == 6) {
        Alu<r>(m, Data(m));
    } else {
        static_assert((Op & 7) == 7);
        return CallTo(m, Word{r * 8}, Wrap(m.pc + 1u));
    }
    return 1;
}

constexpr bool IsInvalid(int op) {
    return op == 0x10 || op == 0x18 || op == 0x28 || op == 0x38 || op == 0xCB || op == 0xD9 ||
           op == 0xDD || op == 0xED || op == 0xFD;
}

constexpr int Length(int op) {
    const bool word = (op & 0xCF) == 0x01 || op == 0x22 || op == 0x2A || op == 0x32 || op == 0x3A ||
                      op == 0xC3 || op == 0xCD || (op & 0xC7) == 0xC2 || (op & 0xC7) == 0xC4;
    const bool byte = (op & 0xC7) == 0x06 || (op & 0xC7) == 0xC6 || op == 0xD3 || op == 0xDB;
    return word ? 3 : byte ? 2 : 1;
}

template <int Op> int ExecuteOpcode(Machine& m) {
    if constexpr (Op == 0x76) {
        Raise(m, 0, StopCode::Halt, " Halt executed");
    } else if constexpr (Op == 0x08) {
        Raise(m, 0, StopCode::Breakpoint, "Breakpoint ");
    } else if constexpr (IsInvalid(Op)) {
        return Illegal(m);
    } else if constexpr (Op >= 0x40 && Op < 0x80) {
        Set<(Op >> 3) & 7>(m, Get<Op & 7>(m));
        return 1;
    } else if constexpr (Op >= 0x80 && Op < 0xC0) {
        Alu<(Op >> 3) & 7>(m, Get<Op & 7>(m));
        return 1;
    } else if constexpr (Op < 0x40) {
        return ExecuteLow<Op>(m);
    } else {
        return ExecuteHigh<Op>(m);
    }
}

// Returns the instruction's length rather than just nonzero, so that a step can add it to pc
// without looking the length up again. The machine's own loop calls the counting operations
// below; these are kept apart from them, so that the operations a run executes stay together.
template <int Op> [[gnu::cold]] int Execute(Machine& m) {
    return ExecuteOpcode<Op>(m) != 0 ? Length(Op) : 0;
}

// Clock states of the 8085 data sheet, the same figures as the opcode table's rows.
constexpr int States(int op, bool taken) {
    if (IsInvalid(op) || op == 0x08) {
        return 0;
    }
    const int r = (op >> 3) & 7;
    const bool memory = (op & 7) == 6 || r == 6;
    if (op == 0x76) {
        return 5;
    }
    if (op >= 0x40 && op < 0x80) {
        return memory ? 7 : 4;
    }
    if (op >= 0x80 && op < 0xC0) {
        return (op & 7) == 6 ? 7 : 4;
    }
    if (op < 0x40) {
        switch (op & 0xF) {
        case 0x1:
            return 10; // lxi
        case 0x3:
        case 0xB:
            return 6; // inx, dcx
        case 0x9:
            return 10; // dad
        case 0x2:
        case 0xA:
            return op == 0x22 || op == 0x2A ? 16 : op == 0x32 || op == 0x3A ? 13 : 7;
        case 0x4:
        case 0x5:
        case 0xC:
        case 0xD:
            return op == 0x34 || op == 0x35 ? 10 : 4; // inr, dcr
        case 0x6:
        case 0xE:
            return op == 0x36 ? 10 : 7; // mvi
        default:
            return 4; // nop, rotates, rim, sim, daa, cma, stc, cmc
        }
    }
    switch (op & 7) {
    case 0:
        return taken ? 12 : 6; // conditional returns
    case 2:
        return taken ? 10 : 7; // conditional jumps
    case 4:
        return taken ? 18 : 9; // conditional calls
    case 6:
        return 7; // immediates
    case 7:
        return 12; // rst
    case 5:
        return op == 0xCD ? 18 : 12; // push, call
    case 1:
        return op == 0xE9 || op == 0xF9 ? 6 : 10; // pchl, sphl; pop, ret
    default:                                      // 3: jmp, out, xthl, in, xchg, di, ei
        return op == 0xE3 ? 16 : op == 0xEB || op == 0xF3 || op == 0xFB ? 4 : 10;
    }
}

template <int Op> int ExecuteCounted(Machine& m) {
    constexpr int shift = C8085Operations::StatesShift;
    return ExecuteOpcode<Op>(m) != 0 ? Length(Op) | States(Op, false) << shift
                                     : States(Op, true) << shift;
}

template <std::size_t... Ops>
std::array<ExecuteOperation, 256> MakeCountingOperations(std::index_sequence<Ops...>) {
    return {&ExecuteCounted<static_cast<int>(Ops)>...};
}

template <std::size_t... Ops> ExecuteBindings MakeBindings(std::index_sequence<Ops...>) {
    ExecuteBindings bindings{};
    ((bindings[Ops] = {&Execute<static_cast<int>(Ops)>, nullptr}), ...);
    for (std::size_t opcode = 0; opcode < bindings.size(); ++opcode) {
        const int length = Length(static_cast<int>(opcode));
        bindings[opcode].formatOperand = length == 2   ? &FormatByte
                                         : length == 3 ? &FormatWord
                                                       : nullptr;
    }
    return bindings;
}

} // namespace

const std::array<ExecuteOperation, 256>& C8085Operations::CountingOperations() {
    static const auto operations = MakeCountingOperations(std::make_index_sequence<256>{});
    return operations;
}

const ExecuteBindings& C8085Operations::Bindings() {
    static const ExecuteBindings bindings = MakeBindings(std::make_index_sequence<256>{});
    return bindings;
}
