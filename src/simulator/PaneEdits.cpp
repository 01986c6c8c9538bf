#include "simulator/PaneEdits.h"

#include "assembler/CParse.h"
#include "machine/C8085Object.h"
#include "machine/CMyException.h"
#include "simulator/ParseTypedNumber.h"

#include <array>
#include <cstdio>

namespace PaneEdits {
namespace {

constexpr int registerCount = 12;
constexpr std::array<const char*, registerCount> registerNames{"A", "B",  "C",  "D",  "E",  "H",
                                                               "L", "BC", "DE", "HL", "IP", "SP"};
constexpr std::array<std::uint8_t, 5> flagMasks{C8085Object::FlagS, C8085Object::FlagZ,
                                                C8085Object::FlagAC, C8085Object::FlagP,
                                                C8085Object::FlagCY};
constexpr std::size_t maxValueText = 127;
constexpr std::size_t maxInstructionField = 63;

std::string Format(const char* format, auto... values) {
    std::array<char, 96> text{};
    std::snprintf(text.data(), text.size(), format, values...);
    return text.data();
}

std::uint8_t* ByteRegister(C8085Object& m, int row) {
    const std::array<std::uint8_t*, 7> bytes{&m.a, &m.b, &m.c, &m.d, &m.e, &m.h, &m.l};
    return row >= 0 && row < 7 ? bytes[static_cast<std::size_t>(row)] : nullptr;
}

int RegisterValue(const C8085Object& m, int row) {
    const std::array<int, registerCount> values{m.a, m.b,    m.c,    m.d,    m.e,  m.h,
                                                m.l, m.BC(), m.DE(), m.HL(), m.pc, m.sp};
    return values[static_cast<std::size_t>(row)];
}

void StoreRegister(C8085Object& m, int row, int value) {
    if (auto* byte = ByteRegister(m, row)) {
        *byte = static_cast<std::uint8_t>(value);
        return;
    }
    const auto high = static_cast<std::uint8_t>(value >> 8);
    const auto low = static_cast<std::uint8_t>(value);
    switch (row) {
    case 7:
        m.b = high;
        m.c = low;
        break;
    case 8:
        m.d = high;
        m.e = low;
        break;
    case 9:
        m.h = high;
        m.l = low;
        break;
    case 10:
        m.pc = static_cast<std::uint16_t>(value);
        break;
    default:
        m.sp = static_cast<std::uint16_t>(value);
        break;
    }
}

bool IsRegisterRow(int row) {
    return row >= 0 && row < registerCount;
}

int StackWord(const C8085Object& m, int row) {
    const std::uint16_t address = StackWordAddress(m, row);
    return m.memory[address] | m.memory[static_cast<std::uint16_t>(address + 1)] << 8;
}

void StoreStackWord(C8085Object& m, int row, int value) {
    m.WriteTwoBytes(StackWordAddress(m, row), static_cast<std::uint8_t>(value),
                    static_cast<std::uint8_t>(value >> 8));
}

} // namespace

std::optional<ValuePrompt> ModifyPrompt(PaneKind kind, const C8085Object& machine, int row,
                                        std::uint16_t address) {
    if (kind == PaneKind::MemoryDump) {
        return ValuePrompt{Format("Change data at 0x%0.4x", address),
                           Format("0x%0.4x", machine.memory[address]), 0, 255};
    }
    if (kind == PaneKind::Registers && IsRegisterRow(row)) {
        return ValuePrompt{
            Format("New value for register %s", registerNames[static_cast<std::size_t>(row)]),
            Format("0x%02X", RegisterValue(machine, row)), 0, row < 7 ? 255 : 65535};
    }
    if (kind == PaneKind::Ports) {
        const auto port = static_cast<std::uint8_t>(address);
        return ValuePrompt{Format("Change data at port 0x%02x", port),
                           Format("0x%0.4x", machine.ports[port]), 0, 255};
    }
    if (kind == PaneKind::Stack && row >= 0) {
        return ValuePrompt{Format("Change word at 0x%0.4x", StackWordAddress(machine, row)),
                           Format("0x%0.4x", StackWord(machine, row)), 0, 65535};
    }
    return std::nullopt;
}

void StoreValue(PaneKind kind, C8085Object& machine, int row, std::uint16_t address, int value) {
    if (kind == PaneKind::MemoryDump) {
        machine.WriteByte(address, static_cast<std::uint8_t>(value));
    } else if (kind == PaneKind::Registers && IsRegisterRow(row)) {
        StoreRegister(machine, row, value);
    } else if (kind == PaneKind::Ports) {
        machine.ports[static_cast<std::uint8_t>(address)] = static_cast<std::uint8_t>(value);
    } else if (kind == PaneKind::Stack && row >= 0) {
        StoreStackWord(machine, row, value);
    }
}

bool StepValue(PaneKind kind, C8085Object& machine, int row, std::uint16_t address, int delta) {
    switch (kind) {
    case PaneKind::MemoryDump:
        machine.WriteByte(address, static_cast<std::uint8_t>(machine.memory[address] + delta));
        return true;
    case PaneKind::Registers:
        if (!IsRegisterRow(row)) {
            return false;
        }
        StoreRegister(machine, row, RegisterValue(machine, row) + delta);
        return true;
    case PaneKind::Flags:
        return ToggleFlag(machine, row);
    case PaneKind::Ports: {
        auto& port = machine.ports[static_cast<std::uint8_t>(address)];
        port = static_cast<std::uint8_t>(port + delta);
        return true;
    }
    case PaneKind::Stack:
        if (row < 0) {
            return false;
        }
        StoreStackWord(machine, row, StackWord(machine, row) + delta);
        return true;
    default:
        return false;
    }
}

std::uint16_t StackWordAddress(const C8085Object& machine, int row) {
    return static_cast<std::uint16_t>(machine.sp + 2 * row);
}

bool ToggleFlag(C8085Object& machine, int row) {
    if (row < 0 || row >= static_cast<int>(flagMasks.size())) {
        return false;
    }
    machine.flags ^= flagMasks[static_cast<std::size_t>(row)];
    return true;
}

FollowUp AfterRegisterEdit(int row) {
    return row == 11 ? FollowUp::Stack : row == 10 ? FollowUp::Instructions : FollowUp::None;
}

CheckedValue CheckValue(const std::string& text, int min, int max) {
    const auto value = ParseTypedNumber(std::string_view(text).substr(0, maxValueText));
    if (!value) {
        return {std::nullopt, "Invalid Number "};
    }
    if (*value < min || *value > max) {
        return {std::nullopt, Format("Number should be within %d and %d", min, max)};
    }
    return {value, {}};
}

InstructionPrompt InstructionEditPrompt(const C8085Object& machine, std::uint16_t address) {
    return {Format("0x%04x", address),
            InstructionSet::InstructionText(machine.memory, address, "0x")};
}

std::optional<EditError> AssembleInstruction(C8085Object& machine, const std::string& location,
                                             const std::string& instruction) {
    const auto at = CheckValue(location.substr(0, maxInstructionField), 0, 0xFFFF);
    if (!at.value) {
        return EditError{"Error", at.error};
    }
    try {
        CParse parser;
        parser.Attach(machine);
        parser.AssembleLine(static_cast<std::uint16_t>(*at.value),
                            std::string_view(instruction).substr(0, maxInstructionField));
    } catch (const CMyException& e) {
        return EditError{"Exception", e.GetMessage()};
    }
    return std::nullopt;
}

} // namespace PaneEdits
