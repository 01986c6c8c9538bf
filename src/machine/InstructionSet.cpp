#include "machine/InstructionSet.h"

#include "machine/OpcodeTable.h"

#include <cctype>

namespace {

bool EqualIgnoringCase(std::string_view left, std::string_view right) {
    if (left.size() != right.size()) {
        return false;
    }
    for (std::size_t i = 0; i < left.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(left[i])) !=
            std::tolower(static_cast<unsigned char>(right[i]))) {
            return false;
        }
    }
    return true;
}

} // namespace

InstructionSet::InstructionSet() {
    rowCount.store(256, std::memory_order_relaxed);
}

int InstructionSet::FindMnemonic(std::string_view word) {
    if (word.empty()) {
        return -1;
    }
    const auto& table = OpcodeTable();
    const int rows = RowCount();
    for (int index = 0; index < rows; ++index) {
        const OpcodeRow& row = table[index];
        if (EqualIgnoringCase(word, row.mnemonic)) {
            currentRow = &row;
            currentIndex = row.opcode;
            return row.opcode;
        }
    }
    return -1;
}

int InstructionSet::InstructionLength(std::uint8_t opcode) {
    return OpcodeTable()[opcode].length;
}

std::string InstructionSet::InstructionText(const Memory& memory, std::uint16_t address,
                                            std::string_view prefix) {
    const OpcodeRow& row = OpcodeTable()[memory[address]];
    std::string text = row.displayText;
    if (row.formatOperand != nullptr) {
        text += row.formatOperand(memory, static_cast<std::uint16_t>(address + 1), prefix);
    }
    return text;
}

void InstructionSet::BindExecuteOperations(const ExecuteBindings& pairs) {
    // Every machine binds the same operations. Writing only what changes keeps a second machine's
    // construction from writing the table while another machine's run reads it.
    auto& table = OpcodeTable();
    for (std::size_t index = 0; index < table.size(); ++index) {
        if (table[index].execute != pairs[index].execute) {
            table[index].execute = pairs[index].execute;
        }
        if (table[index].formatOperand != pairs[index].formatOperand) {
            table[index].formatOperand = pairs[index].formatOperand;
        }
    }
}
