#include "simulator/PaneEdits.h"

#include "assembler/CParse.h"
#include "machine/C8085Object.h"
#include "machine/CMyException.h"
#include "simulator/FormatText.h"
#include "simulator/ParseTypedNumber.h"
#include "simulator/RegisterRows.h"

namespace PaneEdits {
namespace {

constexpr std::size_t maxValueText = 127;
constexpr std::size_t maxInstructionField = 63;

const RegisterRows::Row<C8085Object>& RegisterRow(int row) {
    return RegisterRows::machineRows[static_cast<std::size_t>(row)];
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
        return ValuePrompt{FormatText("Change data at 0x%0.4x", address),
                           FormatText("0x%0.4x", machine.memory[address]), 0, 255};
    }
    if (kind == PaneKind::Registers && RegisterRows::IsRow(row)) {
        const auto& shown = RegisterRow(row);
        return ValuePrompt{FormatText("New value for register %s", shown.name),
                           FormatText("0x%02X", shown.read(machine)), 0, (1 << shown.bits) - 1};
    }
    if (kind == PaneKind::Ports) {
        const auto port = static_cast<std::uint8_t>(address);
        return ValuePrompt{FormatText("Change data at port 0x%02x", port),
                           FormatText("0x%0.4x", machine.ports[port]), 0, 255};
    }
    if (kind == PaneKind::Stack && row >= 0) {
        return ValuePrompt{FormatText("Change word at 0x%0.4x", StackWordAddress(machine, row)),
                           FormatText("0x%0.4x", StackWord(machine, row)), 0, 65535};
    }
    return std::nullopt;
}

void StoreValue(PaneKind kind, C8085Object& machine, int row, std::uint16_t address, int value) {
    if (kind == PaneKind::MemoryDump) {
        machine.WriteByte(address, static_cast<std::uint8_t>(value));
    } else if (kind == PaneKind::Registers && RegisterRows::IsRow(row)) {
        RegisterRow(row).write(machine, value);
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
        if (!RegisterRows::IsRow(row)) {
            return false;
        }
        RegisterRow(row).write(machine, RegisterRow(row).read(machine) + delta);
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
    if (row < 0 || row >= static_cast<int>(RegisterRows::flagRows.size())) {
        return false;
    }
    machine.flags ^= RegisterRows::flagRows[static_cast<std::size_t>(row)].mask;
    return true;
}

FollowUp AfterRegisterEdit(int row) {
    if (row == RegisterRows::RowOf("SP")) {
        return FollowUp::Stack;
    }
    return row == RegisterRows::RowOf("IP") ? FollowUp::Instructions : FollowUp::None;
}

CheckedValue CheckValue(const std::string& text, int min, int max) {
    const auto value = ParseTypedNumber(std::string_view(text).substr(0, maxValueText));
    if (!value) {
        return {std::nullopt, "Invalid Number "};
    }
    if (*value < min || *value > max) {
        return {std::nullopt, FormatText("Number should be within %d and %d", min, max)};
    }
    return {value, {}};
}

InstructionPrompt InstructionEditPrompt(const C8085Object& machine, std::uint16_t address) {
    return {FormatText("0x%04x", address),
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
