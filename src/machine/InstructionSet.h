#pragma once

#include "machine/OpcodeRow.h"

#include <atomic>
#include <string>
#include <string_view>

// A search position in the opcode table, and the place a stop message takes its position text
// from. The machine derives from it; the assembler keeps one of its own.
class InstructionSet {
public:
    InstructionSet();
    InstructionSet(const InstructionSet&) = default;
    InstructionSet& operator=(const InstructionSet&) = default;
    virtual ~InstructionSet() = default;

    // The text every message raised through this object starts with.
    virtual std::string PositionText() const { return {}; }

    // The lowest opcode whose mnemonic equals `word` ignoring case, or -1. On success
    // currentRow and currentIndex describe the row found; otherwise they keep their values.
    int FindMnemonic(std::string_view word);

    static int InstructionLength(std::uint8_t opcode);

    // The disassembly of the instruction at `address`, its immediate operand behind `prefix`.
    static std::string InstructionText(const Memory& memory, std::uint16_t address,
                                       std::string_view prefix);

    static void BindExecuteOperations(const ExecuteBindings& pairs);

    // Number of rows every search runs through.
    static int RowCount() { return rowCount.load(std::memory_order_relaxed); }

    const OpcodeRow* currentRow = nullptr;
    int currentIndex = 0;

private:
    // Set by every constructor, and machines may be built on several threads.
    static inline std::atomic<int> rowCount = 0;
};
